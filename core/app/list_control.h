// The state of a dialog's drop-down list as the view shows it, and the key
// filters of the dialogs' text fields. Dialog logic keeps these so the views
// only mirror them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qx {

// A drop-down list: its entries, the selected position (-1 for none), the
// text in its box (which need not be an entry) and whether it can be used.
struct ListControl {
    std::vector<std::string> entries;
    int selected = -1;
    std::string text;
    bool enabled = true;

    // Selects the entry at `index`; false (and no change) when out of range.
    bool Select(int index);
    // Puts `shown` into the box; the selection follows the entry with that
    // text, or becomes -1 when there is none.
    void Show(const std::string& shown);
    // The selected position, or `fallback` when nothing is selected.
    int SelectedOr(int fallback) const { return selected >= 0 ? selected : fallback; }
};

// Characters a filtered field never takes: Ctrl+C, Ctrl+V, Ctrl+X, Enter
// (the view moves the focus instead) and anything beyond ASCII.
bool IsIgnoredKey(char32_t key);

// The character a field takes for a typed key, or nullopt when it is discarded.
using KeyRule = std::optional<char> (*)(char32_t key);

// Appends the key to `current` when `rule` accepts it and the text is still
// shorter than `maxLength`; otherwise returns `current` unchanged.
std::string TypeKey(const std::string& current, char32_t key, KeyRule rule, std::size_t maxLength);
// Runs every character of `text` through TypeKey, as pasting or setting a
// text would type it.
std::string FilterText(const std::string& text, KeyRule rule, std::size_t maxLength);

// Common rules.
std::optional<char> DigitKey(char32_t key);     // "0"-"9"
std::optional<char> HexDigitKey(char32_t key);  // "0"-"9", "A"-"F"; "a"-"f" upper-cased

}  // namespace qx
