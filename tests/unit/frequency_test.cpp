#include "codeplug/step_rounding.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

struct RoundCase {
    const char* frequency;
    const char* step;
    const char* expected;
};

class Rounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(Rounding, ToTheStepGrid) {
    const auto& c = GetParam();
    EXPECT_EQ(AdjustRxFreqByStep(c.frequency, c.step), c.expected)
        << c.frequency << " at " << c.step << " kHz";
}

INSTANTIATE_TEST_SUITE_P(
    Steps, Rounding,
    ::testing::Values(
        // nearest point, ties go up
        RoundCase{"145.0130", "12.5", "145.01250"}, RoundCase{"145.00625", "12.5", "145.01250"},
        RoundCase{"145.00624", "12.5", "145.00000"}, RoundCase{"145", "12.5", "145.00000"},
        RoundCase{"145.0074", "5", "145.00500"}, RoundCase{"145.0076", "5", "145.01000"},
        RoundCase{"145.0025", "5", "145.00500"}, RoundCase{"145.003125", "6.25", "145.00625"},
        RoundCase{"145.01", "6.25", "145.01250"}, RoundCase{"433.123", "50", "433.10000"},
        RoundCase{"27.0000", "10", "27.00000"},
        // carry into the next MHz
        RoundCase{"145.99999", "12.5", "146.00000"}, RoundCase{"145.9990", "5", "146.00000"},
        // 8.33 kHz: the grid point at or below, never upward
        RoundCase{"118.0100", "8.33", "118.00833"}, RoundCase{"118.0166", "8.33", "118.00833"},
        RoundCase{"118.01666", "8.33", "118.01666"}, RoundCase{"118.0250", "8.33", "118.02500"},
        RoundCase{"118.0249", "8.33", "118.01666"}, RoundCase{"118.0334", "8.33", "118.03333"},
        RoundCase{"118.9999", "8.33", "118.99166"}, RoundCase{"118", "8.33", "118.00000"},
        // placeholders and junk give zero
        RoundCase{"---", "12.5", "0.00000"}, RoundCase{"", "5", "0.00000"},
        RoundCase{"abc", "5", "0.00000"},
        // an unusable step falls back to 5 kHz instead of looping forever
        RoundCase{"145.0074", "", "145.00500"}, RoundCase{"145.0074", "0", "145.00500"},
        RoundCase{"145.0074", "def", "145.00500"}));

}  // namespace
}  // namespace qx
