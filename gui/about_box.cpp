#include "about_box.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "codeplug/models.h"
#include "platform_info.h"

namespace qx {
namespace {

QLabel* AddLabel(QVBoxLayout* layout, const char* name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    layout->addWidget(label);
    return label;
}

}  // namespace

QString SystemInfoTool() {
    // Windows ships its tool on the search path; other systems have no
    // standard one, so the button then reports it unavailable.
    return QStandardPaths::findExecutable(QStringLiteral("msinfo32"));
}

AboutBox::AboutBox(const LanguageTexts& texts, QWidget* parent) : QDialog(parent), ui_(this) {
    setObjectName(QStringLiteral("frmAbout"));
    const auto text = [&](const char* key) { return ToQString(texts.LanguageText("OTHERS", key)); };
    const QString program = QApplication::applicationName();
    setWindowTitle(text("70013") + QLatin1Char(' ') + program);
    ui_.SetTitle(windowTitle());

    auto* layout = new QVBoxLayout(this);
    QLabel* title = AddLabel(layout, "lblTitle", text("70014"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    title->setFont(big);
    AddLabel(layout, "lblVersion", text("70015") + QApplication::applicationVersion());
    QLabel* modelsLabel = AddLabel(layout, "Label1", text("70016"));
    AddLabel(layout, "lblDescription", text("70017"));

    auto* models = new QListWidget;
    models->setObjectName(QStringLiteral("ModelList"));
    // A list takes no name from its buddy: screen readers need it spelled out.
    modelsLabel->setBuddy(models);
    models->setAccessibleName(modelsLabel->text());
    for (const ModelInfo& model : ModelTable()) models->addItem(ToQString(model.displayText));
    layout->addWidget(models, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* sysInfo = new QPushButton(text("SysInfo"));
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    auto* ok = new QPushButton(ToQString(texts.LanguageText("OPTION", "60024")));
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    buttons->addWidget(sysInfo);
    buttons->addWidget(ok);
    layout->addLayout(buttons);

    connect(sysInfo, &QPushButton::clicked, this, &AboutBox::StartSysInfo);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    resize(520, 460);
}

void AboutBox::StartSysInfo() {
    const QString tool = SystemInfoTool();
    if (tool.isEmpty() || !QProcess::startDetached(tool, {})) {
        ui_.ShowMessage("System Information Is Unavailable At This Time");
    }
}

}  // namespace qx
