// 5-tone helpers shared by the 5-tone and special-call dialogs and the image
// codec: the thirteen standards, the repeat-digit encoding and the way the
// code grid shows a code.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "util/language_texts.h"

namespace qx {

// A 5-tone standard: its name, the tone of each digit 0-9, A-F as shown
// (an empty text for a digit without tone) and its default tone time in ms.
struct FiveToneStandard {
    const char* name;
    std::array<const char*, 16> digits;
    int defaultMs;
};

inline constexpr int kFiveToneStandardCount = 13;
const std::array<FiveToneStandard, kFiveToneStandardCount>& FiveToneStandards();
// The standard names in list order.
std::vector<std::string> FiveToneStandardNames();
// The tone-time list "30", "40", ... "100" (value v at index v / 10 - 3).
std::vector<std::string> ToneTimeList();
// A tone time in 10 ms units as the lists show it: "30".."100", else "70".
std::string ToneTimeText(int toneTime);

// Repeat-digit encoding: a digit equal to the one before it becomes "E"
// ("11" -> "1E", "111" -> "1E1"). The message part of an "E1" code (from
// the ninth character on) is left as it is.
std::string Make5ToneE(const std::string& text);
// Repeat-digit decoding of `count` characters from the 1-based `start`: an
// "E" stands for the character before it in `text`.
std::string Mid5ToneNoE(const std::string& text, int start, int count);

// The language texts the 5-tone displays use.
struct FiveToneTexts {
    std::string messageCall;     // 60073
    std::string emergencyCall;   // 60074
    std::string allCall;         // 60075
    std::string stun;            // 60069
    std::string revive;          // 60082
    std::string message;         // 60084
    std::string digitFrequency;  // 60085
    std::string toneTime;        // 60086
    std::string groupDigit;      // 60087
    std::string repeatDigit;     // 60088

    static FiveToneTexts From(const LanguageTexts& lang);
};

// The info box text for a standard, lines ended by CR LF. An unknown name
// gives only the name and the heading line.
std::string ShowStandardTable(const std::string& name, const FiveToneTexts& texts);

// What the code grid shows for a code: the special-call kind (empty for a
// plain code) and the code column.
struct FiveToneCodeView {
    std::string kind;
    std::string code;
};
FiveToneCodeView FiveToneCodeDisplay(const std::string& code, const FiveToneTexts& texts);

}  // namespace qx
