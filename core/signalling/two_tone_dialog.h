// The 2-tone dialog (Frm2Tone) without widgets: the own tone pair with its
// options on the first tab, the table of 100 codes on the second. It edits
// its own copy of the signalling record; OK stores it in the document.
#pragma once

#include <array>
#include <string>

#include "app/document.h"
#include "app/list_control.h"
#include "util/language_texts.h"

namespace qx {

inline constexpr int kToneFieldCount = 4;      // Text2(0..3): tones A..D
inline constexpr int kToneTextMaxLength = 4;   // Text2(i) and Text1
inline constexpr int kTwoToneCodeCount = 100;  // grid rows 1..100
inline constexpr int kTwoToneGridRows = kTwoToneCodeCount + 1;
inline constexpr int kTwoToneGridColumns = 3;  // number, tone 1, tone 2

// Captions from the OPTION section by key; the grid headings (60053..60055)
// are row 0 of GridText.
struct TwoToneCaptions {
    std::string window;                     // OPTION 60051
    std::array<std::string, 2> tabs;        // SSTab1: 60043, 60044
    std::string pairLabel;                  // Combo2(0): 60049
    std::string responseLabel;              // Combo2(1): 60050
    std::array<std::string, 4> timeLabels;  // Combo1(0..3): 60045..60048
    std::array<std::string, 4> toneLabels;  // Label3(i): 60056 + "A".."D"
    std::string ok;                         // CommandOK: 60024
    std::string cancel;                     // CommandCANCEL: 60025
};

// A tone frequency field Text2(i).
struct ToneField {
    std::string text = "2000";
    bool enabled = false;
};

// A grid cell: row 1..100 is code row - 1, column 1 tone 1, column 2 tone 2.
// Row and column 0 mean no cell is current.
struct GridCell {
    int row = 0;
    int column = 0;
    friend bool operator==(const GridCell&, const GridCell&) = default;
};

// The in-cell editor Text1 over the current cell.
struct CellEditor {
    std::string text;
    bool visible = false;
};

// The two tone fields a pair uses, by pair index (0..14); second is -1 for
// the "Long" pairs. An index out of range gives {-1, -1}.
struct PairTones {
    int first = -1;
    int second = -1;
};
PairTones TonesOfPair(int pairIndex);

// A key typed into a tone field or the cell editor: digits only, at most four.
std::string TypeToneKey(const std::string& current, char32_t key);

class TwoToneDialog {
  public:
    // Opening: the working record is set from the live one and every control
    // is filled from it.
    TwoToneDialog(Document& doc, const LanguageTexts& lang);

    const TwoToneCaptions& Captions() const { return captions_; }
    const ListControl& PairList() const { return pairList_; }              // Combo2(0)
    const ListControl& ResponseList() const { return responseList_; }      // Combo2(1)
    const ListControl& TimeList(int k) const { return timeLists_.at(k); }  // Combo1(k)
    const ToneField& Tone(int i) const { return tones_.at(i); }            // Text2(i)
    // MSHFlexGrid1, 101 x 3: row 0 holds the headings, column 0 the code numbers
    // 0..99. Column widths are the view's business.
    const std::string& GridText(int row, int column) const { return grid_.at(row).at(column); }
    GridCell CurrentCell() const { return current_; }
    const CellEditor& Editor() const { return editor_; }  // Text1

    // Choosing a pair enables exactly the tone fields it uses. An index out
    // of range is ignored.
    void ChoosePair(int index);
    void SelectResponse(int index);
    void SelectTime(int k, int index);

    // The view reports the text of Text2(i) as it stands.
    void SetToneText(int i, const std::string& text);
    // Leaving Text2(i): the text is limited to 280..3106, "" or junk becomes "2000".
    void LeaveTone(int i);

    // Entering a grid cell of rows 1..100, columns 1..2 (others are ignored):
    // the pending edit is committed, then a tone 2 cell of a code without
    // tone 1 is turned into the code's tone 1 cell. The editor shows the text
    // of the cell that became current, which is returned.
    GridCell EnterCell(int row, int column);
    // The view reports the text of Text1 as it stands.
    void SetEditorText(const std::string& text);
    // Writes the editor's text into the current cell and its code; nothing
    // happens when the text is as it was when the cell was entered, so that
    // merely visiting a cell never rewrites the stored divisor.
    void CommitCell();
    // Scrolling the grid commits the pending edit and hides the editor.
    void GridScrolled();
    // Escape in the editor: its text goes back to the cell's and it hides.
    void CancelCell();

    // OK: saves every control into the working record, commits the pending
    // cell edit and stores the record in the document as one step.
    void Ok();
    // Cancel: the working record is dropped, so a cancelled dialog leaves
    // the document as it found it.
    void Cancel();

  private:
    void ShowCode(int code);
    void EnableTonesOfPair(int pairIndex);

    Document& doc_;
    SignallingSettings working_;  // what the dialog edits; OK stores it
    TwoToneCaptions captions_;
    ListControl pairList_;
    ListControl responseList_;
    std::array<ListControl, 4> timeLists_;
    std::array<ToneField, kToneFieldCount> tones_;
    std::array<std::array<std::string, kTwoToneGridColumns>, kTwoToneGridRows> grid_;
    GridCell current_;
    CellEditor editor_;
    std::string enteredText_;  // the editor's text when its cell was entered
};

}  // namespace qx
