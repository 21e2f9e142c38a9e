// qxprog: the desktop programming application.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <cstdio>

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
    const QCommandLineOption faultOption(
        QStringLiteral("sim-fault"),
        QStringLiteral("Faults of the simulated radio \"sim\", separated by \",\" (as qxsim "
                       "--fault: drop:N, store-corrupt:N, power-loss:N, ...)."),
        QStringLiteral("RULES"));
    parser.addOption(faultOption);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Project file to open."),
                                 QStringLiteral("[FILE.qx]"));
    parser.process(app);
    if (parser.positionalArguments().size() > 1) {
        std::fprintf(stderr, "qxprog: one project file at most\n");
        return 2;
    }

    qx::Session session =
        qx::StartSession(qx::DefaultSettingsPaths(), qx::CurrentOsVersion(), qx::FirstSerialPort());
    if (parser.isSet(portOption)) session.portName = parser.value(portOption).toStdString();

    qx::MainWindow window(session);
    if (parser.isSet(faultOption)) {
        const std::string error =
            window.portLinks().AddSimFaults(parser.value(faultOption).toStdString());
        if (!error.empty()) {
            // Before any window shows: a wrong rule is a wrong start.
            std::fprintf(stderr, "qxprog: --sim-fault: %s\n", error.c_str());
            return 2;
        }
    }
    window.show();
    if (const QStringList files = parser.positionalArguments(); !files.isEmpty()) {
        window.OpenFile(files.first());
    }
    return QApplication::exec();
}
