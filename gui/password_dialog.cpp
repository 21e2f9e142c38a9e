#include "password_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialog_buttons.h"
#include "platform_info.h"

namespace qx {
namespace {

// The radio holds at most this many password characters.
constexpr int kPasswordLength = 16;

}  // namespace

PasswordDialog::PasswordDialog(QWidget* parent, const PasswordTexts& texts)
    : QDialog(parent), text1_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("FrmPassWord"));
    setWindowTitle(QStringLiteral("PassWord"));

    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setMaxLength(kPasswordLength);
    text1_->setEchoMode(QLineEdit::Password);

    const DialogButtons buttons =
        MakeDialogButtons(this, texts.ok, "Command1", texts.cancel, "Command2");
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    if (texts.label.isEmpty()) {
        text1_->setAccessibleName(windowTitle());
    } else {
        auto* caption = new QLabel(texts.label, this);
        caption->setBuddy(text1_);
        layout->addWidget(caption);
    }
    layout->addWidget(text1_);
    layout->addLayout(buttons.row);
    setMinimumWidth(260);
    text1_->setFocus();
}

std::optional<std::string> PasswordDialog::Ask(QWidget* parent, const PasswordTexts& texts) {
    PasswordDialog dialog(parent, texts);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ToStdString(dialog.text1_->text());
}

}  // namespace qx
