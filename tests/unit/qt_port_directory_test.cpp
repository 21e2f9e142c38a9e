// Port names in the order a user expects: numbers by value.
#include "qt_port_directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(QtPortDirectory, SortsPortNamesNaturallyAndOnce) {
    using Names = std::vector<std::string>;
    struct Case {
        Names in, out;
    };
    const std::vector<Case> cases = {
        {{"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS1"}, {"/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10"}},
        {{"COM10", "COM9", "COM1", "COM100"}, {"COM1", "COM9", "COM10", "COM100"}},
        {{"/dev/ttyUSB0", "/dev/ttyACM1", "/dev/ttyS0", "/dev/ttyACM0"},
         {"/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyS0", "/dev/ttyUSB0"}},
        {{"/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyUSB1"}, {"/dev/ttyUSB0", "/dev/ttyUSB1"}},
        {{"COM2", "COM02", "COM1"}, {"COM1", "COM02", "COM2"}},
        {{"x1y10", "x1y9", "x01y9"}, {"x01y9", "x1y9", "x1y10"}},
        {{"COM1", "COM"}, {"COM", "COM1"}},
        {{}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(qx::SortedPortNames(c.in), c.out);
}

TEST(QtPortDirectory, NaturalLessIsAStrictOrder) {
    const std::vector<std::string> names = {"",   "a",   "a0", "a00", "a1", "a01",
                                            "a2", "a10", "b",  "/",   ":"};
    // Irreflexive, total on distinct names, transitive.
    for (const auto& x : names) {
        EXPECT_FALSE(qx::NaturalLess(x, x)) << x;
        for (const auto& y : names) {
            const bool xy = qx::NaturalLess(x, y);
            EXPECT_TRUE(x == y || xy != qx::NaturalLess(y, x)) << x << " " << y;
            for (const auto& z : names) {
                const bool xz = qx::NaturalLess(x, z);
                EXPECT_TRUE(!xy || !qx::NaturalLess(y, z) || xz) << x << " " << y << " " << z;
            }
        }
    }
}

}  // namespace
