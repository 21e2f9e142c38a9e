#include "files/project_codec.h"

#include <optional>
#include <ostream>

#include "codeplug/defaults.h"
#include "codeplug/option_fields.h"
#include "files/ton_file.h"
#include "util/numbers.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr const char* kRecordEnd = "\r\r\n";
constexpr const char* kDefault = "def";
constexpr const char* kActiveWord = "Active";
constexpr const char* kInactiveWord = "Inactive";
constexpr std::size_t kRowPieces = 19;
constexpr std::size_t kOptionPieces = kOptionFieldCount + 1;
constexpr std::size_t kAutoDialerPieces = kAutoDialerEntries + 2;
constexpr int kSignalCodeField = 17;
constexpr int kSignalSubCodeField = 18;
constexpr int kOptionRecord = 105;
constexpr int kAutoDialerRecord = 106;
constexpr int kModelRecord = 107;
constexpr int kLowestModel = kNoModel;
constexpr int kHighestModel = 31;

const char* OnOff(bool on) { return on ? "on" : "off"; }

// A field left at its default: "def", or blank as a cell with nothing in it.
bool IsDefaultField(std::string_view text) { return text == kDefault || IsAllSpaces(text); }

// The on/off field of a channel, const or not; nullptr for other fields.
template <typename C>
auto SwitchOf(C& channel, int field) -> decltype(&channel.pacMode) {
    switch (field) {
        case kFieldPacMode:
            return &channel.pacMode;
        case kFieldDcsDetect:
            return &channel.dcsDetect;
        case kFieldScanSkip:
            return &channel.scanSkip;
        case kFieldBcl:
            return &channel.bcl;
        case kFieldAni:
            return &channel.ani;
        case kFieldShift:
            return &channel.shift;
        default:
            return nullptr;
    }
}

// What a field's text must be, for the error that names it.
std::string FieldKind(int field) {
    switch (field) {
        case kFieldStep:
            return "a step";
        case kFieldRxFrequency:
        case kFieldTxFrequency:
            return "a frequency";
        case kFieldRxTone:
        case kFieldTxTone:
            return "a tone";
        case kFieldBandwidth:
            return "\"wide\" or \"narrow\"";
        case kFieldPriority:
            return "a priority";
        case kFieldSignalKind:
            return "an option signal";
        case kSignalCodeField:
        case kSignalSubCodeField:
            return "a code from 0 to 255";
        default:
            return "\"on\" or \"off\"";
    }
}

// Sets field 2..16 from its text; false when the text is not one of its values.
bool SetField(Channel& channel, int field, std::string_view text) {
    const auto store = [](auto& target, const auto& parsed) {
        if (parsed) target = *parsed;
        return parsed.has_value();
    };
    switch (field) {
        case kFieldName:
            channel.name = text;
            return true;
        case kFieldStep:
            return store(channel.step, ParseStep(text));
        case kFieldRxFrequency:
            return store(channel.rx, Frequency::Parse(text));
        case kFieldRxTone:
            return store(channel.rxTone, Tone::Parse(text));
        case kFieldBandwidth:
            return store(channel.bandwidth, ParseBandwidth(text));
        case kFieldPriority:
            return store(channel.priority, Priority::Parse(text));
        case kFieldTxFrequency:
            return store(channel.tx, Frequency::Parse(text));
        case kFieldTxTone:
            return store(channel.txTone, Tone::Parse(text));
        case kFieldSignalKind:
            return store(channel.signal.kind, ParseSignalKind(text));
        default:
            if (text != "on" && text != "off") return false;
            *SwitchOf(channel, field) = text == "on";
            return true;
    }
}

// An empty code is "def" or "" (which of the two depends on the row's state).
bool ParseCode(std::string_view text, std::optional<std::uint8_t>& code) {
    if (text == kDefault || text.empty()) {
        code.reset();
        return true;
    }
    if (text.size() > 3) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value > 255) return false;
    code = static_cast<std::uint8_t>(value);
    return true;
}

std::string CodeText(const std::optional<std::uint8_t>& code, bool inUseForm) {
    if (code) return std::to_string(*code);
    return inUseForm ? "" : kDefault;
}

std::string RowLabel(int row) {
    if (row == kCallRow) return "C";
    if (row == kVfoRow) return "V";
    return std::to_string(row - 1);
}

}  // namespace

std::string RowRecordText(const Channel& channel, int row) {
    const bool special = row >= kCallRow;
    const bool inUseForm = special || channel.inUse;
    std::string record = RowLabel(row) + "|";
    record += special ? kDefault : channel.inUse ? kActiveWord : kInactiveWord;
    record += '|';
    for (int field = kFieldName; field <= kFieldSignalKind; ++field) {
        const bool stored = !channel.blank && !(field == kFieldName && IsAllSpaces(channel.name));
        record += stored ? ProjectFieldText(channel, field) : kDefault;
        record += '|';
    }
    record += CodeText(channel.signal.code, inUseForm) + "|";
    record += CodeText(channel.signal.subCode, inUseForm) + "|";
    return record;
}

