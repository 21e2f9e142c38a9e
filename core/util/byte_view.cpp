#include "util/byte_view.h"

#include <cstring>
#include <stdexcept>

namespace qx {
namespace {

void CheckRange(std::size_t size, std::size_t offset, std::size_t count) {
    if (offset > size || count > size - offset) {
        throw std::out_of_range("bytes " + std::to_string(offset) + "+" + std::to_string(count) +
                                " outside a view of " + std::to_string(size));
    }
}

}  // namespace

bool ByteReader::Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
}

void ByteReader::Require(std::size_t offset, std::size_t count) const {
    CheckRange(bytes_.size(), offset, count);
}

std::uint8_t ByteReader::U8(std::size_t offset) const {
    Require(offset, 1);
    return bytes_[offset];
}

std::int16_t ByteReader::I16Le(std::size_t offset) const {
    Require(offset, 2);
    return static_cast<std::int16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
}

std::int16_t ByteReader::I16Be(std::size_t offset) const {
    Require(offset, 2);
    return static_cast<std::int16_t>((bytes_[offset] << 8) | bytes_[offset + 1]);
}

std::string ByteReader::Chars(std::size_t offset, std::size_t count) const {
    Require(offset, count);
    std::string text(count, '\0');
    if (count > 0) std::memcpy(text.data(), bytes_.data() + offset, count);
    return text;
}

std::span<const std::uint8_t> ByteReader::Sub(std::size_t offset, std::size_t count) const {
    Require(offset, count);
    return bytes_.subspan(offset, count);
}

void ByteWriter::Require(std::size_t offset, std::size_t count) const {
    CheckRange(bytes_.size(), offset, count);
}

void ByteWriter::U8(std::size_t offset, std::uint8_t value) {
    Require(offset, 1);
    bytes_[offset] = value;
}

void ByteWriter::I16Le(std::size_t offset, std::int16_t value) {
    Require(offset, 2);
    const auto bits = static_cast<std::uint16_t>(value);
    bytes_[offset] = static_cast<std::uint8_t>(bits & 0xFF);
    bytes_[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
}

void ByteWriter::I16Be(std::size_t offset, std::int16_t value) {
    Require(offset, 2);
    const auto bits = static_cast<std::uint16_t>(value);
    bytes_[offset] = static_cast<std::uint8_t>(bits >> 8);
    bytes_[offset + 1] = static_cast<std::uint8_t>(bits & 0xFF);
}

void ByteWriter::Chars(std::size_t offset, std::string_view text, std::size_t count, char pad) {
    Require(offset, count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes_[offset + i] = static_cast<std::uint8_t>(i < text.size() ? text[i] : pad);
    }
}

}  // namespace qx
