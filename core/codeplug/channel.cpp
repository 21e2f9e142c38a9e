#include "codeplug/channel.h"

#include <array>
#include <ostream>

#include "codeplug/rows.h"
#include "codeplug/value_lists.h"

namespace qx {
namespace {


constexpr std::array<const char*, kSignalKindCount> kSignalKindTexts = {"None", "DTMF", "DTMF-ANI",
                                                                        "2Tone", "5Tone"};

std::optional<int> TwoDigitNumber(std::string_view text) {
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
        return std::nullopt;
    return (text[0] - '0') * 10 + (text[1] - '0');
}

template <typename Value>
void PrintOptionalCode(std::ostream* os, const std::optional<Value>& code) {
    if (code) {
        *os << static_cast<int>(*code);
    } else {
        *os << "(none)";
    }
}

}  // namespace

Tone Tone::Ctcss(int index) {
    if (index < 0 || index >= static_cast<int>(CtcssList().size())) return Tone();
    return Tone(Kind::Ctcss, static_cast<std::uint8_t>(index));
}

Tone Tone::Dcs(int index) {
    if (index < 0 || index >= static_cast<int>(DcsList().size())) return Tone();
    return Tone(Kind::Dcs, static_cast<std::uint8_t>(index));
}

std::string Tone::Value() const {
    switch (kind_) {
        case Kind::Ctcss:
            return CtcssList().at(index_);
        case Kind::Dcs:
            return DcsList().at(index_);
        default:
            return {};
    }
}

std::string Tone::ToString() const {
    switch (kind_) {
        case Kind::Ctcss:
            return "C:" + Value();
        case Kind::Dcs:
            return "D:" + Value();
        default:
            return "off";
    }
}

std::optional<Tone> Tone::Parse(std::string_view text) {
    if (text == "off") return Tone();
    if (text.size() < 3 || text[1] != ':') return std::nullopt;
    const std::string value(text.substr(2));
    if (text[0] == 'C') {
        const int index = ListIndexOf(CtcssList(), value);
        if (index >= 0) return Tone::Ctcss(index);
    } else if (text[0] == 'D') {
        const int index = ListIndexOf(DcsList(), value);
        if (index >= 0) return Tone::Dcs(index);
    }
    return std::nullopt;
}

std::string BandwidthWord(Bandwidth bandwidth) {
    return bandwidth == Bandwidth::Narrow ? "narrow" : "wide";
}

std::optional<Bandwidth> ParseBandwidth(std::string_view word) {
    if (word == "wide") return Bandwidth::Wide;
    if (word == "narrow") return Bandwidth::Narrow;
    return std::nullopt;
}

Priority Priority::OfChannel(int channel) {
    if (channel < 0 || channel >= kChannelRows) return Priority();
    return Priority(Kind::Channel, static_cast<std::uint8_t>(channel));
}

int Priority::Row() const {
    switch (kind_) {
        case Kind::Channel:
            return channel_ + 1;
        case Kind::Pl:
            return kPlRow;
        case Kind::Ph:
            return kPhRow;
        case Kind::Call:
            return kCallRow;
        case Kind::Vfo:
            return kVfoRow;
        default:
            return 0;
    }
}

std::string Priority::ToString() const { return IsOff() ? "off" : PriorityName(Row()); }

std::optional<Priority> Priority::Parse(std::string_view text) {
    if (text == "off") return Priority();
    if (text == "PL") return Of(Kind::Pl);
    if (text == "PH") return Of(Kind::Ph);
    if (text == "CAL") return Of(Kind::Call);
    if (text == "VFO") return Of(Kind::Vfo);
    if (const auto channel = TwoDigitNumber(text)) return OfChannel(*channel);
    return std::nullopt;
}

std::string SignalKindText(SignalKind kind) {
    return kSignalKindTexts.at(static_cast<std::size_t>(kind));
}

std::optional<SignalKind> ParseSignalKind(std::string_view text) {
    for (int i = 0; i < kSignalKindCount; ++i) {
        if (text == kSignalKindTexts[static_cast<std::size_t>(i)])
            return static_cast<SignalKind>(i);
    }
    return std::nullopt;
}

void Channel::Clear() {
    Channel cleared;
    cleared.inUse = inUse;
    cleared.blank = true;
    cleared.signal.code = signal.code;
    cleared.signal.subCode = signal.subCode;
    *this = cleared;
}

void PrintTo(const Tone& tone, std::ostream* os) { *os << tone.ToString(); }
void PrintTo(Bandwidth bandwidth, std::ostream* os) { *os << BandwidthWord(bandwidth); }
void PrintTo(const Priority& priority, std::ostream* os) { *os << priority.ToString(); }
void PrintTo(SignalKind kind, std::ostream* os) { *os << SignalKindText(kind); }

void PrintTo(const ChannelSignal& signal, std::ostream* os) {
    *os << SignalKindText(signal.kind) << " code ";
    PrintOptionalCode(os, signal.code);
    *os << " sub-code ";
    PrintOptionalCode(os, signal.subCode);
}

void PrintTo(const Channel& channel, std::ostream* os) {
    *os << "{" << (channel.inUse ? "in use" : "not in use");
    if (channel.blank) {
        *os << ", blank";
    } else {
        const auto onOff = [](bool on) { return on ? "on" : "off"; };
        *os << ", \"" << channel.name << "\", step " << StepText(channel.step) << ", rx "
            << channel.rx.ToString() << " " << channel.rxTone.ToString() << ", "
            << BandwidthWord(channel.bandwidth) << ", pac " << onOff(channel.pacMode)
            << ", dcs detect " << onOff(channel.dcsDetect) << ", skip " << onOff(channel.scanSkip)
            << ", priority " << channel.priority.ToString() << ", tx " << channel.tx.ToString()
            << " " << channel.txTone.ToString() << ", bcl " << onOff(channel.bcl) << ", ani "
            << onOff(channel.ani) << ", shift " << onOff(channel.shift);
    }
    *os << ", signal ";
    PrintTo(channel.signal, os);
    *os << "}";
}

}  // namespace qx
