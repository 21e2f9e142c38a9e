// Reading values of UTF-8 INI files and writing those of a section, the way classic profile
// readers do: section and key names compare case-insensitively, values are trimmed.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qx {

// All values of one INI text, looked up case-insensitively. The first
// occurrence of a key in a section wins.
class IniData {
  public:
    static IniData Parse(const std::string& content);
    // Empty data when the file is missing or unreadable.
    static IniData Load(const std::filesystem::path& path);

    std::optional<std::string> Value(const std::string& section, const std::string& key) const;

  private:
    std::map<std::string, std::string> values_;  // "SECTION\nKEY" in upper case -> value
};

// Sets values of one section, keeping every other line of the file, with one
// rewrite of it; creates the file and its folder when absent. Returns false
// when the file cannot be written.
bool WriteIniValues(const std::filesystem::path& path, const std::string& section,
                    const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace qx
