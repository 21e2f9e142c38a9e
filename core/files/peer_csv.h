// The peer CSV channel format: memory channels to and from its text, and the
// tab-separated text a spreadsheet puts on the clipboard through the same
// reader. Values come back typed; what a row cannot carry is a problem with
// its line and column, never a message text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/codeplug.h"

namespace qx {

// Larger files are refused unread: a channel list of 100 rows is a few kB.
inline constexpr std::size_t kMaxCsvBytes = 4 * 1024 * 1024;

// The full header's column names, in the order the writer uses them.
const std::vector<std::string>& CsvColumns();

// The memory channels in use, one row each after the full header; lines
// end in CR LF.
std::string WriteCsv(const Codeplug& codeplug);

enum class CsvIssue {
    // The row is not imported.
    Malformed,         // a quoted field runs to the end of the text
    BadNumber,         // not a number where one is needed (Frequency, Offset, Location)
    UnknownDuplex,     // not "", "+", "-", "split", "off"
    UnknownToneMode,   // Tone not "", "Tone", "TSQL", "DTCS", "Cross"
    UnknownCrossMode,  // CrossMode not one of the seven
    ToneNotInList,     // a CTCSS tone or DCS code the radio does not have
    BadPolarity,       // DtcsPolarity not two of "N"/"R"
    UnusableMode,      // AM, DV, ...: a mode the radio cannot use
    // The row is imported with a value of its own.
    TransmitOff,  // Duplex "off": the radio always transmits; Tx = Rx
    UnknownStep,  // a TStep the radio does not have: the channel's step stays
    UnknownSkip,  // Skip not "", "S", "P": scanned
};
// Whether a row with this issue is left out.
bool SkipsRow(CsvIssue issue);

struct CsvProblem {
    int line = 0;        // 1-based line of the text where the row starts
    std::string column;  // the column's name, "" for the whole line
    CsvIssue issue = CsvIssue::Malformed;
    std::string value;  // the field as written
    friend bool operator==(const CsvProblem&, const CsvProblem&) = default;
};

// The channel values a row carries. An optional field is empty when the
// text has no such column (or the field is empty where "keep" is the sense):
// the channel keeps what it has.
struct CsvChannel {
    std::optional<long long> location;  // as written: may be above 99
    std::optional<std::string> name;    // as written, UTF-8
    Frequency rx;                       // exact, not yet on a step or checked against a band
    Frequency tx;
    bool txFromRx = false;       // Tx is Rx because the text gave no other (empty or "off" duplex)
    std::optional<Tone> rxTone;  // both tones or neither
    std::optional<Tone> txTone;
    std::optional<Bandwidth> bandwidth;
    std::optional<Step> step;
    std::optional<bool> scanSkip;
    friend bool operator==(const CsvChannel&, const CsvChannel&) = default;
};

struct CsvRow {
    int line = 0;
    std::optional<CsvChannel> channel;  // empty when a problem skips the row
    std::vector<CsvProblem> problems;
};

enum class CsvFileIssue {
    None,
    Unreadable,         // `error` says why
    TooLarge,           // more than kMaxCsvBytes
    Binary,             // NUL or other control bytes, or not UTF-8
    NoFrequencyColumn,  // the first line is no header with a Frequency column
};

struct CsvReading {
    CsvFileIssue issue = CsvFileIssue::None;
    std::string error;         // for Unreadable
    std::uintmax_t size = 0;   // the file's size, for TooLarge
    std::vector<CsvRow> rows;  // in text order; empty lines give none
};

// Whether the text needs a header line: a CSV file does; clipboard text may
// come without one, and then its columns are the full header's in order.
enum class CsvHeader { Required, Optional };

// Reads UTF-8 text (an optional byte-order mark, CR LF or LF line ends,
// fields quoted with doubled quotes inside). Columns are found by name in
// any order; unknown columns are ignored. Files without RxDtcsCode and
// CrossMode read the receive code from DtcsCode and take "Tone->Tone".
[[nodiscard]] CsvReading ReadCsv(std::string_view text, char separator = ',',
                                 CsvHeader header = CsvHeader::Required);
// A file: at most kMaxCsvBytes are read, a larger file is refused unread.
[[nodiscard]] CsvReading ReadCsvFile(const std::filesystem::path& path);

void PrintTo(CsvIssue issue, std::ostream* os);
void PrintTo(const CsvProblem& problem, std::ostream* os);
void PrintTo(const CsvChannel& channel, std::ostream* os);

}  // namespace qx
