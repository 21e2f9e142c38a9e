#include "link/simulated_radio.h"

#include <algorithm>
#include <charconv>

#include "image/hex.h"
#include "image/memory_image.h"
#include "util/byte_view.h"

namespace qx {
namespace {

constexpr std::string_view kBlockPrefix = "AL~F";
constexpr std::string_view kIdentifier = "PV418";
constexpr std::string_view kEnd = "AL~E";
constexpr std::string_view kCrLf = "\r\n";
constexpr std::size_t kAddressChars = 4;
constexpr std::size_t kRequestLength = 9;  // "AL~F" + address + "R"
constexpr std::size_t kOpOffset = 8;       // the "R" or "W"
constexpr std::size_t kPasswordOffset = 4 * kLineBytes;
constexpr unsigned kLastAddress = 0x1FF0;
// No line the radio understands is longer than a block write; anything past
// this is kept from growing without bound and makes the line unknown anyway.
constexpr std::size_t kMaxLine = 64;
// Ranges are expanded into one fault per line; this keeps a typo from
// asking for millions of them.
constexpr int kMaxFaultLine = 1'000'000;
constexpr int kMaxFaultRange = 100'000;

constexpr std::string_view kFaultUsage =
    "expected drop:N, corrupt:N, wrong-address:N, error-write:N, reject-identifier, "
    "silent-after:N, store-corrupt:N or power-loss:N";

void Append(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

bool IsUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool AllUpperHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsUpperHex);
}

// The block address of "AL~F" + 4 upper-case hex digits, when it names a
// whole block inside the memory.
std::optional<unsigned> BlockAddress(std::string_view line) {
    const std::string_view digits = line.substr(kBlockPrefix.size(), kAddressChars);
    if (!AllUpperHex(digits)) return std::nullopt;
    unsigned address = 0;
    for (char c : digits) address = address * 16 + static_cast<unsigned>(HexDigitValue(c));
    if (address % kLineBytes != 0 || address > kLastAddress) return std::nullopt;
    return address;
}

std::optional<int> ParseLineNumber(std::string_view text, int lowest) {
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    if (value < lowest || value > kMaxFaultLine) return std::nullopt;
    return value;
}

std::optional<FaultKind> NumberedFaultKind(std::string_view name) {
    if (name == "drop") return FaultKind::DropReply;
    if (name == "corrupt") return FaultKind::CorruptReply;
    if (name == "wrong-address") return FaultKind::WrongAddress;
    if (name == "error-write") return FaultKind::ErrorWrite;
    if (name == "silent-after") return FaultKind::SilentAfter;
    if (name == "store-corrupt") return FaultKind::StoreCorrupt;
    if (name == "power-loss") return FaultKind::PowerLoss;
    return std::nullopt;
}

// The status word of a reply ("OK", "ERROR") starts right after the echo
// and the blank line; one bit flipped in its first letter keeps the length
// and makes the program no longer recognise it.
void DamageStatus(std::vector<std::uint8_t>& reply, std::size_t echoLength) {
    const std::size_t status = echoLength + 2 * kCrLf.size();
    if (status < reply.size()) reply[status] ^= 0x01;
}

}  // namespace

std::vector<Fault> ParseFaultRule(std::string_view rule, std::string& error) {
    error.clear();
    const auto unknown = [&] {
        error = "unknown fault '" + std::string(rule) + "'; " + std::string(kFaultUsage);
        return std::vector<Fault>{};
    };
    if (rule == "reject-identifier") return {Fault{FaultKind::RejectIdentifier, 0}};

    const std::size_t colon = rule.find(':');
    if (colon == std::string_view::npos) return unknown();
    const auto kind = NumberedFaultKind(rule.substr(0, colon));
    if (!kind) return unknown();
    const std::string_view number = rule.substr(colon + 1);
    const auto badNumber = [&](std::string_view why) {
        error = "bad line number '" + std::string(number) + "' in fault '" + std::string(rule) +
                "'; " + std::string(why);
        return std::vector<Fault>{};
    };

    if (*kind == FaultKind::SilentAfter || *kind == FaultKind::PowerLoss) {
        // silent-after:0 is a radio that never answers.
        const auto after = ParseLineNumber(number, 0);
        if (!after) return badNumber("expected a whole number from 0 to 1000000");
        return {Fault{*kind, *after}};
    }

    const std::size_t dash = number.find('-');
    const auto first = ParseLineNumber(number.substr(0, dash), 1);
    const auto last =
        dash == std::string_view::npos ? first : ParseLineNumber(number.substr(dash + 1), 1);
    if (!first || !last || *last < *first)
        return badNumber("expected N or A-B with 1 <= A <= B <= 1000000");
    if (*last - *first >= kMaxFaultRange) return badNumber("a range covers at most 100000 lines");
    std::vector<Fault> faults;
    for (int line = *first; line <= *last; ++line) faults.push_back(Fault{*kind, line});
    return faults;
}

std::chrono::microseconds WireTime(std::size_t bytes, int baud) {
    if (baud <= 0) return std::chrono::microseconds(0);
    const auto bitMicros = static_cast<std::uint64_t>(bytes) * 10U * 1'000'000U;
    const auto rate = static_cast<std::uint64_t>(baud);
    return std::chrono::microseconds(static_cast<std::int64_t>((bitMicros + rate - 1) / rate));
}

