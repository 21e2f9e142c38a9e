#include "image_file.h"

#include <fstream>
#include <system_error>

#include "files/atomic_file.h"
#include "link/simulated_radio.h"
#include "util/file_kind.h"

namespace qx::sim {

LoadedImage LoadImageFile(const std::filesystem::path& path) {
    LoadedImage image;
    const FileKind kind = KindOfFile(path);
    if (kind == FileKind::Missing) return image;
    image.exists = true;
    // Only a file of the right size is read: a folder, a device or a pipe
    // never is, so nothing aborts, blocks or grows without end.
    if (kind != FileKind::Regular) {
        image.error = path.string() +
                      (kind == FileKind::Folder ? " is a folder" : " is not a regular file") +
                      "; a memory image is a file of 8192 bytes";
        return image;
    }
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        image.error = "cannot read " + path.string() + ": " + ec.message();
        return image;
    }
    if (size != SimulatedRadio::kMemorySize) {
        image.error =
            path.string() + " holds " + std::to_string(size) + " bytes; a memory image has 8192";
        return image;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(SimulatedRadio::kMemorySize, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
        image.error = "cannot read " + path.string();
        return image;
    }
    image.memory.assign(bytes.begin(), bytes.end());
    return image;
}

std::string SaveImageFile(const std::filesystem::path& path,
                          const std::vector<std::uint8_t>& memory) {
    // The program's own atomic save: a temporary of its own, unguessable name.
    const PendingFile file{path, std::string(memory.begin(), memory.end())};
    return WriteFilesAtomically({&file, 1});
}

}  // namespace qx::sim
