// Frm2Tone: the own 2-tone pair with its options, and the table of 100 codes
// with an editor over the clicked cell. Edits go to the working signalling
// record through the core dialog; OK copies it into the live one.
#pragma once

#include <QDialog>
#include <array>

#include "app/document.h"
#include "signalling/two_tone_dialog.h"
#include "util/language_texts.h"

class QComboBox;
class QModelIndex;
class QTabWidget;
class QTableView;

namespace qx {

class CodeGridModel;
class TypedLineEdit;

class TwoToneDialogView final : public QDialog {
    Q_OBJECT
  public:
    // `doc` must outlive the dialog; `texts` is read here only.
    TwoToneDialogView(Document& doc, const LanguageTexts& texts, QWidget* parent = nullptr);
    ~TwoToneDialogView() override;

    // Cancel, Escape and the close box: the document is left as it was.
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* BuildTonePage();
    QWidget* BuildCodePage();
    QComboBox* AddList(const ListControl& list, const char* name, int index);
    void ShowTones();

    void EnterCell(const QModelIndex& index);
    void ShowEditor();
    void CommitEditor();
    void CancelEditor();
    void Scrolled();
    void ApplyColumnWidths();
    void OnOk();

    TwoToneDialog dialog_;
    QTabWidget* tabs_ = nullptr;
    std::array<TypedLineEdit*, kToneFieldCount> tones_{};
    QTableView* grid_ = nullptr;
    CodeGridModel* model_ = nullptr;
    TypedLineEdit* editor_ = nullptr;
    bool placing_ = false;  // the view itself scrolls while placing the editor
};

}  // namespace qx
