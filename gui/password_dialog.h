// FrmPassWord: the prompt for the radio's password during a transfer.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

namespace qx {

// The prompt's captions; without a label the window title names the field.
struct PasswordTexts {
    QString label;
    QString ok = QStringLiteral("&OK");
    QString cancel = QStringLiteral("&Cancel");
};

class PasswordDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit PasswordDialog(QWidget* parent = nullptr, const PasswordTexts& texts = {});

    // The text entered and confirmed with OK or Enter; nullopt when cancelled
    // (Cancel, Escape or the close box).
    static std::optional<std::string> Ask(QWidget* parent, const PasswordTexts& texts = {});

  private:
    QLineEdit* text1_;
};

}  // namespace qx
