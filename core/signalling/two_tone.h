// 2-tone frequencies and the divisors the radio stores for them: conversion
// both ways in exact integer arithmetic, and the limits of a tone text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

inline constexpr int kMinToneHz = 280;
inline constexpr int kMaxToneHz = 3106;
inline constexpr int kDefaultToneHz = 2000;

// A divisor of the 3.6864 MHz reference: high * 256 + low + tenths / 10.
// High and low both 0 means no tone.
struct ToneDivisor {
    std::uint8_t high = 0;
    std::uint8_t low = 0;
    std::uint8_t tenths = 0;

    bool IsNoTone() const { return high == 0 && low == 0; }
    friend bool operator==(const ToneDivisor&, const ToneDivisor&) = default;
};

// The own pair counts half periods (D = 3686400 / (2 f)); a code-table entry
// counts whole periods (D = 3686400 / f).
enum class ToneUse { OwnPair, Code };

// The divisor of a frequency, truncated to tenths. The frequency is first
// limited to kMinToneHz..kMaxToneHz, the range the divisor bytes are made for.
ToneDivisor DivisorOfFrequency(int hz, ToneUse use);

// The frequency of a divisor rounded half up to whole Hz; 0 for no tone.
// The code grid shows this.
int FrequencyOfDivisor(ToneDivisor divisor, ToneUse use);

// The frequency of a divisor with its fraction dropped; 0 for no tone. As the
// divisor itself is truncated, this gives back every frequency in range that
// was stored, so the own pair's fields use it: rounding would show a stored
// 3089 Hz of the own pair as 3090 and OK would then store 3090.
int WholeHzOfDivisor(ToneDivisor divisor, ToneUse use);

// The whole number of Hz in a tone text limited to kMinToneHz..kMaxToneHz
// (fractions dropped, any number of digits accepted), or nullopt when the
// text is empty or not a number.
std::optional<int> ToneValue(std::string_view text);

// What a tone field holds after it is left: the limited number, or "2000"
// for an empty or non-numeric text.
std::string NormaliseToneText(std::string_view text);

}  // namespace qx
