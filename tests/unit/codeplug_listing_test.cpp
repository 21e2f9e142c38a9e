#include <gtest/gtest.h>

#include "codeplug/defaults.h"
#include "files/listing.h"

namespace qx {
namespace {

const std::string kSep = "    ";
const std::string kPad(25, ' ');
const ListingWords kEnglish = {"Active", "wide", "narrow", "off", "on"};
// Words unlike the file's, to see where each kind of row takes its words from.
const ListingWords kOwnWords = {"ACT", "W!", "N!", "S-off", "S-on"};

// Lines of the listing by position: the heading, rows 1..104, then the options.
constexpr std::size_t kRowLines = 104;
constexpr std::size_t kRadioOptionLine = 1 + kRowLines;
constexpr std::size_t kAutoDialLine = kRadioOptionLine + 13;
constexpr std::size_t kLineCount = kAutoDialLine + 10;

// Cells each followed by the separator.
std::string Cells(const std::string& cells) {
    std::string line;
    for (std::size_t start = 0;;) {
        const std::size_t end = cells.find('|', start);
        line += cells.substr(start, end - start) + kSep;
        if (end == std::string::npos) return line;
        start = end + 1;
    }
}

std::string Line(const std::string& cells) { return Cells(cells) + "\r\n"; }

// A model-3 default row with an empty name, columns Name to Ani.
const std::string kFreshToAni =
    Cells("|12.5|145.0000|off|wide|off|off|off|off|145.0000|off|off|off");

TEST(CodeplugListing, ANewCodeplugListsAsAFreshDocument) {
    const std::vector<std::string> lines =
        BuildListing(NewCodeplug(3), kEnglish, ListingTarget::File);
    ASSERT_EQ(lines.size(), kLineCount);

    EXPECT_EQ(lines[0],
              "ch    status    Name    Ref.    Rx Freq.    CTCSS/DCS    W/N    PAC MODE    DCS DET"
              "    PRI    Tx Freq.    CTCSS/DCS    BCL    ANI\r\n");
    EXPECT_EQ(lines[1], Cells("0|Active") + kFreshToAni + "\r\n");
    for (std::size_t row : {2, 101, 102}) {
        EXPECT_EQ(lines[row], Cells(std::to_string(row - 1) + "|Inactive") + kFreshToAni +
                                  Cells("off") + "\r\n");
    }
    EXPECT_EQ(lines[103], Cells("102|") + kFreshToAni + Cells("off") + "\r\n");
    EXPECT_EQ(lines[104], Cells("103|") + kFreshToAni + Cells("off") + "\r\n");

    const std::vector<std::string> options = {
        "Radio Option\r\n",
        "Indication: Frequency" + kPad + "DTMF burst delay: 100ms\r\n",
        "VFO/MR/CALL: VFO" + kPad + "DTMF 1st digit: 60ms\r\n",
        "MR No: 0" + kPad + "DTMF Tx interval: 60ms\r\n",
        "SQL No: 3" + kPad + "TBST Freq: 1750Hz\r\n",
        "Tx Power: Hi" + kPad + "Time out timer: off\r\n",
        "Scan start: ----------------" + kPad + "Time out Penalty: ----------------\r\n",
        "Tx power change: ----------------" + kPad + "Key Lock: off\r\n",
        "Key Lock change: ----------------" + kPad + "APO: off\r\n",
        "Moni Key: ----------------" + kPad + "Beep Sound: Enable\r\n",
        "CtcssDcs Change: ----------------" + kPad + "ScanningModel: Timer\r\n",
        "TBST Output: ----------------" + kPad + "LAMP Mode: High\r\n",
        "Security Mode: off\r\n",
        "AutoDialor Option\r\n"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + kRadioOptionLine,
                                       lines.begin() + kAutoDialLine + 1),
              options);
    for (std::size_t m = 1; m <= 9; ++m) {
        EXPECT_EQ(lines[kAutoDialLine + m], "M" + std::to_string(m) + ":      ");
    }

    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    EXPECT_EQ(ListingFileText(lines), text);

