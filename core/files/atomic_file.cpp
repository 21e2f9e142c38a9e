#include "files/atomic_file.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <system_error>

#include "util/file_kind.h"

namespace qx {
namespace {

constexpr const char* kSaveAction = "Cannot save";

// The reason the last stream operation failed, as the C library reports it.
std::string LastErrorText(const char* fallback) {
    const int error = errno;
    return error != 0 ? std::generic_category().message(error) : fallback;
}

std::filesystem::path TemporaryFor(const std::filesystem::path& target) {
    std::random_device random;
    std::string suffix = ".tmp";
    constexpr const char* kHex = "0123456789abcdef";
    for (int i = 0; i < 8; ++i) suffix += kHex[random() % 16];
    return target.parent_path() / (target.filename().string() + suffix);
}

// Why `target` cannot be replaced at all, or "".
std::string CheckTarget(const std::filesystem::path& target) {
    std::error_code ec;
    const std::filesystem::path folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    if (!std::filesystem::is_directory(folder, ec)) {
        return FileErrorText(kSaveAction, target,
                             "the folder \"" + folder.string() + "\" does not exist");
    }
    if (std::filesystem::is_directory(target, ec)) {
        return FileErrorText(kSaveAction, target, "it is a folder");
    }
    return {};
}

std::string WriteTemporary(const std::filesystem::path& temporary, const PendingFile& file) {
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return FileErrorText(kSaveAction, file.target, LastErrorText("cannot create it"));
    out.write(file.content.data(), static_cast<std::streamsize>(file.content.size()));
    out.flush();
    const bool written = static_cast<bool>(out);
    out.close();
    if (!written || out.fail()) {
        return FileErrorText(kSaveAction, file.target, LastErrorText("the write failed"));
    }
    return {};
}

void RemoveAll(const std::vector<std::filesystem::path>& paths) {
    for (const auto& path : paths) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
}

}  // namespace

std::string FileErrorText(const char* action, const std::filesystem::path& path,
                          const std::string& reason) {
    return std::string(action) + " \"" + path.string() + "\": " + reason + ".";
}

std::string WriteFilesAtomically(std::span<const PendingFile> files) {
    for (const PendingFile& file : files) {
        if (std::string error = CheckTarget(file.target); !error.empty()) return error;
    }
    std::vector<std::filesystem::path> temporaries;
    for (const PendingFile& file : files) {
        temporaries.push_back(TemporaryFor(file.target));
        if (std::string error = WriteTemporary(temporaries.back(), file); !error.empty()) {
            RemoveAll(temporaries);
            return error;
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code ec;
        std::filesystem::rename(temporaries[i], files[i].target, ec);
        if (ec) {
            RemoveAll({temporaries.begin() + static_cast<std::ptrdiff_t>(i), temporaries.end()});
            return FileErrorText(kSaveAction, files[i].target, ec.message());
        }
    }
    return {};
}

FileBytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit) {
    FileBytes result;
    const FileKind kind = KindOfFile(path);
    if (kind == FileKind::Folder || kind == FileKind::Other) {
        result.error =
            FileErrorText("Cannot open", path,
                          kind == FileKind::Folder ? "it is a folder" : "it is not a regular file");
        return result;
    }
    std::error_code ec;
    result.size = std::filesystem::file_size(path, ec);
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = FileErrorText("Cannot open", path, LastErrorText("cannot open it"));
        return result;
    }
    std::string buffer(limit, '\0');
    in.read(buffer.data(), static_cast<std::streamsize>(limit));
    if (in.bad()) {
        result.error = FileErrorText("Cannot read", path, LastErrorText("the read failed"));
        return result;
    }
    buffer.resize(static_cast<std::size_t>(in.gcount()));
    result.bytes.assign(buffer.begin(), buffer.end());
    return result;
}

}  // namespace qx
