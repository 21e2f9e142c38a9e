// FrmSpecial: composes a special 5-tone call into a row of the open 5-tone
// dialog's code table or into one of its PTT ID codes. Every rule lives in the
// core's SpecialCallDialog; this view mirrors it and forwards the user's input.
#pragma once

#include <QDialog>

#include "platform/ui.h"
#include "signalling/special_call.h"
#include "util/language_texts.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace qx {

class SpecialCallView final : public QDialog {
    Q_OBJECT
  public:
    // Opened modally (exec) from the 5-tone dialog, over its core dialog, which
    // must outlive this view; so must `ui`. OK composes the call (and, for an
    // emergency call in a table row, binds the chosen channel at once).
    SpecialCallView(FiveToneDialog& fiveTone, SpecialCallSlot slot, const LanguageTexts& texts,
                    Ui& ui, QWidget* parent = nullptr);
    ~SpecialCallView() override;

    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* AddIdField(int which, QWidget* parent);
    void ShowFrames();
    void OnOk();

    SpecialCallDialog dialog_;
    Ui& ui_;
    QComboBox* row_;
    QComboBox* kind_;
    QComboBox* channel_;
    QGroupBox* frameA_;
    QGroupBox* frameB_;
    QGroupBox* frameC_;
    QLineEdit* id_[2];
    QLineEdit* message_;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool closed_ = false;  // fields losing the focus on closing say nothing
};

}  // namespace qx
