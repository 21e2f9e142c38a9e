// A radio on the other end of the cable, without the cable: it takes the
// bytes a program sends and answers exactly as the radio does (echo, block
// replies, OK/ERROR, the identifier acknowledgement), over an 8192-byte
// memory. Faults can be injected for tests and training.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

enum class FaultKind {
    DropReply,         // line N gets no reply at all
    CorruptReply,      // the block data of line N's reply is damaged (same length)
    WrongAddress,      // line N's block reply carries another address
    ErrorWrite,        // block write N is refused with ERROR
    RejectIdentifier,  // every model identifier is refused
    SilentAfter,       // no reply to any line after line N
    StoreCorrupt,      // block write N is acknowledged with OK but stored with one byte changed
    PowerLoss,         // the radio goes dead after line N and comes back on the next open
};

// N counts the lines the radio has received since it started, from 1.
struct Fault {
    FaultKind kind{};
    int line = 0;
    friend bool operator==(const Fault&, const Fault&) = default;
};

// "drop:N", "corrupt:N", "wrong-address:N", "error-write:N",
// "reject-identifier", "silent-after:N", "store-corrupt:N", "power-loss:N".
// N may be a range "A-B" (each line A..B) except for silent-after and
// power-loss. Empty result and `error` set when the rule is not understood.
std::vector<Fault> ParseFaultRule(std::string_view rule, std::string& error);

// Time on a line at `baud`: each byte costs 10 bit times. Zero for baud 0.
std::chrono::microseconds WireTime(std::size_t bytes, int baud);

class SimulatedRadio {
  public:
    static constexpr std::size_t kMemorySize = 8192;

    // A blank radio: zeros, the model code of `modelIndex` in bytes 1..3 of
    // line 0, `featureByte` in byte 14, `password` (at most 16 bytes, zero
    // padded) in line 4.
    SimulatedRadio(int modelIndex, std::uint8_t featureByte, std::string_view password);
    // A radio holding `memory`; shorter memories are padded with zeros,
    // longer ones cut to 8192 bytes.
    explicit SimulatedRadio(std::vector<std::uint8_t> memory);

    void AddFault(const Fault& fault);
    void SetPassword(std::string_view password);
    // The port was opened: a radio that lost its power is back, holding what
    // it had stored, and loses it no more.
    void PortOpened();

    // Consumes bytes the program sent (lines end with CR LF; a line may
    // arrive in pieces) and returns every byte the radio sends back.
    std::vector<std::uint8_t> Receive(std::span<const std::uint8_t> bytes);

    const std::vector<std::uint8_t>& Memory() const { return memory_; }
    int LinesReceived() const { return linesReceived_; }
    int BlocksWritten() const { return blocksWritten_; }  // accepted block writes
    bool EndReceived() const { return endReceived_; }     // "AL~E" seen
    bool PoweredOff() const { return poweredOff_; }

  private:
    std::vector<std::uint8_t> Answer(const std::string& line);
    bool HasFault(FaultKind kind, int line) const;

    std::vector<std::uint8_t> memory_;
    std::vector<Fault> faults_;
    std::string pending_;  // bytes of a line not yet ended
    int linesReceived_ = 0;
    int blocksWritten_ = 0;
    bool identifierAccepted_ = false;
    bool endReceived_ = false;
    bool poweredOff_ = false;
    bool powerLost_ = false;  // the power-loss fault has happened
};

}  // namespace qx
