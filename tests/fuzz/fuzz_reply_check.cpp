// Any bytes a radio might send as a reply, for any line and check mode: the
// reply check and the line it carries must neither crash nor read past the
// reply.
#include <cstddef>
#include <cstdint>
#include <span>

#include "link/reply.h"
#include "silent_ui.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int line = ((data[0] << 8) | data[1]) % 600;  // past 511 on purpose
    const auto mode = static_cast<qx::ReplyCheckMode>(data[2] % 3);
    const std::span<const std::uint8_t> reply(data + 3, size - 3);
    qx::test::SilentUi ui;
    if (qx::CheckReply(reply, line, mode, ui) == 0) (void)qx::ReplyLineBytes(reply);
    return 0;
}
