// Frequencies as whole hertz, with the MHz text form the project file and the
// grid use, and the channel steps they are rounded to.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// A channel step; the value is its position in the step list, which is what
// the memory image stores.
enum class Step : std::uint8_t { k5, k6_25, k8_33, k10, k12_5, k15, k20, k25, k30, k50 };
inline constexpr int kStepCount = 10;

// "5", "6.25", "8.33", "10", "12.5", ... as the step list shows them.
std::string StepText(Step step);
// The step a list text names; nullopt for any other text.
std::optional<Step> ParseStep(std::string_view text);
// The step at a list position; nullopt outside 0..9.
std::optional<Step> StepAt(int index);
inline int StepIndex(Step step) { return static_cast<int>(step); }
void PrintTo(Step step, std::ostream* os);

// The difference of two frequencies, in hertz.
struct Offset {
    std::int64_t hz = 0;
    friend auto operator<=>(const Offset&, const Offset&) = default;
};

// A frequency of zero or more hertz, and how many decimals its MHz text has.
// The decimals are part of the value because the project file keeps them:
// "145.0000" from a default or a radio, "145.01250" from a typed entry.
class Frequency {
  public:
    static constexpr int kMaxDecimals = 6;  // whole hertz

    constexpr Frequency() = default;
    // `decimals` is limited to what `hz` needs and kMaxDecimals.
    static Frequency FromHz(std::int64_t hz, int decimals = 5);
    // An MHz text of digits with an optional "." and at most six decimals
    // ("145", "145.0125", "145.01250"); nullopt for anything else.
    static std::optional<Frequency> Parse(std::string_view mhz);

    std::int64_t Hz() const { return hz_; }
    int Decimals() const { return decimals_; }
    // The MHz text with its decimals, "." whatever the locale.
    std::string ToString() const;

    // Put on the grid of `step`: the nearest grid point below 1 MHz (ties go
    // up), for 8.33 kHz the grid point at or below. Five decimals.
    Frequency RoundedTo(Step step) const;

    friend Frequency operator+(Frequency f, Offset o);
    friend Frequency operator-(Frequency f, Offset o);
    friend Offset operator-(Frequency a, Frequency b) { return Offset{a.hz_ - b.hz_}; }
    friend bool operator==(const Frequency&, const Frequency&) = default;

  private:
    constexpr Frequency(std::int64_t hz, int decimals) : hz_(hz), decimals_(decimals) {}
    std::int64_t hz_ = 0;
    int decimals_ = 4;
};

void PrintTo(const Frequency& frequency, std::ostream* os);
void PrintTo(const Offset& offset, std::ostream* os);

}  // namespace qx
