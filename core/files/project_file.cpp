#include "files/project_file.h"

#include <optional>
#include <string_view>
#include <vector>

#include "channels/channel_ops.h"
#include "files/atomic_file.h"
#include "files/ton_file.h"
#include "util/numbers.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr const char* kRecordEnd = "\r\r\n";
constexpr const char* kDefault = "def";
constexpr const char* kActiveWord = "Active";
constexpr const char* kInactiveWord = "Inactive";
constexpr int kChannelFields = 19;
constexpr int kSetupRecord = 105;
constexpr int kAutoDialRecord = 106;
constexpr int kModelRecord = 107;
constexpr int kLowestModel = -1;
constexpr int kHighestModel = 31;

// How a grid cell is written: blank as "def", the language's bandwidth texts
// by their stored names, anything else as it stands.
std::string GridField(const Document& doc, const std::string& cell) {
    if (IsAllSpaces(cell)) return kDefault;
    if (cell == doc.texts.wide) return "wide";
    if (cell == doc.texts.narrow) return "narrow";
    return cell;
}

std::string TableField(const std::string& cell) { return IsAllSpaces(cell) ? kDefault : cell; }

void AddField(std::string& record, const std::string& field) {
    record += field;
    record += '|';
}

// A channel or special row; the signalling codes always come from the table.
std::string RowRecord(const Document& doc, int row) {
    std::string record;
    const std::string& status = doc.Cell(row, kColStatus);
    const bool special = row >= kCallRow;
    if (special || status == doc.texts.active || status.empty()) {
        if (special) {
            AddField(record, GridField(doc, doc.Cell(row, kColLabel)));
            AddField(record, GridField(doc, status));
        } else {
            AddField(record, std::to_string(row - 1));
            AddField(record, kActiveWord);
        }
        for (int c = kFirstFieldColumn; c <= kLastFieldColumn; ++c) {
            AddField(record, GridField(doc, doc.Cell(row, c)));
        }
        AddField(record, doc.Table(row, kColSignalCode));
        AddField(record, doc.Table(row, kColSignalSubCode));
    } else {
        AddField(record, std::to_string(row - 1));
        AddField(record, kInactiveWord);
        for (int c = kFirstFieldColumn; c <= kColSignalSubCode; ++c) {
            AddField(record, TableField(doc.Table(row, c)));
        }
    }
    return record;
}

// The .qx text of a document whose table is up to date.
std::string ProjectText(const Document& doc) {
    std::string text;
    for (int n = 1; n <= kProjectRecords; ++n) {
        if (n <= kRowCount) {
            text += RowRecord(doc, n);
        } else if (n == kSetupRecord) {
            text += doc.strSetup;
        } else if (n == kAutoDialRecord) {
            text += doc.strAutoDial;
        } else {
            text += std::to_string(doc.modelIndex) + "|";
        }
        text += kRecordEnd;
    }
    return text;
}

// The non-empty lines; a line ends at CR, LF or CR LF.
std::vector<std::string_view> NonEmptyLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string StoredValue(const std::string& piece) { return piece == kDefault ? "" : piece; }

void ApplyChannelRecord(Document& doc, int row, const std::vector<std::string>& pieces) {
    const bool active = pieces[1] == kActiveWord;
    doc.Cell(row, kColStatus) = active ? doc.texts.active : doc.texts.inactive;
    for (int c = kFirstFieldColumn; c <= kColSignalSubCode; ++c) {
        const std::string& piece = pieces[static_cast<std::size_t>(c)];
        doc.Table(row, c) = StoredValue(piece);
        if (c > kLastFieldColumn) continue;
        if (!active) {
            doc.Cell(row, c) = kInactiveCell;
        } else if (piece == "wide") {
            doc.Cell(row, c) = doc.texts.wide;
        } else if (piece == "narrow") {
            doc.Cell(row, c) = doc.texts.narrow;
        } else {
            doc.Cell(row, c) = StoredValue(piece);
        }
    }
}

// The call channel and VFO show what is stored, "wide" and "narrow" included.
void ApplySpecialRecord(Document& doc, int row, const std::vector<std::string>& pieces) {
    for (int c = kFirstFieldColumn; c <= kColSignalSubCode; ++c) {
        const std::string value = StoredValue(pieces[static_cast<std::size_t>(c)]);
        doc.Table(row, c) = value;
        if (c <= kLastFieldColumn) doc.Cell(row, c) = value;
    }
}

// A model index that is in range, or nullopt.
std::optional<int> ModelIndexOf(const std::string& piece) {
    const auto value = ParseInteger(piece);
    if (!value || *value < kLowestModel || *value > kHighestModel) return std::nullopt;
    return static_cast<int>(*value);
}

struct Record {
    std::string line;
    std::vector<std::string> pieces;
};

// The result of checking every record in the order reading meets them.
struct RecordCheck {
    std::vector<Record> records;  // as many as are valid
    int malformedMessage = 0;     // 9004 or 9003
    std::string error;            // unreadable or invalid
};