    // The printer version ends the call channel and VFO at ANI and adds the power selection.
    const std::vector<std::string> printed =
        BuildListing(NewCodeplug(3), kEnglish, ListingTarget::Printer);
    ASSERT_EQ(printed.size(), kLineCount);
    EXPECT_EQ(printed[103], Cells("102|") + kFreshToAni + "\r\n");
    EXPECT_EQ(printed[2], lines[2]);
    EXPECT_EQ(printed[kAutoDialLine - 1], "Security Mode: off" + kPad + "Power Select:60W\r\n");
}

TEST(CodeplugListing, EachKindOfRowListsItsValuesWithItsOwnWords) {
    Codeplug codeplug = NewCodeplug(3);
    Channel& zero = codeplug.Memory(0);  // in use: the language's words, up to ANI
    zero.name = " ";
    zero.bandwidth = Bandwidth::Narrow;
    zero.scanSkip = true;
    zero.priority = Priority::Of(Priority::Kind::Pl);
    PutInUse(codeplug.Ph(), 3);
    codeplug.Ph().name = "HIGH";
    Channel& two = codeplug.Memory(2);  // not in use: the file's words, up to Shift
    two = DefaultChannel(3);
    two.name = "ABC";
    two.bandwidth = Bandwidth::Narrow;
    two.scanSkip = true;
    two.shift = true;
    two.signal = {SignalKind::Dtmf, 4, 1};
    Channel& call = codeplug.CallChannel();  // the file's words, up to Shift or ANI
    call.rx = *Frequency::Parse("146.50000");
    call.rxTone = Tone::Ctcss(0);
    call.txTone = Tone::Dcs(0);
    call.scanSkip = true;
    call.ani = call.shift = true;

    struct Case {
        std::size_t line;
        ListingTarget target;
        std::string expected;
    };
    const std::string callCells =
        "102|||12.5|146.50000|C:67.0|wide|off|off|on|off|145.0000|D:017N|off|on";
    for (const Case& c : {
             Case{1, ListingTarget::File,
                  Line("0|ACT||12.5|145.0000|off|N!|off|off|S-on|PL|145.0000|off|off|off")},
             Case{3, ListingTarget::File,
                  Line("2|Inactive|ABC|12.5|145.0000|off|narrow|off|off|on|off|145.0000|off|off|"
                       "off|on")},
             Case{4, ListingTarget::File,  // blank: the model's default row
                  Line("3|Inactive||12.5|145.0000|off|W!|off|off|S-off|off|145.0000|off|off|off|"
                       "off")},
             Case{102, ListingTarget::File,
                  Line("PH|ACT|HIGH|12.5|145.0000|off|W!|off|off|S-off|off|145.0000|off|off|off")},
             Case{103, ListingTarget::File, Line(callCells + "|on")},
             Case{103, ListingTarget::Printer, Line(callCells)},
         }) {
        EXPECT_EQ(BuildListing(codeplug, kOwnWords, c.target).at(c.line), c.expected) << c.line;
    }
}

TEST(CodeplugListing, BlankRowsShowTheirOwnModelsDefaults) {
    struct Case {
        int model;
        std::string cells;
    };
    for (const Case& c : {Case{0, "0|Inactive||5|27.0000"}, Case{2, "0|Inactive||12.5|145.0000"},
                          Case{9, "0|Inactive||5|245.5000"}, Case{20, "0|Inactive||5|350.0000"},
                          Case{-1, "0|Inactive||5|0.0000"}}) {
        Codeplug codeplug = NewCodeplug(c.model);
        codeplug.Memory(0).Clear();
        codeplug.Memory(0).inUse = false;
        const std::string line = BuildListing(codeplug, kEnglish, ListingTarget::File).at(1);
        EXPECT_EQ(line.substr(0, Cells(c.cells).size()), Cells(c.cells)) << c.model;
    }
}

TEST(CodeplugListing, OptionsAndDialerComeFromTheTypedValues) {
    Codeplug codeplug = NewCodeplug(3);
    RadioOptions& o = codeplug.options;
    o.indication = IndicationMode::Channel;
    o.mrNumber = 42;
    o.scanStart = true;
    o.timeoutTimer = 3;
    o.timeoutPenalty = 15;
    o.securityMode = SecurityMode::Delay;
    o.powerSelect = PowerSelect::k25W;
    codeplug.autoDialer.entries[0] = "123#";
    codeplug.autoDialer.entries[8] = "ABCD*-";
    for (const ListingTarget target : {ListingTarget::File, ListingTarget::Printer}) {
        const std::vector<std::string> lines = BuildListing(codeplug, kEnglish, target);
        EXPECT_EQ(lines[kRadioOptionLine + 1],
                  "Indication: Channel" + kPad + "DTMF burst delay: 100ms\r\n");
        EXPECT_EQ(lines[kRadioOptionLine + 3], "MR No: 42" + kPad + "DTMF Tx interval: 60ms\r\n");
        EXPECT_EQ(lines[kRadioOptionLine + 5],
                  "Tx Power: Hi" + kPad + "Time out timer: 1m30sec\r\n");
        EXPECT_EQ(lines[kRadioOptionLine + 6],
                  "Scan start: Enable" + kPad + "Time out Penalty: 15sec\r\n");
        EXPECT_EQ(lines[kAutoDialLine - 1],
                  target == ListingTarget::File
                      ? "Security Mode: Dly\r\n"
                      : "Security Mode: Dly" + kPad + "Power Select:25W\r\n");
        EXPECT_EQ(lines[kAutoDialLine + 1], "M1:      123#");
        EXPECT_EQ(lines[kAutoDialLine + 9], "M9:      ABCD*-");
    }
}

}  // namespace
}  // namespace qx
