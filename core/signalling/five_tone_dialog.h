// The 5-tone dialog (Frm5Tone) without widgets: own identity and timing, the
// two PTT ID codes and the 100-row code grid with its in-cell editors. It
// edits its own copy of the signalling record; OK stores it in the document.
#pragma once

#include <array>
#include <string>

#include "app/document.h"
#include "app/list_control.h"
#include "platform/ui.h"
#include "signalling/five_tone.h"

namespace qx {

// The in-cell editor of the code grid that is open.
enum class FiveToneEditor { None, Code /* Text3 */, Standard /* Combo2 */, ToneTime /* Combo3 */ };

inline constexpr int kFiveToneGridColumns = 5;  // number, kind, code, standard, tone time
inline constexpr int kFiveToneGridRows = 101;   // heading row and codes 0..99
inline constexpr std::size_t kSelfIdLength = 5;
inline constexpr const char* kResetSpecialCallQuestion =
    "Reset Special Call of this channel,OK or Not?";

class FiveToneDialog {
  public:
    // Opening copies the document's signalling record and shows it.
    FiveToneDialog(Document& doc, const LanguageTexts& lang);

    // Own identity: Text2 (self ID), Combo1(1) standard, Combo1(2) response,
    // Combo1(3) tone time, Combo1(4) delay; Text1 the standard's tone table.
    const std::string& SelfIdText() const { return selfIdText_; }
    const ListControl& OwnStandard() const { return ownStandard_; }
    const ListControl& Response() const { return response_; }
    const ListControl& ToneTime() const { return toneTime_; }
    const ListControl& Delay() const { return delay_; }
    const std::string& InfoText() const { return infoText_; }

    // The self ID takes digits only, at most five.
    static std::string TypeSelfIdKey(const std::string& current, char32_t key);
    void SetSelfIdText(const std::string& text);
    // Leaving the self ID pads it with "0" to five digits and refreshes the
    // codes that carry it.
    void LeaveSelfId();
    // Choosing a standard shows its tone table and its default tone time.
    void ChooseOwnStandard(int index);
    void SelectResponse(int index) { response_.Select(index); }
    void SelectToneTime(int index) { toneTime_.Select(index); }
    void SelectDelay(int index) { delay_.Select(index); }

    // PTT ID begin (0) and end (1): Text4(i), Combo4(i), Combo5(i).
    const std::string& PttCode(int which) const { return pttCode_.at(Slot(which)); }
    const ListControl& PttStandard(int which) const { return pttStandard_.at(Slot(which)); }
    const ListControl& PttToneTime(int which) const { return pttToneTime_.at(Slot(which)); }
    // Codes take hex digits only (lower case turned upper), at most 22.
    static std::string TypeCodeKey(const std::string& current, char32_t key);
    void SetPttCode(int which, const std::string& text);
    void LeavePttCode(int which);
    void ChoosePttStandard(int which, int index);
    void SelectPttToneTime(int which, int index) { pttToneTime_.at(Slot(which)).Select(index); }

    // The code grid (MSHFlexGrid1): row 0 headings, row n + 1 code n.
    const std::string& Cell(int row, int column) const;
    int currentRow() const { return currentRow_; }
    int currentColumn() const { return currentColumn_; }
    // The row the grid highlights (1..100), where the special-call dialog
    // starts. The highlight moves without opening an editor (arrow keys, a
    // click on a cell that has none), so it is not the row last edited.
    int highlightedRow() const { return highlightedRow_; }
    void HighlightRow(int row);
    FiveToneEditor editor() const { return editor_; }
    const std::string& CodeEditorText() const { return codeEditorText_; }  // Text3
    const ListControl& StandardEditor() const { return standardEditor_; }  // Combo2
    const ListControl& ToneTimeEditor() const { return toneTimeEditor_; }  // Combo3

    // Entering (or clicking) a cell highlights its row; in columns 2..4 it
    // commits the pending edit and opens the column's editor over the cell.
    // False when nothing opens (the code of a special call, a cell outside
    // the editable ones, the current cell itself).
    bool EnterCell(int row, int column);
    void SetCodeEditorText(const std::string& text);
    void ChooseEditorStandard(int index);
    void ChooseEditorToneTime(int index) { toneTimeEditor_.Select(index); }
    void CommitCell();
    // Escape in a cell editor: closes it without committing and puts back
    // what the row showed when the cell was entered.
    void CancelCell();
    void GridScrolled();
    // Double-click: on the code of a special call, asks whether to reset it.
    void DoubleClickCell(int row, int column, Ui& ui);

    // OK: commits, saves the dialog into its working copy and stores that in
    // the document as one step.
    void Ok();
    // Cancel: the working copy is dropped, so the document is as it was (a
    // channel bound by a special call stays bound).
    void Cancel();

    // For the special-call dialog, which composes into this dialog.
    Document& document() { return doc_; }
    FiveToneCode& Code(int number) {
        return working_.fiveTone.codes.at(static_cast<std::size_t>(number));
    }
    void SetCell(int row, int column, const std::string& text);
    void SetPttCodeText(int which, const std::string& text) { pttCode_.at(Slot(which)) = text; }
    // Commits and closes the pending cell edit, so a special call composed
    // for the row is not overwritten by it later.
    void CloseCellEditor();
    const FiveToneTexts& texts() const { return texts_; }

  private:
    static std::size_t Slot(int which);
    FiveToneSettings& Working() { return working_.fiveTone; }
    void ShowFiveToneForm();
    void SaveFiveToneForm();
    void RefreshSelfIdCodes();

    Document& doc_;
    FiveToneTexts texts_;
    std::string selfIdText_;
    ListControl ownStandard_;
    ListControl response_;
    ListControl toneTime_;
    ListControl delay_;
    std::string infoText_;
    std::array<std::string, 2> pttCode_{};
    std::array<ListControl, 2> pttStandard_{};
    std::array<ListControl, 2> pttToneTime_{};

    std::array<std::array<std::string, kFiveToneGridColumns>, kFiveToneGridRows> grid_{};
    int currentRow_ = 0;
    int currentColumn_ = 0;
    int highlightedRow_ = 1;
    FiveToneEditor editor_ = FiveToneEditor::None;
    std::string codeEditorText_;
    ListControl standardEditor_;
    ListControl toneTimeEditor_;
    std::array<std::string, kFiveToneGridColumns> keptCells_{};
    SignallingSettings working_;  // what the dialog edits; OK stores it
};

}  // namespace qx
