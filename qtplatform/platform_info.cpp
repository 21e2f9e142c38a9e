#include "platform_info.h"

#include <QCoreApplication>
#include <QOperatingSystemVersion>
#include <cstdlib>

#include "link/port_settings.h"
#include "qt_port_directory.h"

namespace qx {

OsVersion CurrentOsVersion() {
    const auto os = QOperatingSystemVersion::current();
    return OsVersion{os.type() == QOperatingSystemVersion::Windows, os.majorVersion()};
}

SettingsPaths DefaultSettingsPaths() {
    const std::filesystem::path exeDir = QCoreApplication::applicationDirPath().toStdString();
    return SettingsPaths{FindLanguageDir(exeDir),
                         UserConfigDir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
                         UserBackupDir(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"))};
}

std::string FirstSerialPort() { return FirstPortName(QtPortDirectory{}); }

}  // namespace qx
