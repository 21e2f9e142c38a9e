#include "signalling/two_tone.h"

#include <algorithm>

#include "util/numbers.h"

namespace qx {
namespace {

// The reference clock in tenths of Hz, so that integer division yields the
// divisor in tenths.
constexpr long long kReferenceTenths = 36'864'000;

long long PeriodsPerTone(ToneUse use) { return use == ToneUse::OwnPair ? 2 : 1; }

}  // namespace

ToneDivisor DivisorOfFrequency(int hz, ToneUse use) {
    const long long f = std::clamp(hz, kMinToneHz, kMaxToneHz);
    const long long tenths = kReferenceTenths / (PeriodsPerTone(use) * f);
    const long long whole = tenths / 10;
    return ToneDivisor{static_cast<std::uint8_t>(whole / 256),
                       static_cast<std::uint8_t>(whole % 256),
                       static_cast<std::uint8_t>(tenths % 10)};
}

int FrequencyOfDivisor(ToneDivisor divisor, ToneUse use) {
    if (divisor.IsNoTone()) return 0;
    const long long tenths = (divisor.high * 256LL + divisor.low) * 10 + divisor.tenths;
    const long long denominator = PeriodsPerTone(use) * tenths;
    // Half up: floor(n / d + 1/2) = floor((2n + d) / 2d).
    return static_cast<int>((2 * kReferenceTenths + denominator) / (2 * denominator));
}

int WholeHzOfDivisor(ToneDivisor divisor, ToneUse use) {
    if (divisor.IsNoTone()) return 0;
    const long long tenths = (divisor.high * 256LL + divisor.low) * 10 + divisor.tenths;
    return static_cast<int>(kReferenceTenths / (PeriodsPerTone(use) * tenths));
}

std::optional<int> ToneValue(std::string_view text) {
    if (!IsNumeric(text)) return std::nullopt;
    const std::optional<ScaledDecimal> value = ParseDecimal(text);
    if (!value) {
        // Numeric but too long to parse: only its sign matters after limiting.
        return text.find('-') == std::string_view::npos ? kMaxToneHz : kMinToneHz;
    }
    const long long whole = value->IntegerPart();
    return static_cast<int>(std::clamp<long long>(whole, kMinToneHz, kMaxToneHz));
}

std::string NormaliseToneText(std::string_view text) {
    return std::to_string(ToneValue(text).value_or(kDefaultToneHz));
}

}  // namespace qx
