// What a verify found: the first value that differs between the line a
// write sent and the line the radio gave back, named as the user knows it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/hex.h"

namespace qx {

struct ReadBackDifference {
    int row = 0;                    // 1..104 when a channel's value differs, else 0
    int field = 0;                  // the channel's field (ProjectField), when `row` is set
    std::string readBack, written;  // the values, or the lines in hex when `row` is 0
};

// `written` is the whole image the write sent; `line` was read back as
// `readBack`. Frequencies are given with " MHz".
ReadBackDifference CompareReadBack(std::span<const std::uint8_t> written, int line,
                                   const LineBytes& readBack);

}  // namespace qx
