#include "password_dialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform_info.h"

namespace qx {
namespace {

// The radio holds at most this many password characters.
constexpr int kPasswordLength = 16;

}  // namespace

PasswordDialog::PasswordDialog(QWidget* parent) : QDialog(parent), text1_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("FrmPassWord"));
    setWindowTitle(QStringLiteral("PassWord"));

    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setMaxLength(kPasswordLength);
    text1_->setEchoMode(QLineEdit::Password);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text1_);
    layout->addLayout(buttons);
    setMinimumWidth(260);
    text1_->setFocus();
}

std::optional<std::string> PasswordDialog::Ask(QWidget* parent) {
    PasswordDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ToStdString(dialog.text1_->text());
}

}  // namespace qx
