// The project file pair as bytes: the ".qx" text of 107 records (the 104
// channel rows, the option and auto-dialer records, the model) and the
// companion signalling record, encoded from and decoded into a Codeplug.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/codeplug.h"
#include "codeplug/problem.h"

namespace qx {

inline constexpr int kProjectRecords = 107;
inline constexpr std::size_t kMaxProjectBytes = 30000;

struct ProjectFiles {
    std::string qx;
    std::vector<std::uint8_t> ton;
    friend bool operator==(const ProjectFiles&, const ProjectFiles&) = default;
};

struct ProjectEncoding {
    ProjectFiles files;  // empty when there are problems
    Problems problems;   // what the format cannot store: such a file would not read back
};

// Every record ends in CR CR LF. A blank row stores "def" for its fields, as
// does an empty name; the call channel and VFO are always stored as rows in use.
[[nodiscard]] ProjectEncoding EncodeProject(const Codeplug& codeplug);

enum class ProjectReadStatus {
    Read,                 // the records were applied over the base
    TooLarge,             // more than kMaxProjectBytes: the base with the companion's signalling
    BadOptionRecord,      // record 105 does not have 28 fields: a new codeplug
    BadAutoDialerRecord,  // record 106 does not have 11 fields: a new codeplug
    Invalid,              // `error` says why; the codeplug is the base
};

struct ProjectDecoding {
    Codeplug codeplug;
    ProjectReadStatus status = ProjectReadStatus::Read;
    // For Invalid: the record and field, "record 5 has 3 fields where 19 are needed".
    std::string error;
};

// Reads the records over `base`: a file with fewer records leaves the rows it
// does not reach, the options, the dialer and the model as they are in the
// base. A "def" field (or an empty one, or one of spaces) takes the value of
// the final model's default channel; a row not in use whose fields 2..16 are
// all such is blank. A companion shorter than a whole record gives the
// default signalling record. Problems are met in file order and the first
// one decides. After a bad option or dialer record the codeplug is a new one
// of the base's model, as clearing the document leaves it.
[[nodiscard]] ProjectDecoding DecodeProject(std::string_view qx, std::span<const std::uint8_t> ton,
                                            const Codeplug& base);

// Fields 2..16 of a row record, the numbering the errors use.
enum ProjectField : int {
    kFieldName = 2,
    kFieldStep,
    kFieldRxFrequency,
    kFieldRxTone,
    kFieldBandwidth,
    kFieldPacMode,
    kFieldDcsDetect,
    kFieldScanSkip,
    kFieldPriority,
    kFieldTxFrequency,
    kFieldTxTone,
    kFieldBcl,
    kFieldAni,
    kFieldShift,
    kFieldSignalKind,
};

// The text a record stores for one of fields 2..16 of a channel that is not
// blank: the name as it is, "12.5", "145.0000", "C:88.5", "wide", "on", "PL",
// "5Tone".
std::string ProjectFieldText(const Channel& channel, int field);

// The record the project file stores for `channel` as row `row` (1..104),
// without its line end: every field of the channel, signal codes included.
std::string RowRecordText(const Channel& channel, int row);

void PrintTo(ProjectReadStatus status, std::ostream* os);

}  // namespace qx
