// FrmPassWord: the prompt for the radio's password during a transfer.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

namespace qx {

class PasswordDialog final : public QDialog {
    Q_OBJECT
  public:
    // `label`: the caption above the field; without one the window title names it.
    explicit PasswordDialog(QWidget* parent = nullptr, const QString& label = {});

    // The text entered and confirmed with OK or Enter; nullopt when cancelled
    // (Cancel, Escape or the close box).
    static std::optional<std::string> Ask(QWidget* parent, const QString& label = {});

  private:
    QLineEdit* text1_;
};

}  // namespace qx
