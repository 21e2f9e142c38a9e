// Bounds-checked access to bytes at named offsets: the one way record code
// reads and writes binary data (memory image lines, the companion file).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qx {

class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }
    // True when `count` bytes starting at `offset` lie inside the view.
    bool Has(std::size_t offset, std::size_t count = 1) const;

    // These throw std::out_of_range outside the view.
    std::uint8_t U8(std::size_t offset) const;
    std::int16_t I16Le(std::size_t offset) const;
    std::int16_t I16Be(std::size_t offset) const;
    // `count` bytes as characters, one per byte.
    std::string Chars(std::size_t offset, std::size_t count) const;
    std::span<const std::uint8_t> Sub(std::size_t offset, std::size_t count) const;

    // Never throws: the byte, or `fallback` outside the view.
    std::uint8_t U8Or(std::size_t offset, std::uint8_t fallback) const {
        return Has(offset) ? bytes_[offset] : fallback;
    }

  private:
    void Require(std::size_t offset, std::size_t count) const;
    std::span<const std::uint8_t> bytes_;
};

class ByteWriter {
  public:
    explicit ByteWriter(std::span<std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }

    // These throw std::out_of_range outside the view.
    void U8(std::size_t offset, std::uint8_t value);
    void I16Le(std::size_t offset, std::int16_t value);
    void I16Be(std::size_t offset, std::int16_t value);
    // Writes exactly `count` bytes: the text's first bytes, then `pad`.
    void Chars(std::size_t offset, std::string_view text, std::size_t count, char pad);

  private:
    void Require(std::size_t offset, std::size_t count) const;
    std::span<std::uint8_t> bytes_;
};

}  // namespace qx
