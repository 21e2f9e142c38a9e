#include "files/peer_csv.h"

#include <array>
#include <map>
#include <ostream>

#include "codeplug/value_lists.h"
#include "files/atomic_file.h"
#include "util/csv_records.h"
#include "util/numbers.h"

namespace qx {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kCtcssDefault = "88.5";
constexpr std::string_view kDcsDefault = "023";
constexpr std::string_view kCrossDefault = "Tone->Tone";
constexpr int kDcsCodeCount = 116;  // normal codes; the inverted ones follow
// Larger offsets are written as "split": the transmit frequency itself.
constexpr std::int64_t kSplitFromHz = 10'000'000;

const std::array<std::string_view, 7> kCrossModes = {
    "Tone->Tone", "Tone->DTCS", "DTCS->Tone", "->Tone", "->DTCS", "DTCS->", "DTCS->DTCS"};

// ---- writing ----

std::string Mhz(const Frequency& frequency) { return FormatScaled(frequency.Hz(), 6); }

std::string StepKhz(Step step) {
    const auto khz = ParseDecimal(StepText(step));
    return FormatScaled(khz ? khz->units / (ScaledDecimal::kScale / 100) : 0, 2);
}

bool IsDcs(const Tone& tone) {
    return tone.kind() == Tone::Kind::Dcs && tone.index() < 2 * kDcsCodeCount;
}
bool IsCtcss(const Tone& tone) { return tone.kind() == Tone::Kind::Ctcss; }

std::string DcsCode(const Tone& tone) { return tone.Value().substr(0, 3); }
char DcsPolarity(const Tone& tone) {
    return IsDcs(tone) && tone.index() >= kDcsCodeCount ? 'R' : 'N';
}

// The Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity, RxDtcsCode and
// CrossMode fields of a channel's tones.
std::array<std::string, 7> ToneFields(const Tone& tx, const Tone& rx) {
    std::string mode;
    std::string cross(kCrossDefault);
    std::string rTone(kCtcssDefault);
    std::string cTone(kCtcssDefault);
    std::string txCode(kDcsDefault);
    std::string rxCode(kDcsDefault);
    if (IsCtcss(tx)) rTone = tx.Value();
    if (IsCtcss(rx)) cTone = rx.Value();
    if (IsDcs(tx)) txCode = DcsCode(tx);
    if (IsDcs(rx)) rxCode = DcsCode(rx);
    const bool txOff = !IsCtcss(tx) && !IsDcs(tx);
    const bool rxOff = !IsCtcss(rx) && !IsDcs(rx);
    if (txOff && rxOff) {
        mode = "";
    } else if (IsCtcss(tx) && rxOff) {
        mode = "Tone";
    } else if (IsCtcss(tx) && rx == tx) {
        mode = "TSQL";
        rTone = std::string(kCtcssDefault);
    } else if (IsDcs(tx) && IsDcs(rx) && txCode == rxCode) {
        mode = "DTCS";
    } else {
        mode = "Cross";
        cross = std::string(IsCtcss(tx) ? "Tone"
                            : IsDcs(tx) ? "DTCS"
                                        : "") +
                "->" +
                (IsCtcss(rx) ? "Tone"
                 : IsDcs(rx) ? "DTCS"
                             : "");
    }
    const std::string polarity = {DcsPolarity(tx), DcsPolarity(rx)};
    return {mode, rTone, cTone, txCode, polarity, rxCode, cross};
}

// ---- reading ----

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

class RowReader {
  public:
    RowReader(const std::map<std::string, std::size_t>& columns, const CsvRecord& record)
        : columns_(columns), record_(record) {
        row_.line = record.line;
    }

