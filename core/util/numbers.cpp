#include "util/numbers.h"

#include <charconv>

#include "util/text.h"

namespace qx {
namespace {

constexpr std::int64_t kMaxIntegerPart = 9'000'000;

struct DecimalParts {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
};

std::optional<DecimalParts> SplitDecimal(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    text = text.substr(b, e - b);
    DecimalParts parts;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        parts.negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const std::size_t dot = text.find('.');
    parts.integerDigits = text.substr(0, dot);
    if (dot != std::string_view::npos) parts.fractionDigits = text.substr(dot + 1);
    auto allDigits = [](std::string_view s) {
        for (char c : s) {
            if (c < '0' || c > '9') return false;
        }
        return true;
    };
    if (parts.integerDigits.empty() && parts.fractionDigits.empty()) return std::nullopt;
    if (!allDigits(parts.integerDigits) || !allDigits(parts.fractionDigits)) return std::nullopt;
    return parts;
}

}  // namespace

bool IsNumeric(std::string_view text) { return SplitDecimal(text).has_value(); }

std::optional<ScaledDecimal> ParseDecimal(std::string_view text) {
    const auto parts = SplitDecimal(text);
    if (!parts) return std::nullopt;
    std::int64_t integer = 0;
    for (char c : parts->integerDigits) {
        integer = integer * 10 + (c - '0');
        if (integer > kMaxIntegerPart) return std::nullopt;
    }
    std::int64_t fraction = 0;
    std::int64_t weight = ScaledDecimal::kScale;
    for (char c : parts->fractionDigits) {
        weight /= 10;
        if (weight == 0) break;  // digits past the twelfth decimal are dropped
        fraction += (c - '0') * weight;
    }
    std::int64_t units = integer * ScaledDecimal::kScale + fraction;
    return ScaledDecimal{parts->negative ? -units : units};
}

std::optional<long long> ParseInteger(std::string_view text) {
    const std::string trimmed = Trim(text);
    std::string_view digits = trimmed;
    if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
    if (digits.empty()) return std::nullopt;
    long long value = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || ptr != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::optional<double> ParseDouble(std::string_view text) {
    const auto value = ParseDecimal(text);
    if (!value) return std::nullopt;
    return value->ToDouble();
}

std::string FormatScaled(std::int64_t units, int decimals) {
    std::int64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const bool negative = units < 0;
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
    std::string out = negative ? "-" : "";
    out += std::to_string(magnitude / static_cast<std::uint64_t>(scale));
    if (decimals > 0) {
        std::string fraction = std::to_string(magnitude % static_cast<std::uint64_t>(scale));
        out += '.';
        out.append(static_cast<std::size_t>(decimals) - fraction.size(), '0');
        out += fraction;
    }
    return out;
}

}  // namespace qx
