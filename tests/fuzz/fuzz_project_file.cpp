// Any bytes as a project file (and as its companion), straight to the pure
// reader: it must report or read, never crash, hang or read out of bounds;
// what it reads must encode again.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "codeplug/defaults.h"
#include "files/project_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const qx::Codeplug base = qx::NewCodeplug(3);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The first half also serves as the companion file, so short and long
    // companions are both met.
    const qx::ProjectDecoding read =
        qx::DecodeProject(text, std::span<const std::uint8_t>(data, size / 2), base);
    if (read.status == qx::ProjectReadStatus::Read) {
        const qx::ProjectEncoding written = qx::EncodeProject(read.codeplug);
        (void)written;
    }
    return 0;
}