    CsvRow Read() {
        CsvChannel channel;
        if (const auto location = Field("Location"); location && !location->empty()) {
            const auto number = ParseInteger(*location);
            if (!number || *number < 0) {
                Problem("Location", CsvIssue::BadNumber, *location);
            } else {
                channel.location = *number;
            }
        }
        if (columns_.count("Name") != 0) channel.name = RawField("Name");
        const std::string frequency = Field("Frequency").value_or("");
        if (const auto rx = Frequency::Parse(frequency)) {
            channel.rx = *rx;
        } else {
            Problem("Frequency", CsvIssue::BadNumber, frequency);
        }
        ReadDuplex(channel);
        if (columns_.count("Tone") != 0) ReadTones(channel);
        if (const auto mode = Field("Mode"); mode && !mode->empty()) {
            if (*mode == "FM") {
                channel.bandwidth = Bandwidth::Wide;
            } else if (*mode == "NFM") {
                channel.bandwidth = Bandwidth::Narrow;
            } else {
                Problem("Mode", CsvIssue::UnusableMode, *mode);
            }
        }
        if (const auto step = Field("TStep"); step && !step->empty()) {
            channel.step = StepOf(*step);
            if (!channel.step) Problem("TStep", CsvIssue::UnknownStep, *step);
        }
        if (const auto skip = Field("Skip")) {
            channel.scanSkip = *skip == "S";
            if (!skip->empty() && *skip != "S" && *skip != "P")
                Problem("Skip", CsvIssue::UnknownSkip, *skip);
        }
        bool skipped = false;
        for (const CsvProblem& problem : row_.problems)
            skipped = skipped || SkipsRow(problem.issue);
        if (!skipped) row_.channel = channel;
        return std::move(row_);
    }

  private:
    // The field of a column, trimmed; nullopt when there is no such column;
    // "" when the record is shorter than the header.
    std::optional<std::string> Field(const std::string& column) const {
        const auto it = columns_.find(column);
        if (it == columns_.end()) return std::nullopt;
        return it->second < record_.fields.size() ? Trimmed(record_.fields[it->second]) : "";
    }
    std::string RawField(const std::string& column) const {
        const std::size_t at = columns_.at(column);
        return at < record_.fields.size() ? record_.fields[at] : "";
    }

    void Problem(const std::string& column, CsvIssue issue, const std::string& value) {
        row_.problems.push_back({record_.line, column, issue, value});
    }

    std::optional<Frequency> OffsetField() {
        const std::string text = Field("Offset").value_or("");
        const auto offset = Frequency::Parse(text);
        if (!offset) Problem("Offset", CsvIssue::BadNumber, text);
        return offset;
    }

    void ReadDuplex(CsvChannel& channel) {
        const std::string duplex = Field("Duplex").value_or("");
        channel.tx = channel.rx;
        if (duplex.empty() || duplex == "off") {
            channel.txFromRx = true;
            if (duplex == "off") Problem("Duplex", CsvIssue::TransmitOff, duplex);
        } else if (duplex == "+" || duplex == "-" || duplex == "split") {
            const auto offset = OffsetField();
            if (!offset) return;
            if (duplex == "split") {
                channel.tx = *offset;
            } else if (duplex == "+") {
                channel.tx = channel.rx + Offset{offset->Hz()};
            } else if (offset->Hz() > channel.rx.Hz()) {
                Problem("Offset", CsvIssue::BadNumber, Field("Offset").value_or(""));
            } else {
                channel.tx = channel.rx - Offset{offset->Hz()};
            }
        } else {
            Problem("Duplex", CsvIssue::UnknownDuplex, duplex);
        }
    }

    std::optional<Tone> Ctcss(const std::string& column) {
        const std::string text = Field(column).value_or("");
        if (const auto value = ParseDecimal(text)) {
            const auto& list = CtcssList();
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (ParseDecimal(list[i]) == value) return Tone::Ctcss(static_cast<int>(i));
            }
        }
        Problem(column, CsvIssue::ToneNotInList, text);
        return std::nullopt;
    }

    std::optional<Tone> Dcs(const std::string& column, char polarity) {
        const std::string text = Field(column).value_or("");
        const bool digits = !text.empty() && text.size() <= 3 &&
                            text.find_first_not_of("01234567") == std::string::npos;
        if (digits) {
            const std::string code = std::string(3 - text.size(), '0') + text;
            const int index = ListIndexOf(DcsList(), code + "N");
            if (index >= 0) return Tone::Dcs(index + (polarity == 'R' ? kDcsCodeCount : 0));
        }
        Problem(column, CsvIssue::ToneNotInList, text);
        return std::nullopt;
    }

