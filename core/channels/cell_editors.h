// The channel grid's in-place editors without widgets: a click says which
// editor opens and what it shows; the commit functions take the value the
// user chose and change the document. Every editor writes to the current cell.
#pragma once

#include <string>
#include <vector>

#include "app/document.h"
#include "platform/ui.h"

namespace qx {

enum class EditorKind { None, Text, List };

// What an editor shows when it opens. `name` is the editor's control name
// ("TxtName", "ComboRef", "Combo2", ...); `index` tells the Combo2/Combo3/Combo4
// code lists apart (-1 otherwise).
struct EditorView {
    EditorKind kind = EditorKind::None;
    std::string name;
    int index = -1;
    std::vector<std::string> entries;  // list editors
    std::string text;                  // the preset text or the entry shown
    int maxLength = 0;                 // text editors
};

inline constexpr int kNameMaxLength = 7;
inline constexpr int kFrequencyMaxLength = 9;

// The grid click: toggles the status (column 1), or opens the column's editor
// on a live row (a row edit of the document begins). On a row not in use it
// only makes the cell current: a stray click switches nothing on.
EditorView CellClicked(Document& doc, int row, int column);
// Typing on the current cell: opens its editor on any row. On a row not in
// use the editor works on the row switched on, which becomes one step with
// the value when the editor is left, and nothing when it is cancelled. The
// status column has no editor.
EditorView OpenCellEditor(Document& doc, int row, int column);
// Enter or F2 on the current cell: a click on the status, else OpenCellEditor.
EditorView CellEntered(Document& doc, int row, int column);
// A key typed on the grid that starts editing the current cell: a printable
// character.
bool StartsCellEdit(char32_t key);
// Closing the open editor: its row edit becomes one step, or is dropped.
// Closing the name editor takes its notice away.
void EndCellEdit(Document& doc);
void CancelCellEdit(Document& doc);
// Closing the open editor over a selection of rows (1..104), the fill of a
// spreadsheet: when the edited row changed, the value it took is set on
// every other selected row in use that has the column's editor, as choosing
// it there would set it (a frequency goes onto each row's step, a
// repeater's Tx moves with its Rx), all as one step. Otherwise EndCellEdit.
void EndCellEditOver(Document& doc, const std::vector<int>& rows);

// Scrolling hides every editor, the option signal's code lists too.
void GridScrolled(Document& doc);

// Switches a channel row (1..102) between in use and not in use. Switching it
// off clears every Priority that names it.
void ToggleRowStatus(Document& doc, int row);

// The row field a grid column shows (columns 2..16).
ChannelField FieldOfColumn(int column);

// Name: the allowed characters only, at most seven.
std::string FilterName(const std::string& text);
// A key typed into the name editor: Ctrl+C/V/X and non-ASCII are ignored,
// a..z become upper case; the result is filtered.
std::string TypeNameKey(const std::string& current, char32_t key);

// The commits below change the row edit that CellClicked began (or begin
// one on the current cell).
// Every change of the name editor: the row takes the filtered text at once,
// and the notice tells how many characters it still takes.
std::string CommitName(Document& doc, const std::string& text);
// "3 characters left" for a name of this text.
std::string NameLeftText(const DocumentTexts& texts, const std::string& name);

// Step list: choosing re-rounds the row's frequencies; leaving stores the step.
void ChooseStep(Document& doc, const std::string& step);
void LeaveStep(Document& doc, const std::string& step);

// Frequency editors; messages go through `ui`, and a refused entry leaves
// the row as it was. The notice says when the stored value is not the typed
// one (moved onto the step). A new Rx of a row whose Tx differs moves Tx by
// the same amount, onto the step, when the radio can send on the moved Tx.
void CommitRxFreq(Document& doc, const std::string& text, Ui& ui);
void CommitTxFreq(Document& doc, const std::string& text, Ui& ui);

// Tones: the kind list ("off", "CTCSS", "DCS") opens the tone list of the kind.
EditorView ChooseToneKind(Document& doc, const std::string& kind);
void LeaveToneKind(Document& doc, const std::string& kind);
void CommitCtcss(Document& doc, const std::string& tone);
void CommitDcs(Document& doc, const std::string& code);

// Bandwidth, PAC mode, DCS detect, scan skip, BCL and ANI: the entry the
// list shows (the language's words for bandwidth and scan skip).
void CommitList(Document& doc, const std::string& text);
// "off", or the row name before the first ":" of an entry ("05: 145.0125" -> "05").
void CommitPriority(Document& doc, const std::string& text);
void CommitShift(Document& doc, const std::string& text);
// The priority list as it is when opened: "off", live channels, PL/PH, CAL, VFO.
std::vector<std::string> PriorityList(const Document& doc);

// Option signal: choosing a type opens its code lists preset to the row's codes.
std::vector<EditorView> ChooseOptSignal(Document& doc, const std::string& type);
void ChooseSignalCode(Document& doc, int position);     // Combo2 of any type
void ChooseSignalSubCode(Document& doc, int position);  // Combo3 (5-tone) or Combo4 (DTMF-ANI)
void LeaveOptSignal(Document& doc, const std::string& type);

// What a grid cell shows for a row: "---" for the fields of a row not in
// use, the language's words for status, bandwidth and scan skip.
std::string CellText(const Document& doc, int row, int column);

}  // namespace qx
