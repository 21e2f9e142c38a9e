#include "codeplug/step_rounding.h"

#include <cstdint>

#include "util/numbers.h"

namespace qx {
namespace {

// Units below: 10 Hz (1e-5 MHz), the resolution of a five-decimal frequency.
// `r` is kept exact as a ScaledDecimal fraction so ties are recognised exactly.
constexpr std::int64_t kPerTenHz = ScaledDecimal::kScale / 100000;  // scaled units per 10 Hz

std::int64_t StepInTenHz(std::string_view step) {
    const auto kilohertz = ParseDecimal(step);
    // step kHz * 100 = step in 10 Hz units; keep it exact for "6.25" and "12.5".
    if (!kilohertz || kilohertz->units <= 0) return 500;
    const std::int64_t tenHz = kilohertz->units / (ScaledDecimal::kScale / 100);
    return tenHz > 0 ? tenHz : 500;
}

}  // namespace

std::string AdjustRxFreqByStep(std::string_view frequency, std::string_view step) {
    const auto value = ParseDecimal(frequency);
    if (!value) return "0.00000";
    const std::int64_t whole = value->IntegerPart();
    const std::int64_t r = value->FractionUnits();  // below 1 MHz, in scaled units
    std::int64_t a = 0;
    if (r > 0) {
        if (step == "8.33") {
            // The 8.33 kHz grid: steps of 833, with one unit added so that every
            // third point lands on a multiple of 25 kHz. Never rounds upward.
            std::int64_t p = 0;
            for (;;) {
                p = a;
                a += 833;
                if ((a + 1) % 250 == 0) a += 1;
                if (a * kPerTenHz > r) {
                    a = p;
                    break;
                }
            }
        } else {
            const std::int64_t s = StepInTenHz(step) * kPerTenHz;
            const std::int64_t below = (r / s) * s;
            const std::int64_t above = below + s;
            a = ((above - r) > (r - below) ? below : above) / kPerTenHz;
        }
    }
    return FormatScaled(whole * 100000 + a, 5);
}

}  // namespace qx
