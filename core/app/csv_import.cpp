#include "app/csv_import.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

#include "app/channel_ops.h"
#include "app/export_file.h"
#include "codeplug/defaults.h"
#include "codeplug/value_lists.h"
#include "files/project_codec.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr const char* kSection = "Csv";

const char* IssueKey(CsvIssue issue) {
    switch (issue) {
        case CsvIssue::Malformed:
            return "Malformed";
        case CsvIssue::BadNumber:
            return "BadNumber";
        case CsvIssue::UnknownDuplex:
            return "UnknownDuplex";
        case CsvIssue::UnknownToneMode:
            return "UnknownToneMode";
        case CsvIssue::UnknownCrossMode:
            return "UnknownCrossMode";
        case CsvIssue::ToneNotInList:
            return "ToneNotInList";
        case CsvIssue::BadPolarity:
            return "BadPolarity";
        case CsvIssue::UnusableMode:
            return "UnusableMode";
        case CsvIssue::TransmitOff:
            return "TransmitOff";
        case CsvIssue::UnknownStep:
            return "UnknownStep";
        case CsvIssue::UnknownSkip:
            return "UnknownSkip";
    }
    return "";
}

const char* NoteKey(const CsvNote& note) {
    switch (note.kind) {
        case CsvNoteKind::Read:
            return IssueKey(note.issue);
        case CsvNoteKind::LocationTooHigh:
            return "LocationTooHigh";
        case CsvNoteKind::NoFreeChannel:
            return "NoFreeChannel";
        case CsvNoteKind::RxOutOfBand:
            return "RxOutOfBand";
        case CsvNoteKind::TxOutOfBand:
            return "TxOutOfBand";
        case CsvNoteKind::Rounded:
            return "Rounded";
        case CsvNoteKind::NameChanged:
            return "NameChanged";
    }
    return "";
}

// The channel a row changes: one in use as it is, any other with the
// model's defaults (its signal codes kept, as switching it on keeps them).
Channel StartingChannel(const Channel& current, int model) {
    if (current.inUse && !current.blank) return current;
    Channel channel = current;
    channel.blank = true;
    PutInUse(channel, model);
    return channel;
}

// A note of the import's own (not the reader's).
CsvNote Note(CsvNoteKind kind, std::string column, std::string value, std::string other = "",
             std::string kept = "") {
    CsvNote note;
    note.kind = kind;
    note.column = std::move(column);
    note.value = std::move(value);
    note.other = std::move(other);
    note.kept = std::move(kept);
    return note;
}

// The first line of the copied records; the model and "|" follow.
constexpr std::string_view kRecordsHeading = "qxprog channels|";

class Planner {
  public:
    Planner(const Codeplug& current, CsvImportPlan& plan) : current_(current), plan_(plan) {}

    void Plan(const std::vector<CsvRow>& rows) {
        for (int i = 0; i < kChannelRows; ++i)
            taken_[static_cast<std::size_t>(i)] = current_.Memory(i).inUse;
        for (const CsvRow& row : rows) {
            if (row.channel && row.channel->location && *row.channel->location < kChannelRows)
                taken_[static_cast<std::size_t>(*row.channel->location)] = true;
        }
        for (const CsvRow& row : rows) plan_.rows.push_back(PlanRow(row));
        for (const CsvPlannedRow& row : plan_.rows) {
            if (row.outcome == CsvOutcome::Skipped) {
                ++plan_.skipped;
            } else {
                ++plan_.imported;
                if (row.outcome == CsvOutcome::Changed) ++plan_.changed;
            }
        }
    }

