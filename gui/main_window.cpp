#include "main_window.h"

#include <QStatusBar>

#include "channels/channel_ops.h"
#include "platform_info.h"

namespace qx {

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent), session_(session), ui_(this) {
    setObjectName(QStringLiteral("Frm_Radio"));
    statusPanel1_ = new QLabel(this);
    statusPanel2_ = new QLabel(this);
    statusBar()->addWidget(statusPanel1_, 1);
    statusBar()->addWidget(statusPanel2_, 1);
    resize(1100, 700);
    LoadTexts();
}

void MainWindow::LoadTexts() {
    language_ = LanguageTexts(session_.paths.languageDir, session_.LanguageFile);
    LoadMainWindow(document_, language_, session_.featureFlags, ui_);
    const QString title = ToQString(language_.LanguageText("OTHERS", "70018"));
    setWindowTitle(title);
    ui_.SetTitle(title);
    statusPanel1_->setText(ToQString(document_.statusText));
    statusPanel2_->setText(ToQString(document_.texts.statusPanel2));
}

}  // namespace qx