    void ReadTones(CsvChannel& channel) {
        const std::string mode = Field("Tone").value_or("");
        std::string polarity = Field("DtcsPolarity").value_or("");
        if (polarity.empty()) polarity = "NN";
        const bool polarityOk = polarity.size() == 2 &&
                                (polarity[0] == 'N' || polarity[0] == 'R') &&
                                (polarity[1] == 'N' || polarity[1] == 'R');
        const std::string rxCodeColumn =
            columns_.count("RxDtcsCode") != 0 ? "RxDtcsCode" : "DtcsCode";
        std::string cross = Field("CrossMode").value_or("");
        if (cross.empty()) cross = std::string(kCrossDefault);

        std::string txKind;  // "", "Tone", "DTCS" and the same for rx
        std::string rxKind;
        std::string txToneColumn = "rToneFreq";
        std::string rxToneColumn = "cToneFreq";
        if (mode.empty()) {
        } else if (mode == "Tone") {
            txKind = "Tone";
        } else if (mode == "TSQL") {
            txKind = rxKind = "Tone";
            txToneColumn = "cToneFreq";
        } else if (mode == "DTCS") {
            txKind = rxKind = "DTCS";
        } else if (mode == "Cross") {
            bool known = false;
            for (std::string_view m : kCrossModes) known = known || m == cross;
            if (!known) {
                Problem("CrossMode", CsvIssue::UnknownCrossMode, cross);
                return;
            }
            const std::size_t arrow = cross.find("->");
            txKind = cross.substr(0, arrow);
            rxKind = cross.substr(arrow + 2);
        } else {
            Problem("Tone", CsvIssue::UnknownToneMode, mode);
            return;
        }
        if ((txKind == "DTCS" || rxKind == "DTCS") && !polarityOk) {
            Problem("DtcsPolarity", CsvIssue::BadPolarity, polarity);
            return;
        }
        std::optional<Tone> tx = Tone();
        std::optional<Tone> rx = Tone();
        if (txKind == "Tone") tx = Ctcss(txToneColumn);
        if (txKind == "DTCS") tx = Dcs("DtcsCode", polarity[0]);
        if (rxKind == "Tone") rx = Ctcss(rxToneColumn);
        if (rxKind == "DTCS") rx = Dcs(rxCodeColumn, polarity[1]);
        if (tx && rx) {
            channel.txTone = *tx;
            channel.rxTone = *rx;
        }
    }

    static std::optional<Step> StepOf(const std::string& text) {
        const auto value = ParseDecimal(text);
        if (!value) return std::nullopt;
        for (int i = 0; i < kStepCount; ++i) {
            const Step step = *StepAt(i);
            if (ParseDecimal(StepText(step)) == value) return step;
        }
        return std::nullopt;
    }

    const std::map<std::string, std::size_t>& columns_;
    const CsvRecord& record_;
    CsvRow row_;
};

}  // namespace

