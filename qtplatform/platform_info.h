// Facts about the running machine the core asks for at start-up: the
// operating-system version, where the settings files live, the first serial port.
#pragma once

#include <QString>
#include <string>

#include "app/session.h"
#include "app/settings_files.h"

namespace qx {

OsVersion CurrentOsVersion();

// Language folder beside the executable (or the installed share folder) and the
// user's configuration folder.
SettingsPaths DefaultSettingsPaths();

// The first serial port the system reports, "" when there is none.
std::string FirstSerialPort();

inline QString ToQString(const std::string& text) { return QString::fromStdString(text); }
inline std::string ToStdString(const QString& text) { return text.toStdString(); }

}  // namespace qx
