// The document the main window edits: the codeplug with its undo history,
// the file it belongs to, and the grid's editing state. Every change is an
// operation of this class and one undo step; "modified" is derived from the
// history, never set by hand.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/grid_columns.h"
#include "app/history.h"
#include "codeplug/codeplug.h"
#include "util/language_texts.h"

namespace qx {

inline constexpr const char* kNoFileName = "noname.qx";
inline constexpr const char* kCurrentFilePrefix = " Current File: ";  // first status panel
inline constexpr int kStartModel = 3;

// The language texts the document's editors and commands show, taken when
// the main window loads and again on a language change. Texts only: a
// language change never touches the codeplug.
struct DocumentTexts {
    std::string active;       // Channel 50015: an active row's status
    std::string inactive;     // Channel 50016
    std::string wide;         // Channel 50019
    std::string narrow;       // Channel 50020
    std::string scanSkipOff;  // Channel 50023, the default scan-skip choice
    std::string scanSkipOn;   // Channel 50024
    std::array<std::string, kColOptSignal + 1> headings;  // grid row 0
    std::array<std::string, 9> messages;                  // MSG 9001..9009
    std::string printQuestion;                            // MSG 900B
    std::string statusPanel1;                             // OTHERS 70007
    std::string statusPanel2;                             // OTHERS 70008
    // Files Completed, Undone, Failed: what became of an interrupted save
    // ("%1" the project file, "%2" the reason it could not be finished).
    std::string saveCompleted;
    std::string saveUndone;
    std::string saveNotFinished;
    // Files Replace: ".qx" was added to the typed name and that file exists
    // ("%1"); Files Gone: a recent file that no longer exists ("%1").
    std::string saveReplace;
    std::string recentGone;
    // Edit InsertLosesLast: the question before an insert pushes channel 99 out.
    std::string insertLosesLast;
    // Grid Rounded, NameLeft, NameLeftOne: a typed frequency moved onto the
    // step ("%1" typed, "%2" the step in kHz, "%3" stored), and the characters
    // the name editor still takes ("%1").
    std::string gridRounded;
    std::string gridNameLeft;
    std::string gridNameLeftOne;

    static DocumentTexts From(const LanguageTexts& texts);
    // MSG 9001 .. 9009 by number.
    const std::string& Message(int number) const { return messages.at(number - 9001); }
    friend bool operator==(const DocumentTexts&, const DocumentTexts&) = default;
};

// Which signalling menu entries the radio's features show.
struct SignallingMenus {
    bool dtmf = false;
    bool twoTone = false;
    bool fiveTone = false;
    friend bool operator==(const SignallingMenus&, const SignallingMenus&) = default;
};

class Document {
  public:
    explicit Document(Codeplug initial);
    Document();  // a new document of the start model

    const Codeplug& codeplug() const { return history_.Current(); }
    int model() const { return codeplug().model; }

    // One step made by `change`; false (and no step) when it changed nothing.
    bool Change(StepLabel label, const std::function<void(Codeplug&)>& change);
    // New, Open, Read and a model change: the whole codeplug at once, one
    // step, and the new clean state.
    void Replace(Codeplug codeplug, StepLabel label);
    // The file or the radio now holds the current codeplug.
    void MarkClean() { history_.MarkClean(); }
    void MarkClean(const Codeplug& stored) { history_.MarkClean(stored); }
    bool Modified() const { return history_.Modified(); }

    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::optional<StepLabel> UndoStep() const { return history_.UndoStep(); }
    std::optional<StepLabel> RedoStep() const { return history_.RedoStep(); }
    // Both end an open row edit first, dropping what it changed.
    bool Undo();
    bool Redo();

    // The row edit of an open grid editor: the editor changes a working copy
    // of the row, which becomes one step when the editor closes.
    void BeginRowEdit(int row);
    bool EditingRow() const { return editedRow_ != 0; }
    int EditedRow() const { return editedRow_; }
    Channel& EditedChannel() { return edited_; }
    const Channel& EditedChannel() const { return edited_; }
    // Commits the working copy (a step only when it differs); `field` names
    // the step, unless the edit switched the row on.
    void EndRowEdit(ChannelField field);
    void CancelRowEdit();
    // What the grid shows for a row: the working copy while it is edited.
    const Channel& ShownRow(int row) const;

    // The file the document now belongs to, which the first status panel
    // names; the empty path: none ("noname.qx").
    void BelongTo(const std::string& path);

    // What the main window shows around the codeplug.
    DocumentTexts texts;
    std::string filename = kNoFileName;
    std::string statusText;  // first status-bar panel
    std::string gridNotice;  // what the grid's last edit tells, second panel; empty: nothing
    std::vector<std::string> optSignalList = {"None"};  // ComboOptSignal
    SignallingMenus menus;

    // Editing state of the grid: the current cell and whether the option
    // signal's code lists are shown.
    int currentRow = 1;
    int currentColumn = 1;
    bool codeListsShown = false;

  private:
    History history_;
    int editedRow_ = 0;
    Channel edited_;
};

}  // namespace qx
