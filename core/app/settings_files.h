// mysetup.ini (the chosen language) and Setting.ini (the 4-byte feature-flag
// record): where they live, how they are read at start and written back.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/session.h"

namespace qx {

inline constexpr const char* kMySetupFile = "mysetup.ini";
inline constexpr const char* kFeatureFlagFile = "Setting.ini";

// The language folder beside the executable, else ../share/qxprog/language.
std::filesystem::path FindLanguageDir(const std::filesystem::path& executableDir);

// $XDG_CONFIG_HOME/qxprog, else $HOME/.config/qxprog; empty when neither is set.
// The caller passes the environment values (nullptr when unset).
std::filesystem::path UserConfigDir(const char* xdgConfigHome, const char* home);

// $XDG_DATA_HOME/qxprog/backups, else $HOME/.local/share/qxprog/backups;
// empty when neither is set.
std::filesystem::path UserBackupDir(const char* xdgDataHome, const char* home);

// The user's copy of a settings file when it exists, else the installed one.
std::filesystem::path SettingsFileForReading(const SettingsPaths& paths, const std::string& name);

// "CurrentLanguage" of section "language"; empty when absent.
std::string ReadCurrentLanguage(const SettingsPaths& paths);
// Written to the user's folder; a failure is ignored, as a read-only install demands.
void WriteCurrentLanguage(const SettingsPaths& paths, const std::string& languageFile);

// The transfer window's check boxes, section "transfer" of mysetup.ini:
// verify after writing (on unless "0"), back up first, read twice (off
// unless "1"). Written to the user's folder; a failure is ignored.
TransferOptions ReadTransferChoices(const SettingsPaths& paths);
void WriteTransferChoices(const SettingsPaths& paths, const TransferOptions& choices);

// Section "files" of mysetup.ini: the folder the file dialogs last chose in
// and the recent projects (read without repeats, at most kMaxRecentFiles).
// Written to the user's folder; a failure is ignored.
std::string ReadLastFolder(const SettingsPaths& paths);
void WriteLastFolder(const SettingsPaths& paths, const std::string& folder);
std::vector<std::string> ReadRecentFiles(const SettingsPaths& paths);
void WriteRecentFiles(const SettingsPaths& paths, const std::vector<std::string>& files);

// The main window's size and position as the toolkit encodes it, in text
// (section "window"); empty when none was stored. A failed write is ignored.
std::string ReadWindowGeometry(const SettingsPaths& paths);
void WriteWindowGeometry(const SettingsPaths& paths, const std::string& geometry);

// The four stored bytes; all zero when the file is missing, short or unreadable.
std::array<std::uint8_t, 4> ReadFeatureBytes(const SettingsPaths& paths);
FeatureFlags FeatureFlagsFromBytes(const std::array<std::uint8_t, 4>& bytes);

// A stored byte of 0 takes the current flag; a non-zero byte stays, so a
// feature once seen on a radio stays enabled. Write failures are ignored.
void StoreFeatureFlags(Session& session);

// Windows NT 6.x only: the port list is COM1..COM256 and the first port is COM1.
struct OsVersion {
    bool windowsNt = false;
    int majorVersion = 0;
};
bool FixedPortListFor(const OsVersion& os);

// Start-up: language, feature flags, line settings and the initial port.
// `firstPort` is the first port the port directory reports ("" when none).
Session StartSession(const SettingsPaths& paths, const OsVersion& os, const std::string& firstPort);

}  // namespace qx
