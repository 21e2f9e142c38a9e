// Whole-file reads and all-or-nothing writes for the project files: a save
// goes to temporaries beside the targets, which replace the targets only once
// every temporary was written completely.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace qx {

struct PendingFile {
    std::filesystem::path target;
    std::string content;
};

// Writes each file to a temporary in its target's folder, flushes and closes
// it, then renames the temporaries over the targets in order. Returns "" on
// success, else a description naming the file and the reason. Targets are
// checked before anything is written, so a failure leaves them as they were
// (short of a rename failing after an earlier one succeeded); no temporary is
// left behind.
[[nodiscard]] std::string WriteFilesAtomically(std::span<const PendingFile> files);

struct FileBytes {
    std::vector<std::uint8_t> bytes;
    std::uintmax_t size = 0;  // the whole file's size, which may exceed what was read
    std::string error;        // "" when the read succeeded
};

// Reads at most `limit` bytes from the start of a regular file; a folder, a
// pipe or a device is refused without being opened.
FileBytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit);

// The user-facing form of a failed file operation: `Cannot save "x.qx": reason.`
std::string FileErrorText(const char* action, const std::filesystem::path& path,
                          const std::string& reason);

}  // namespace qx
