#include "image/hex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qx {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(HexHelpers, NumberToHexText) {
    struct Case {
        int value;
        const char* hex2;
    };
    for (const Case c : {Case{10, "0A"}, Case{255, "FF"}, Case{0, "00"}, Case{256, "10"}}) {
        EXPECT_EQ(ByteToHex2(c.value), c.hex2) << c.value;
    }
    struct WordCase {
        std::int16_t value;
        const char* hex4;
    };
    for (const WordCase c : {WordCase{100, "0064"}, WordCase{4080, "0FF0"}, WordCase{-1, "FFFF"},
                             WordCase{-32768, "8000"}}) {
        EXPECT_EQ(WordToHex4(c.value), c.hex4) << c.value;
    }
}

TEST(HexHelpers, HexTextToNumbers) {
    struct Case {
        char high;
        char low;
        int byte;
    };
    // Only uppercase digits count; anything else is 0.
    for (const Case c : {Case{'3', 'A', 58}, Case{'a', '1', 1}, Case{'F', 'F', 255},
                         Case{'G', '7', 7}, Case{'\0', '\0', 0}}) {
        EXPECT_EQ(HexPairToByte(c.high, c.low), c.byte) << c.high << c.low;
    }
    EXPECT_EQ(HexDigitValue('7'), 7);
    EXPECT_EQ(HexDigitValue('b'), 11);
    EXPECT_EQ(HexDigitValue('B'), 11);
    EXPECT_EQ(HexDigitValue('g'), -1);
    EXPECT_EQ(HexDigitValue(':'), -1);

    EXPECT_EQ(NibbleBits(11), (std::array<int, 4>{1, 0, 1, 1}));
    EXPECT_EQ(NibbleBits(8), (std::array<int, 4>{1, 0, 0, 0}));
    EXPECT_EQ(NibbleBits(-1), (std::array<int, 4>{0, 0, 0, 0}));
}

TEST(HexHelpers, LineAddresses) {
    struct Case {
        int line;
        const char* address;
    };
    for (const Case c : {Case{0, "0000"}, Case{5, "0050"}, Case{31, "01F0"}, Case{32, "0200"},
                         Case{511, "1FF0"}}) {
        EXPECT_EQ(LineAddress(c.line), c.address) << c.line;
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

TEST(HexHelpers, TrimAtNul) {
    EXPECT_EQ(TrimAtNul(std::string("  ABC\0x", 7)), "ABC");
    EXPECT_EQ(TrimAtNul(std::string("\0ABC", 4)), "");
    EXPECT_EQ(TrimAtNul(" pass word "), "pass word");
}

TEST(HexHelpers, TextToFixedBytesUsesLatin1) {
    const auto ascii = TextToFixedBytes("AB", 16);
    EXPECT_EQ(ascii[0], 'A');
    EXPECT_EQ(ascii[1], 'B');
    EXPECT_EQ(ascii[2], 0);
    EXPECT_EQ(ascii[15], 0);

    const auto accented = TextToFixedBytes("\xC3\xA9\xE2\x82\xAC", 16);  // é, then the euro sign
    EXPECT_EQ(accented[0], 0xE9);
    EXPECT_EQ(accented[1], '?');
    EXPECT_EQ(accented[2], 0);

    const auto cut = TextToFixedBytes("0123456789ABCDEFGHIJ", 16);
    EXPECT_EQ(cut[15], 'F');
    EXPECT_EQ(TextToFixedBytes("ABCDEF", 3)[3], 0);

    EXPECT_EQ(Latin1ToUtf8("\xE9t\xE9"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(Utf8ToLatin1("\xC3"), "?");  // a broken sequence
}

TEST(HexHelpers, LineBytesAsHex) {
    LineBytes line;
    line.bytes[0] = 0xA5;
    line.bytes[15] = 0x0C;
    EXPECT_EQ(line.ToHex(), "A500000000000000000000000000000C");
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

    const HexLine pastTheEnd(buffer, 100);
    EXPECT_EQ(pastTheEnd.Char(0), '\0');
    EXPECT_EQ(pastTheEnd.Byte(3), 0);
    const HexLine empty({}, 0);
    EXPECT_EQ(empty.Byte(0), 0);
}

}  // namespace
}  // namespace qx
