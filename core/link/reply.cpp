#include "link/reply.h"

#include <string>
#include <vector>

namespace qx {
namespace {

constexpr std::uint8_t kAcknowledgement[] = {'\r', '\n', 'O', 'K', '\r', '\n'};
constexpr std::uint8_t kRefusal[] = {'E', 'R', 'R', 'O', 'R'};
// A read reply: the 11-byte echo of the request, then CR LF, the address and ":".
constexpr int kReadHeaderOffset = 11;
constexpr std::size_t kReadHeaderLength = 7;
constexpr std::size_t kMinReadReply = 52;
// A write reply: the acknowledgement right after the 43-byte echo of the write.
constexpr int kWriteAckOffset = 43;

}  // namespace

int CheckReply(std::span<const std::uint8_t> reply, int line, ReplyCheckMode mode, Ui& ui) {
    if (line >= kImageLines) {
        ui.ShowMessage("Exceed Length!");
        return 0;
    }
    if (mode != ReplyCheckMode::Reading) {
        const int ack = FindPattern(reply, kAcknowledgement);
        if (ack < 0 || CountPattern(reply, kRefusal) > 0) return -1;
        if (mode == ReplyCheckMode::WritingAfterIdentifier && ack != kWriteAckOffset) return -2;
        return 0;
    }
    if (line < 0) return -2;
    const std::string header = "\r\n" + LineAddress(line) + ":";
    const std::vector<std::uint8_t> headerBytes(header.begin(), header.end());
    if (FindPattern(reply, headerBytes) != kReadHeaderOffset || reply.size() < kMinReadReply) {
        return -2;
    }
    return 0;
}

LineBytes ReplyLineBytes(std::span<const std::uint8_t> reply) {
    const HexLine hex(reply, kReadHeaderOffset + kReadHeaderLength);
    LineBytes line;
    for (std::size_t b = 0; b < kLineBytes; ++b) line.bytes[b] = hex.Byte(static_cast<int>(b));
    return line;
}

}  // namespace qx
