// Any bytes a radio might send as a reply, for any line and check mode: the
// reply check and the decoders behind it must neither crash nor read past the
// reply.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_document.h"
#include "image/image_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int line = ((data[0] << 8) | data[1]) % 600;  // past 511 on purpose
    const auto mode = static_cast<qx::ReplyCheckMode>(data[2] % 3);
    const std::span<const std::uint8_t> reply(data + 3, size - 3);

    qx::Document doc = qx::fuzz::StartDocument();
    qx::FeatureFlags features;
    qx::test::SilentUi ui;
    qx::ImageDecoder decoder(doc, features, ui);
    decoder.SetCheckRead((data[2] & 0x80) != 0);
    qx::CheckReplyAndDecode(reply, line, mode, decoder, ui);
    return 0;
}
