// Importing a peer CSV channel list into a document: the plan says what
// each row becomes (the channel it replaces, what was changed to fit the
// radio, or why it is left out) before anything changes, and applying it is
// one undo step.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/document.h"
#include "files/peer_csv.h"
#include "platform/ui.h"
#include "util/language_texts.h"

namespace qx {

enum class CsvNoteKind {
    Read,             // the reader's issue (`issue`)
    LocationTooHigh,  // value: the location
    NoFreeChannel,
    RxOutOfBand,  // value: Rx; other: the band
    TxOutOfBand,  // value: Tx; other: the band; kept: the Tx kept
    Rounded,      // value: as written; other: the step; kept: as stored
    NameChanged,  // value: as written; kept: as stored
};

struct CsvNote {
    CsvNoteKind kind = CsvNoteKind::Read;
    CsvIssue issue = CsvIssue::Malformed;  // for Read
    std::string column;
    std::string value;
    std::string other;
    std::string kept;
    bool skips = false;  // the row is left out
    friend bool operator==(const CsvNote&, const CsvNote&) = default;
};

enum class CsvOutcome { Imported, Changed, Skipped };

struct CsvPlannedRow {
    int line = 0;
    CsvOutcome outcome = CsvOutcome::Imported;
    int channel = -1;  // 0..99; -1 when skipped
    std::vector<CsvNote> notes;
};

struct CsvImportPlan {
    CsvFileIssue fileIssue = CsvFileIssue::None;  // the file was refused: nothing to apply
    std::string fileError;
    std::uintmax_t fileSize = 0;
    std::vector<CsvPlannedRow> rows;
    Codeplug result;   // the codeplug after the import
    int imported = 0;  // changed rows included
    int changed = 0;
    int skipped = 0;
};

// What the rows of `reading` make of `current`. Each row replaces the channel
// its Location names (0..99), or the next channel neither in use nor named
// by another row. Frequencies are checked against the model's bands and put
// on the channel's step, names take the name editor's characters, as typing
// them would. The fields the format does not carry keep their values on a
// channel in use; one not in use takes the model's defaults first. A Tx
// outside the Tx band leaves the channel's Tx as it was, as typing the Rx
// frequency does.
[[nodiscard]] CsvImportPlan PlanCsvImport(const Codeplug& current, const CsvReading& reading);

// Channels copied from the grid: the peer CSV text of those of `channels`
// (0..99) that are in use, as a spreadsheet or another program takes them.
std::string CopiedChannelsText(const Codeplug& codeplug, const std::vector<int>& channels);
// Every field of the channels copied (those of `channels` in use), for
// pasting back into qxprog: a line naming the model, then the project file's
// record of each channel.
std::string CopiedChannelsRecords(const Codeplug& codeplug, const std::vector<int>& channels);
// Channels from CopiedChannelsRecords put in from channel `first` down as
// they were; rows past channel 99 are skipped. Nullopt when `records` is not
// such a text, or comes from another model, whose bands and defaults differ:
// the copy's CSV text is pasted then, through the import's checks.
[[nodiscard]] std::optional<CsvImportPlan> PlanRecordsPaste(const Codeplug& current,
                                                            std::string_view records, int first);
// Text pasted into the grid, put in from channel `first` down in the order
// of its rows, whatever Locations it names: CSV with its header, or tab-
// separated text from a spreadsheet with or without one. Rows past channel
// 99 are skipped.
[[nodiscard]] CsvImportPlan PlanPaste(const Codeplug& current, std::string_view text, int first);

// The channels in use in `current` that the plan puts other values into, 0..99.
std::vector<int> ReplacedChannels(const Codeplug& current, const CsvImportPlan& plan);

// The plan's channels into the document as one step of `kind` (an import or
// a paste); false when it changes nothing.
bool ApplyCsvImport(Document& doc, const CsvImportPlan& plan,
                    StepKind kind = StepKind::ImportChannels);

inline constexpr const char* kCsvFilter = "CSV files (*.csv)|*.csv|All files (*.*)|*.*";

// What the user sees of a plan before it is applied; true goes on.
using CsvReview =
    std::function<bool(const CsvImportPlan& plan, const std::vector<std::string>& summary)>;
// File > Import Channels: the file the user chooses, planned over the
// document. A refused file or one without rows is said and changes
// nothing; otherwise `review`
// decides, and the import is one step. True when the document changed.
bool ImportCsvCommand(Document& doc, Ui& ui, const LanguageTexts& texts, const CsvReview& review);
// File > Export Channels: the channels in use into the file the user
// chooses (".csv" added to a name without extension), written whole or not
// at all.
bool ExportCsvCommand(const Document& doc, Ui& ui);

// The name a typed text gives: kept as it is when every character is a name
// character, else as the name editor takes the keys (a..z upper-cased,
// other characters dropped); at most seven characters.
std::string ImportedName(const std::string& text);

// The summary in the language of `texts`: for a refused file its one
// message; else one line per changed or skipped row ("Line 7, Tone:
// skipped, ..."), then the totals.
std::vector<std::string> CsvSummaryLines(const CsvImportPlan& plan, const LanguageTexts& texts);

}  // namespace qx
