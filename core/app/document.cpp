#include "app/document.h"

#include <utility>

#include "codeplug/defaults.h"

namespace qx {

DocumentTexts DocumentTexts::From(const LanguageTexts& lang) {
    DocumentTexts t;
    t.active = lang.LanguageText("Channel", "50015");
    t.inactive = lang.LanguageText("Channel", "50016");
    t.wide = lang.LanguageText("Channel", "50019");
    t.narrow = lang.LanguageText("Channel", "50020");
    t.scanSkipOff = lang.LanguageText("Channel", "50023");
    t.scanSkipOn = lang.LanguageText("Channel", "50024");
    for (std::size_t c = 0; c < kColumnHeadingKeys.size(); ++c) {
        t.headings[c] = lang.LanguageText("Channel", kColumnHeadingKeys[c]);
    }
    static constexpr const char* kMessageKeys[9] = {"9001", "9002", "9003", "9004", "9005",
                                                    "9006", "9007", "9008", "9009"};
    for (std::size_t i = 0; i < t.messages.size(); ++i) {
        t.messages[i] = lang.LanguageText("MSG", kMessageKeys[i]);
    }
    t.printQuestion = lang.LanguageText("MSG", "900B");
    t.statusPanel1 = lang.LanguageText("OTHERS", "70007");
    t.statusPanel2 = lang.LanguageText("OTHERS", "70008");
    t.saveCompleted = lang.LanguageText("Files", "Completed");
    t.saveUndone = lang.LanguageText("Files", "Undone");
    t.saveNotFinished = lang.LanguageText("Files", "Failed");
    t.saveReplace = lang.LanguageText("Files", "Replace");
    t.recentGone = lang.LanguageText("Files", "Gone");
    t.insertLosesLast = lang.LanguageText("Edit", "InsertLosesLast");
    t.gridRounded = lang.LanguageText("Grid", "Rounded");
    t.gridNameLeft = lang.LanguageText("Grid", "NameLeft");
    t.gridNameLeftOne = lang.LanguageText("Grid", "NameLeftOne");
    return t;
}

Document::Document(Codeplug initial) : history_(std::move(initial)) {}

Document::Document() : Document(NewCodeplug(kStartModel)) {}

bool Document::Change(StepLabel label, const std::function<void(Codeplug&)>& change) {
    CancelRowEdit();
    Codeplug next = codeplug();
    change(next);
    return history_.Commit(std::move(next), label);
}

void Document::Replace(Codeplug codeplug, StepLabel label) {
    CancelRowEdit();
    history_.Commit(std::move(codeplug), label);
    history_.MarkClean();
}

bool Document::Undo() {
    CancelRowEdit();
    return history_.Undo();
}

bool Document::Redo() {
    CancelRowEdit();
    return history_.Redo();
}

void Document::BeginRowEdit(int row) {
    edited_ = codeplug().Row(row);
    editedRow_ = row;
}

void Document::EndRowEdit(ChannelField field) {
    if (!EditingRow()) return;
    const int row = std::exchange(editedRow_, 0);
    Codeplug next = codeplug();
    // An editor opened on a row not in use switches it on with the value.
    const StepLabel label = next.Row(row).inUse == edited_.inUse
                                ? StepLabel{StepKind::ChannelEdit, row, field}
                                : StepLabel{StepKind::ChannelOnOff, row};
    next.Row(row) = std::move(edited_);
    history_.Commit(std::move(next), label);
}

void Document::CancelRowEdit() { editedRow_ = 0; }

void Document::BelongTo(const std::string& path) {
    filename = path.empty() ? kNoFileName : path;
    statusText = kCurrentFilePrefix + (path.empty() ? std::string("Noname.qx") : path);
}

const Channel& Document::ShownRow(int row) const {
    return row == editedRow_ ? edited_ : codeplug().Row(row);
}

}  // namespace qx
