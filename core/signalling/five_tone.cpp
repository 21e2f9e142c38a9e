#include "signalling/five_tone.h"

#include "app/list_control.h"
#include "util/text.h"

namespace qx {

const std::array<FiveToneStandard, kFiveToneStandardCount>& FiveToneStandards() {
    // The tones are texts and are shown as they stand.
    static constexpr std::array<FiveToneStandard, kFiveToneStandardCount> kStandards = {{
        {"ZVEI1",
         {"2400", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "2200", "2800",
          "810", "970", "885", "2600", "680"},
         70},
        {"ZVEI2",
         {"2400", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "2200", "885",
          "810", "740", "680", "970", "2600"},
         70},
        {"ZVEI3",
         {"2200", "970", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "885", "",
          "", "", "2400", ""},
         70},
        {"PZVEI",
         {"2400", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "2200", "970",
          "810", "2800", "885", "2600", "680"},
         70},
        {"DZVEI",
         {"2200", "970", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "825/885",
          "740", "2600", "885", "2400", "680"},
         70},
        {"PDZVEI",
         {"2200", "970", "1060", "1160", "1270", "1400", "1530", "1670", "1830", "2000", "825",
          "886", "2600", "856", "2400", ""},
         70},
        {"CCIR1",
         {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "2400",
          "930", "2247", "991", "2110", "1055"},
         100},
        {"CCIR2",
         {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "2400",
          "930", "2247", "991", "2110", "1055"},
         70},
        {"PCCIR",
         {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "1050",
          "930", "2400", "991", "2110", ""},
         100},
        {"EEA",
         {"1981", "1124", "1197", "1275", "1358", "1446", "1540", "1640", "1747", "1860", "1055",
          "930", "2400", "991", "2110", "2247"},
         40},
        {"EURO SIGNAL",
         {"979.8", "903.1", "832.5", "767.4", "707.4", "652.0", "601.0", "554.0", "510.7", "470.8",
          "", "", "", "", "1062.9", ""},
         100},
        {"NATEL",
         {"1633", "631", "697", "770", "852", "941", "1040", "1209", "1336", "1477", "1995", "571",
          "2205", "2437", "1805", "2694"},
         70},
        {"MODAT",
         {"637.5", "787.5", "937.5", "1087.5", "1237.5", "1387.5", "1537.5", "1687.5", "1837.5",
          "1987.5", "", "", "", "", "487.5", ""},
         40},
    }};
    return kStandards;
}

std::vector<std::string> FiveToneStandardNames() {
    std::vector<std::string> names;
    for (const FiveToneStandard& standard : FiveToneStandards()) names.emplace_back(standard.name);
    return names;
}

std::vector<std::string> ToneTimeList() { return NumberList(30, 100, 10); }

std::string ToneTimeText(int toneTime) {
    return toneTime >= 3 && toneTime <= 10 ? std::to_string(toneTime * 10) : "70";
}

std::string Make5ToneE(const std::string& text) {
    if (text.empty()) return {};
    const bool messageCall = text.starts_with("E1");
    std::string result(1, text[0]);
    for (std::size_t i = 1; i < text.size(); ++i) {
        // i is 0-based: the message of an "E1" code starts at the ninth character.
        if (messageCall && i >= 8) {
            result += text[i];
        } else {
            result += text[i] == result.back() ? 'E' : text[i];
        }
    }
    return result;
}

std::string Mid5ToneNoE(const std::string& text, int start, int count) {
    std::string result;
    for (int k = 0; k < count; ++k) {
        const long long position = static_cast<long long>(start) + k;  // 1-based
        if (position < 1 || position > static_cast<long long>(text.size())) continue;
        const std::size_t index = static_cast<std::size_t>(position - 1);
        // A leading "E" has nothing to repeat and stays as it is.
        result += text[index] == 'E' && index > 0 ? text[index - 1] : text[index];
    }
    return result;
}

FiveToneTexts FiveToneTexts::From(const LanguageTexts& lang) {
    FiveToneTexts texts;
    texts.messageCall = lang.LanguageText("OPTION", "60073");
    texts.emergencyCall = lang.LanguageText("OPTION", "60074");
    texts.allCall = lang.LanguageText("OPTION", "60075");
    texts.stun = lang.LanguageText("OPTION", "60069");
    texts.revive = lang.LanguageText("OPTION", "60082");
    texts.message = lang.LanguageText("OPTION", "60084");
    texts.digitFrequency = lang.LanguageText("OPTION", "60085");
    texts.toneTime = lang.LanguageText("OPTION", "60086");
    texts.groupDigit = lang.LanguageText("OPTION", "60087");
    texts.repeatDigit = lang.LanguageText("OPTION", "60088");
    return texts;
}

std::string ShowStandardTable(const std::string& name, const FiveToneTexts& texts) {
    std::string table = name + "\r\n" + Trim(texts.digitFrequency) + "(Hz)\r\n";
    for (const FiveToneStandard& standard : FiveToneStandards()) {
        if (name != standard.name) continue;
        constexpr const char* kDigits = "0123456789ABCDEF";
        for (std::size_t digit = 0; digit < standard.digits.size(); ++digit) {
            table += std::string(1, kDigits[digit]) + " " + standard.digits[digit] + "\r\n";
        }
        table += texts.toneTime + "(ms) " + std::to_string(standard.defaultMs) + "\r\n";
        table += texts.groupDigit + " A\r\n";
        table += texts.repeatDigit + " E\r\n";
        break;
    }
    return table;
}

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The message of an "E1" code: one character per hex pair from the ninth
// character on. A pair that is no printable character shows as "?".
std::string MessageOf(const std::string& code) {
    std::string message;
    for (std::size_t i = 8; i + 1 < code.size(); i += 2) {
        const int high = HexValue(code[i]);
        const int low = HexValue(code[i + 1]);
        const int value = high < 0 || low < 0 ? -1 : high * 16 + low;
        message += value >= 0x20 && value < 0x7F ? static_cast<char>(value) : '?';
    }
    return message;
}

}  // namespace

FiveToneCodeView FiveToneCodeDisplay(const std::string& stored, const FiveToneTexts& texts) {
    const std::string code = Trim(stored);
    if (code.size() > 1) {
        const std::string start = code.substr(0, 2);
        const std::string id = Mid5ToneNoE(code, 3, 5);
        if (start == "E1" && code.size() >= 8) {
            return {texts.messageCall, id + "        " + texts.message + MessageOf(code)};
        }
        if (code.size() >= 7) {
            if (start == "E2") return {texts.emergencyCall, ""};
            if (start == "E0" && (code.starts_with("E0AAAAA") || code.starts_with("E0AEAEA"))) {
                return {texts.allCall, ""};
            }
            if (start == "E3") return {"ANI", id};
            if (start == "E4") return {texts.stun, id};
            if (start == "E5") return {texts.revive, id};
        }
    }
    return {"", code};
}

}  // namespace qx
