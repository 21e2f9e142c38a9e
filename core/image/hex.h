// Hex text helpers of the radio memory image: the conversions between the
// 32 hex characters of a line and its 16 bytes, line addresses, pattern
// search in replies, and a bounds-checked view over a received line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "util/byte_view.h"

namespace qx {

inline constexpr int kImageLines = 512;
inline constexpr std::size_t kLineBytes = 16;
inline constexpr std::size_t kLineHexChars = 2 * kLineBytes;
inline constexpr std::size_t kImageSize = kImageLines * kLineBytes;  // 8192

// 0..9 for '0'..'9', 10..15 for 'a'..'f' and 'A'..'F', -1 for any other character.
int HexDigitValue(char c);

// high * 16 + low, each digit counting 0..15 for '0'..'9' and 'A'..'F'
// (uppercase only) and 0 for anything else.
std::uint8_t HexPairToByte(char high, char low);

// Two uppercase hex digits; a longer form is cut to its first two digits.
std::string ByteToHex2(int value);

// Four uppercase hex digits of the 16-bit pattern (-1 gives "FFFF").
std::string WordToHex4(std::int16_t value);

// The four bits of a nibble, most significant first; all zero for a value
// outside 0..15 (a non-hex character in a received line).
std::array<int, 4> NibbleBits(int value);

// Blanks trimmed at both ends, then cut before the first NUL.
std::string TrimAtNul(std::string_view text);

// First offset at which `pattern` matches `buffer` byte for byte, or -1.
int FindPattern(std::span<const std::uint8_t> buffer, std::span<const std::uint8_t> pattern);
// How many offsets match, overlapping matches included.
int CountPattern(std::span<const std::uint8_t> buffer, std::span<const std::uint8_t> pattern);

// The wire address of a line: line * 16 as four uppercase hex digits ("0050" for line 5).
std::string LineAddress(int line);

// UTF-8 text as Latin-1 bytes: characters outside Latin-1 (and broken
// sequences) become '?'.
std::string Utf8ToLatin1(std::string_view text);
// Latin-1 bytes as UTF-8 text.
std::string Latin1ToUtf8(std::string_view bytes);

// The first `count` (at most 16) Latin-1 bytes of `text`, zero-filled.
std::array<std::uint8_t, kLineBytes> TextToFixedBytes(std::string_view text, std::size_t count);

// The 16 bytes of one image line.
struct LineBytes {
    std::array<std::uint8_t, kLineBytes> bytes{};

    ByteWriter Writer() { return ByteWriter(bytes); }
    // 32 uppercase hex characters, byte 0 first, high nibble first.
    std::string ToHex() const;
};

// The data characters of one received line, read from the receive buffer
// at `dataOffset`. Every access past the buffer reads as '\0', so whatever
// the radio sent, nothing outside the buffer is touched.
class HexLine {
  public:
    HexLine(std::span<const std::uint8_t> buffer, std::size_t dataOffset)
        : reader_(buffer), dataOffset_(dataOffset) {}

    // Data character i (0..31); '\0' outside the buffer.
    char Char(int i) const;
    // Byte b (0..15) by the HexPairToByte rules.
    std::uint8_t Byte(int b) const { return HexPairToByte(Char(2 * b), Char(2 * b + 1)); }
    // Data character i by the HexDigitValue rules.
    int Nibble(int i) const { return HexDigitValue(Char(i)); }

  private:
    ByteReader reader_;
    std::size_t dataOffset_;
};

}  // namespace qx
