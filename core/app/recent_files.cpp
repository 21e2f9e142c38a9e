#include "app/recent_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "util/text.h"

namespace qx {

std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path) {
    std::erase(files, path);
    files.insert(files.begin(), path);
    if (files.size() > kMaxRecentFiles) files.resize(kMaxRecentFiles);
    return files;
}

std::string RecentFileEntry(std::size_t index, const std::string& path) {
    std::string entry = "&" + std::to_string(index + 1) + " ";
    for (const char c : std::filesystem::path(path).filename().string()) {
        entry += c;
        if (c == '&') entry += '&';
    }
    return entry;
}

OpenOutcome OpenRecentFile(Document& doc, std::vector<std::string>& files, const std::string& path,
                           Ui& ui) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        std::erase(files, path);
        ui.ShowMessage(FillPlaceholders(doc.texts.recentGone, {path}));
        return OpenOutcome::Failed;
    }
    const OpenOutcome outcome = OpenFileCommand(doc, path, ui);
    if (outcome == OpenOutcome::Opened) files = WithRecentFile(std::move(files), path);
    return outcome;
}

}  // namespace qx
