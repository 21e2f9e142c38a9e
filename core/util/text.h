// Small text helpers shared by the core: trimming, splitting, ASCII case rules.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// True for a text of spaces only, the empty text included: a cell "empty
// after removing spaces".
bool IsAllSpaces(std::string_view text);
// Removes leading and trailing blanks (spaces, tabs, CR, LF).
std::string Trim(std::string_view text);

// ASCII-only case-insensitive comparison, as INI readers compare names.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

std::string ToUpperAscii(std::string_view text);

// "first" .. "last" as decimal texts, stepping by `step`.
std::vector<std::string> NumberList(int first, int last, int step = 1);

// Splits at every separator; "a||b" gives three pieces, "" gives one empty piece.
std::vector<std::string> Split(std::string_view text, char separator);
// The non-empty lines; a line ends at CR, LF or CR LF.
std::vector<std::string_view> NonEmptyLines(std::string_view text);

// The character starting at byte `at` with its UTF-8 continuation bytes.
std::string_view Utf8CharacterAt(std::string_view text, std::size_t at);

// `text` on one line: its line breaks become blanks (a stderr message, a
// summary line quoting a field).
std::string OneLine(std::string text);

// `pattern` with "%1".."%9" replaced by the values; a value put in is never
// searched again, and a mark without a value stays as it is.
std::string FillPlaceholders(std::string_view pattern, std::initializer_list<std::string> values);

}  // namespace qx
