#include "port_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
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

PortSettingsDialog::PortSettingsDialog(Session& session, std::unique_ptr<PortDirectory> directory,
                                       const LanguageTexts& texts, Ui& ui, QWidget* parent)
    : QDialog(parent),
      directory_(std::move(directory)),
      dialog_(session, *directory_),
      ui_(ui),
      list_(new QComboBox(this)),
      path_(new QLineEdit(this)),
      port_(ReadOnlyField("txtPort", this)),
      setting_(ReadOnlyField("txtSetting", this)) {
    const PortDialogTexts t = PortDialogTexts::From(texts);
    setObjectName(QStringLiteral("dlgSetting"));
    setWindowTitle(ToQString(t.title));
    setAttribute(Qt::WA_DeleteOnClose);

    list_->setObjectName(QStringLiteral("ComBoCommList"));
    path_->setObjectName(QStringLiteral("TxtPortPath"));
    path_->setText(ToQString(dialog_.Selected()));
    FillList();
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) path_->setText(list_->itemText(index));
    });
    connect(path_, &QLineEdit::textChanged, this, [this] { SelectTypedPath(); });
    auto* refresh = new QPushButton(ToQString(texts.LanguageText("Port", "Refresh")), this);
    refresh->setObjectName(QStringLiteral("CommandRefresh"));
    connect(refresh, &QPushButton::clicked, this, &PortSettingsDialog::OnRefresh);

    auto* frame = new QGroupBox(ToQString(t.frame), this);
    auto* frameLayout = new QGridLayout(frame);
    auto* listLabel = new QLabel(ToQString(t.label), frame);
    listLabel->setBuddy(list_);
    frameLayout->addWidget(listLabel, 0, 0);
    frameLayout->addWidget(list_, 0, 1);
    frameLayout->addWidget(refresh, 0, 2);
    auto* pathLabel = new QLabel(ToQString(texts.LanguageText("Port", "PathLabel")), frame);
    pathLabel->setBuddy(path_);
    frameLayout->addWidget(pathLabel, 1, 0);
    frameLayout->addWidget(path_, 1, 1, 1, 2);
    frameLayout->setColumnStretch(1, 1);

    // The port in use and its line settings.
    auto* current = new QHBoxLayout;
    port_->setAccessibleName(ToQString(texts.LanguageText("Access", "PortInUse")));
    current->addWidget(port_);
    auto* settingLabel = new QLabel(ToQString(texts.LanguageText("Port", "Options")), this);
    settingLabel->setBuddy(setting_);
    current->addWidget(settingLabel);
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
    // Refresh stands beside the list but is made after the fields.
    setTabOrder(list_, refresh);
    setTabOrder(refresh, path_);
    ShowPort();
}

void PortSettingsDialog::FillList() {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const std::string& name : dialog_.Ports()) list_->addItem(ToQString(name));
    list_->setCurrentIndex(list_->findText(path_->text().trimmed()));
}

void PortSettingsDialog::SelectTypedPath() {
    const QSignalBlocker quiet(list_);
    list_->setCurrentIndex(list_->findText(path_->text().trimmed()));
}

void PortSettingsDialog::OnRefresh() {
    dialog_.Refresh(*directory_);
    FillList();
}

void PortSettingsDialog::OnOk() {
    dialog_.Select(ToStdString(path_->text()));
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
