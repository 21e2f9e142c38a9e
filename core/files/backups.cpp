#include "files/backups.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <vector>

#include "files/atomic_file.h"

namespace qx {
namespace {

// Backups are recognised by their form, so no other file of the folder is
// ever removed: 8 digits, "-", 6 digits, "-model".
bool IsBackupName(const std::string& name) {
    if (name.size() < 22 || !name.ends_with(kBackupExtension)) return false;
    for (std::size_t i = 0; i < 15; ++i) {
        const bool dash = i == 8;
        if (dash ? name[i] != '-' : (name[i] < '0' || name[i] > '9')) return false;
    }
    return name.compare(15, 6, "-model") == 0;
}

// Oldest first: the names begin with the time.
std::vector<std::filesystem::path> BackupsIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> backups;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.is_regular_file(ec) && IsBackupName(entry.path().filename().string())) {
            backups.push_back(entry.path());
        }
    }
    std::sort(backups.begin(), backups.end());
    return backups;
}

}  // namespace

std::string BackupFileName(const std::tm& when, int model, std::string_view cause) {
    std::array<char, 32> stamp{};
    const std::size_t length = std::strftime(stamp.data(), stamp.size(), "%Y%m%d-%H%M%S", &when);
    return std::string(stamp.data(), length) + "-model" + std::to_string(model) + "-" +
           std::string(cause) + kBackupExtension;
}

BackupResult StoreBackup(const std::filesystem::path& folder, std::span<const std::uint8_t> image,
                         int model, std::string_view cause, std::time_t when, std::size_t keep) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return {{}, FileErrorText("Cannot save", folder, ec.message())};

    const std::tm* local = std::localtime(&when);
    if (local == nullptr) return {{}, "Cannot save a backup: the time cannot be shown."};
    const std::string name = BackupFileName(*local, model, cause);
    std::filesystem::path path = folder / name;
    // A second backup within the same second gets a number before the extension.
    const std::string stem = name.substr(0, name.size() - std::string_view(kBackupExtension).size());
    for (int n = 2; std::filesystem::exists(path, ec); ++n) {
        path = folder / (stem + "-" + std::to_string(n) + kBackupExtension);
    }

    const PendingFile file{path, std::string(image.begin(), image.end())};
    if (std::string error = WriteFilesAtomically({&file, 1}); !error.empty()) return {{}, error};

    std::vector<std::filesystem::path> backups = BackupsIn(folder);
    std::erase(backups, path);
    const std::size_t others = keep > 0 ? keep - 1 : 0;
    for (std::size_t i = 0; i + others < backups.size(); ++i) {
        std::filesystem::remove(backups[i], ec);
    }
    return {path, {}};
}

}  // namespace qx