namespace {

bool BreaksRecord(std::string_view text) {
    return text.find_first_of("|\r\n") != std::string_view::npos;
}

// What the file cannot store: texts that would split a record, a name that
// reads back as none, values outside their lists.
Problems FindProblems(const Codeplug& codeplug) {
    Problems problems;
    for (int row = 1; row <= kRowCount; ++row) {
        const Channel& channel = codeplug.Row(row);
        if (channel.blank) continue;
        const std::string quoted = "\"" + channel.name + "\"";
        if (BreaksRecord(channel.name)) {
            problems.push_back({row, "Name",
                                RowDisplayName(row) + ": the name " + quoted +
                                    " holds \"|\" or a line break, which a project file "
                                    "cannot store"});
        } else if (channel.name == kDefault) {
            problems.push_back(
                {row, "Name",
                 RowDisplayName(row) + ": the name " + quoted + " would be read back as no name"});
        }
    }
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        if (field == kOptMrNumber || field == kOptSquelch) continue;
        const int index = OptionIndex(codeplug.options, field);
        if (index >= static_cast<int>(OptionValues(field).size())) {
            problems.push_back({0, "Option record",
                                "option field " + std::to_string(field) + " holds " +
                                    std::to_string(index) + ", which is not one of its values"});
        }
    }
    for (std::size_t i = 0; i < codeplug.autoDialer.entries.size(); ++i) {
        if (BreaksRecord(codeplug.autoDialer.entries[i])) {
            problems.push_back({0, "Auto dialer",
                                "auto-dialer memory " + std::to_string(i + 1) +
                                    " holds \"|\" or a line break, which a project file "
                                    "cannot store"});
        }
    }
    if (codeplug.model < kLowestModel || codeplug.model > kHighestModel) {
        problems.push_back(
            {0, "Model",
             "the model index " + std::to_string(codeplug.model) + " is not one from -1 to 31"});
    }
    return problems;
}

std::optional<int> ModelIndexOf(const std::string& piece) {
    const auto value = ParseInteger(piece);
    if (!value || *value < kLowestModel || *value > kHighestModel) return std::nullopt;
    return static_cast<int>(*value);
}

// Why a row record's fields 2..18 cannot be read, or "".
std::string RowRecordError(const std::vector<std::string>& pieces, int record) {
    Channel scratch;
    std::optional<std::uint8_t> code;
    for (int field = kFieldName; field <= kSignalSubCodeField; ++field) {
        const std::string& text = pieces[static_cast<std::size_t>(field)];
        const bool valid = field > kFieldSignalKind
                               ? ParseCode(text, code)
                               : IsDefaultField(text) || SetField(scratch, field, text);
        if (!valid) {
            return "record " + std::to_string(record) + ", field " + std::to_string(field) +
                   ": \"" + text + "\" is not " + FieldKind(field);
        }
    }
    return {};
}

// A row from a record whose fields were checked.
Channel RowOf(const std::vector<std::string>& pieces, int row, int model) {
    const auto piece = [&](int field) -> const std::string& {
        return pieces[static_cast<std::size_t>(field)];
    };
    const bool inUse = row >= kCallRow || piece(1) == kActiveWord;
    bool allDefault = true;
    for (int field = kFieldName; field <= kFieldSignalKind; ++field) {
        allDefault = allDefault && IsDefaultField(piece(field));
    }
    Channel channel;
    if (!inUse && allDefault) {
        channel.blank = true;
    } else {
        channel = DefaultChannel(model);
        channel.inUse = inUse;
        for (int field = kFieldName; field <= kFieldSignalKind; ++field) {
            if (!IsDefaultField(piece(field))) SetField(channel, field, piece(field));
        }
    }
    ParseCode(piece(kSignalCodeField), channel.signal.code);
    ParseCode(piece(kSignalSubCodeField), channel.signal.subCode);
    return channel;
}

SignallingSettings SignallingOf(std::span<const std::uint8_t> ton) {
    const auto record = DecodeTonRecord(ton);
    return record ? *record : SignallingSettings{};
}

}  // namespace

std::string ProjectFieldText(const Channel& channel, int field) {
    switch (field) {
        case kFieldName:
            return channel.name;
        case kFieldStep:
            return StepText(channel.step);
        case kFieldRxFrequency:
            return channel.rx.ToString();
        case kFieldRxTone:
            return channel.rxTone.ToString();
        case kFieldBandwidth:
            return BandwidthWord(channel.bandwidth);
        case kFieldPriority:
            return channel.priority.ToString();
        case kFieldTxFrequency:
            return channel.tx.ToString();
        case kFieldTxTone:
            return channel.txTone.ToString();
        case kFieldSignalKind:
            return SignalKindText(channel.signal.kind);
        default: {
            const bool* on = SwitchOf(channel, field);
            return on == nullptr ? std::string() : OnOff(*on);
        }
    }
}

