// How the 104 rows of channel memory are numbered: memories 0..99 are rows
// 1..100, then the scan limits PL and PH, the call channel and the VFO.
#pragma once

#include <string>

namespace qx {

inline constexpr int kRowCount = 104;  // rows 1..104
inline constexpr int kChannelRows = 100;
inline constexpr int kPlRow = 101;
inline constexpr int kPhRow = 102;
inline constexpr int kCallRow = 103;
inline constexpr int kVfoRow = 104;

// "00".."99" for rows 1..100, "PL", "PH", "CAL", "VFO" for rows 101..104: the
// text a Priority cell uses to name a row.
inline std::string PriorityName(int row) {
    if (row >= 1 && row <= kChannelRows) {
        const int channel = row - 1;
        return (channel < 10 ? "0" : "") + std::to_string(channel);
    }
    switch (row) {
        case kPlRow:
            return "PL";
        case kPhRow:
            return "PH";
        case kCallRow:
            return "CAL";
        case kVfoRow:
            return "VFO";
        default:
            return {};
    }
}

}  // namespace qx
