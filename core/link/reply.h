// The radio's replies: whether a reply is the one awaited, and the line of
// memory a read reply carries.
#pragma once

#include <cstdint>
#include <span>

#include "image/hex.h"
#include "platform/ui.h"

namespace qx {

// Reading covers the pre-read of a write too; WritingAfterIdentifier is a
// write once the radio has accepted the model identifier.
enum class ReplyCheckMode { Reading, Writing, WritingAfterIdentifier };

// Checks a complete reply for `line`: 0 good, -1 refused or not
// acknowledged, -2 not in the expected form. A line past the image is
// reported through `ui` ("Exceed Length!") and counts as good.
int CheckReply(std::span<const std::uint8_t> reply, int line, ReplyCheckMode mode, Ui& ui);

// The 16 bytes of memory in a good read reply (its 32 hex characters after
// the address); characters that are no hex digits read as 0.
LineBytes ReplyLineBytes(std::span<const std::uint8_t> reply);

}  // namespace qx
