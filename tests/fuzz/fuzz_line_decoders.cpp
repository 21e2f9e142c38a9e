// Every line decoder fed arbitrary line contents, in the order a read meets
// them, starting at any offset of the buffer (also at or past its end).
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_document.h"
#include "image/image_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t offsetStep = data[0] % 40;
    const std::span<const std::uint8_t> buffer(data + 1, size - 1);

    qx::Document doc = qx::fuzz::StartDocument();
    qx::FeatureFlags features;
    qx::test::SilentUi ui;
    qx::ImageDecoder decoder(doc, features, ui);
    std::size_t offset = 0;
    for (int line = 0; line < 512; ++line) {
        decoder.DecodeLine(buffer, offset, line);
        offset += offsetStep;
        if (offset > buffer.size() + 40) offset = 0;
    }
    // The whole-image path: only an 8192-byte input is an image, anything else is refused.
    qx::Document other = qx::fuzz::StartDocument();
    qx::DecodeImage(buffer, other, features, ui);
    return 0;
}
