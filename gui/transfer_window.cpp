#include "transfer_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/settings_files.h"
#include "app/transfer_commands.h"
#include "image/hex.h"
#include "platform_info.h"
#include "view_helpers.h"

namespace qx {
namespace {

QPushButton* Button(const QString& name, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    // Enter in the password field must neither start nor close the transfer.
    button->setAutoDefault(false);
    return button;
}

QCheckBox* ChoiceBox(const QString& name, const std::string& text, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(ToQString(text), parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

}  // namespace

TransferWindow::TransferWindow(TransferMode mode, Document& doc, Session& session, PortLinks& links,
                               const LanguageTexts& texts, QWidget* parent, BackupImage restore)
    : QDialog(parent),
      link_(links.LinkFor(session.portName, timers_)),
      ui_(this),
      texts_(TransferTexts::From(texts)),
      transfer_(mode, doc.codeplug(), session, *link_, timers_, ui_, texts_),
      curLine_(new QLabel(this)),
      completeBar_(new QProgressBar(this)),
      start_(Button(QStringLiteral("cmdAutoSend"), this)),
      session_(session) {
    setObjectName(QStringLiteral("frmMain"));
    SetUpTransfer(transfer_, session);
    if (!restore.bytes.empty())
        transfer_.SetRestoreImage(std::move(restore.bytes), std::move(restore.unreadLines));
    ui_.SetTitle(ToQString(texts.LanguageText("OTHERS", "70018")));
    ui_.SetPasswordTexts({ToQString(texts.LanguageText("Access", "Password")),
                          ToQString(texts.LanguageText("OPTION", "60024")),
                          ToQString(texts.LanguageText("OPTION", "60025"))});

    curLine_->setObjectName(QStringLiteral("CurLine"));
    completeBar_->setObjectName(QStringLiteral("CompleteBar"));
    completeBar_->setRange(0, kImageLines);
    completeBar_->setTextVisible(false);
    start_->setEnabled(false);  // until the port test on opening has run
    QPushButton* close = Button(QStringLiteral("Command1"), this);
    close->setText(ToQString(texts_.close));
    connect(start_, &QPushButton::clicked, this, &TransferWindow::OnStart);
    connect(close, &QPushButton::clicked, this, [this] { transfer_.Close(); });

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(curLine_);
    layout->addWidget(completeBar_);
    if (mode == TransferMode::Write) {
        passwordModify_ = new QCheckBox(ToQString(texts.LanguageText("RW", "rw014")), this);
        passwordModify_->setObjectName(QStringLiteral("Check1"));
        newPassword_ = new QLineEdit(this);
        newPassword_->setObjectName(QStringLiteral("Text3"));
        newPassword_->setAccessibleName(ToQString(texts.LanguageText("Access", "NewPassword")));
        newPassword_->setMaxLength(static_cast<int>(kNewPasswordLength));
        QSizePolicy policy = newPassword_->sizePolicy();
        policy.setRetainSizeWhenHidden(true);  // the window keeps its size
        newPassword_->setSizePolicy(policy);
        newPassword_->hide();
        connect(passwordModify_, &QCheckBox::toggled, newPassword_, &QWidget::setVisible);
        auto* password = new QHBoxLayout;
        password->addWidget(passwordModify_);
        password->addWidget(newPassword_, 1);
        layout->addLayout(password);
        const TransferOptions& choices = session.transferChoices;
        backupFirst_ = ChoiceBox(QStringLiteral("chkBackupFirst"),
                                 texts.LanguageText("RW", "rw007"), choices.backupFirst, this);
        verify_ = ChoiceBox(QStringLiteral("chkVerify"), texts.LanguageText("RW", "rw008"),
                            choices.verify, this);
        layout->addWidget(backupFirst_);
        layout->addWidget(verify_);
    } else {
        readTwice_ = ChoiceBox(QStringLiteral("chkReadTwice"), texts.LanguageText("RW", "rw009"),
                               session.transferChoices.readTwice, this);
        quickRead_ = ChoiceBox(QStringLiteral("chkQuickRead"), texts.LanguageText("RW", "rw010"),
                               session.transferChoices.quickRead, this);
        layout->addWidget(readTwice_);
        layout->addWidget(quickRead_);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(close);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    curLine_->setMinimumWidth(380);
    // Tab goes down the window: the choices, then Start and Close.
    ChainTabOrder({passwordModify_, newPassword_, backupFirst_, verify_, readTwice_, quickRead_,
                   start_, close});

    transfer_.SetOnChange([this] { OnChange(); });
    Refresh();
}

void TransferWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (loadQueued_) return;
    loadQueued_ = true;
    // After the show, so that a message about the port sits over the window.
    QTimer::singleShot(0, this, [this] {
        loaded_ = true;
        transfer_.Load();
        Refresh();
        // Start was disabled when the window got its first focus; give it the
        // focus now so the space bar starts the transfer.
        if (start_->isEnabled()) start_->setFocus();
    });
}

void TransferWindow::closeEvent(QCloseEvent* event) {
    if (transfer_.Unloaded()) {
        event->accept();
        return;
    }
    event->ignore();
    transfer_.Close();
}

void TransferWindow::reject() {
    if (transfer_.Unloaded()) {
        QDialog::reject();
    } else {
        transfer_.Close();
    }
}

void TransferWindow::OnStart() {
    if (passwordModify_ != nullptr) {
        transfer_.SetPasswordModify(passwordModify_->isChecked());
        transfer_.SetNewPasswordText(ToStdString(newPassword_->text()));
    }
    if (!transfer_.Running()) {
        // The boxes count from this start on and are remembered.
        TransferOptions& choices = session_.transferChoices;
        if (verify_ != nullptr) choices.verify = verify_->isChecked();
        if (backupFirst_ != nullptr) choices.backupFirst = backupFirst_->isChecked();
        if (readTwice_ != nullptr) choices.readTwice = readTwice_->isChecked();
        if (quickRead_ != nullptr) choices.quickRead = quickRead_->isChecked();
        WriteTransferChoices(session_.paths, choices);
        transfer_.SetOptions(choices);
    }
    transfer_.Start();
}

void TransferWindow::OnChange() {
    Refresh();
    if (transfer_.Unloaded()) {
        done(transfer_.Result() == TransferResult::Completed ? Accepted : Rejected);
    }
}

void TransferWindow::Refresh() {
    setWindowTitle(ToQString(transfer_.Title()));
    start_->setText(ToQString(transfer_.StartCaption()));
    start_->setEnabled(loaded_ && !transfer_.Closing() && !transfer_.Unloaded());
    for (QCheckBox* box : {backupFirst_, verify_, readTwice_, quickRead_}) {
        if (box != nullptr) box->setEnabled(!transfer_.Running());
    }
    curLine_->setText(ToQString(texts_.completed + " " + transfer_.ProgressText()));
    completeBar_->setValue(transfer_.ProgressValue());
}

}  // namespace qx