ProjectEncoding EncodeProject(const Codeplug& codeplug) {
    ProjectEncoding encoding;
    encoding.problems = FindProblems(codeplug);
    if (!encoding.problems.empty()) return encoding;
    std::string& text = encoding.files.qx;
    for (int row = 1; row <= kRowCount; ++row)
        text += RowRecordText(codeplug.Row(row), row) + kRecordEnd;
    text += OptionsRecord(codeplug.options) + kRecordEnd;
    text += AutoDialerRecord(codeplug.autoDialer) + kRecordEnd;
    text += std::to_string(codeplug.model) + "|" + kRecordEnd;
    encoding.files.ton = EncodeTonRecord(codeplug.signalling);
    return encoding;
}

ProjectDecoding DecodeProject(std::string_view qx, std::span<const std::uint8_t> ton,
                              const Codeplug& base) {
    ProjectDecoding decoding{base, ProjectReadStatus::Read, {}};
    const auto fail = [&](ProjectReadStatus status, std::string error = {}) {
        decoding.status = status;
        decoding.error = std::move(error);
        if (status != ProjectReadStatus::Invalid) decoding.codeplug = NewCodeplug(base.model);
        return decoding;
    };
    if (qx.size() > kMaxProjectBytes) {
        decoding.status = ProjectReadStatus::TooLarge;
        decoding.codeplug.signalling = SignallingOf(ton);
        return decoding;
    }

    // Every record is checked before any is applied: the defaults of "def"
    // fields come from the model the last record names.
    std::vector<std::vector<std::string>> rows;
    std::optional<RadioOptions> options;
    std::optional<AutoDialer> dialer;
    int model = base.model;
    int n = 0;
    for (const std::string_view line : NonEmptyLines(qx)) {
        ++n;
        const std::string record = "record " + std::to_string(n);
        if (n > kProjectRecords)
            return fail(ProjectReadStatus::Invalid, "it holds more than 107 records");
        std::vector<std::string> pieces = Split(line, '|');
        if (n <= kRowCount) {
            if (pieces.size() < kRowPieces) {
                return fail(ProjectReadStatus::Invalid, record + " has " +
                                                            std::to_string(pieces.size()) +
                                                            " fields where 19 are needed");
            }
            if (std::string error = RowRecordError(pieces, n); !error.empty())
                return fail(ProjectReadStatus::Invalid, error);
            rows.push_back(std::move(pieces));
        } else if (n == kOptionRecord) {
            if (pieces.size() != kOptionPieces) return fail(ProjectReadStatus::BadOptionRecord);
            OptionsRecordResult parsed = ParseOptionsRecord(line);
            if (!parsed.options)
                return fail(ProjectReadStatus::Invalid, record + ", " + parsed.error);
            options = parsed.options;
        } else if (n == kAutoDialerRecord) {
            if (pieces.size() != kAutoDialerPieces)
                return fail(ProjectReadStatus::BadAutoDialerRecord);
            // The record ends with the "|" after the ninth memory.
            if (!pieces.back().empty()) {
                return fail(ProjectReadStatus::Invalid, record + ", field 10: \"" + pieces.back() +
                                                            "\" follows the last memory");
            }
            dialer = ParseAutoDialerRecord(line);
        } else if (n == kModelRecord) {
            const auto index = ModelIndexOf(pieces[0]);
            if (!index) {
                return fail(ProjectReadStatus::Invalid,
                            record + " holds the model index \"" + pieces[0] +
                                "\", which is not a whole number from -1 to 31");
            }
            model = *index;
        }
    }

    Codeplug& codeplug = decoding.codeplug;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        codeplug.Row(row) = RowOf(rows[i], row, model);
    }
    if (options) codeplug.options = *options;
    if (dialer) codeplug.autoDialer = *dialer;
    codeplug.model = model;
    codeplug.signalling = SignallingOf(ton);
    return decoding;
}

void PrintTo(ProjectReadStatus status, std::ostream* os) {
    switch (status) {
        case ProjectReadStatus::Read:
            *os << "Read";
            break;
        case ProjectReadStatus::TooLarge:
            *os << "TooLarge";
            break;
        case ProjectReadStatus::BadOptionRecord:
            *os << "BadOptionRecord";
            break;
        case ProjectReadStatus::BadAutoDialerRecord:
            *os << "BadAutoDialerRecord";
            break;
        case ProjectReadStatus::Invalid:
            *os << "Invalid";
            break;
    }
}

}  // namespace qx
