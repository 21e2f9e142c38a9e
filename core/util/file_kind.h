// What a path names before it is opened: only a regular file is read, so a
// pipe, a device or a folder can neither block a read nor feed it forever.
#pragma once

#include <filesystem>

namespace qx {

enum class FileKind { Missing, Regular, Folder, Other };

// Follows links, as opening the path would.
FileKind KindOfFile(const std::filesystem::path& path);

}  // namespace qx
