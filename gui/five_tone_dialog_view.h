// Frm5Tone: the own 5-tone identity, the two PTT ID codes and the 100-row
// code grid with its in-cell editors and the selected standard's tone table.
// Every rule lives in the core's FiveToneDialog; this view mirrors it and
// forwards the user's input. The "Special" buttons open FrmSpecial.
#pragma once

#include <QDialog>
#include <array>

#include "app/document.h"
#include "platform/ui.h"
#include "signalling/five_tone_dialog.h"
#include "signalling/special_call.h"
#include "util/language_texts.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTableView;

namespace qx {

class CodeGridModel;

class FiveToneDialogView final : public QDialog {
    Q_OBJECT
  public:
    // Opens on a copy of the document's signalling record. OK stores the copy
    // as one undo step; Cancel, Escape and the close box
    // leave the document as it was, except for a channel an emergency call
    // bound at once. One view per opening; `doc`, `texts` and `ui` must
    // outlive it.
    FiveToneDialogView(Document& doc, const LanguageTexts& texts, Ui& ui,
                       QWidget* parent = nullptr);
    ~FiveToneDialogView() override;

    void accept() override;
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* AddLineEdit(const char* name, int index, int maxLength);
    QComboBox* AddCombo(const char* name, int index);
    QWidget* BuildIdentity();
    QWidget* BuildPttFrame(int which);
    QWidget* BuildGrid();
    void LayOutColumns();

    void ShowForm();
    void ShowEditor();
    void CommitCell();
    void CancelCell();
    void HideEditors();
    bool IsCellEditor(const QWidget* widget) const;
    void ClickCell(const QModelIndex& index);
    void DoubleClickCell(const QModelIndex& index);
    void OpenSpecial(SpecialCallSlot slot);
    bool Leaving(const QEvent* event) const;

    FiveToneDialog dialog_;
    const LanguageTexts& texts_;
    Ui& ui_;

    QLineEdit* selfId_ = nullptr;              // Text2
    std::array<QComboBox*, 5> own_{};          // Combo1(1..4); [0] unused
    QPlainTextEdit* info_ = nullptr;           // Text1
    std::array<QLineEdit*, 2> pttCode_{};      // Text4(i)
    std::array<QComboBox*, 2> pttStandard_{};  // Combo4(i)
    std::array<QComboBox*, 2> pttToneTime_{};  // Combo5(i)
    QTableView* grid_ = nullptr;               // MSHFlexGrid1
    CodeGridModel* model_ = nullptr;
    QLineEdit* codeEditor_ = nullptr;      // Text3
    QComboBox* standardEditor_ = nullptr;  // Combo2
    QComboBox* toneTimeEditor_ = nullptr;  // Combo3
    bool closed_ = false;  // OK or Cancel ran: fields losing the focus change nothing
};

}  // namespace qx
