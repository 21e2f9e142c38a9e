#include "qt_ui.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include "password_dialog.h"
#include "platform_info.h"

namespace qx {
namespace {

// "Project files|*.qx|All files|*.*" -> "Project files (*.qx);;All files (*.*)"
QString QtFilter(const std::string& filter) {
    const QStringList parts = ToQString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        out << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
    }
    return out.join(QStringLiteral(";;"));
}

QString DocumentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

}  // namespace

void QtUi::ShowMessage(const std::string& text) {
    QMessageBox::information(parent_, title_, ToQString(text));
}

void QtUi::ShowProblem(const std::string& text, Severity severity) {
    if (severity == Severity::Error) {
        QMessageBox::critical(parent_, title_, ToQString(text));
    } else {
        QMessageBox::warning(parent_, title_, ToQString(text));
    }
}

Answer QtUi::Ask(const std::string& text, Buttons buttons) {
    QMessageBox::StandardButtons set;
    switch (buttons) {
        case Buttons::Ok:
            set = QMessageBox::Ok;
            break;
        case Buttons::OkCancel:
            set = QMessageBox::Ok | QMessageBox::Cancel;
            break;
        case Buttons::YesNo:
            set = QMessageBox::Yes | QMessageBox::No;
            break;
        case Buttons::YesNoCancel:
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            break;
    }
    switch (QMessageBox::question(parent_, title_, ToQString(text), set)) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

std::optional<std::string> QtUi::AskPassword() {
    return PasswordDialog::Ask(parent_, passwordTexts_);
}

QString QtUi::StartFolder() const {
    const QString folder = ToQString(folder_);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : DocumentsFolder();
}

std::optional<std::string> QtUi::Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    folder_ = ToStdString(QFileInfo(path).absolutePath());
    if (folderChosen_) folderChosen_(folder_);
    return ToStdString(path);
}

std::optional<std::string> QtUi::ChooseOpenFile(const std::string& filter) {
    return Chosen(QFileDialog::getOpenFileName(parent_, title_, StartFolder(), QtFilter(filter)));
}

std::optional<std::string> QtUi::ChooseOpenFileIn(const std::string& filter,
                                                  const std::string& folder) {
    // A folder that does not exist yet (no backup made so far) would open
    // the dialog somewhere arbitrary: the documents folder then.
    const QString start = !folder.empty() && QFileInfo(ToQString(folder)).isDir()
                              ? ToQString(folder)
                              : DocumentsFolder();
    const QString path = QFileDialog::getOpenFileName(parent_, title_, start, QtFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    return ToStdString(path);
}

std::optional<std::string> QtUi::ChooseSaveFile(const std::string& filter) {
    return ChooseSaveFileAs(filter, "");
}

std::optional<std::string> QtUi::ChooseSaveFileAs(const std::string& filter,
                                                  const std::string& proposed) {
    // A proposed path in a folder that exists is taken whole; a bare name
    // (or one whose folder is gone) goes into the folder last used.
    const QFileInfo file(ToQString(proposed));
    QString start = StartFolder();
    if (file.isAbsolute() && file.dir().exists()) {
        start = file.absoluteFilePath();
    } else if (!proposed.empty()) {
        start += QLatin1Char('/') + file.fileName();
    }
    return Chosen(QFileDialog::getSaveFileName(parent_, title_, start, QtFilter(filter)));
}

}  // namespace qx
