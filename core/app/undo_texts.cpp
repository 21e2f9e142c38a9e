#include "app/undo_texts.h"

#include "app/grid_columns.h"

namespace qx {
namespace {

std::string Fill(std::string pattern, const std::string& value) {
    const std::size_t at = pattern.find("%1");
    if (at == std::string::npos) return pattern + " " + value;
    return pattern.replace(at, 2, value);
}

const char* KindKey(StepKind kind) {
    switch (kind) {
        case StepKind::Model:
            return "Model";
        case StepKind::Options:
            return "Options";
        case StepKind::AutoDialer:
            return "AutoDialer";
        case StepKind::Dtmf:
            return "Dtmf";
        case StepKind::TwoTone:
            return "TwoTone";
        case StepKind::FiveTone:
            return "FiveTone";
        case StepKind::New:
            return "New";
        case StepKind::Open:
            return "Open";
        case StepKind::Read:
            return "Read";
        case StepKind::InsertChannel:
            return "InsertChannel";
        case StepKind::DeleteChannels:
            return "DeleteChannels";
        case StepKind::MoveChannels:
            return "MoveChannels";
        case StepKind::ClearChannels:
            return "ClearChannels";
        case StepKind::ImportChannels:
            return "ImportChannels";
        case StepKind::PasteChannels:
            return "PasteChannels";
        case StepKind::CutChannels:
            return "CutChannels";
        default:
            return "Other";
    }
}

std::string EntryText(const std::optional<StepLabel>& step, const LanguageTexts& texts,
                      const char* stepKey, const char* plainKey) {
    if (!step) return texts.LanguageText("Menu", plainKey);
    return Fill(texts.LanguageText("Edit", stepKey), DescribeStep(*step, texts));
}

// The heading of the grid column that shows a channel field.
std::string FieldHeading(ChannelField field, const LanguageTexts& texts) {
    // Channel fields are the grid's columns from the name on.
    const auto column =
        static_cast<std::size_t>(kFirstFieldColumn) + static_cast<std::size_t>(field);
    return column < kColumnHeadingKeys.size()
               ? texts.LanguageText("Channel", kColumnHeadingKeys[column])
               : std::string();
}

}  // namespace

std::string RowWords(int row, const LanguageTexts& texts) {
    const auto edit = [&](const char* key) { return texts.LanguageText("Edit", key); };
    if (row >= 1 && row <= kChannelRows) return Fill(edit("Row"), std::to_string(row - 1));
    if (row == kCallRow) return edit("CallRow");
    return PriorityName(row);  // PL, PH, VFO
}

std::string DescribeStep(const StepLabel& step, const LanguageTexts& texts) {
    switch (step.kind) {
        case StepKind::ChannelEdit: {
            const std::string heading = FieldHeading(step.field, texts);
            return RowWords(step.row, texts) + (heading.empty() ? "" : " " + heading);
        }
        case StepKind::FillChannels:
            return Fill(texts.LanguageText("Edit", "FillChannels"),
                        FieldHeading(step.field, texts));
        case StepKind::ChannelOnOff:
            return Fill(texts.LanguageText("Edit", "OnOff"), RowWords(step.row, texts));
        default:
            return texts.LanguageText("Edit", KindKey(step.kind));
    }
}

std::string UndoEntryText(const std::optional<StepLabel>& step, const LanguageTexts& texts) {
    return EntryText(step, texts, "UndoStep", "50001");
}

std::string RedoEntryText(const std::optional<StepLabel>& step, const LanguageTexts& texts) {
    return EntryText(step, texts, "RedoStep", "50002");
}

}  // namespace qx
