// qxprog: the desktop programming application.
#include <QApplication>
#include <QCommandLineParser>

#include "app/settings_files.h"
#include "main_window.h"
#include "platform_info.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qxprog"));
    QApplication::setApplicationVersion(QStringLiteral(QX_VERSION_TEXT));

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Serial port to use at start."),
                                        QStringLiteral("NAME"));
    parser.addOption(portOption);
    parser.process(app);

    qx::Session session =
        qx::StartSession(qx::DefaultSettingsPaths(), qx::CurrentOsVersion(), qx::FirstSerialPort());
    if (parser.isSet(portOption)) session.portName = parser.value(portOption).toStdString();

    qx::MainWindow window(session);
    window.show();
    return QApplication::exec();
}
