#include "codeplug/frequency.h"

#include <ostream>

#include "codeplug/step_rounding.h"
#include "codeplug/value_lists.h"
#include "util/numbers.h"

namespace qx {
namespace {

constexpr std::int64_t kHzPerMhz = 1'000'000;
constexpr int kMaxMhzDigits = 7;

constexpr std::int64_t PowerOfTen(int n) {
    std::int64_t value = 1;
    for (int i = 0; i < n; ++i) value *= 10;
    return value;
}

// The fewest decimals that show `hz` exactly.
int DecimalsNeeded(std::int64_t hz) {
    int decimals = Frequency::kMaxDecimals;
    while (decimals > 0 && hz % PowerOfTen(Frequency::kMaxDecimals - decimals + 1) == 0) --decimals;
    return decimals;
}

}  // namespace

std::string StepText(Step step) { return StepList().at(static_cast<std::size_t>(step)); }

std::optional<Step> ParseStep(std::string_view text) {
    const int index = ListIndexOf(StepList(), std::string(text));
    if (index < 0) return std::nullopt;
    return static_cast<Step>(index);
}

std::optional<Step> StepAt(int index) {
    if (index < 0 || index >= kStepCount) return std::nullopt;
    return static_cast<Step>(index);
}

void PrintTo(Step step, std::ostream* os) { *os << StepText(step) << " kHz"; }

Frequency Frequency::FromHz(std::int64_t hz, int decimals) {
    if (hz < 0) hz = 0;
    if (decimals > kMaxDecimals) decimals = kMaxDecimals;
    const int needed = DecimalsNeeded(hz);
    return Frequency(hz, decimals < needed ? needed : decimals);
}

std::optional<Frequency> Frequency::Parse(std::string_view mhz) {
    const std::size_t dot = mhz.find('.');
    const std::string_view whole = mhz.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : mhz.substr(dot + 1);
    const auto digitsOnly = [](std::string_view s) {
        for (char c : s) {
            if (c < '0' || c > '9') return false;
        }
        return true;
    };
    if (whole.empty() || whole.size() > kMaxMhzDigits || !digitsOnly(whole)) return std::nullopt;
    if (dot != std::string_view::npos && (fraction.empty() || fraction.size() > kMaxDecimals))
        return std::nullopt;
    if (!digitsOnly(fraction)) return std::nullopt;
    std::int64_t hz = 0;
    for (char c : whole) hz = hz * 10 + (c - '0');
    std::int64_t fractionHz = 0;
    for (char c : fraction) fractionHz = fractionHz * 10 + (c - '0');
    const int decimals = static_cast<int>(fraction.size());
    hz = hz * kHzPerMhz + fractionHz * PowerOfTen(kMaxDecimals - decimals);
    return Frequency(hz, decimals);
}

std::string Frequency::ToString() const {
    return FormatScaled(hz_ / PowerOfTen(kMaxDecimals - decimals_), decimals_);
}

Frequency Frequency::RoundedTo(Step step) const {
    // The editors' rounding, exact on the text: one rule for both.
    return *Parse(AdjustRxFreqByStep(ToString(), StepText(step)));
}

Frequency operator+(Frequency f, Offset o) { return Frequency::FromHz(f.hz_ + o.hz, f.decimals_); }
Frequency operator-(Frequency f, Offset o) { return Frequency::FromHz(f.hz_ - o.hz, f.decimals_); }

void PrintTo(const Frequency& frequency, std::ostream* os) {
    *os << frequency.ToString() << " MHz";
}

void PrintTo(const Offset& offset, std::ostream* os) { *os << offset.hz << " Hz"; }

}  // namespace qx
