#include "app/list_control.h"

#include <algorithm>

namespace qx {

bool ListControl::Select(int index) {
    if (index < 0 || index >= static_cast<int>(entries.size())) return false;
    selected = index;
    text = entries[static_cast<std::size_t>(index)];
    return true;
}

void ListControl::Show(const std::string& shown) {
    text = shown;
    const auto it = std::find(entries.begin(), entries.end(), shown);
    selected = it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

bool IsIgnoredKey(char32_t key) {
    return key == 3 || key == 22 || key == 24 || key == '\r' || key == '\n' || key > 127;
}

std::string TypeKey(const std::string& current, char32_t key, KeyRule rule, std::size_t maxLength) {
    if (IsIgnoredKey(key) || current.size() >= maxLength) return current;
    const std::optional<char> accepted = rule(key);
    return accepted ? current + *accepted : current;
}

std::string FilterText(const std::string& text, KeyRule rule, std::size_t maxLength) {
    std::string result;
    for (const char c : text) {
        result = TypeKey(result, static_cast<unsigned char>(c), rule, maxLength);
    }
    return result;
}

std::optional<char> DigitKey(char32_t key) {
    if (key >= '0' && key <= '9') return static_cast<char>(key);
    return std::nullopt;
}

std::optional<char> HexDigitKey(char32_t key) {
    if (key >= 'a' && key <= 'f') return static_cast<char>(key - 'a' + 'A');
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'F')) return static_cast<char>(key);
    return std::nullopt;
}

}  // namespace qx