const std::vector<std::string>& CsvColumns() {
    static const std::vector<std::string> columns = {
        "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
        "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
        "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};
    return columns;
}

bool SkipsRow(CsvIssue issue) {
    return issue != CsvIssue::TransmitOff && issue != CsvIssue::UnknownStep &&
           issue != CsvIssue::UnknownSkip;
}

std::string WriteCsv(const Codeplug& codeplug) {
    std::string text = CsvRecordLine(CsvColumns());
    for (int number = 0; number < kChannelRows; ++number) {
        const Channel& channel = codeplug.Memory(number);
        if (!channel.inUse || channel.blank) continue;
        const Offset offset = channel.tx - channel.rx;
        std::string duplex;
        std::string offsetText = Mhz(Frequency());
        if (offset.hz > kSplitFromHz || -offset.hz > kSplitFromHz) {
            duplex = "split";
            offsetText = Mhz(channel.tx);
        } else if (offset.hz != 0) {
            duplex = offset.hz > 0 ? "+" : "-";
            offsetText = Mhz(Frequency::FromHz(offset.hz > 0 ? offset.hz : -offset.hz));
        }
        const auto tones = ToneFields(channel.txTone, channel.rxTone);
        text += CsvRecordLine({std::to_string(number),
                               channel.name,
                               Mhz(channel.rx),
                               duplex,
                               offsetText,
                               tones[0],
                               tones[1],
                               tones[2],
                               tones[3],
                               tones[4],
                               tones[5],
                               tones[6],
                               channel.bandwidth == Bandwidth::Narrow ? "NFM" : "FM",
                               StepKhz(channel.step),
                               channel.scanSkip ? "S" : "",
                               "",
                               "",
                               "",
                               "",
                               "",
                               ""});
    }
    return text;
}

CsvReading ReadCsv(std::string_view text, char separator, CsvHeader header) {
    CsvReading reading;
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    if (LooksBinary(text)) {
        reading.issue = CsvFileIssue::Binary;
        return reading;
    }
    const std::vector<CsvRecord> records = SplitCsvRecords(text, separator);
    std::map<std::string, std::size_t> columns;
    std::size_t first = 0;
    if (!records.empty()) {
        for (std::size_t i = 0; i < records.front().fields.size(); ++i)
            columns.emplace(Trimmed(records.front().fields[i]), i);
    }
    if (columns.count("Frequency") != 0) {
        first = 1;
    } else if (header == CsvHeader::Required) {
        reading.issue = CsvFileIssue::NoFrequencyColumn;
        return reading;
    } else {
        columns.clear();
        for (std::size_t i = 0; i < CsvColumns().size(); ++i) columns.emplace(CsvColumns()[i], i);
    }
    for (std::size_t i = first; i < records.size(); ++i) {
        const CsvRecord& record = records[i];
        if (record.unterminated) {
            CsvRow row;
            row.line = record.line;
            row.problems.push_back({record.line, "", CsvIssue::Malformed, ""});
            reading.rows.push_back(std::move(row));
            continue;
        }
        reading.rows.push_back(RowReader(columns, record).Read());
    }
    return reading;
}

CsvReading ReadCsvFile(const std::filesystem::path& path) {
    const FileBytes file = ReadFileBytes(path, kMaxCsvBytes + 1);
    CsvReading reading;
    if (!file.error.empty()) {
        reading.issue = CsvFileIssue::Unreadable;
        reading.error = file.error;
        return reading;
    }
    if (file.size > kMaxCsvBytes || file.bytes.size() > kMaxCsvBytes) {
        reading.issue = CsvFileIssue::TooLarge;
        reading.size = file.size;
        return reading;
    }
    const std::string text(file.bytes.begin(), file.bytes.end());
    reading = ReadCsv(text);
    reading.size = file.size;
    return reading;
}

void PrintTo(CsvIssue issue, std::ostream* os) {
    static constexpr std::array<const char*, 11> kNames = {
        "Malformed",        "BadNumber",     "UnknownDuplex", "UnknownToneMode",
        "UnknownCrossMode", "ToneNotInList", "BadPolarity",   "UnusableMode",
        "TransmitOff",      "UnknownStep",   "UnknownSkip"};
    *os << kNames.at(static_cast<std::size_t>(issue));
}

void PrintTo(const CsvProblem& problem, std::ostream* os) {
    *os << "line " << problem.line << " " << problem.column << " ";
    PrintTo(problem.issue, os);
    *os << " \"" << problem.value << "\"";
}

void PrintTo(const CsvChannel& channel, std::ostream* os) {
    *os << "{loc " << (channel.location ? std::to_string(*channel.location) : "-") << ", name "
        << (channel.name ? "\"" + *channel.name + "\"" : "-") << ", rx " << Mhz(channel.rx)
        << ", tx " << Mhz(channel.tx) << (channel.txFromRx ? " (from rx)" : "") << ", tones "
        << (channel.txTone ? channel.txTone->ToString() : "-") << "/"
        << (channel.rxTone ? channel.rxTone->ToString() : "-") << ", "
        << (channel.bandwidth ? BandwidthWord(*channel.bandwidth) : "-") << ", step "
        << (channel.step ? StepText(*channel.step) : "-") << ", skip "
        << (channel.scanSkip ? (*channel.scanSkip ? "on" : "off") : "-") << "}";
}

}  // namespace qx
