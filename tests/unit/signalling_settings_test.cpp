#include "codeplug/signalling_settings.h"

#include <gtest/gtest.h>

#include "codeplug/value_lists.h"

namespace qx {
namespace {

TEST(SignallingSettings, DefaultsAreTheRadioDefaults) {
    const SignallingSettings s;
    for (const std::int16_t memory : s.dtmfMemories) EXPECT_EQ(memory, 0);
    for (const std::uint8_t byte : s.reserved) EXPECT_EQ(byte, 0);
    EXPECT_EQ(s.twoTone.pairIndex, 0);
    EXPECT_EQ(s.twoTone.responseMode, 0);
    EXPECT_EQ((std::array{s.twoTone.tone1High, s.twoTone.tone1Low, s.twoTone.tone1Tenths}),
              (std::array<std::uint8_t, 3>{3, 153, 6}));
    EXPECT_EQ((std::array{s.twoTone.tone2High, s.twoTone.tone2Low, s.twoTone.tone2Tenths}),
              (std::array<std::uint8_t, 3>{3, 153, 6}));
    EXPECT_EQ((std::array{s.twoTone.time1, s.twoTone.time2, s.twoTone.time3, s.twoTone.time4}),
              (std::array<std::uint8_t, 4>{5, 5, 10, 10}));
    for (const TwoToneCode& code : s.twoTone.codes) EXPECT_EQ(code, TwoToneCode{});
    EXPECT_EQ(s.fiveTone.selfId, "12345");
    EXPECT_EQ(s.fiveTone.selfIdLength, 5);
    EXPECT_EQ(s.fiveTone.toneTime, 7);
    EXPECT_EQ(s.fiveTone.delayIndex, 100);
    EXPECT_EQ(s.fiveTone.standardIndex, 0);
    const FiveToneCode empty{0, 0, 0, 7, ""};
    EXPECT_EQ(s.fiveTone.pttIdBegin, empty);
    EXPECT_EQ(s.fiveTone.pttIdEnd, empty);
    for (const FiveToneCode& code : s.fiveTone.codes) EXPECT_EQ(code, empty);
}

TEST(ListLookups, FallBackAsTheDialogsExpect) {
    const std::vector<std::string> list = {"a", "b", "c"};
    EXPECT_EQ(ListItemOrFirst(list, 1), "b");
    EXPECT_EQ(ListItemOrFirst(list, 7), "a");
    EXPECT_EQ(ListItemOrFirst(list, -1), "a");
    EXPECT_EQ(ListItemOrFirst({}, 0), "");
    EXPECT_EQ(ListItemMatchOrFirst(list, "c"), "c");
    EXPECT_EQ(ListItemMatchOrFirst(list, "C"), "a");
    EXPECT_EQ(ListItemMatchOrFirst({}, "c"), "");
    EXPECT_EQ(ListItemOrFallback(2, list, 0), "c");
    EXPECT_EQ(ListItemOrFallback(3, list, 1), "b");
    EXPECT_EQ(ListItemOrFallback(-4, list, 9), "");
    EXPECT_TRUE(ListContains("b", list));
    EXPECT_FALSE(ListContains("B", list));
}

}  // namespace
}  // namespace qx