  private:
    CsvPlannedRow PlanRow(const CsvRow& row) {
        CsvPlannedRow planned;
        planned.line = row.line;
        for (const CsvProblem& problem : row.problems) {
            planned.notes.push_back({CsvNoteKind::Read, problem.issue, problem.column,
                                     problem.value, "", "", SkipsRow(problem.issue)});
        }
        const auto skip = [&planned](CsvNote note) {
            note.skips = true;
            planned.notes.push_back(std::move(note));
            planned.outcome = CsvOutcome::Skipped;
            return planned;
        };
        if (!row.channel) {
            planned.outcome = CsvOutcome::Skipped;
            return planned;
        }
        const CsvChannel& values = *row.channel;
        int target = -1;
        if (values.location) {
            if (*values.location >= kChannelRows) {
                return skip(Note(CsvNoteKind::LocationTooHigh, "Location",
                                 std::to_string(*values.location)));
            }
            target = static_cast<int>(*values.location);
        } else {
            for (int i = 0; i < kChannelRows && target < 0; ++i) {
                if (!taken_[static_cast<std::size_t>(i)]) target = i;
            }
            if (target < 0) return skip(Note(CsvNoteKind::NoFreeChannel, "Location", ""));
            taken_[static_cast<std::size_t>(target)] = true;
        }
        const int model = current_.model;
        const std::string rxText = values.rx.ToString();
        if (const BandCheck rxBand = CheckRxFreq(model, rxText); !rxBand.inBand) {
            return skip(Note(CsvNoteKind::RxOutOfBand, "Frequency", rxText, rxBand.rangeText));
        }

        Channel channel = StartingChannel(plan_.result.Memory(target), model);
        if (values.step) channel.step = *values.step;
        for (CsvNote& note : planned.notes) {
            if (note.issue == CsvIssue::UnknownStep) note.kept = StepText(channel.step);
        }
        channel.rx = values.rx.RoundedTo(channel.step);
        if (channel.rx.Hz() != values.rx.Hz()) {
            planned.notes.push_back(Note(CsvNoteKind::Rounded, "Frequency", rxText,
                                         StepText(channel.step), channel.rx.ToString()));
        }
        const std::string txText = values.tx.ToString();
        const std::string txColumn = values.txFromRx ? "Frequency" : "Offset";
        if (const BandCheck txBand = CheckTxFreq(model, txText); txBand.inBand) {
            channel.tx = values.tx.RoundedTo(channel.step);
            if (channel.tx.Hz() != values.tx.Hz() && !values.txFromRx) {
                planned.notes.push_back(Note(CsvNoteKind::Rounded, txColumn, txText,
                                             StepText(channel.step), channel.tx.ToString()));
            }
        } else {
            planned.notes.push_back(Note(CsvNoteKind::TxOutOfBand, txColumn, txText,
                                         txBand.rangeText, channel.tx.ToString()));
        }
        if (values.name) {
            channel.name = ImportedName(*values.name);
            if (channel.name != *values.name) {
                planned.notes.push_back(
                    Note(CsvNoteKind::NameChanged, "Name", *values.name, "", channel.name));
            }
        }
        if (values.rxTone && values.txTone) {
            channel.rxTone = *values.rxTone;
            channel.txTone = *values.txTone;
        }
        if (values.bandwidth) channel.bandwidth = *values.bandwidth;
        if (values.scanSkip) channel.scanSkip = *values.scanSkip;
        channel.inUse = true;
        channel.blank = false;
        plan_.result.Memory(target) = channel;
        planned.channel = target;
        planned.outcome = planned.notes.empty() ? CsvOutcome::Imported : CsvOutcome::Changed;
        return planned;
    }

    const Codeplug& current_;
    CsvImportPlan& plan_;
    std::array<bool, kChannelRows> taken_{};
};

}  // namespace

