#include "codeplug/value_lists.h"

#include <algorithm>
#include <string_view>

namespace qx {
namespace {

// Characters with codes 0x54.. in order (after digits and upper-case letters).
constexpr std::string_view kNameSymbols = " *#+-/\\=()$_gdexziylpuftsbwvaoj";

constexpr const char* kDcsCodes[] = {
    "017", "023", "025", "026", "031", "032", "036", "043", "047", "050", "051", "053", "054",
    "055", "065", "071", "072", "073", "074", "114", "115", "116", "122", "125", "131", "132",
    "134", "135", "143", "145", "152", "155", "156", "162", "165", "172", "174", "205", "212",
    "217", "223", "225", "226", "243", "244", "245", "246", "251", "252", "254", "255", "261",
    "263", "265", "266", "271", "274", "305", "306", "311", "315", "325", "331", "332", "343",
    "345", "346", "351", "356", "364", "365", "371", "411", "412", "413", "423", "425", "431",
    "432", "445", "446", "452", "454", "455", "462", "464", "465", "466", "503", "506", "516",
    "523", "526", "532", "534", "546", "565", "606", "612", "624", "627", "631", "632", "645",
    "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754", "765"};

}  // namespace

const std::vector<std::string>& CtcssList() {
    static const std::vector<std::string> list = {
        "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
        "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
        "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
        "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
        "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};
    return list;
}

const std::vector<std::string>& DcsList() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> l;
        for (const char* suffix : {"N", "I"}) {
            for (const char* code : kDcsCodes) l.push_back(std::string(code) + suffix);
        }
        l.emplace_back("off");
        return l;
    }();
    return list;
}

const std::vector<std::string>& StepList() {
    static const std::vector<std::string> list = {"5",  "6.25", "8.33", "10", "12.5",
                                                  "15", "20",   "25",   "30", "50"};
    return list;
}

std::uint8_t NameCode(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c);
    if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(c - 7);
    const std::size_t at = kNameSymbols.find(c);
    if (c == '\0' || at == std::string_view::npos) return 0;
    return static_cast<std::uint8_t>(0x54 + at);
}

char NameCodeChar(std::uint8_t code) {
    if (code >= 0x30 && code <= 0x39) return static_cast<char>(code);
    if (code >= 0x3A && code <= 0x53) return static_cast<char>(code + 7);
    if (code >= 0x54 && code < 0x54 + kNameSymbols.size()) return kNameSymbols[code - 0x54];
    return '\0';
}

bool IsNameChar(char c) { return NameCode(c) != 0; }

std::string ListItemOrFirst(const std::vector<std::string>& list, long long index) {
    if (list.empty()) return {};
    if (index < 0 || index >= static_cast<long long>(list.size())) return list.front();
    return list[static_cast<std::size_t>(index)];
}

std::string ListItemMatchOrFirst(const std::vector<std::string>& list, const std::string& text) {
    if (list.empty()) return {};
    return ListContains(text, list) ? text : list.front();
}

std::string ListItemOrFallback(long long index, const std::vector<std::string>& list,
                               long long fallbackIndex) {
    const auto size = static_cast<long long>(list.size());
    if (index >= 0 && index < size) return list[static_cast<std::size_t>(index)];
    if (fallbackIndex >= 0 && fallbackIndex < size)
        return list[static_cast<std::size_t>(fallbackIndex)];
    return {};
}

bool ListContains(const std::string& text, const std::vector<std::string>& list) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

int ListIndexOf(const std::vector<std::string>& list, const std::string& text) {
    const auto it = std::find(list.begin(), list.end(), text);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

}  // namespace qx
