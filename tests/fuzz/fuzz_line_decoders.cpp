// Any bytes as a radio's memory image, straight to the pure decoder, and as
// an image still arriving: decoding and the choice of the lines a read
// requests must neither crash nor read out of bounds; what is decoded must
// encode again.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/memory_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    // Only an 8192-byte input is an image; anything else is refused.
    (void)qx::DecodeImage(bytes, 3);
    std::vector<std::uint8_t> image(qx::kImageSize, 0);
    for (std::size_t i = 0; i < size; ++i) image[i % image.size()] ^= data[i];
    const qx::ImageDecoding decoded = qx::DecodeImage(image, 3);
    if (decoded.error.empty()) (void)qx::EncodeImage(decoded.codeplug, decoded.features);
    for (int line = 0; line < 512; ++line) (void)qx::ReadRequestsLine(bytes, line);
    (void)qx::ImagePassword(bytes);
    (void)qx::CompareModel(3, bytes);
    return 0;
}
