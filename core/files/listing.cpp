#include "files/listing.h"

#include <array>
#include <string_view>

#include "codeplug/defaults.h"
#include "codeplug/option_fields.h"
#include "files/project_codec.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr const char* kSeparator = "    ";
constexpr const char* kLineBreak = "\r\n";
constexpr std::size_t kOptionPadWidth = 25;  // between the two options of a line

constexpr std::array<const char*, 14> kHeadings = {
    "ch",       "status",  "Name", "Ref.",     "Rx Freq.",  "CTCSS/DCS", "W/N",
    "PAC MODE", "DCS DET", "PRI",  "Tx Freq.", "CTCSS/DCS", "BCL",       "ANI"};

struct OptionLine {
    const char* leftLabel;
    int leftField;
    const char* rightLabel;
    int rightField;
};

constexpr std::array<OptionLine, 11> kOptionLines = {{
    {"Indication: ", 1, "DTMF burst delay: ", 12},
    {"VFO/MR/CALL: ", 2, "DTMF 1st digit: ", 13},
    {"MR No: ", 3, "DTMF Tx interval: ", 14},
    {"SQL No: ", 4, "TBST Freq: ", 15},
    {"Tx Power: ", 5, "Time out timer: ", 16},
    {"Scan start: ", 6, "Time out Penalty: ", 17},
    {"Tx power change: ", 7, "Key Lock: ", 18},
    {"Key Lock change: ", 8, "APO: ", 19},
    {"Moni Key: ", 9, "Beep Sound: ", 20},
    {"CtcssDcs Change: ", 10, "ScanningModel: ", 21},
    {"TBST Output: ", 11, "LAMP Mode: ", 22},
}};
constexpr OptionLine kLastOptionLine = {"Security Mode: ", 23, "Power Select:", 25};

std::string HeadingLine() {
    std::string line;
    for (std::size_t i = 0; i < kHeadings.size(); ++i) {
        if (i > 0) line += kSeparator;
        line += kHeadings[i];
    }
    return line + kLineBreak;
}

std::string OptionText(const OptionLine& option, const std::vector<std::string>& setup,
                       bool withRight) {
    std::string line = option.leftLabel + setup[static_cast<std::size_t>(option.leftField)];
    if (withRight) {
        line += std::string(kOptionPadWidth, ' ') + option.rightLabel +
                setup[static_cast<std::size_t>(option.rightField)];
    }
    return line + kLineBreak;
}

// The radio options from their words (index 1..27) and the auto-dialer
// memories (index 1..9).
void AppendOptionLines(std::vector<std::string>& lines, const std::vector<std::string>& setup,
                       const std::vector<std::string>& autoDial, ListingTarget target) {
    lines.push_back(std::string("Radio Option") + kLineBreak);
    for (const OptionLine& option : kOptionLines) lines.push_back(OptionText(option, setup, true));
    lines.push_back(OptionText(kLastOptionLine, setup, target == ListingTarget::Printer));

    lines.push_back(std::string("AutoDialor Option") + kLineBreak);
    for (std::size_t m = 1; m <= 9; ++m) {
        lines.push_back("M" + std::to_string(m) + ":  " + kSeparator + autoDial[m]);
    }
}

// One cell of a codeplug row. The language's words are used where the grid
// shows them: rows in use, and the default row a blank row is listed with.
std::string CodeplugCell(const Channel& channel, int field, bool languageWords,
                         const ListingWords& words) {
    if (field == kFieldName && IsAllSpaces(channel.name)) return {};
    if (languageWords && field == kFieldBandwidth) {
        return channel.bandwidth == Bandwidth::Narrow ? words.narrow : words.wide;
    }
    if (languageWords && field == kFieldScanSkip) {
        return channel.scanSkip ? words.scanSkipOn : words.scanSkipOff;
    }
    return ProjectFieldText(channel, field);
}

std::string CodeplugRowLine(const Codeplug& codeplug, int row, const ListingWords& words,
                            ListingTarget target) {
    const Channel& stored = codeplug.Row(row);
    const Channel channel = stored.blank ? DefaultChannel(codeplug.model) : stored;
    const bool languageWords = stored.blank || (row < kCallRow && stored.inUse);
    std::string line;
    int last = kFieldShift;
    if (row >= kCallRow) {
        line = std::to_string(row - 1) + kSeparator + kSeparator;
        if (target == ListingTarget::Printer) last = kFieldAni;
    } else if (stored.inUse) {
        line = (row <= kChannelRows ? std::to_string(row - 1) : PriorityName(row)) + kSeparator +
               words.active + kSeparator;
        last = kFieldAni;
    } else {
        line = std::to_string(row - 1) + kSeparator + "Inactive" + kSeparator;
    }
    for (int field = kFieldName; field <= last; ++field) {
        line += CodeplugCell(channel, field, languageWords, words);
        line += kSeparator;
    }
    return line + kLineBreak;
}

}  // namespace

std::vector<std::string> BuildListing(const Codeplug& codeplug, const ListingWords& words,
                                      ListingTarget target) {
    std::vector<std::string> lines = {HeadingLine()};
    for (int row = 1; row <= kRowCount; ++row) {
        lines.push_back(CodeplugRowLine(codeplug, row, words, target));
    }
    std::vector<std::string> setup(kOptionFieldCount + 1);
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        setup[static_cast<std::size_t>(field)] = OptionWord(codeplug.options, field);
    }
    std::vector<std::string> autoDial = {""};
    for (const std::string& entry : codeplug.autoDialer.entries) autoDial.push_back(entry);
    AppendOptionLines(lines, setup, autoDial, target);
    return lines;
}

std::string ListingFileText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += kLineBreak;
    }
    return text;
}

}  // namespace qx
