#include "codeplug/codeplug.h"

#include <ostream>

namespace qx {

std::string RowDisplayName(int row) {
    if (row >= 1 && row <= kChannelRows) return "Channel " + std::to_string(row - 1);
    if (row == kCallRow) return "Call channel";
    return PriorityName(row);  // PL, PH, VFO
}

void PrintTo(const Codeplug& codeplug, std::ostream* os) {
    *os << "{model " << codeplug.model;
    for (int row = 1; row <= kRowCount; ++row) {
        const Channel& channel = codeplug.Row(row);
        if (channel == Channel{}) continue;
        *os << "\n  " << RowDisplayName(row) << ": ";
        PrintTo(channel, os);
    }
    *os << "\n  options " << OptionsRecord(codeplug.options) << "\n  dialer "
        << AutoDialerRecord(codeplug.autoDialer) << "}";
}

}  // namespace qx
