// The about box: the program's title and version, the texts of the language
// file, the 32 models, and a button that starts the system-information tool.
#pragma once

#include <QDialog>

#include "qt_ui.h"
#include "util/language_texts.h"

namespace qx {

class AboutBox final : public QDialog {
    Q_OBJECT
  public:
    AboutBox(const LanguageTexts& texts, QWidget* parent = nullptr);

  private:
    void StartSysInfo();

    QtUi ui_;
};

// The system-information tool of this machine, or "" when there is none.
QString SystemInfoTool();

}  // namespace qx
