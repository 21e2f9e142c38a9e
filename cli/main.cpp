// qxctl: the command-line tool.
#include <unistd.h>

#include <QCoreApplication>
#include <iostream>

#include "app/settings_files.h"
#include "command.h"
#include "platform_info.h"

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // The application object only tells where the executable and its language folder are.
    QCoreApplication app(argc, argv);
    qx::cli::CommandIo io{std::cout, std::cerr,
                          qx::StartSession(qx::DefaultSettingsPaths(), qx::CurrentOsVersion(), "")};
    io.errIsTerminal = isatty(STDERR_FILENO) == 1;
    return qx::cli::Dispatch(args, io);
}
