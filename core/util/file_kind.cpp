#include "util/file_kind.h"

#include <system_error>

namespace qx {

FileKind KindOfFile(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) return FileKind::Missing;
    if (std::filesystem::is_regular_file(status)) return FileKind::Regular;
    if (std::filesystem::is_directory(status)) return FileKind::Folder;
    return FileKind::Other;
}

}  // namespace qx
