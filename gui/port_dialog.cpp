#include "port_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialog_buttons.h"
#include "platform_info.h"

namespace qx {
namespace {

QLineEdit* ReadOnlyField(const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    return field;
}

}  // namespace

PortSettingsDialog::PortSettingsDialog(Session& session, const PortDirectory& directory,
                                       const LanguageTexts& texts, Ui& ui, QWidget* parent)
    : QDialog(parent),
      dialog_(session, directory),
      ui_(ui),
      list_(new QComboBox(this)),
      port_(ReadOnlyField("txtPort", this)),
      setting_(ReadOnlyField("txtSetting", this)) {
    const PortDialogTexts t = PortDialogTexts::From(texts);
    setObjectName(QStringLiteral("dlgSetting"));
    setWindowTitle(ToQString(t.title));
    setAttribute(Qt::WA_DeleteOnClose);

    list_->setObjectName(QStringLiteral("ComBoCommList"));
    for (const std::string& name : dialog_.Ports()) list_->addItem(ToQString(name));
    list_->setCurrentIndex(list_->findText(ToQString(dialog_.Selected())));

    auto* frame = new QGroupBox(ToQString(t.frame), this);
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->addWidget(new QLabel(ToQString(t.label), frame));
    frameLayout->addWidget(list_, 1);

    // The port in use and its line settings.
    auto* current = new QHBoxLayout;
    current->addWidget(port_);
    current->addWidget(new QLabel(QStringLiteral("Options:"), this));
    current->addWidget(setting_);

    const DialogButtons buttons =
        MakeDialogButtons(this, ToQString(t.ok), "OKButton", ToQString(t.cancel), "CancelButton");
    connect(buttons.ok, &QPushButton::clicked, this, &PortSettingsDialog::OnOk);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(current);
    layout->addLayout(buttons.row);
    setMinimumWidth(340);
    ShowPort();
}

void PortSettingsDialog::OnOk() {
    dialog_.Select(ToStdString(list_->currentText()));
    if (dialog_.Ok(ui_)) {
        accept();
    } else {
        ShowPort();
    }
}

void PortSettingsDialog::ShowPort() {
    port_->setText(ToQString(dialog_.PortText()));
    setting_->setText(ToQString(dialog_.SettingText()));
}

}  // namespace qx
