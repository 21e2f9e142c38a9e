#include "image/hex.h"

#include <algorithm>

#include "util/text.h"

namespace qx {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The digit value HexPairToByte counts: uppercase only, 0 for anything else.
int UpperHexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

std::string HexOf(std::uint32_t value, std::size_t minDigits) {
    std::string digits;
    do {
        digits.insert(digits.begin(), kHexDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), '0');
    return digits;
}

bool MatchesAt(const ByteReader& buffer, std::size_t offset,
               std::span<const std::uint8_t> pattern) {
    if (!buffer.Has(offset, pattern.size())) return false;
    const auto window = buffer.Sub(offset, pattern.size());
    return std::equal(window.begin(), window.end(), pattern.begin());
}

}  // namespace

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::uint8_t HexPairToByte(char high, char low) {
    return static_cast<std::uint8_t>(UpperHexValue(high) * 16 + UpperHexValue(low));
}

std::string ByteToHex2(int value) {
    return HexOf(static_cast<std::uint32_t>(value), 2).substr(0, 2);
}

std::string WordToHex4(std::int16_t value) { return HexOf(static_cast<std::uint16_t>(value), 4); }

std::array<int, 4> NibbleBits(int value) {
    if (value < 0 || value > 15) return {0, 0, 0, 0};
    return {(value >> 3) & 1, (value >> 2) & 1, (value >> 1) & 1, value & 1};
}

std::string TrimAtNul(std::string_view text) {
    std::string trimmed = Trim(text);
    const std::size_t nul = trimmed.find('\0');
    if (nul != std::string::npos) trimmed.erase(nul);
    return trimmed;
}

int FindPattern(std::span<const std::uint8_t> buffer, std::span<const std::uint8_t> pattern) {
    if (pattern.empty() || pattern.size() > buffer.size()) return -1;
    const ByteReader reader(buffer);
    for (std::size_t k = 0; k + pattern.size() <= buffer.size(); ++k) {
        if (MatchesAt(reader, k, pattern)) return static_cast<int>(k);
    }
    return -1;
}

int CountPattern(std::span<const std::uint8_t> buffer, std::span<const std::uint8_t> pattern) {
    if (pattern.empty() || pattern.size() > buffer.size()) return 0;
    const ByteReader reader(buffer);
    int count = 0;
    for (std::size_t k = 0; k + pattern.size() <= buffer.size(); ++k) {
        if (MatchesAt(reader, k, pattern)) ++count;
    }
    return count;
}

std::string LineAddress(int line) {
    // The first three hex digits of the line number, then "0".
    return HexOf(static_cast<std::uint32_t>(line) & 0xFFF, 3) + "0";
}

std::string Utf8ToLatin1(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        out += code <= 0xFF ? static_cast<char>(code) : '?';
        i += length;
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

std::array<std::uint8_t, kLineBytes> TextToFixedBytes(std::string_view text, std::size_t count) {
    std::array<std::uint8_t, kLineBytes> bytes{};
    ByteWriter(bytes).Chars(0, Utf8ToLatin1(text).substr(0, count), kLineBytes, '\0');
    return bytes;
}

std::string LineBytes::ToHex() const {
    std::string hex;
    hex.reserve(kLineHexChars);
    const ByteReader reader(bytes);
    for (std::size_t b = 0; b < kLineBytes; ++b) hex += ByteToHex2(reader.U8(b));
    return hex;
}

char HexLine::Char(int i) const {
    if (i < 0 || dataOffset_ > reader_.Size()) return '\0';
    return static_cast<char>(reader_.U8Or(dataOffset_ + static_cast<std::size_t>(i), 0));
}

}  // namespace qx
