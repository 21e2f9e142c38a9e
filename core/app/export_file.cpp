#include "app/export_file.h"

#include <utility>

#include "files/atomic_file.h"

namespace qx {

std::optional<std::filesystem::path> ChooseExportFile(Ui& ui, const std::string& filter,
                                                      std::string_view extension) {
    const auto chosen = ui.ChooseSaveFile(filter);
    if (!chosen || chosen->empty()) return std::nullopt;
    std::filesystem::path path(*chosen);
    if (!extension.empty() && !path.has_extension()) path += extension;
    return path;
}

bool WriteExportFile(Ui& ui, const std::filesystem::path& path, std::string content) {
    const PendingFile file[] = {{path, std::move(content)}};
    if (std::string error = WriteFilesAtomically(file); !error.empty()) {
        ui.ShowError(error);
        return false;
    }
    return true;
}

}  // namespace qx
