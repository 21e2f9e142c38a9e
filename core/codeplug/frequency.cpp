#include "codeplug/frequency.h"

#include <array>
#include <ostream>

#include "util/numbers.h"

namespace qx {
namespace {

constexpr std::array<const char*, kStepCount> kStepTexts = {"5",  "6.25", "8.33", "10", "12.5",
                                                            "15", "20",   "25",   "30", "50"};
// Step sizes in hertz; the 8.33 kHz step has a grid of its own.
constexpr std::array<std::int64_t, kStepCount> kStepHz = {5000,  6250,  8330,  10000, 12500,
                                                          15000, 20000, 25000, 30000, 50000};
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

// The 8.33 kHz grid below 1 MHz in 10 Hz units: steps of 833, with one unit
// added so that every third point lands on a multiple of 25 kHz. The point
// at or below `fractionHz`.
std::int64_t Grid833Below(std::int64_t fractionHz) {
    std::int64_t point = 0;
    for (std::int64_t next = 0;;) {
        point = next;
        next += 833;
        if ((next + 1) % 250 == 0) next += 1;
        if (next * 10 > fractionHz) return point * 10;
    }
}

}  // namespace

std::string StepText(Step step) { return kStepTexts.at(static_cast<std::size_t>(step)); }

std::optional<Step> ParseStep(std::string_view text) {
    for (int i = 0; i < kStepCount; ++i) {
        if (text == kStepTexts[static_cast<std::size_t>(i)]) return static_cast<Step>(i);
    }
    return std::nullopt;
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
    const std::int64_t whole = hz_ / kHzPerMhz * kHzPerMhz;
    const std::int64_t fraction = hz_ % kHzPerMhz;
    if (step == Step::k8_33) return Frequency(whole + Grid833Below(fraction), 5);
    const std::int64_t size = kStepHz.at(static_cast<std::size_t>(step));
    const std::int64_t below = fraction / size * size;
    const std::int64_t above = below + size;
    return Frequency(whole + (above - fraction > fraction - below ? below : above), 5);
}

Frequency operator+(Frequency f, Offset o) { return Frequency::FromHz(f.hz_ + o.hz, f.decimals_); }
Frequency operator-(Frequency f, Offset o) { return Frequency::FromHz(f.hz_ - o.hz, f.decimals_); }

void PrintTo(const Frequency& frequency, std::ostream* os) {
    *os << frequency.ToString() << " MHz";
}

void PrintTo(const Offset& offset, std::ostream* os) { *os << offset.hz << " Hz"; }

}  // namespace qx
