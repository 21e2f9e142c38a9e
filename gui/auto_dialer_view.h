// Frm_AutoDialer: the nine auto-dial memories. Every change of an entry,
// typed, pasted or dropped, goes through the core's AutoDialerDialog, which
// filters it and reports what it removed through the Ui.
#pragma once

#include <QDialog>
#include <array>

#include "app/document.h"
#include "platform/ui.h"
#include "signalling/auto_dialer.h"
#include "util/language_texts.h"

class QLineEdit;

namespace qx {

class AutoDialerView final : public QDialog {
    Q_OBJECT
  public:
    // Opens on the document's entries; OK stores them into `doc`. `doc` and
    // `ui` must outlive the dialog. Cancel leaves `doc` untouched.
    AutoDialerView(Document& doc, const LanguageTexts& texts, Ui& ui, QWidget* parent = nullptr);

  private:
    void OnEdited(int index, const QString& text);
    void OnOk();

    Document& doc_;
    AutoDialerDialog dialog_;
    std::array<QLineEdit*, kAutoDialEntries> entries_{};
};

}  // namespace qx
