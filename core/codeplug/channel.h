// One row of the radio's channel memory as typed values: the tones, the
// bandwidth, the priority, the option signal and the channel itself.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "codeplug/frequency.h"

namespace qx {

// No tone, a CTCSS tone or a DCS code. The index is the position in the
// CTCSS list (0..49) or the DCS list (0..115 normal, 116..231 inverted, 232
// "off"), which is what the memory image stores.
class Tone {
  public:
    enum class Kind : std::uint8_t { Off, Ctcss, Dcs };

    constexpr Tone() = default;
    static Tone Ctcss(int index);  // index 0..49, else off
    static Tone Dcs(int index);    // index 0..232, else off

    Kind kind() const { return kind_; }
    int index() const { return index_; }
    bool IsOff() const { return kind_ == Kind::Off; }
    // The list entry without the kind: "88.5", "023N"; "" when off.
    std::string Value() const;

    // "off", "C:88.5", "D:023N", as the grid and the project file show it.
    std::string ToString() const;
    static std::optional<Tone> Parse(std::string_view text);
    friend bool operator==(const Tone&, const Tone&) = default;

  private:
    constexpr Tone(Kind kind, std::uint8_t index) : kind_(kind), index_(index) {}
    Kind kind_ = Kind::Off;
    std::uint8_t index_ = 0;
};

enum class Bandwidth : std::uint8_t { Wide, Narrow };
// "wide" and "narrow", the words of the project file.
std::string BandwidthWord(Bandwidth bandwidth);
std::optional<Bandwidth> ParseBandwidth(std::string_view word);

// What the radio scans first: nothing, a memory channel, the scan limits,
// the call channel or the VFO.
class Priority {
  public:
    enum class Kind : std::uint8_t { Off, Channel, Pl, Ph, Call, Vfo };

    constexpr Priority() = default;
    static Priority Of(Kind kind) { return Priority(kind == Kind::Channel ? Kind::Off : kind, 0); }
    static Priority OfChannel(int channel);  // 0..99, else off

    Kind kind() const { return kind_; }
    int channel() const { return channel_; }
    bool IsOff() const { return kind_ == Kind::Off; }
    // The row (1..104) it names; 0 when off.
    int Row() const;

    // "off", "00".."99", "PL", "PH", "CAL", "VFO".
    std::string ToString() const;
    static std::optional<Priority> Parse(std::string_view text);
    friend bool operator==(const Priority&, const Priority&) = default;

  private:
    constexpr Priority(Kind kind, std::uint8_t channel) : kind_(kind), channel_(channel) {}
    Kind kind_ = Kind::Off;
    std::uint8_t channel_ = 0;
};

// The signalling a channel sends, in the order of the image's type byte.
enum class SignalKind : std::uint8_t { None, Dtmf, DtmfAni, TwoTone, FiveTone };
inline constexpr int kSignalKindCount = 5;
// "None", "DTMF", "DTMF-ANI", "2Tone", "5Tone".
std::string SignalKindText(SignalKind kind);
std::optional<SignalKind> ParseSignalKind(std::string_view text);

// The option signal of a channel: its kind and the list positions of its
// code and second choice (the 5-tone PTT ID mode, the DTMF-ANI switch). A
// code that was never chosen is empty, and the project file keeps it so.
struct ChannelSignal {
    SignalKind kind = SignalKind::None;
    std::optional<std::uint8_t> code;
    std::optional<std::uint8_t> subCode;
    friend bool operator==(const ChannelSignal&, const ChannelSignal&) = default;
};

// One row. A channel not in use keeps its values; one that never had any
// (`blank`) takes the model's defaults when it is switched on. A blank row's
// fields from `name` to `signal.kind` are unused and left at their
// defaults; its signal codes are kept as they are.
struct Channel {
    bool inUse = false;
    bool blank = false;
    std::string name;
    Step step = Step::k5;
    Frequency rx;
    Tone rxTone;
    Bandwidth bandwidth = Bandwidth::Wide;
    bool pacMode = false;
    bool dcsDetect = false;
    bool scanSkip = false;
    Priority priority;
    Frequency tx;
    Tone txTone;
    bool bcl = false;
    bool ani = false;
    bool shift = false;
    ChannelSignal signal;

    // Makes the row blank; its signal codes stay.
    void Clear();
    friend bool operator==(const Channel&, const Channel&) = default;
};

inline constexpr std::size_t kChannelNameLength = 7;

// The fields of a row in the order the grid and the project file show them.
enum class ChannelField : std::uint8_t {
    Name,
    Step,
    RxFrequency,
    RxTone,
    Bandwidth,
    PacMode,
    DcsDetect,
    ScanSkip,
    Priority,
    TxFrequency,
    TxTone,
    Bcl,
    Ani,
    Shift,
    OptionSignal,
};

void PrintTo(const Tone& tone, std::ostream* os);
void PrintTo(Bandwidth bandwidth, std::ostream* os);
void PrintTo(const Priority& priority, std::ostream* os);
void PrintTo(SignalKind kind, std::ostream* os);
void PrintTo(const ChannelSignal& signal, std::ostream* os);
void PrintTo(const Channel& channel, std::ostream* os);

}  // namespace qx
