#include "image/hex.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace qx {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(HexHelpers, NumbersAndHexText) {
    for (const auto& [value, hex] : std::vector<std::pair<int, std::string>>{
             {10, "0A"}, {255, "FF"}, {0, "00"}, {256, "10"}}) {
        EXPECT_EQ(ByteToHex2(value), hex) << value;
    }
    for (const auto& [value, hex] : std::vector<std::pair<std::int16_t, std::string>>{
             {100, "0064"}, {4080, "0FF0"}, {-1, "FFFF"}, {-32768, "8000"}}) {
        EXPECT_EQ(WordToHex4(value), hex) << value;
    }
    // Only uppercase digits count as pairs; anything else is 0.
    for (const auto& [pair, byte] : std::vector<std::pair<std::string, int>>{
             {"3A", 58}, {"a1", 1}, {"FF", 255}, {"G7", 7}, {std::string(2, '\0'), 0}}) {
        EXPECT_EQ(HexPairToByte(pair[0], pair[1]), byte) << pair;
    }
    for (const auto& [c, value] :
         std::vector<std::pair<char, int>>{{'7', 7}, {'b', 11}, {'B', 11}, {'g', -1}, {':', -1}}) {
        EXPECT_EQ(HexDigitValue(c), value) << c;
    }
    EXPECT_EQ(NibbleBits(11), (std::array<int, 4>{1, 0, 1, 1}));
    EXPECT_EQ(NibbleBits(8), (std::array<int, 4>{1, 0, 0, 0}));
    EXPECT_EQ(NibbleBits(-1), (std::array<int, 4>{0, 0, 0, 0}));
    for (const auto& [line, address] : std::vector<std::pair<int, std::string>>{
             {0, "0000"}, {5, "0050"}, {31, "01F0"}, {32, "0200"}, {511, "1FF0"}}) {
        EXPECT_EQ(LineAddress(line), address) << line;
    }
}

TEST(HexHelpers, FindAndCountPatterns) {
    const auto ack = Bytes("\r\nOK\r\n");
    const std::string echo = "AL~F0100W" + std::string(32, 'A') + "\r\n";  // 43 bytes
    EXPECT_EQ(FindPattern(Bytes(echo + "\r\nOK\r\n"), ack), 43);
    EXPECT_EQ(FindPattern(Bytes(echo + "\r\nOK\r"), ack), -1);  // cut one byte short
    EXPECT_EQ(FindPattern(Bytes("\r\nOK\r\n"), ack), 0);
    EXPECT_EQ(FindPattern(Bytes("OK"), ack), -1);
    EXPECT_EQ(FindPattern({}, ack), -1);

    EXPECT_EQ(CountPattern(Bytes("ERRORxERROR"), Bytes("ERROR")), 2);
    EXPECT_EQ(CountPattern(Bytes("AAAA"), Bytes("AA")), 3);  // overlapping
    EXPECT_EQ(CountPattern(Bytes("ERRO"), Bytes("ERROR")), 0);
}

TEST(HexHelpers, TextsAndLatin1Bytes) {
    EXPECT_EQ(TrimAtNul(std::string("  ABC\0x", 7)), "ABC");
    EXPECT_EQ(TrimAtNul(std::string("\0ABC", 4)), "");
    EXPECT_EQ(TrimAtNul(" pass word "), "pass word");

    const auto ascii = TextToFixedBytes("AB", 16);
    EXPECT_EQ(std::vector<std::uint8_t>(ascii.begin(), ascii.begin() + 3),
              (std::vector<std::uint8_t>{'A', 'B', 0}));
    EXPECT_EQ(ascii[15], 0);
    const auto accented = TextToFixedBytes("\xC3\xA9\xE2\x82\xAC", 16);  // é, then the euro sign
    EXPECT_EQ(std::vector<std::uint8_t>(accented.begin(), accented.begin() + 3),
              (std::vector<std::uint8_t>{0xE9, '?', 0}));
    EXPECT_EQ(TextToFixedBytes("0123456789ABCDEFGHIJ", 16)[15], 'F');
    EXPECT_EQ(TextToFixedBytes("ABCDEF", 3)[3], 0);
    EXPECT_EQ(Latin1ToUtf8("\xE9t\xE9"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(Utf8ToLatin1("\xC3"), "?");  // a broken sequence
}

TEST(HexLine, NeverReadsPastTheBuffer) {
    const auto buffer = Bytes("xx3Aa1Z");
    const HexLine line(buffer, 2);
    EXPECT_EQ(line.Char(0), '3');
    EXPECT_EQ(line.Byte(0), 0x3A);
    EXPECT_EQ(line.Byte(1), 0x01);  // lowercase counts as 0
    EXPECT_EQ(line.Nibble(2), 10);  // but as a digit it is 10
    EXPECT_EQ(line.Nibble(4), -1);
    EXPECT_EQ(line.Char(5), '\0');
    EXPECT_EQ(line.Byte(15), 0);
    EXPECT_EQ(line.Nibble(31), -1);
    EXPECT_EQ(line.Char(-1), '\0');
    EXPECT_EQ(HexLine(buffer, 100).Char(0), '\0');
    EXPECT_EQ(HexLine(buffer, 100).Byte(3), 0);
    EXPECT_EQ(HexLine({}, 0).Byte(0), 0);
}

}  // namespace
}  // namespace qx
