// The signalling record: DTMF memories, the 2-tone and 5-tone settings and
// their code tables, as the codeplug holds them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qx {

struct TwoToneCode {
    std::uint8_t tone1High = 0;
    std::uint8_t tone1Low = 0;
    std::uint8_t tone2High = 0;
    std::uint8_t tone2Low = 0;
    std::uint8_t tone1Tenths = 0;
    std::uint8_t tone2Tenths = 0;
    friend bool operator==(const TwoToneCode&, const TwoToneCode&) = default;
};

// The six bytes of a 2-tone code in record order, as the image and the
// companion file both store them; const or not as the code is.
inline auto TwoToneCodeBytes(auto& code) {
    return std::array{&code.tone1High, &code.tone1Low,    &code.tone2High,
                      &code.tone2Low,  &code.tone1Tenths, &code.tone2Tenths};
}

struct TwoToneSettings {
    std::uint8_t pairIndex = 0;
    std::uint8_t tone1High = 3;
    std::uint8_t tone1Low = 153;
    std::uint8_t tone2High = 3;
    std::uint8_t tone2Low = 153;
    std::uint8_t tone1Tenths = 6;
    std::uint8_t tone2Tenths = 6;
    std::uint8_t responseMode = 0;
    std::uint8_t time1 = 5;
    std::uint8_t time2 = 5;
    std::uint8_t time3 = 10;
    std::uint8_t time4 = 10;
    std::array<TwoToneCode, 100> codes{};
    friend bool operator==(const TwoToneSettings&, const TwoToneSettings&) = default;
};

struct FiveToneCode {
    static constexpr std::size_t kCodeWidth = 22;
    std::uint8_t reserved = 0;
    std::uint8_t standardIndex = 0;
    std::uint8_t length = 0;
    std::uint8_t toneTime = 7;
    std::string code;  // at most kCodeWidth characters
    friend bool operator==(const FiveToneCode&, const FiveToneCode&) = default;
};

struct FiveToneSettings {
    static constexpr std::size_t kSelfIdWidth = 5;
    std::uint8_t reserved = 0;
    std::uint8_t responseMode = 0;
    std::uint8_t standardIndex = 0;
    std::uint8_t selfIdLength = 5;
    std::uint8_t toneTime = 7;
    std::string selfId = "12345";  // at most kSelfIdWidth characters
    std::uint8_t delayIndex = 100;
    FiveToneCode pttIdBegin;
    FiveToneCode pttIdEnd;
    std::array<FiveToneCode, 100> codes{};
    friend bool operator==(const FiveToneSettings&, const FiveToneSettings&) = default;
};

struct SignallingSettings {
    std::array<std::int16_t, 8> dtmfMemories{};
    std::array<std::uint8_t, 4> reserved{};
    TwoToneSettings twoTone;
    FiveToneSettings fiveTone;
    friend bool operator==(const SignallingSettings&, const SignallingSettings&) = default;
};

}  // namespace qx
