#include "platform_info.h"

#include <QCoreApplication>
#include <QOperatingSystemVersion>
#include <QSerialPortInfo>
#include <cstdlib>

namespace qx {

OsVersion CurrentOsVersion() {
    const auto os = QOperatingSystemVersion::current();
    return OsVersion{os.type() == QOperatingSystemVersion::Windows, os.majorVersion()};
}

SettingsPaths DefaultSettingsPaths() {
    const std::filesystem::path exeDir = QCoreApplication::applicationDirPath().toStdString();
    return SettingsPaths{FindLanguageDir(exeDir),
                         UserConfigDir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"))};
}

std::string FirstSerialPort() {
    const auto ports = QSerialPortInfo::availablePorts();
    return ports.isEmpty() ? std::string() : ports.first().portName().toStdString();
}

}  // namespace qx
