// Backups of the radio's memory: each an 8192-byte image file named by the
// date and time, the model and what caused it
// ("20261208-143015-model5-read.img"), the newest kept. The backup of a read
// that left lines out has a companion text file beside it naming them
// ("....img.unread"): zeros there were never read from the radio.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

inline constexpr std::size_t kBackupsKept = 200;
inline constexpr const char* kBackupExtension = ".img";
inline constexpr const char* kUnreadExtension = ".unread";

// The companion of the backup `image`: its name with ".unread" added.
std::filesystem::path UnreadLinesPath(const std::filesystem::path& image);

// The companion's text: two comment lines ("#"), then one line for each run
// of lines, by their addresses as on the wire: "0010-0030" for lines 1..3,
// "00F0" for line 15 alone. `lines` ascending.
std::string UnreadLinesText(std::span<const int> lines);

struct UnreadLines {
    std::vector<int> lines;  // ascending, each once
    std::string error;       // why the text names no lines; "" when it does
};
// The lines a companion's text names. Blank lines and "#" comments are
// skipped; anything else that is not an address or a range of them is an error.
UnreadLines ParseUnreadLines(std::string_view text);
// The lines the companion of `image` names; none when it has no companion.
UnreadLines ReadUnreadLines(const std::filesystem::path& image);

// A backup image as a restore takes it: its bytes and the lines to leave alone.
struct BackupImage {
    std::vector<std::uint8_t> bytes;
    std::vector<int> unreadLines;
};

// "20261208-143015-model5-read.img" for `when` in local time.
std::string BackupFileName(const std::tm& when, int model, std::string_view cause);

struct BackupResult {
    std::filesystem::path path;  // the new backup; empty on failure
    std::string error;           // why it could not be stored
};

// Writes `image` atomically as a new backup in `folder` (created when
// missing), with its companion when `unreadLines` names any, then removes
// the oldest backups beyond `keep` (never the new one), each with its
// companion. Two backups in the same second get distinct names.
[[nodiscard]] BackupResult StoreBackup(const std::filesystem::path& folder,
                                       std::span<const std::uint8_t> image, int model,
                                       std::string_view cause, std::time_t when,
                                       std::size_t keep = kBackupsKept,
                                       std::span<const int> unreadLines = {});

}  // namespace qx
