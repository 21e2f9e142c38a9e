// The File menu's list of recently opened or saved projects: most recent
// first, each file once, at most eight; remembered in mysetup.ini.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/document.h"
#include "app/project_file.h"
#include "platform/ui.h"

namespace qx {

inline constexpr std::size_t kMaxRecentFiles = 8;

// `path` put first, an earlier entry of the same file dropped, the oldest
// entries beyond kMaxRecentFiles dropped.
std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path);

// The menu entry for the `index`th file (0-based): "&1 name.qx", with any
// "&" of the name doubled so that it shows rather than marks a key.
std::string RecentFileEntry(std::size_t index, const std::string& path);

// Choosing a recent file: one that no longer exists is said (Files Gone)
// and taken off the list; else the save question and the opening, and an
// opened file moves to the top.
OpenOutcome OpenRecentFile(Document& doc, std::vector<std::string>& files, const std::string& path,
                           Ui& ui);

}  // namespace qx
