// Backups of the radio's memory: each an 8192-byte image file named by the
// date and time, the model and what caused it
// ("20261208-143015-model5-read.img"), the newest kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace qx {

inline constexpr std::size_t kBackupsKept = 200;
inline constexpr const char* kBackupExtension = ".img";

// "20261208-143015-model5-read.img" for `when` in local time.
std::string BackupFileName(const std::tm& when, int model, std::string_view cause);

struct BackupResult {
    std::filesystem::path path;  // the new backup; empty on failure
    std::string error;           // why it could not be stored
};

// Writes `image` atomically as a new backup in `folder` (created when
// missing), then removes the oldest backups beyond `keep` (never the new
// one). Two backups in the same second get distinct names.
[[nodiscard]] BackupResult StoreBackup(const std::filesystem::path& folder,
                                       std::span<const std::uint8_t> image, int model,
                                       std::string_view cause, std::time_t when,
                                       std::size_t keep = kBackupsKept);

}  // namespace qx
