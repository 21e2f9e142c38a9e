// The program-wide values set at start: language, port, line settings, the
// radio's feature flags. One instance, owned by main and passed by reference.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "link/link_session.h"
#include "link/transfer.h"

namespace qx {

// Where the settings files are read from and written to.
struct SettingsPaths {
    std::filesystem::path languageDir;  // language files and the installed settings
    std::filesystem::path configDir;    // the user's copies, written here only
    std::filesystem::path backupDir;    // backups of the radio's memory; empty: none are kept
};

struct Session : LinkSession {
    SettingsPaths paths;
    std::string languageFile;  // "english.ini", "chinese.ini" or empty
    // The Setting.ini bytes as read at start and updated by each store.
    std::array<std::uint8_t, 4> storedFeatureBytes{};
    // The transfer window's check boxes, remembered in mysetup.ini.
    TransferOptions transferChoices{.verify = true};
    // The folder the file dialogs last chose in, and the File menu's recent
    // projects (most recent first), remembered in mysetup.ini.
    std::string lastFolder;
    std::vector<std::string> recentFiles;
    // The latest backup of a radio's memory stored in this session.
    std::filesystem::path lastBackup;
};

}  // namespace qx
