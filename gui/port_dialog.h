// dlgSetting: the serial port the transfers use, chosen from a list.
// Non-modal; OK stores the port in the session only when the core accepts it.
#pragma once

#include <QDialog>

#include "app/session.h"
#include "link/port_settings.h"
#include "platform/port_directory.h"
#include "platform/ui.h"
#include "util/language_texts.h"

class QComboBox;
class QLineEdit;

namespace qx {

class PortSettingsDialog final : public QDialog {
    Q_OBJECT
  public:
    // `session` and `ui` must outlive the dialog; `directory` is read here only.
    PortSettingsDialog(Session& session, const PortDirectory& directory, const LanguageTexts& texts,
                       Ui& ui, QWidget* parent = nullptr);

  private:
    void OnOk();
    void ShowPort();

    PortDialog dialog_;
    Ui& ui_;
    QComboBox* list_;
    QLineEdit* port_;
    QLineEdit* setting_;
};

}  // namespace qx
