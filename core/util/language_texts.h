// The texts of the selected language file: LanguageText(section, key).
// A missing file, section or key gives the empty text; the program still works.
#pragma once

#include <filesystem>
#include <string>

#include "util/ini_file.h"

namespace qx {

class LanguageTexts {
  public:
    LanguageTexts() = default;
    // Loads `languageDir / fileName`; an empty or unknown name gives empty texts.
    LanguageTexts(const std::filesystem::path& languageDir, const std::string& fileName);

    // Trimmed value, at most 254 bytes (cut at a character boundary).
    std::string LanguageText(const std::string& section, const std::string& key) const;

  private:
    IniData data_;
};

}  // namespace qx
