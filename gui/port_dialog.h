// dlgSetting: the serial port the transfers use, chosen from a list or typed
// as a path (a pseudo-terminal, a /dev/serial/by-id link). The list and the
// path box always agree. Non-modal; OK stores the port in the session only
// when the core accepts it.
#pragma once

#include <QDialog>
#include <memory>

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
    // `session` and `ui` must outlive the dialog; `directory` is read again on Refresh.
    PortSettingsDialog(Session& session, std::unique_ptr<PortDirectory> directory,
                       const LanguageTexts& texts, Ui& ui, QWidget* parent = nullptr);

  private:
    void OnOk();
    void ShowPort();
    void OnRefresh();
    void FillList();
    // The list's entry for the typed path, none when the list lacks it.
    void SelectTypedPath();

    std::unique_ptr<PortDirectory> directory_;
    PortDialog dialog_;
    Ui& ui_;
    QComboBox* list_;
    QLineEdit* path_;
    QLineEdit* port_;
    QLineEdit* setting_;
};

}  // namespace qx
