#include "signalling/five_tone_dialog.h"

#include <stdexcept>

#include "codeplug/value_lists.h"
#include "util/numbers.h"
#include "util/text.h"

namespace qx {
namespace {

// The number a tone-time text shows, in 10 ms units; 7 when it shows none.
std::uint8_t ToneTimeOf(const std::string& text) {
    const std::optional<long long> ms = ParseInteger(Trim(text));
    if (!ms || *ms < 30 || *ms > 100) return 7;
    return static_cast<std::uint8_t>(*ms / 10);
}

std::uint8_t SelectedIndex(const ListControl& list) {
    return static_cast<std::uint8_t>(list.SelectedOr(0));
}

// A self ID shorter than five digits is filled up with "0".
void PadSelfId(std::string& selfId) {
    if (selfId.size() < kSelfIdLength) selfId.append(kSelfIdLength - selfId.size(), '0');
}

std::string CutCode(std::string code) {
    if (code.size() > FiveToneCode::kCodeWidth) code.resize(FiveToneCode::kCodeWidth);
    return code;
}

void StoreCode(FiveToneCode& record, const std::string& text) {
    record.code = CutCode(Make5ToneE(Trim(text)));
    record.length = static_cast<std::uint8_t>(record.code.size());
}

std::vector<std::string> DelayList() { return NumberList(0, 2550, 10); }

}  // namespace

FiveToneDialog::FiveToneDialog(Document& doc, const LanguageTexts& lang)
    : doc_(doc), texts_(FiveToneTexts::From(lang)) {
    const std::vector<std::string> standards = FiveToneStandardNames();
    ownStandard_.entries = standards;
    response_.entries = {lang.LanguageText("OPTION", "60057"), lang.LanguageText("OPTION", "60058"),
                         lang.LanguageText("OPTION", "60059")};
    toneTime_.entries = ToneTimeList();
    delay_.entries = DelayList();
    for (std::size_t i = 0; i < 2; ++i) {
        pttStandard_[i].entries = standards;
        pttToneTime_[i].entries = ToneTimeList();
    }
    standardEditor_.entries = standards;
    toneTimeEditor_.entries = ToneTimeList();

    grid_[0] = {lang.LanguageText("OPTION", "60053"), lang.LanguageText("OPTION", "60062"),
                lang.LanguageText("OPTION", "60079"), lang.LanguageText("OPTION", "60061"),
                lang.LanguageText("OPTION", "60080")};
    for (int n = 0; n < 100; ++n) grid_[static_cast<std::size_t>(n + 1)][0] = std::to_string(n);

    working_ = doc_.codeplug().signalling;
    ShowFiveToneForm();
}

std::size_t FiveToneDialog::Slot(int which) {
    if (which < 0 || which > 1) throw std::out_of_range("PTT ID " + std::to_string(which));
    return static_cast<std::size_t>(which);
}

const std::string& FiveToneDialog::Cell(int row, int column) const {
    return grid_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

void FiveToneDialog::SetCell(int row, int column, const std::string& text) {
    grid_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
}

void FiveToneDialog::ShowFiveToneForm() {
    FiveToneSettings& settings = Working();
    selfIdText_ = Trim(settings.selfId);
    ownStandard_.Show(ListItemOrFirst(ownStandard_.entries, settings.standardIndex));
    infoText_ = ShowStandardTable(ownStandard_.text, texts_);
    response_.Show(ListItemOrFirst(response_.entries, settings.responseMode));
    delay_.Show(ListItemOrFirst(delay_.entries, settings.delayIndex));
    if (settings.toneTime == 0) settings.toneTime = 7;
    toneTime_.Show(ToneTimeText(settings.toneTime));

    for (std::size_t i = 0; i < 2; ++i) {
        const FiveToneCode& ptt = i == 0 ? settings.pttIdBegin : settings.pttIdEnd;
        pttCode_[i] = Trim(ptt.code);
        pttStandard_[i].Show(ListItemOrFirst(pttStandard_[i].entries, ptt.standardIndex));
        pttToneTime_[i].Show(ToneTimeText(ptt.toneTime));
    }

    for (std::size_t n = 0; n < settings.codes.size(); ++n) {
        const FiveToneCode& code = settings.codes[n];
        const FiveToneCodeView view = FiveToneCodeDisplay(code.code, texts_);
        auto& row = grid_[n + 1];
        row[1] = view.kind;
        row[2] = view.code;
        row[3] = ListItemOrFirst(standardEditor_.entries, code.standardIndex);
        row[4] = ToneTimeText(code.toneTime);
    }
}

std::string FiveToneDialog::TypeSelfIdKey(const std::string& current, char32_t key) {
    return TypeKey(current, key, DigitKey, kSelfIdLength);
}

void FiveToneDialog::SetSelfIdText(const std::string& text) {
    selfIdText_ = FilterText(text, DigitKey, kSelfIdLength);
}

void FiveToneDialog::LeaveSelfId() {
    PadSelfId(selfIdText_);
    Working().selfId = selfIdText_;
    CloseCellEditor();
    SaveFiveToneForm();
    RefreshSelfIdCodes();
    ShowFiveToneForm();
}

void FiveToneDialog::ChooseOwnStandard(int index) {
    if (!ownStandard_.Select(index)) return;
    infoText_ = ShowStandardTable(ownStandard_.text, texts_);
    toneTime_.Show(std::to_string(FiveToneStandards()[static_cast<std::size_t>(index)].defaultMs));
}

std::string FiveToneDialog::TypeCodeKey(const std::string& current, char32_t key) {
    return TypeKey(current, key, HexDigitKey, FiveToneCode::kCodeWidth);
}

void FiveToneDialog::SetPttCode(int which, const std::string& text) {
    pttCode_.at(Slot(which)) = FilterText(text, HexDigitKey, FiveToneCode::kCodeWidth);
}

void FiveToneDialog::LeavePttCode(int which) {
    std::string& code = pttCode_.at(Slot(which));
    code = Make5ToneE(code);
}

void FiveToneDialog::ChoosePttStandard(int which, int index) {
    if (!pttStandard_.at(Slot(which)).Select(index)) return;
    pttToneTime_[Slot(which)].Show(
        std::to_string(FiveToneStandards()[static_cast<std::size_t>(index)].defaultMs));
}

void FiveToneDialog::HighlightRow(int row) {
    if (row >= 1 && row < kFiveToneGridRows) highlightedRow_ = row;
}

bool FiveToneDialog::EnterCell(int row, int column) {
    HighlightRow(row);
    if (row < 1 || row >= kFiveToneGridRows || column < 2 || column >= kFiveToneGridColumns) {
        return false;
    }
    if (row == currentRow_ && column == currentColumn_ && editor_ != FiveToneEditor::None) {
        return false;
    }
    // A special call's code is composed in its own dialog, never typed over.
    if (column == 2 && !Cell(row, 1).empty()) return false;
    CommitCell();
    currentRow_ = row;
    currentColumn_ = column;
    keptCells_ = grid_[static_cast<std::size_t>(row)];
    const std::string& text = Cell(row, column);
    switch (column) {
        case 2:
            editor_ = FiveToneEditor::Code;
            codeEditorText_ = text;
            break;
        case 3:
            editor_ = FiveToneEditor::Standard;
            standardEditor_.Show(text);
            break;
        default:
            editor_ = FiveToneEditor::ToneTime;
            toneTimeEditor_.Show(text);
            break;
    }
    return true;
}

void FiveToneDialog::SetCodeEditorText(const std::string& text) {
    codeEditorText_ = FilterText(text, HexDigitKey, FiveToneCode::kCodeWidth);
}

void FiveToneDialog::ChooseEditorStandard(int index) {
    if (editor_ != FiveToneEditor::Standard || !standardEditor_.Select(index)) return;
    infoText_ = ShowStandardTable(standardEditor_.text, texts_);
    SetCell(currentRow_, 4,
            std::to_string(FiveToneStandards()[static_cast<std::size_t>(index)].defaultMs));
}

void FiveToneDialog::CommitCell() {
    if (editor_ == FiveToneEditor::None || currentRow_ < 1 || currentColumn_ < 2) return;
    FiveToneCode& record = Code(currentRow_ - 1);
    switch (editor_) {
        case FiveToneEditor::Code:
            StoreCode(record, codeEditorText_);
            SetCell(currentRow_, 2, record.code);
            break;
        case FiveToneEditor::Standard:
            record.standardIndex = SelectedIndex(standardEditor_);
            record.toneTime = ToneTimeOf(Cell(currentRow_, 4));
            SetCell(currentRow_, 3, ListItemOrFirst(standardEditor_.entries, record.standardIndex));
            break;
        case FiveToneEditor::ToneTime:
            record.toneTime = ToneTimeOf(toneTimeEditor_.text);
            SetCell(currentRow_, 4, ToneTimeText(record.toneTime));
            break;
        case FiveToneEditor::None:
            break;
    }
}

void FiveToneDialog::CancelCell() {
    if (editor_ == FiveToneEditor::None) return;
    // Nothing reached the record before a commit; only the row's cells moved.
    grid_.at(static_cast<std::size_t>(currentRow_)) = keptCells_;
    editor_ = FiveToneEditor::None;
}

void FiveToneDialog::CloseCellEditor() {
    CommitCell();
    editor_ = FiveToneEditor::None;
}

void FiveToneDialog::GridScrolled() { CloseCellEditor(); }

void FiveToneDialog::DoubleClickCell(int row, int column, Ui& ui) {
    if (row < 1 || row >= kFiveToneGridRows || column != 2 || Cell(row, 1).empty()) return;
    if (ui.Ask(kResetSpecialCallQuestion, Buttons::OkCancel) != Answer::Ok) return;
    FiveToneCode& record = Code(row - 1);
    record.length = 0;
    record.code.clear();
    SetCell(row, 1, "");
    SetCell(row, 2, "");
    if (row == currentRow_ && column == currentColumn_) editor_ = FiveToneEditor::None;
    EnterCell(row, column);
}

void FiveToneDialog::SaveFiveToneForm() {
    FiveToneSettings& settings = Working();
    settings.selfId = selfIdText_.substr(0, kSelfIdLength);
    settings.selfIdLength = static_cast<std::uint8_t>(settings.selfId.size());
    settings.standardIndex = SelectedIndex(ownStandard_);
    settings.responseMode = SelectedIndex(response_);
    settings.toneTime = ToneTimeOf(toneTime_.text);
    settings.delayIndex = SelectedIndex(delay_);

    for (std::size_t i = 0; i < 2; ++i) {
        FiveToneCode& ptt = i == 0 ? settings.pttIdBegin : settings.pttIdEnd;
        StoreCode(ptt, pttCode_[i]);
        ptt.standardIndex = SelectedIndex(pttStandard_[i]);
        // The list starts at 30 ms (tone time 3); with nothing selected, 70 ms.
        ptt.toneTime = static_cast<std::uint8_t>(pttToneTime_[i].SelectedOr(7 - 3) + 3);
    }

    for (FiveToneCode& record : settings.codes) {
        if (record.code.starts_with("E2")) {
            record.code = "E2" + settings.selfId;
        } else if (record.code.starts_with("E3")) {
            record.code = record.code.substr(0, 8) + settings.selfId;
        }
        StoreCode(record, record.code);
    }
}

void FiveToneDialog::RefreshSelfIdCodes() {
    FiveToneSettings& settings = Working();
    auto refresh = [this](FiveToneCode& record) {
        if (record.code.starts_with("E2")) {
            record.code = CutCode("E2" + selfIdText_);
        } else if (record.code.starts_with("E3") && record.code.size() >= 13) {
            record.code = CutCode(record.code.substr(0, 8) + selfIdText_);
        }
    };
    for (FiveToneCode& record : settings.codes) refresh(record);
    refresh(settings.pttIdBegin);
    refresh(settings.pttIdEnd);
}

void FiveToneDialog::Ok() {
    PadSelfId(selfIdText_);
    CloseCellEditor();
    SaveFiveToneForm();
    doc_.Change(StepLabel{StepKind::FiveTone},
                [this](Codeplug& codeplug) { codeplug.signalling = working_; });
}

void FiveToneDialog::Cancel() {
    editor_ = FiveToneEditor::None;
    working_ = doc_.codeplug().signalling;
}

}  // namespace qx
