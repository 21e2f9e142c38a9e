// Locale-independent number texts. Every number the program reads or writes
// goes through here, so a comma-decimal user locale never changes a frequency.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// A decimal number held exactly as an integer count of 10^-kDecimalPlaces units.
struct ScaledDecimal {
    static constexpr int kDecimalPlaces = 12;
    static constexpr std::int64_t kScale = 1'000'000'000'000;
    std::int64_t units = 0;  // value * kScale, truncated beyond 12 decimals

    std::int64_t IntegerPart() const { return units / kScale; }    // toward zero
    std::int64_t FractionUnits() const { return units % kScale; }  // same sign as value
    double ToDouble() const { return static_cast<double>(units) / static_cast<double>(kScale); }
    friend auto operator<=>(const ScaledDecimal&, const ScaledDecimal&) = default;
};

// Plain decimal text: optional blanks around, optional sign, digits with at most
// one ".", at least one digit. No exponents, no grouping, no ",".
bool IsNumeric(std::string_view text);

// The exact value of a numeric text; nullopt when not numeric or beyond ±9 000 000.
std::optional<ScaledDecimal> ParseDecimal(std::string_view text);

// Whole decimal number (optional blanks and sign); nullopt otherwise or on overflow.
std::optional<long long> ParseInteger(std::string_view text);

// "12.5" -> 12.5 for step texts and the like; nullopt when not numeric.
std::optional<double> ParseDouble(std::string_view text);

// Formats a value that is a count of 10^-decimals units, e.g. (14501250, 5) -> "145.01250".
std::string FormatScaled(std::int64_t units, int decimals);

}  // namespace qx
