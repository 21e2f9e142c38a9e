#include "files/backups.h"

#include <algorithm>
#include <array>
#include <system_error>
#include <vector>

#include "files/atomic_file.h"
#include "image/hex.h"
#include "util/text.h"

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

std::filesystem::path UnreadLinesPath(const std::filesystem::path& image) {
    std::filesystem::path companion = image;
    companion += kUnreadExtension;
    return companion;
}

std::string UnreadLinesText(std::span<const int> lines) {
    std::string text =
        "# Lines of the backup image beside this file that were not read from the radio.\n"
        "# A restore of the image leaves these lines in the radio as they are.\n";
    for (std::size_t i = 0; i < lines.size();) {
        std::size_t last = i;
        while (last + 1 < lines.size() && lines[last + 1] == lines[last] + 1) ++last;
        text += LineAddress(lines[i]);
        if (last > i) text += "-" + LineAddress(lines[last]);
        text += "\n";
        i = last + 1;
    }
    return text;
}

namespace {

// A line's wire address ("0010" for line 1) as its line number; -1 when it
// is none.
int LineOfAddress(std::string_view address) {
    if (address.size() != 4 || address.back() != '0') return -1;
    int line = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const int digit = HexDigitValue(address[i]);
        if (digit < 0) return -1;
        line = line * 16 + digit;
    }
    return line < kImageLines ? line : -1;
}

}  // namespace

UnreadLines ParseUnreadLines(std::string_view text) {
    UnreadLines result;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        const std::string line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t dash = line.find('-');
        const int first = LineOfAddress(line.substr(0, dash));
        const int last =
            dash == std::string_view::npos ? first : LineOfAddress(line.substr(dash + 1));
        if (first < 0 || last < first) {
            return {{},
                    "its line " + std::to_string(number) + ", \"" + std::string(line) +
                        "\", is no line address (like 0010) nor a range of them (like "
                        "0010-0030)"};
        }
        for (int n = first; n <= last; ++n) result.lines.push_back(n);
    }
    std::sort(result.lines.begin(), result.lines.end());
    result.lines.erase(std::unique(result.lines.begin(), result.lines.end()), result.lines.end());
    return result;
}

UnreadLines ReadUnreadLines(const std::filesystem::path& image) {
    const std::filesystem::path companion = UnreadLinesPath(image);
    std::error_code ec;
    if (!std::filesystem::exists(companion, ec)) return {};
    // Every line named once is far below this size.
    constexpr std::size_t kLimit = 64 * 1024;
    const FileBytes file = ReadFileBytes(companion, kLimit);
    if (!file.error.empty()) return {{}, file.error};
    if (file.size > kLimit) return {{}, FileErrorText("Cannot open", companion, "it is too large")};
    UnreadLines parsed = ParseUnreadLines(std::string(file.bytes.begin(), file.bytes.end()));
    if (!parsed.error.empty()) parsed.error = FileErrorText("Cannot open", companion, parsed.error);
    return parsed;
}

std::string BackupFileName(const std::tm& when, int model, std::string_view cause) {
    std::array<char, 32> stamp{};
    const std::size_t length = std::strftime(stamp.data(), stamp.size(), "%Y%m%d-%H%M%S", &when);
    return std::string(stamp.data(), length) + "-model" + std::to_string(model) + "-" +
           std::string(cause) + kBackupExtension;
}

BackupResult StoreBackup(const std::filesystem::path& folder, std::span<const std::uint8_t> image,
                         int model, std::string_view cause, std::time_t when, std::size_t keep,
                         std::span<const int> unreadLines) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return {{}, FileErrorText("Cannot save", folder, ec.message())};

    const std::tm* local = std::localtime(&when);
    if (local == nullptr) return {{}, "Cannot save a backup: the time cannot be shown."};
    const std::string name = BackupFileName(*local, model, cause);
    std::filesystem::path path = folder / name;
    // A second backup within the same second gets a number before the extension.
    const std::string stem =
        name.substr(0, name.size() - std::string_view(kBackupExtension).size());
    // A companion left without its image would be taken for the new one's.
    for (int n = 2;
         std::filesystem::exists(path, ec) || std::filesystem::exists(UnreadLinesPath(path), ec);
         ++n) {
        path = folder / (stem + "-" + std::to_string(n) + kBackupExtension);
    }

    // The image and its companion appear together or not at all.
    std::vector<PendingFile> files{{path, std::string(image.begin(), image.end())}};
    if (!unreadLines.empty())
        files.push_back({UnreadLinesPath(path), UnreadLinesText(unreadLines)});
    if (std::string error = WriteFilesAtomically(files); !error.empty()) return {{}, error};

    std::vector<std::filesystem::path> backups = BackupsIn(folder);
    std::erase(backups, path);
    const std::size_t others = keep > 0 ? keep - 1 : 0;
    for (std::size_t i = 0; i + others < backups.size(); ++i) {
        std::filesystem::remove(backups[i], ec);
        std::filesystem::remove(UnreadLinesPath(backups[i]), ec);
    }
    return {path, {}};
}

}  // namespace qx