std::string ImportedName(const std::string& text) {
    bool allNameCharacters = true;
    for (char c : text) allNameCharacters = allNameCharacters && IsNameChar(c);
    std::string name;
    for (char c : text) {
        if (name.size() >= kChannelNameLength) break;
        if (!allNameCharacters && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (IsNameChar(c)) name += c;
    }
    return name;
}

CsvImportPlan PlanCsvImport(const Codeplug& current, const CsvReading& reading) {
    CsvImportPlan plan;
    plan.fileIssue = reading.issue;
    plan.fileError = reading.error;
    plan.fileSize = reading.size;
    plan.result = current;
    if (reading.issue != CsvFileIssue::None) return plan;
    Planner(current, plan).Plan(reading.rows);
    return plan;
}

std::vector<int> ReplacedChannels(const Codeplug& current, const CsvImportPlan& plan) {
    std::vector<int> replaced;
    for (int i = 0; i < kChannelRows; ++i) {
        if (current.Memory(i).inUse && !(plan.result.Memory(i) == current.Memory(i)))
            replaced.push_back(i);
    }
    return replaced;
}

bool ApplyCsvImport(Document& doc, const CsvImportPlan& plan, StepKind kind) {
    if (plan.fileIssue != CsvFileIssue::None) return false;
    const Codeplug& result = plan.result;
    return doc.Change(StepLabel{kind, 0, ChannelField::Name}, [&result](Codeplug& c) {
        for (int i = 0; i < kChannelRows; ++i) c.Memory(i) = result.Memory(i);
    });
}

std::vector<std::string> CsvSummaryLines(const CsvImportPlan& plan, const LanguageTexts& texts) {
    const auto text = [&texts](const char* key) { return texts.LanguageText(kSection, key); };
    switch (plan.fileIssue) {
        case CsvFileIssue::None:
            break;
        case CsvFileIssue::Unreadable:
            return {plan.fileError};
        case CsvFileIssue::TooLarge:
            return {FillPlaceholders(
                text("TooLarge"), {std::to_string(plan.fileSize), std::to_string(kMaxCsvBytes)})};
        case CsvFileIssue::Binary:
            return {text("Binary")};
        case CsvFileIssue::NoFrequencyColumn:
            return {text("NoFrequencyColumn")};
    }
    std::vector<std::string> lines;
    for (const CsvPlannedRow& row : plan.rows) {
        if (row.outcome == CsvOutcome::Imported) continue;
        const bool skipped = row.outcome == CsvOutcome::Skipped;
        for (const CsvNote& note : row.notes) {
            if (skipped != note.skips) continue;
            const bool twoValues =
                note.kind == CsvNoteKind::Read || note.kind == CsvNoteKind::NameChanged;
            const std::string reason =
                twoValues ? FillPlaceholders(text(NoteKey(note)), {OneLine(note.value), note.kept})
                          : FillPlaceholders(text(NoteKey(note)),
                                             {OneLine(note.value), note.other, note.kept});
            const std::string state =
                FillPlaceholders(text(skipped ? "Skipped" : "Changed"), {reason});
            lines.push_back(
                note.column.empty()
                    ? FillPlaceholders(text("LineNoColumn"), {std::to_string(row.line), state})
                    : FillPlaceholders(text("Line"),
                                       {std::to_string(row.line), note.column, state}));
        }
    }
    if (plan.rows.empty()) lines.push_back(text("NoRows"));
    lines.push_back(FillPlaceholders(text("Totals"),
                                     {std::to_string(plan.imported), std::to_string(plan.changed),
                                      std::to_string(plan.skipped)}));
    return lines;
}

std::string CopiedChannelsText(const Codeplug& codeplug, const std::vector<int>& channels) {
    Codeplug copied = codeplug;
    for (int i = 0; i < kChannelRows; ++i) {
        const bool chosen = std::find(channels.begin(), channels.end(), i) != channels.end();
        if (!chosen) copied.Memory(i).inUse = false;
    }
    return WriteCsv(copied);
}

CsvImportPlan PlanPaste(const Codeplug& current, std::string_view text, int first) {
    // A spreadsheet hands over tab-separated cells; the header is optional then.
    const bool tabs = text.substr(0, text.find('\n')).find('\t') != std::string_view::npos;
    CsvReading reading =
        tabs ? ReadCsv(text, '\t', CsvHeader::Optional) : ReadCsv(text, ',', CsvHeader::Required);
    long long next = first;
    for (CsvRow& row : reading.rows) {
        if (row.channel) row.channel->location = next++;
    }
    return PlanCsvImport(current, reading);
}

std::string CopiedChannelsRecords(const Codeplug& codeplug, const std::vector<int>& channels) {
    std::string text = std::string(kRecordsHeading) + std::to_string(codeplug.model) + "|\r\n";
    int row = 1;
    for (int i = 0; i < kChannelRows; ++i) {
        if (!codeplug.Memory(i).inUse ||
            std::find(channels.begin(), channels.end(), i) == channels.end())
            continue;
        text += RowRecordText(codeplug.Memory(i), row++) + "\r\n";
    }
    return text;
}

std::optional<CsvImportPlan> PlanRecordsPaste(const Codeplug& current, std::string_view records,
                                              int first) {
    const std::size_t lineEnd = records.find("\r\n");
    if (lineEnd == std::string_view::npos ||
        records.substr(0, lineEnd) !=
            std::string(kRecordsHeading) + std::to_string(current.model) + "|") {
        return std::nullopt;
    }
    const std::string_view rows = records.substr(lineEnd + 2);
    const auto count = static_cast<int>(NonEmptyLines(rows).size());  // the records
    const ProjectDecoding decoded = DecodeProject(rows, {}, current);
    if (count > kChannelRows || decoded.status != ProjectReadStatus::Read) return std::nullopt;
    CsvImportPlan plan;
    plan.result = current;
    int line = 1;
    for (int row = 1; row <= count; ++row) {
        CsvPlannedRow planned;
        planned.line = ++line;
        const int target = first + row - 1;
        if (target >= kChannelRows) {
            planned.outcome = CsvOutcome::Skipped;
            planned.notes.push_back(
                Note(CsvNoteKind::LocationTooHigh, "Location", std::to_string(target)));
            planned.notes.back().skips = true;
            ++plan.skipped;
        } else {
            plan.result.Memory(target) = decoded.codeplug.Row(row);
            planned.channel = target;
            ++plan.imported;
        }
        plan.rows.push_back(std::move(planned));
    }
    return plan;
}

bool ImportCsvCommand(Document& doc, Ui& ui, const LanguageTexts& texts, const CsvReview& review) {
    const auto chosen = ui.ChooseOpenFile(kCsvFilter);
    if (!chosen || chosen->empty()) return false;
    const CsvImportPlan plan = PlanCsvImport(doc.codeplug(), ReadCsvFile(*chosen));
    const std::vector<std::string> summary = CsvSummaryLines(plan, texts);
    // A refused file, or one without rows, has nothing to review.
    if (plan.fileIssue != CsvFileIssue::None || plan.rows.empty()) {
        ui.ShowMessage(summary.front());
        return false;
    }
    return review(plan, summary) && ApplyCsvImport(doc, plan);
}

bool ExportCsvCommand(const Document& doc, Ui& ui) {
    const auto path = ChooseExportFile(ui, kCsvFilter, ".csv");
    return path && WriteExportFile(ui, *path, WriteCsv(doc.codeplug()));
}

}  // namespace qx
