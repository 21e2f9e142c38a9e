// The File menu's exports (listing, CSV, PDF): the file the user names and
// its content written whole or not at all.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui.h"

namespace qx {

// The file the user chooses under `filter`; `extension` (".csv") is added to
// a name typed without one, an empty `extension` keeps the name as typed.
// Nullopt when the user cancels.
std::optional<std::filesystem::path> ChooseExportFile(Ui& ui, const std::string& filter,
                                                      std::string_view extension);
// Writes `content` to `path` atomically; a failure is shown as an error.
bool WriteExportFile(Ui& ui, const std::filesystem::path& path, std::string content);

}  // namespace qx