SimulatedRadio::SimulatedRadio(int modelIndex, std::uint8_t featureByte, std::string_view password)
    : memory_(kMemorySize, 0) {
    SetImageModel(memory_, modelIndex);
    SetImageFeatures(memory_, featureByte);
    SetPassword(password);
}

SimulatedRadio::SimulatedRadio(std::vector<std::uint8_t> memory) : memory_(std::move(memory)) {
    memory_.resize(kMemorySize, 0);
}

void SimulatedRadio::AddFault(const Fault& fault) { faults_.push_back(fault); }

void SimulatedRadio::PortOpened() {
    if (!poweredOff_) return;
    poweredOff_ = false;
    pending_.clear();
    identifierAccepted_ = false;
}

void SimulatedRadio::SetPassword(std::string_view password) {
    const auto bytes = TextToFixedBytes(password, kLineBytes);
    std::copy(bytes.begin(), bytes.end(), memory_.begin() + kPasswordOffset);
}

std::vector<std::uint8_t> SimulatedRadio::Receive(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out;
    for (const std::uint8_t byte : bytes) {
        if (byte != '\n') {
            // CRs before a line's first character are left-overs of an
            // earlier line end, not part of the line.
            if (pending_.empty() && byte == '\r') continue;
            if (pending_.size() <= kMaxLine) pending_.push_back(static_cast<char>(byte));
            continue;
        }
        std::string line = std::move(pending_);
        pending_.clear();
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;  // a stray line end
        if (poweredOff_) continue;
        ++linesReceived_;
        const auto answer = Answer(line);
        out.insert(out.end(), answer.begin(), answer.end());
    }
    return out;
}

bool SimulatedRadio::HasFault(FaultKind kind, int line) const {
    return std::any_of(faults_.begin(), faults_.end(), [&](const Fault& fault) {
        if (fault.kind != kind) return false;
        if (kind == FaultKind::RejectIdentifier) return true;
        if (kind == FaultKind::SilentAfter || kind == FaultKind::PowerLoss)
            return line > fault.line;
        return line == fault.line;
    });
}

// The radio acts on every line it understands; the reply faults only change
// what travels back, as a noisy or dead line would.
std::vector<std::uint8_t> SimulatedRadio::Answer(const std::string& line) {
    const int n = linesReceived_;
    if (!powerLost_ && HasFault(FaultKind::PowerLoss, n)) {
        // Dead from this line on: nothing is acted on or answered until
        // the port is opened again.
        powerLost_ = true;
        poweredOff_ = true;
        return {};
    }
    std::vector<std::uint8_t> reply;
    Append(reply, line);
    Append(reply, kCrLf);
    Append(reply, kCrLf);

    const bool blockLine = line.starts_with(kBlockPrefix) && line.size() >= kRequestLength;
    const char op = blockLine ? line[kOpOffset] : '\0';
    const auto found = blockLine ? BlockAddress(line) : std::nullopt;
    const bool address = found.has_value();
    const unsigned start = found.value_or(0);

    if (line == kEnd) {
        endReceived_ = true;
        identifierAccepted_ = false;
        return {};
    }
    if (line == kIdentifier) {
        const bool accept = !HasFault(FaultKind::RejectIdentifier, n);
        identifierAccepted_ = identifierAccepted_ || accept;
        Append(reply, accept ? "OK" : "ERROR");
        Append(reply, kCrLf);
        if (HasFault(FaultKind::CorruptReply, n)) DamageStatus(reply, line.size());
    } else if (address && op == 'R' && line.size() == kRequestLength) {
        const bool wrongAddress = HasFault(FaultKind::WrongAddress, n);
        const unsigned shown = wrongAddress ? (start + kLineBytes) % kMemorySize : start;
        Append(reply, LineAddress(static_cast<int>(shown / kLineBytes)));
        Append(reply, ":");
        const bool corrupt = HasFault(FaultKind::CorruptReply, n);
        const ByteReader data(memory_);
        for (std::size_t b = 0; b < kLineBytes; ++b) {
            const std::uint8_t value = data.U8(start + b);
            // Every digit turned into another valid one: the decode differs
            // whatever the block holds.
            Append(reply, ByteToHex2(corrupt ? static_cast<std::uint8_t>(~value) : value));
        }
        Append(reply, kCrLf);
    } else if (address && op == 'W') {
        const std::string_view data = std::string_view(line).substr(kRequestLength);
        const bool accept = identifierAccepted_ && !HasFault(FaultKind::ErrorWrite, n) &&
                            data.size() == kLineHexChars && AllUpperHex(data);
        if (accept) {
            for (std::size_t b = 0; b < kLineBytes; ++b)
                memory_[start + b] = HexPairToByte(data[2 * b], data[2 * b + 1]);
            // The lowest bit of the first byte: a BCD digit or a flag
            // changes, so the decoded block differs too.
            if (HasFault(FaultKind::StoreCorrupt, n)) memory_[start] ^= 0x01;
            ++blocksWritten_;
        }
        Append(reply, accept ? "OK" : "ERROR");
        Append(reply, kCrLf);
        if (HasFault(FaultKind::CorruptReply, n)) DamageStatus(reply, line.size());
    } else {
        return {};  // not understood: the radio stays silent
    }

    if (HasFault(FaultKind::DropReply, n) || HasFault(FaultKind::SilentAfter, n)) return {};
    return reply;
}

}  // namespace qx
