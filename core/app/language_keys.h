// Every (section, key) pair the program reads from a language file. The
// language-file test checks that both shipped files define each of them.
#pragma once

#include <string>
#include <vector>

namespace qx {

struct LanguageKey {
    std::string section;
    std::string key;
};

const std::vector<LanguageKey>& AllLanguageKeys();

}  // namespace qx
