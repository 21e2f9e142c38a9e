// The channel grid (MFG) of the main window: shows the document's cells and
// opens the core's in-place editors over the clicked cell. Every rule lives
// in the core's cell editors; this view forwards clicks, keys and choices.
#pragma once

#include <QPersistentModelIndex>
#include <QTableView>
#include <functional>
#include <string>
#include <vector>

#include "app/document.h"
#include "channels/cell_editors.h"
#include "platform/ui.h"

class QComboBox;
class QLineEdit;

namespace qx {

class ChannelGridModel;

class ChannelGrid final : public QTableView {
    Q_OBJECT
  public:
    ChannelGrid(Document& doc, Ui& ui, QWidget* parent = nullptr);
    ~ChannelGrid() override;

    // After a change of the whole document (clear, open, read, model change,
    // language change): headings, cells, the editor lists that depend on the
    // language texts or the radio's features (ComboWN, ComboSCNSkp, ComboOptSignal).
    void Reload();
    // Commits and hides the open editor, if any; the main window calls it
    // before every command so no typed value is lost.
    void CommitEditor();
    // Makes the cell of `row` (1..104) and grid `column` current, in view,
    // without opening its editor.
    void SelectCell(int row, int column);
    // The grid rows (1..104) of the selected cells, once per cell: what a
    // commit fills and what the Edit menu's channel entries act on.
    std::vector<int> SelectedRows() const;

  signals:
    void edited();  // a click, toggle or commit changed the document

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // Typing edits the current cell; it never jumps to a row by its label.
    void keyboardSearch(const QString&) override {}

  private:
    enum class Close { Commit, Cancel, Discard };
    using Leave = std::function<void(const std::string&)>;
    struct Editor {
        QWidget* widget;
        Leave leave;  // what leaving the editor commits, given its text
    };

    QLineEdit* AddLineEdit(const char* name, Leave leave);
    QComboBox* AddCombo(const char* name, Leave leave);
    void ApplyLayout();

    using OpenCell = EditorView (*)(Document&, int, int);
    // Commits the open editor, then opens the cell's editor as `open` says.
    void Activate(const QModelIndex& index, OpenCell open);
    QWidget* EditorFor(const EditorView& view) const;
    void Open(const EditorView& view);
    void ChooseToneKindEntry(const QString& kind);
    void ChooseOptSignalEntry(const QString& type);
    void CloseEditor(Close how);
    bool InOpenEditor(const QWidget* widget) const;
    bool TypeIntoName(const QKeyEvent* event);
    void NameEdited(const QString& text);
    void Changed();

    Document& doc_;
    Ui& ui_;
    ChannelGridModel* model_;
    std::vector<Editor> editors_;
    QLineEdit* nameEdit_ = nullptr;
    QComboBox* toneKindCombo_ = nullptr;
    QComboBox* optSignalCombo_ = nullptr;

    // The open editor, the option signal's code lists shown with it, the
    // cell it edits and what Escape puts back.
    QWidget* open_ = nullptr;
    std::vector<QComboBox*> openLists_;
    QPersistentModelIndex openIndex_;

    QPersistentModelIndex pressed_;
    bool doubleClicked_ = false;
};

}  // namespace qx
