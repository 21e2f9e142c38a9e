// FrmDTMF: the eight DTMF memories, edited in the live signalling record.
// Every key goes through the core's key rule; OK stores through the core.
#pragma once

#include <QDialog>
#include <array>

#include "app/document.h"
#include "signalling/dtmf_dialog.h"
#include "util/language_texts.h"

namespace qx {

class TypedLineEdit;

class DtmfDialogView final : public QDialog {
    Q_OBJECT
  public:
    // `doc` must outlive the dialog; `texts` is read here only.
    DtmfDialogView(Document& doc, const LanguageTexts& texts, QWidget* parent = nullptr);

  private:
    void OnOk();

    Document& doc_;
    DtmfDialog dialog_;
    std::array<TypedLineEdit*, kDtmfMemoryCount> entries_{};
};

}  // namespace qx
