// Rounding a frequency text to a channel step, as the grid editors and the
// image decoder do. The result has five decimals and "." in every locale.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// Nearest point of the step grid below 1 MHz (ties go up); for "8.33" the
// 8.33 kHz grid point at or below (0, 833, 1666, 2500, ... in 10 Hz units).
// "---", "" and any non-numeric text give "0.00000". An unusable step
// (empty, non-numeric, not positive) rounds to 5 kHz.
std::string AdjustRxFreqByStep(std::string_view frequency, std::string_view step);

}  // namespace qx
