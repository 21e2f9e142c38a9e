// Frm_Option: the radio option record as combo boxes and check boxes. Every
// choice goes to the core's OptionDialog, which applies the dependencies;
// the view then shows every control again as the core holds it.
#pragma once

#include <QDialog>
#include <array>

#include "app/document.h"
#include "options/option_dialog.h"
#include "util/language_texts.h"

class QCheckBox;
class QComboBox;

namespace qx {

class OptionDialogView final : public QDialog {
    Q_OBJECT
  public:
    // Opens on the document's options; OK stores them into `doc`, which must
    // outlive the dialog. Cancel leaves `doc` untouched.
    OptionDialogView(Document& doc, const LanguageTexts& texts, QWidget* parent = nullptr);

  private:
    void OnOk();
    void Refresh();

    Document& doc_;
    OptionDialog dialog_;
    // Indexed by field; null where the field is the other kind of control.
    std::array<QComboBox*, kOptionFieldCount + 1> combos_{};
    std::array<QCheckBox*, kOptionFieldCount + 1> checks_{};
};

}  // namespace qx
