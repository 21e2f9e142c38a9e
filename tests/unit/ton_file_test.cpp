#include "files/ton_file.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace qx {
namespace {

using test::DataFile;
using test::ReadBytes;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// The golden record holds, at hand-computed offsets: DTMF memories 1 = 0x1234
// and 8 = -2, reserved 1 2 3 4, 2-tone pairIndex 9, responseMode 1, time4 42,
// 2-tone codes 1 and 100, 5-tone responseMode 2, standard 5, self ID "987"
// (length 3), toneTime 9, delay 50, a PTT begin code "1E3" and the 5-tone
// codes 1 ("12E45") and 100 (all 22 characters). Everything else is default.
TEST(TonRecord, GoldenRecordDecodesToItsFieldsAndEncodesBackByteForByte) {
    const std::vector<std::uint8_t> golden = Bytes(ReadBytes(DataFile("signalling.ton")));
    ASSERT_EQ(golden.size(), kTonRecordSize);
    const auto decoded = DecodeTonRecord(golden);
    ASSERT_TRUE(decoded.has_value());

    SignallingSettings expected;
    expected.dtmfMemories[0] = 0x1234;
    expected.dtmfMemories[7] = -2;
    expected.reserved = {1, 2, 3, 4};
    expected.twoTone.pairIndex = 9;
    expected.twoTone.responseMode = 1;
    expected.twoTone.time4 = 42;
    expected.twoTone.codes[0] = {1, 2, 3, 4, 5, 6};
    expected.twoTone.codes[99] = {10, 11, 12, 13, 14, 15};
    FiveToneSettings& five = expected.fiveTone;
    five = {0, 2, 5, 3, 9, "987", 50, {0, 1, 3, 7, "1E3"}, {}, {}};
    five.codes[0] = {0, 4, 5, 8, "12E45"};
    five.codes[99] = {0, 0, 22, 7, "1234567890ABCDEF123456"};

    EXPECT_EQ(*decoded, expected);
    EXPECT_EQ(EncodeTonRecord(expected), golden);

    // Only a whole record decodes; what follows it is ignored.
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, kTonRecordSize - 1}) {
        EXPECT_FALSE(DecodeTonRecord(std::span(golden).first(size)).has_value()) << size;
    }
    std::vector<std::uint8_t> longer = golden;
    longer.insert(longer.end(), 40, 0xAA);
    EXPECT_EQ(DecodeTonRecord(longer), decoded);
}

TEST(TonRecord, EveryFieldSurvivesARoundTrip) {
    SignallingSettings record;
    std::uint8_t next = 1;
    const auto value = [&next] { return next = static_cast<std::uint8_t>(next * 7 + 3); };
    for (std::size_t i = 0; i < 8; ++i) {
        record.dtmfMemories[i] = static_cast<std::int16_t>(-32768 + 9000 * static_cast<int>(i));
    }
    for (auto& byte : record.reserved) byte = value();
    TwoToneSettings& two = record.twoTone;
    two = {value(), value(), value(), value(), value(), value(), value(),
           value(), value(), value(), value(), value(), {}};
    for (TwoToneCode& c : two.codes) c = {value(), value(), value(), value(), value(), value()};
    FiveToneSettings& five = record.fiveTone;
    five = {value(), value(), value(), value(), value(), "0A9", value(), {}, {}, {}};
    five.pttIdBegin = {value(), value(), value(), value(), "E2123"};
    five.pttIdEnd = {value(), value(), value(), value(), "9"};
    for (std::size_t n = 0; n < five.codes.size(); ++n) {
        five.codes[n] = {value(), value(), value(), value(),
                         std::string("1234567890ABCDEF123456").substr(0, n % 23)};
    }
    const std::vector<std::uint8_t> bytes = EncodeTonRecord(record);
    ASSERT_EQ(bytes.size(), kTonRecordSize);
    EXPECT_EQ(DecodeTonRecord(bytes), record);
}

TEST(TonRecord, TextsAreCutToTheirFieldsWithoutTouchingTheNextField) {
    SignallingSettings record;
    record.fiveTone.selfId = "1234567";
    record.fiveTone.delayIndex = 77;
    record.fiveTone.codes[0].code = std::string(30, '9');
    record.fiveTone.codes[1].toneTime = 5;
    const std::vector<std::uint8_t> bytes = EncodeTonRecord(record);
    EXPECT_EQ(bytes[642], 77);
    EXPECT_EQ(bytes[695 + 26 + 3], 5);
    const auto decoded = DecodeTonRecord(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->fiveTone.selfId, "12345");
    EXPECT_EQ(decoded->fiveTone.codes[0].code, std::string(22, '9'));
}

TEST(TonRecord, CompanionNameDropsTheLastTwoCharactersAndAddsTon) {
    struct Case {
        const char* project;
        const char* companion;
    };
    for (const Case c : {Case{"radio1.qx", "radio1.ton"}, Case{"dir/radio1.qx", "dir/radio1.ton"},
                         Case{"data", "daton"}, Case{"/a/b/x.QX", "/a/b/x.ton"},
                         Case{"a.txt", "a.tton"}, Case{"z", "ton"}}) {
        EXPECT_EQ(CompanionPath(c.project), std::filesystem::path(c.companion)) << c.project;
    }
}

}  // namespace
}  // namespace qx
