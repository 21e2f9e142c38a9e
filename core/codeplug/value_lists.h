// The fixed value lists of the channel columns. The position of an entry is
// what the radio stores, so the order of every list matters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx {

const std::vector<std::string>& CtcssList();  // 50 tones, "67.0" .. "254.1"
const std::vector<std::string>& DcsList();    // 116 "N" codes, 116 "I" codes, then "off"
const std::vector<std::string>& StepList();   // channel steps in kHz, "5" .. "50"

// Channel-name character codes: 0x30.. for the allowed characters, 0 for any other.
std::uint8_t NameCode(char c);
// The character of a name code, or '\0' when the code names none.
char NameCodeChar(std::uint8_t code);
bool IsNameChar(char c);

// List lookups shared by the editors and dialogs.
// The entry at `index`; the first entry when out of range; "" for an empty list.
std::string ListItemOrFirst(const std::vector<std::string>& list, long long index);
// The entry equal to `text`; the first entry when none is; "" for an empty list.
std::string ListItemMatchOrFirst(const std::vector<std::string>& list, const std::string& text);
// The entry at `index`, else the entry at `fallbackIndex` (or "" when that is out of range too).
std::string ListItemOrFallback(long long index, const std::vector<std::string>& list,
                               long long fallbackIndex);
// Exact, case-sensitive membership.
bool ListContains(const std::string& text, const std::vector<std::string>& list);
// Position of `text` in the list, or -1.
int ListIndexOf(const std::vector<std::string>& list, const std::string& text);

}  // namespace qx