RecordCheck CheckRecords(std::string_view text, const std::filesystem::path& path) {
    RecordCheck check;
    const auto fail = [&](const std::string& reason) {
        check.error = FileErrorText("Cannot open", path, reason);
        return check;
    };
    int n = 0;
    for (const std::string_view line : NonEmptyLines(text)) {
        ++n;
        if (n > kProjectRecords) return fail("it holds more than 107 records");
        std::vector<std::string> pieces = Split(line, '|');
        const std::string record = "record " + std::to_string(n);
        if (n <= kRowCount && pieces.size() < static_cast<std::size_t>(kChannelFields)) {
            return fail(record + " has " + std::to_string(pieces.size()) +
                        " fields where 19 are needed");
        }
        if (n == kSetupRecord && pieces.size() != kSetupPieces) {
            check.malformedMessage = 9004;
            return check;
        }
        if (n == kAutoDialRecord && pieces.size() != kAutoDialPieces) {
            check.malformedMessage = 9003;
            return check;
        }
        if (n == kModelRecord && !ModelIndexOf(pieces[0])) {
            return fail(record + " holds the model index \"" + pieces[0] +
                        "\", which is not a whole number from -1 to 31");
        }
        check.records.push_back({std::string(line), std::move(pieces)});
    }
    return check;
}

void ApplyRecords(Document& doc, const std::vector<Record>& records) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const std::vector<std::string>& pieces = records[i].pieces;
        if (n <= kPhRow) {
            ApplyChannelRecord(doc, n, pieces);
        } else if (n <= kVfoRow) {
            ApplySpecialRecord(doc, n, pieces);
        } else if (n == kSetupRecord) {
            doc.strSetup = records[i].line;
        } else if (n == kAutoDialRecord) {
            doc.strAutoDial = records[i].line;
        } else {
            // The model change without its save question and without clearing:
            // the loaded rows stay, the model's defaults are derived anew.
            doc.modelIndex = *ModelIndexOf(pieces[0]);
            InitDefaultFres(doc);
            doc.BeReadReshow = true;
        }
    }
}

// A missing or short companion file gives the default signalling record.
void ReadCompanion(Document& doc, const std::filesystem::path& projectPath) {
    const FileBytes file = ReadFileBytes(CompanionPath(projectPath), kTonRecordSize);
    const auto record = file.error.empty() ? DecodeTonRecord(file.bytes) : std::nullopt;
    if (record) {
        doc.signalling.live = *record;
    } else {
        doc.signalling.InitSignallingDefaults();
    }
}

}  // namespace

std::string SaveProject(Document& doc, const std::filesystem::path& path) {
    UpdateAllArray(doc);
    const std::vector<std::uint8_t> ton = EncodeTonRecord(doc.signalling.live);
    const PendingFile files[] = {
        {path, ProjectText(doc)},
        {CompanionPath(path), std::string(ton.begin(), ton.end())},
    };
    if (std::string error = WriteFilesAtomically(files); !error.empty()) return error;
    doc.filename = path.string();
    // The status bar names the file the document now belongs to, as after an open.
    doc.statusText = kCurrentFilePrefix + path.string();
    doc.bModify = false;
    return {};
}

bool SaveCommand(Document& doc, Ui& ui) {
    const auto chosen = ui.ChooseSaveFile(kProjectFilter);
    if (!chosen || chosen->empty()) return false;
    const std::string error = SaveProject(doc, *chosen);
    if (!error.empty()) ui.ShowMessage(error);
    return error.empty();
}

OpenOutcome OpenProject(Document& doc, const std::filesystem::path& path, Ui& ui) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        ui.ShowMessage(FileErrorText("Cannot open", path, ec.message()));
        return OpenOutcome::Failed;
    }
    const FileBytes file =
        size > kMaxProjectBytes ? FileBytes{} : ReadFileBytes(path, kMaxProjectBytes + 1);
    if (!file.error.empty()) {
        ui.ShowMessage(file.error);
        return OpenOutcome::Failed;
    }
    if (size > kMaxProjectBytes || file.bytes.size() > kMaxProjectBytes) {
        ui.ShowMessage(doc.texts.Message(9002));
        doc.bModify = false;
        ReadCompanion(doc, path);
        return OpenOutcome::TooLarge;
    }

    const std::string text(file.bytes.begin(), file.bytes.end());
    const RecordCheck check = CheckRecords(text, path);
    if (!check.error.empty()) {
        ui.ShowMessage(check.error);
        return OpenOutcome::Failed;
    }
    if (check.malformedMessage != 0) {
        ui.ShowMessage(doc.texts.Message(check.malformedMessage));
        ClearAll(doc);
        return OpenOutcome::Rejected;
    }
    ApplyRecords(doc, check.records);
    doc.filename = path.string();
    doc.statusText = kCurrentFilePrefix + path.string();
    doc.bModify = false;
    ReadCompanion(doc, path);
    return OpenOutcome::Opened;
}

OpenOutcome OpenCommand(Document& doc, Ui& ui) {
    if (doc.bModify && ui.Ask(doc.texts.Message(9001), Buttons::OkCancel) == Answer::Ok) {
        SaveCommand(doc, ui);  // a cancelled or failed save does not stop the opening
    }
    const auto chosen = ui.ChooseOpenFile(kProjectFilter);
    if (!chosen || chosen->empty()) return OpenOutcome::Cancelled;
    return OpenProject(doc, *chosen, ui);
}

}  // namespace qx
