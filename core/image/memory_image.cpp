#include "image/memory_image.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "codeplug/channel_record.h"
#include "codeplug/defaults.h"
#include "codeplug/models.h"
#include "codeplug/option_fields.h"
#include "codeplug/value_lists.h"
#include "util/numbers.h"

namespace qx {
namespace {

// --- The line map -----------------------------------------------------------

constexpr int kIdentityLine = 0;
constexpr int kPasswordLine = 4;
constexpr int kFirstWrittenLine = 16;
constexpr int kOptionLineA = 16;
constexpr int kOptionLineB = 17;
constexpr int kInUseLine = kInUseBitmapLine;
constexpr int kScanSkipLine = 19;
constexpr int kFirstChannelLine = 32;
constexpr int kLastChannelLine = 231;
constexpr int kFirstDialLine = 240;
constexpr int kLastDialLine = 248;
constexpr int kDtmfLine = 254;
constexpr int kTwoToneLine = 256;
constexpr int kFiveToneLine = 257;
constexpr int kFirstTwoToneCodeLine = 272;
constexpr int kLastTwoToneCodeLine = 321;
constexpr int kFirstFiveToneCodeLine = 384;
constexpr int kPttIdBeginLine = 484;
constexpr int kPttIdEndLine = 485;

constexpr std::size_t kModelCodeByte = 1;  // three bytes
constexpr std::size_t kModelCodeBytes = 3;
constexpr std::size_t kFeatureByte = 14;

std::size_t LineOffset(int line) { return static_cast<std::size_t>(line) * kLineBytes; }

// The row whose record a line holds: memory channels in lines 32..231, the
// VFO, call channel, PL and PH in lines 20..27; else 0.
int RecordRow(int line) {
    if (line >= kFirstChannelLine && line <= kLastChannelLine) return (line - 30) / 2;
    switch (line) {
        case 20:
        case 21:
            return kVfoRow;
        case 22:
        case 23:
            return kCallRow;
        case 24:
        case 25:
            return kPlRow;
        case 26:
        case 27:
            return kPhRow;
        default:
            return 0;
    }
}

int FirstRecordLine(int row) {
    if (row <= kChannelRows) return 30 + 2 * row;
    switch (row) {
        case kPlRow:
            return 24;
        case kPhRow:
            return 26;
        case kCallRow:
            return 22;
        default:
            return 20;
    }
}

int MemoryRowOfLine(int line) {
    return line >= kFirstChannelLine && line <= kLastChannelLine ? RecordRow(line) : 0;
}

// Rows 1..104 as bits of a bitmap line, the first row in bit 7 of byte 0.
std::size_t BitmapByte(int row) { return static_cast<std::size_t>(row - 1) / 8; }
std::uint8_t BitmapMask(int row) { return static_cast<std::uint8_t>(0x80 >> ((row - 1) % 8)); }

// --- Channel records ----------------------------------------------------------

// Frequencies travel as whole counts of 100 Hz (codeplug/channel_record.h):
// 8 decimal digits for Rx, 6 for the Tx offset.
constexpr int kRxDigits = 8;
constexpr int kOffsetDigits = 6;

// First line.
constexpr std::size_t kFlagsByte = 0;  // Shift 0x20, PAC 0x10, narrow 8, BCL 4, ANI 2, priority 1
constexpr std::size_t kDirectionByte = 1;  // 1 Tx below Rx, 2 above
constexpr std::size_t kToneTypeByte = 2;
constexpr std::size_t kStepByte = 3;
constexpr std::size_t kRxByte = 4;
constexpr std::size_t kOffsetByte = 9;
constexpr std::size_t kTxCtcssByte = 12;
constexpr std::size_t kRxCtcssByte = 13;
constexpr std::size_t kTxDcsByte = 14;
constexpr std::size_t kRxDcsByte = 15;
constexpr std::uint8_t kNoCtcss = 0x08;
constexpr std::uint8_t kNoDcs = 0x00;
constexpr std::uint8_t kBelow = 0x01;
constexpr std::uint8_t kAbove = 0x02;

// Second line.
constexpr std::size_t kPriorityByte = 7;
constexpr std::size_t kDcsDetectByte = 8;
constexpr std::size_t kSignalTypeByte = 9;

constexpr std::uint8_t kPriorityPl = 0x64;
constexpr std::uint8_t kPriorityPh = 0x65;
constexpr std::uint8_t kPriorityVfo = 0x80;
constexpr std::uint8_t kPriorityCal = 0xA0;

// Where each option signal keeps its code and second choice (byte 0: none),
// by the type byte's value; the highest value each may take is the
// codeplug's (SignalCodeLimit, SignalSubCodeLimit).
struct SignalBytes {
    std::size_t codeByte;
    std::size_t subCodeByte;
};
constexpr std::array<SignalBytes, kSignalKindCount> kSignalBytes = {{
    {0, 0},
    {10, 0},
    {10, 13},
    {11, 0},
    {12, 14},
}};

// Writes `value` as `digitCount` decimal digits, two to a byte, from `offset`.
void WriteDigits(ByteWriter& out, std::size_t offset, std::int64_t value, int digitCount) {
    for (int i = digitCount - 1; i >= 0; i -= 2) {
        const auto low = static_cast<std::uint8_t>(value % 10);
        const auto high = static_cast<std::uint8_t>(value / 10 % 10);
        value /= 100;
        out.U8(offset + static_cast<std::size_t>(i / 2),
               static_cast<std::uint8_t>(high << 4 | low));
    }
}

// Reads `digitCount` decimal digits from `offset`; a nibble above 9 counts as 0.
std::int64_t ReadDigits(const ByteReader& in, std::size_t offset, int digitCount) {
    std::int64_t value = 0;
    for (int i = 0; i < digitCount; ++i) {
        const std::uint8_t byte = in.U8(offset + static_cast<std::size_t>(i / 2));
        const int digit = i % 2 == 0 ? byte >> 4 : byte & 0x0F;
        value = value * 10 + (digit <= 9 ? digit : 0);
    }
    return value;
}

std::uint8_t PriorityByte(const Priority& priority) {
    switch (priority.kind()) {
        case Priority::Kind::Channel:
            return static_cast<std::uint8_t>(priority.channel());
        case Priority::Kind::Pl:
            return kPriorityPl;
        case Priority::Kind::Ph:
            return kPriorityPh;
        case Priority::Kind::Call:
            return kPriorityCal;
        case Priority::Kind::Vfo:
            return kPriorityVfo;
        default:
            return 0;
    }
}

Priority PriorityOfByte(std::uint8_t value) {
    if (value < kChannelRows) return Priority::OfChannel(value);
    if (value == kPriorityPl) return Priority::Of(Priority::Kind::Pl);
    if (value == kPriorityPh) return Priority::Of(Priority::Kind::Ph);
    if (value == kPriorityCal) return Priority::Of(Priority::Kind::Call);
    return Priority::Of(Priority::Kind::Vfo);
}

// The tone-type byte: Tx CTCSS 1, Rx CTCSS 2, Tx DCS 4, Rx DCS 8; the
// combinations the radio knows, else no tones at all.
std::uint8_t ToneTypeBits(const Tone& rx, const Tone& tx) {
    return static_cast<std::uint8_t>(
        (tx.kind() == Tone::Kind::Ctcss ? 0x01 : 0) | (rx.kind() == Tone::Kind::Ctcss ? 0x02 : 0) |
        (tx.kind() == Tone::Kind::Dcs ? 0x04 : 0) | (rx.kind() == Tone::Kind::Dcs ? 0x08 : 0));
}

struct ToneKinds {
    Tone::Kind rx = Tone::Kind::Off;
    Tone::Kind tx = Tone::Kind::Off;
};

ToneKinds ToneKindsOfByte(std::uint8_t value) {
    using K = Tone::Kind;
    switch (value) {
        case 0x01:
            return {K::Off, K::Ctcss};
        case 0x02:
            return {K::Ctcss, K::Off};
        case 0x03:
            return {K::Ctcss, K::Ctcss};
        case 0x04:
            return {K::Off, K::Dcs};
        case 0x06:
            return {K::Ctcss, K::Dcs};
        case 0x08:
            return {K::Dcs, K::Off};
        case 0x09:
            return {K::Dcs, K::Ctcss};
        case 0x0C:
            return {K::Dcs, K::Dcs};
        default:
            return {};
    }
}

// An index beyond its list names no tone.
Tone ToneOf(Tone::Kind kind, std::uint8_t ctcssIndex, std::uint8_t dcsIndex) {
    if (kind == Tone::Kind::Ctcss) return Tone::Ctcss(ctcssIndex);
    if (kind == Tone::Kind::Dcs) return Tone::Dcs(dcsIndex);
    return Tone();
}

std::uint8_t CtcssByte(const Tone& tone) {
    return tone.kind() == Tone::Kind::Ctcss ? static_cast<std::uint8_t>(tone.index()) : kNoCtcss;
}
std::uint8_t DcsByte(const Tone& tone) {
    return tone.kind() == Tone::Kind::Dcs ? static_cast<std::uint8_t>(tone.index()) : kNoDcs;
}

bool Offers(const FeatureFlags& features, SignalKind kind) {
    switch (kind) {
        case SignalKind::Dtmf:
        case SignalKind::DtmfAni:
            return features.dtmf;
        case SignalKind::TwoTone:
            return features.twoTone;
        case SignalKind::FiveTone:
            return features.fiveTone;
        default:
            return true;
    }
}

void EncodeFirstRecordLine(const Channel& c, std::uint8_t stepByte, int row, ByteWriter& out,
                           Problems& problems) {
    const std::int64_t rx = RecordUnits(c.rx);
    const std::int64_t tx = RecordUnits(c.tx);
    const std::int64_t offset = RecordOffsetUnits(c.rx, c.tx);
    if (!RecordHoldsRx(c.rx)) {
        problems.push_back({row, "Rx frequency",
                            RowDisplayName(row) + ": the Rx frequency " + c.rx.ToString() +
                                " MHz cannot be stored in the radio."});
    }
    if (!RecordHoldsOffset(c.rx, c.tx)) {
        problems.push_back({row, "Tx frequency",
                            RowDisplayName(row) + ": the Tx offset " + RecordMhzText(offset) +
                                " MHz is too large for the radio (at most 99.9999 MHz)."});
    }
    if (!problems.empty()) return;

    const int shiftPac = (c.shift ? 2 : 0) + (c.pacMode ? 1 : 0);
    const int flags = (c.bandwidth == Bandwidth::Narrow ? 8 : 0) + (c.bcl ? 4 : 0) +
                      (c.ani ? 2 : 0) + (c.priority.IsOff() ? 0 : 1);
    out.U8(kFlagsByte, static_cast<std::uint8_t>(shiftPac << 4 | flags));
    out.U8(kDirectionByte, tx > rx ? kAbove : (tx < rx ? kBelow : 0));
    out.U8(kToneTypeByte, ToneTypeBits(c.rxTone, c.txTone));
    out.U8(kStepByte, stepByte);
    WriteDigits(out, kRxByte, rx, kRxDigits);
    WriteDigits(out, kOffsetByte, offset, kOffsetDigits);
    out.U8(kTxCtcssByte, CtcssByte(c.txTone));
    out.U8(kRxCtcssByte, CtcssByte(c.rxTone));
    out.U8(kTxDcsByte, DcsByte(c.txTone));
    out.U8(kRxDcsByte, DcsByte(c.rxTone));
}

void EncodeSecondRecordLine(const Channel& c, ByteWriter& out) {
    for (std::size_t i = 0; i < kChannelNameLength && i < c.name.size(); ++i)
        out.U8(i, NameCode(c.name[i]));
    out.U8(kPriorityByte, PriorityByte(c.priority));
    out.U8(kDcsDetectByte, c.dcsDetect ? 0x01 : 0x00);
    if (c.signal.kind == SignalKind::None) return;
    const auto type = static_cast<std::size_t>(c.signal.kind);
    const SignalBytes& where = kSignalBytes.at(type);
    out.U8(kSignalTypeByte, static_cast<std::uint8_t>(type));
    out.U8(where.codeByte, c.signal.code.value_or(0));
    if (where.subCodeByte != 0) out.U8(where.subCodeByte, c.signal.subCode.value_or(0));
}

void EncodeRecordLine(const Codeplug& codeplug, int line, ByteWriter& out, Problems& problems) {
    const int row = RecordRow(line);
    const Channel& channel = codeplug.Row(row);
    // A row that never had values stores the model's defaults, with the
    // first step of the list.
    const Channel values = channel.blank ? DefaultChannel(codeplug.model) : channel;
    const auto stepByte = static_cast<std::uint8_t>(channel.blank ? 0 : StepIndex(channel.step));
    if (line == FirstRecordLine(row)) {
        EncodeFirstRecordLine(values, stepByte, row, out, problems);
    } else {
        EncodeSecondRecordLine(values, out);
    }
}

void EncodeBitmapLine(const Codeplug& codeplug, int line, ByteWriter& out) {
    std::array<std::uint8_t, kLineBytes> bits{};
    const int rows = line == kInUseLine ? kPhRow : kChannelRows;
    for (int row = 1; row <= rows; ++row) {
        const Channel& channel = codeplug.Row(row);
        const bool set = line == kInUseLine ? channel.inUse : channel.scanSkip && !channel.blank;
        if (set) bits.at(BitmapByte(row)) |= BitmapMask(row);
    }
    for (std::size_t i = 0; i < kLineBytes; ++i) out.U8(i, bits.at(i));
}

Channel DecodeRecord(const ByteReader& first, const ByteReader& second,
                     const FeatureFlags& features) {
    Channel c;
    const std::uint8_t flags = first.U8(kFlagsByte);
    c.shift = (flags & 0x20) != 0;
    c.pacMode = (flags & 0x10) != 0;
    c.bandwidth = (flags & 0x08) != 0 ? Bandwidth::Narrow : Bandwidth::Wide;
    c.bcl = (flags & 0x04) != 0;
    c.ani = (flags & 0x02) != 0;
    c.step = StepAt(first.U8(kStepByte)).value_or(Step::k5);
    c.rx = RecordRx(ReadDigits(first, kRxByte, kRxDigits));
    const std::uint8_t direction = first.U8(kDirectionByte);
    if (direction == kBelow || direction == kAbove) {
        c.tx = RecordTx(c.rx, ReadDigits(first, kOffsetByte, kOffsetDigits), direction == kBelow,
                        c.step);
    } else {
        c.tx = c.rx;
    }
    const ToneKinds kinds = ToneKindsOfByte(first.U8(kToneTypeByte));
    c.txTone = ToneOf(kinds.tx, first.U8(kTxCtcssByte), first.U8(kTxDcsByte));
    c.rxTone = ToneOf(kinds.rx, first.U8(kRxCtcssByte), first.U8(kRxDcsByte));

    // The name ends at the first zero; codes that name no character are left out.
    for (std::size_t i = 0; i < kChannelNameLength; ++i) {
        const std::uint8_t code = second.U8(i);
        if (code == 0) break;
        if (const char ch = NameCodeChar(code); ch != '\0') c.name += ch;
    }
    if ((flags & 0x01) != 0) c.priority = PriorityOfByte(second.U8(kPriorityByte));
    c.dcsDetect = second.U8(kDcsDetectByte) == 0x01;

    // A signal the radio does not offer shows as none; its codes are still
    // read where the stored type keeps them. A code beyond its list reads as 0.
    std::uint8_t type = second.U8(kSignalTypeByte);
    if (type >= kSignalKindCount) type = 0;
    const auto kind = static_cast<SignalKind>(type);
    c.signal.kind = Offers(features, kind) ? kind : SignalKind::None;
    const SignalBytes& where = kSignalBytes.at(type);
    const auto codeAt = [&second](std::size_t byte, int limit) -> std::uint8_t {
        if (byte == 0) return 0;
        const std::uint8_t value = second.U8(byte);
        return value <= limit ? value : 0;
    };
    c.signal.code = codeAt(where.codeByte, SignalCodeLimit(static_cast<SignalKind>(type)));
    c.signal.subCode = codeAt(where.subCodeByte, SignalSubCodeLimit(static_cast<SignalKind>(type)));
    return c;
}

// --- Radio options ------------------------------------------------------------

bool IsNumberOption(int field) { return field == kOptMrNumber || field == kOptSquelch; }

// The byte of each option value, in the order of the field's list of words.
const std::vector<std::uint8_t>& OptionCodes(int field) {
    static const std::array<std::vector<std::uint8_t>, kOptionFieldCount + 1> codes = [] {
        const std::vector<std::uint8_t> disableEnable = {0x00, 0xA5};
        std::vector<std::uint8_t> positions(16);
        for (std::size_t i = 0; i < positions.size(); ++i)
            positions[i] = static_cast<std::uint8_t>(i);
        return std::array<std::vector<std::uint8_t>, kOptionFieldCount + 1>{{
            {},
            {0x00, 0xA5},        // Frequency, Channel
            {0x00, 0x01, 0x02},  // VFO, MR, CALL
            {},                  // MR number: the number itself
            {},                  // squelch level: the number itself
            {0x00, 0x01, 0x02},  // Hi, Mid, Low
            disableEnable,       // the six permissions
            disableEnable,
            disableEnable,
            disableEnable,
            disableEnable,
            disableEnable,
            {0x03, 0x00, 0x01, 0x02},  // 1s, 100ms, 400ms, 700ms
            {0x00, 0x01, 0x02, 0x03},  // 60ms, 80ms, 160ms, 200ms
            {0x00, 0x01, 0x02, 0x03},
            {0x02, 0x03, 0x00, 0x01},  // 1000Hz, 1450Hz, 1750Hz, 2100Hz
            positions,                 // time-out timer
            positions,                 // time-out penalty
            {0x00, 0xA5},              // key lock: off, on
            {0x00, 0xA5},              // auto power off: off, on
            {0xA5, 0x00},              // beep: Disable, Enable
            {0x00, 0xA5},              // Timer, Busy
            {0x00, 0xA5},              // High, Low
            {0x00, 0xA5, 0x5A},        // off, on, Dly
            {0x00, 0x01},              // Lock, Unlock
            {0x01, 0x00},              // 25W, 60W
            {},                        // scrambler: a bit of the audio byte
            {},                        // aftersound elimination: the same
        }};
    }();
    return codes.at(static_cast<std::size_t>(field));
}

// An empty field is stored as 0.
std::uint8_t OptionByte(const RadioOptions& options, int field) {
    const int index = OptionIndex(options, field);
    if (index < 0) return 0;
    if (IsNumberOption(field)) return static_cast<std::uint8_t>(index);
    return OptionCodes(field).at(static_cast<std::size_t>(index));
}

// A byte that is no value's code reads as the value whose code is 0.
int OptionIndexOfByte(int field, std::uint8_t value) {
    if (IsNumberOption(field)) return value;
    const auto& codes = OptionCodes(field);
    auto at = std::find(codes.begin(), codes.end(), value);
    if (at == codes.end()) at = std::find(codes.begin(), codes.end(), std::uint8_t{0});
    return static_cast<int>(at - codes.begin());
}

struct OptionSlot {
    std::size_t byte;
    int field;
};

constexpr OptionSlot kLineASlots[] = {
    {1, kOptIndication}, {2, kOptStartMode},      {3, kOptMrNumber},        {4, kOptSquelch},
    {5, kOptTxPower},    {7, kOptDtmfBurstDelay}, {8, kOptDtmfFirstDigit},  {9, kOptDtmfTxInterval},
    {10, kOptTbstFreq},  {11, kOptTimeoutTimer},  {12, kOptTimeoutPenalty}, {13, kOptKeyLock},
    {14, kOptApo},       {15, kOptBeep},
};
constexpr OptionSlot kLineBSlots[] = {
    {0, kOptScanningMode},  {2, kOptSecurityMode}, {3, kOptScanStart},      {4, kOptPowerChange},
    {5, kOptKeyLockChange}, {6, kOptMoniKey},      {7, kOptCtcssDcsChange}, {8, kOptTbstOutput},
    {12, kOptLampMode},     {14, kOptPowerSelect}, {15, kOptModelLock},
};
constexpr std::uint8_t kLineAMark = 0xA5;   // byte 0 of line 16
constexpr std::uint8_t kLineBMark = 0x08;   // byte 1 of line 17
constexpr std::size_t kAudioBitsByte = 10;  // line 17: scrambler 0x01, aftersound 0x04
constexpr std::uint8_t kScramblerBit = 0x01;
constexpr std::uint8_t kAftersoundBit = 0x04;

void EncodeOptionLine(const RadioOptions& options, int line, ByteWriter& out) {
    if (line == kOptionLineA) {
        out.U8(0, kLineAMark);
        for (const OptionSlot& slot : kLineASlots)
            out.U8(slot.byte, OptionByte(options, slot.field));
        return;
    }
    out.U8(1, kLineBMark);
    for (const OptionSlot& slot : kLineBSlots) out.U8(slot.byte, OptionByte(options, slot.field));
    out.U8(kAudioBitsByte, static_cast<std::uint8_t>((options.scrambler ? kScramblerBit : 0) |
                                                     (options.aftersound ? kAftersoundBit : 0)));
}

void DecodeOptionLines(const ByteReader& lineA, const ByteReader& lineB, RadioOptions& options) {
    for (const OptionSlot& slot : kLineASlots)
        SetOptionIndex(options, slot.field, OptionIndexOfByte(slot.field, lineA.U8(slot.byte)));
    for (const OptionSlot& slot : kLineBSlots)
        SetOptionIndex(options, slot.field, OptionIndexOfByte(slot.field, lineB.U8(slot.byte)));
    // Any other combination of the two bits reads as both off.
    std::uint8_t audio = lineB.U8(kAudioBitsByte);
    if ((audio & ~(kScramblerBit | kAftersoundBit)) != 0) audio = 0;
    options.scrambler = (audio & kScramblerBit) != 0;
    options.aftersound = (audio & kAftersoundBit) != 0;
}

// --- Auto dialer ----------------------------------------------------------------

// Dial characters and their bytes: '0'..'9' as 0x30.., then these from 0x3A.
constexpr std::string_view kDialSymbols = "ABCD#*-";

std::uint8_t DialCode(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c);
    const std::size_t at = kDialSymbols.find(c);
    return at == std::string_view::npos ? 0 : static_cast<std::uint8_t>(0x3A + at);
}

char DialChar(std::uint8_t code) {
    if (code >= 0x30 && code <= 0x39) return static_cast<char>(code);
    if (code >= 0x3A && code < 0x3A + kDialSymbols.size()) return kDialSymbols[code - 0x3A];
    return '\0';
}

// Characters that are not dial characters are left out; at most 16 are kept.
void EncodeDialLine(const std::string& entry, ByteWriter& out) {
    std::size_t length = 0;
    for (char c : entry) {
        if (length == kLineBytes) break;
        if (const std::uint8_t code = DialCode(c); code != 0) out.U8(length++, code);
    }
}

std::string DecodeDialLine(const ByteReader& in) {
    std::string entry;
    for (std::size_t b = 0; b < kLineBytes; ++b) {
        if (const char c = DialChar(in.U8(b)); c != '\0') entry += c;
    }
    return entry;
}

// --- Signalling -------------------------------------------------------------------

constexpr std::size_t kFiveToneNibbles = 24;  // bytes 4..15 of a code line
constexpr std::uint8_t kFiveToneFiller = 0xE;
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

bool IsSignallingLine(int line) {
    return line == kDtmfLine || line == kTwoToneLine || line == kFiveToneLine ||
           (line >= kFirstTwoToneCodeLine && line <= kLastTwoToneCodeLine) ||
           (line >= kFirstFiveToneCodeLine && line <= kPttIdEndLine);
}

// The 2-tone settings bytes of line 256 from byte 4, in line order.
auto TwoToneLineBytes(auto& t) {
    return std::array{&t.tone1High,    &t.tone1Low,    &t.tone2High,  &t.tone2Low,
                      &t.responseMode, &t.time1,       &t.time2,      &t.time3,
                      &t.time4,        &t.tone1Tenths, &t.tone2Tenths};
}
constexpr std::size_t kTwoToneFirstByte = 4;
constexpr std::size_t kTwoToneCodeBytes = 8;  // two codes a line

template <typename Settings>
auto& TwoToneCodeOfLine(Settings& s, int line, std::size_t k) {
    return s.twoTone.codes.at(2 * static_cast<std::size_t>(line - kFirstTwoToneCodeLine) + k);
}

template <typename Settings>
auto& FiveToneCodeOfLine(Settings& s, int line) {
    if (line == kPttIdBeginLine) return s.fiveTone.pttIdBegin;
    if (line == kPttIdEndLine) return s.fiveTone.pttIdEnd;
    return s.fiveTone.codes.at(static_cast<std::size_t>(line - kFirstFiveToneCodeLine));
}

// The digits as nibbles from byte 4, padded to their length and then to the
// end of the line with the filler E; a character that is no hex digit is E too.
void EncodeFiveToneCode(const FiveToneCode& code, ByteWriter& out) {
    out.U8(1, code.standardIndex);
    out.U8(2, code.length);
    out.U8(3, code.toneTime);
    std::array<std::uint8_t, kFiveToneNibbles> nibbles{};
    nibbles.fill(kFiveToneFiller);
    for (std::size_t i = 0; i < code.length && i < kFiveToneNibbles && i < code.code.size(); ++i) {
        const int value = HexDigitValue(code.code[i]);
        nibbles.at(i) = value < 0 ? kFiveToneFiller : static_cast<std::uint8_t>(value);
    }
    for (std::size_t i = 0; i < kFiveToneNibbles; i += 2)
        out.U8(4 + i / 2, static_cast<std::uint8_t>(nibbles.at(i) << 4 | nibbles.at(i + 1)));
}

// A length beyond what the line holds reads as an empty code.
void DecodeFiveToneCode(const ByteReader& in, FiveToneCode& code) {
    code.standardIndex = in.U8(1);
    code.length = in.U8(2);
    code.toneTime = in.U8(3);
    code.code.clear();
    if (code.length > FiveToneCode::kCodeWidth) {
        code.length = 0;
        code.toneTime = 7;
        return;
    }
    for (std::size_t i = 0; i < code.length; ++i) {
        const std::uint8_t byte = in.U8(4 + i / 2);
        code.code += kHexDigits[i % 2 == 0 ? byte >> 4 : byte & 0x0F];
    }
}

constexpr std::size_t kSelfIdByte = 5;  // one digit a byte

void EncodeSignallingLine(const SignallingSettings& s, int line, ByteWriter& out) {
    if (line == kDtmfLine) {
        for (std::size_t i = 0; i < s.dtmfMemories.size(); ++i) out.I16Be(2 * i, s.dtmfMemories[i]);
    } else if (line == kTwoToneLine) {
        const auto fields = TwoToneLineBytes(s.twoTone);
        for (std::size_t i = 0; i < fields.size(); ++i) out.U8(kTwoToneFirstByte + i, *fields[i]);
    } else if (line == kFiveToneLine) {
        const FiveToneSettings& f = s.fiveTone;
        out.U8(1, f.responseMode);
        out.U8(2, f.standardIndex);
        out.U8(3, f.selfIdLength);
        out.U8(4, f.toneTime);
        // A character that is no hex digit is stored as 0.
        for (std::size_t i = 0; i < FiveToneSettings::kSelfIdWidth && i < f.selfIdLength; ++i) {
            const int digit = i < f.selfId.size() ? HexDigitValue(f.selfId[i]) : -1;
            out.U8(kSelfIdByte + i, static_cast<std::uint8_t>(digit < 0 ? 0 : digit));
        }
        out.U8(10, f.delayIndex);
    } else if (line >= kFirstTwoToneCodeLine && line <= kLastTwoToneCodeLine) {
        for (std::size_t k = 0; k < 2; ++k) {
            const auto fields = TwoToneCodeBytes(TwoToneCodeOfLine(s, line, k));
            for (std::size_t i = 0; i < fields.size(); ++i)
                out.U8(kTwoToneCodeBytes * k + i, *fields[i]);
        }
    } else if (line >= kFirstFiveToneCodeLine && line <= kPttIdEndLine) {
        EncodeFiveToneCode(FiveToneCodeOfLine(s, line), out);
    }
}

void DecodeSignallingLine(const ByteReader& in, int line, SignallingSettings& s) {
    if (line == kDtmfLine) {
        for (std::size_t i = 0; i < s.dtmfMemories.size(); ++i) s.dtmfMemories[i] = in.I16Be(2 * i);
    } else if (line == kTwoToneLine) {
        const auto fields = TwoToneLineBytes(s.twoTone);
        for (std::size_t i = 0; i < fields.size(); ++i) *fields[i] = in.U8(kTwoToneFirstByte + i);
    } else if (line == kFiveToneLine) {
        FiveToneSettings& f = s.fiveTone;
        f.responseMode = in.U8(1);
        f.standardIndex = in.U8(2);
        f.selfIdLength = in.U8(3);
        f.toneTime = in.U8(4);
        f.selfId.clear();
        // Each digit is stored as the byte 0d: its low nibble is the digit.
        for (std::size_t i = 0; i < FiveToneSettings::kSelfIdWidth && i < f.selfIdLength; ++i)
            f.selfId += kHexDigits[in.U8(kSelfIdByte + i) & 0x0F];
        f.delayIndex = in.U8(10);
    } else if (line >= kFirstTwoToneCodeLine && line <= kLastTwoToneCodeLine) {
        for (std::size_t k = 0; k < 2; ++k) {
            const auto fields = TwoToneCodeBytes(TwoToneCodeOfLine(s, line, k));
            for (std::size_t i = 0; i < fields.size(); ++i)
                *fields[i] = in.U8(kTwoToneCodeBytes * k + i);
        }
    } else if (line >= kFirstFiveToneCodeLine && line <= kPttIdEndLine) {
        DecodeFiveToneCode(in, FiveToneCodeOfLine(s, line));
    }
}

// --- Identity -------------------------------------------------------------------

// Line 0's model code as six uppercase hex digits, the way the model table
// writes it.
std::string ModelCodeOf(std::span<const std::uint8_t> image) {
    const ByteReader in(image);
    std::string code;
    for (std::size_t b = 0; b < kModelCodeBytes; ++b)
        code += ByteToHex2(in.U8Or(kModelCodeByte + b, 0));
    return code;
}

}  // namespace

// --- Encoding -------------------------------------------------------------------

LineEncoding EncodeImageLine(const Codeplug& codeplug, int line, std::string_view newPassword) {
    LineEncoding result;
    ByteWriter out = result.bytes.Writer();
    if (line == kPasswordLine) {
        result.bytes.bytes = TextToFixedBytes(newPassword, kLineBytes);
    } else if (line == kOptionLineA || line == kOptionLineB) {
        EncodeOptionLine(codeplug.options, line, out);
    } else if (line == kInUseLine || line == kScanSkipLine) {
        EncodeBitmapLine(codeplug, line, out);
    } else if (RecordRow(line) != 0) {
        EncodeRecordLine(codeplug, line, out, result.problems);
    } else if (line >= kFirstDialLine && line <= kLastDialLine) {
        EncodeDialLine(
            codeplug.autoDialer.entries.at(static_cast<std::size_t>(line - kFirstDialLine)), out);
    } else if (IsSignallingLine(line)) {
        EncodeSignallingLine(codeplug.signalling, line, out);
    }
    if (!result.problems.empty()) result.bytes = LineBytes{};
    return result;
}

bool WriteSendsLine(const Codeplug& codeplug, int line) {
    if (line < kFirstWrittenLine || line >= kImageLines) return false;
    const int row = MemoryRowOfLine(line);
    return row == 0 || codeplug.Row(row).inUse;
}

ImageEncoding EncodeImage(const Codeplug& codeplug, const FeatureFlags& features) {
    ImageEncoding result;
    std::vector<std::uint8_t> image(kImageSize, 0);
    SetImageModel(image, codeplug.model);
    SetImageFeatures(image, FeatureByte(features));
    for (int line = kFirstWrittenLine; line < kImageLines; ++line) {
        if (!WriteSendsLine(codeplug, line)) continue;
        LineEncoding encoded = EncodeImageLine(codeplug, line, {});
        for (Problem& problem : encoded.problems) result.problems.push_back(std::move(problem));
        std::copy(encoded.bytes.bytes.begin(), encoded.bytes.bytes.end(),
                  image.begin() + static_cast<std::ptrdiff_t>(LineOffset(line)));
    }
    if (result.problems.empty()) result.image = std::move(image);
    return result;
}

// --- Decoding -------------------------------------------------------------------

bool ReadRequestsLine(std::span<const std::uint8_t> imageSoFar, int line) {
    if (line < 0 || line >= kImageLines) return false;
    const int row = MemoryRowOfLine(line);
    if (row == 0) return true;
    const std::uint8_t bits =
        ByteReader(imageSoFar).U8Or(LineOffset(kInUseLine) + BitmapByte(row), 0);
    return (bits & BitmapMask(row)) != 0;
}

bool ProgramUsesLine(int line) {
    if (line < 0 || line >= kImageLines) return false;
    return line == kIdentityLine || line == kPasswordLine || line == kOptionLineA ||
           line == kOptionLineB || line == kInUseLine || line == kScanSkipLine ||
           RecordRow(line) != 0 || (line >= kFirstDialLine && line <= kLastDialLine) ||
           IsSignallingLine(line);
}

std::vector<int> UnusedLines() {
    std::vector<int> lines;
    for (int line = 0; line < kImageLines; ++line)
        if (!ProgramUsesLine(line)) lines.push_back(line);
    return lines;
}

std::string ImageSizeError(std::uintmax_t size) {
    return "A memory image has " + std::to_string(kImageSize) + " bytes; this one has " +
           std::to_string(size) + ".";
}

ImageDecoding DecodeImage(std::span<const std::uint8_t> image, int fallbackModel) {
    ImageDecoding result;
    if (image.size() != kImageSize) {
        result.error = ImageSizeError(image.size());
        return result;
    }
    const ByteReader reader(image);
    const auto line = [&reader](int n) {
        return ByteReader(reader.Sub(LineOffset(n), kLineBytes));
    };

    const int model = ImageModelIndex(image);
    result.codeplug = NewCodeplug(model >= 0 ? model : fallbackModel);
    result.features = ImageFeatures(image);
    result.radioPassword = ImagePassword(image);
    Codeplug& codeplug = result.codeplug;

    DecodeOptionLines(line(kOptionLineA), line(kOptionLineB), codeplug.options);

    const ByteReader inUse = line(kInUseLine);
    const ByteReader scanSkip = line(kScanSkipLine);
    const auto bit = [](const ByteReader& bitmap, int row) {
        return (bitmap.U8(BitmapByte(row)) & BitmapMask(row)) != 0;
    };
    for (int row = 1; row <= kRowCount; ++row) {
        Channel& channel = codeplug.Row(row);
        // The radio keeps no record of a memory channel out of use.
        if (row <= kChannelRows && !bit(inUse, row)) {
            channel = Channel{};
            channel.blank = true;
            continue;
        }
        const int first = FirstRecordLine(row);
        channel = DecodeRecord(line(first), line(first + 1), result.features);
        channel.inUse = row <= kPhRow ? bit(inUse, row) : true;
        channel.scanSkip = row <= kChannelRows && bit(scanSkip, row);
    }

    for (std::size_t i = 0; i < codeplug.autoDialer.entries.size(); ++i)
        codeplug.autoDialer.entries[i] = DecodeDialLine(line(kFirstDialLine + static_cast<int>(i)));
    for (int n = kDtmfLine; n <= kPttIdEndLine; ++n) {
        if (IsSignallingLine(n)) DecodeSignallingLine(line(n), n, codeplug.signalling);
    }
    return result;
}

// --- Identity and password --------------------------------------------------------

int ImageModelIndex(std::span<const std::uint8_t> image) {
    const std::string code = ModelCodeOf(image);
    const auto& models = ModelTable();
    const auto found = std::find_if(models.begin(), models.end(),
                                    [&code](const ModelInfo& m) { return m.modelCode == code; });
    return found == models.end() ? -1 : static_cast<int>(found - models.begin());
}

FeatureFlags ImageFeatures(std::span<const std::uint8_t> image) {
    return FeatureFlagsOfByte(ByteReader(image).U8Or(LineOffset(kIdentityLine) + kFeatureByte, 0));
}

std::string ImagePassword(std::span<const std::uint8_t> image) {
    const ByteReader in(image);
    std::string raw;
    for (std::size_t b = 0; b < kLineBytes; ++b) {
        const std::uint8_t value = in.U8Or(LineOffset(kPasswordLine) + b, 0);
        raw += static_cast<char>(value == 0xFF ? 0x00 : value);
    }
    return Latin1ToUtf8(TrimAtNul(raw));
}

int CompareModel(int model, std::span<const std::uint8_t> image) {
    const ModelInfo* info = ModelAt(model);
    if (info == nullptr) return 2;
    const std::string code = ModelCodeOf(image);
    if (info->modelCode == code) return 0;
    return info->modelCode.substr(0, 2) == code.substr(0, 2) ? 1 : 2;
}

std::uint8_t FeatureByte(const FeatureFlags& features) {
    return static_cast<std::uint8_t>((features.fiveTone ? 0x80 : 0) |
                                     (features.twoTone ? 0x40 : 0) | (features.dtmf ? 0x20 : 0) |
                                     (features.fourth ? 0x10 : 0));
}

FeatureFlags FeatureFlagsOfByte(std::uint8_t byte) {
    return FeatureFlags{(byte & 0x80) != 0, (byte & 0x40) != 0, (byte & 0x20) != 0,
                        (byte & 0x10) != 0};
}

void SetImageModel(std::span<std::uint8_t> image, int modelIndex) {
    const ModelInfo* model = ModelAt(modelIndex);
    if (model == nullptr) return;
    ByteWriter out(image);
    const std::string& code = model->modelCode;
    for (std::size_t b = 0; b < kModelCodeBytes; ++b)
        out.U8(kModelCodeByte + b, HexPairToByte(code[2 * b], code[2 * b + 1]));
}

void SetImageFeatures(std::span<std::uint8_t> image, std::uint8_t featureByte) {
    ByteWriter(image).U8(LineOffset(kIdentityLine) + kFeatureByte, featureByte);
}

}  // namespace qx

namespace qx {
namespace {

bool BcdDigits(const ByteReader& in, std::size_t offset, int digitCount) {
    for (int i = 0; i < digitCount; ++i) {
        const std::uint8_t byte = in.U8(offset + static_cast<std::size_t>(i / 2));
        if ((i % 2 == 0 ? byte >> 4 : byte & 0x0F) > 9) return false;
    }
    return true;
}

bool AllBytes(const ByteReader& in, std::uint8_t value) {
    for (std::size_t b = 0; b < kLineBytes; ++b)
        if (in.U8(b) != value) return false;
    return true;
}

std::string FirstRecordLineProblem(const ByteReader& in, bool memoryChannel) {
    if (AllBytes(in, 0x00) || AllBytes(in, 0xFF)) {
        // A record never written: a blank radio's VFO or call channel, but
        // never a memory channel its bitmap says is in use.
        return memoryChannel ? "a channel in use has an empty record" : "";
    }
    if (!BcdDigits(in, kRxByte, kRxDigits) || !BcdDigits(in, kOffsetByte, kOffsetDigits))
        return "a frequency holds a digit above 9";
    if (ReadDigits(in, kRxByte, kRxDigits) == 0) return "the Rx frequency is 0";
    if (in.U8(kDirectionByte) > kAbove) return "the Tx direction is unknown";
    if (in.U8(kStepByte) >= StepList().size()) return "the step is unknown";
    const std::uint8_t toneType = in.U8(kToneTypeByte);
    const ToneKinds kinds = ToneKindsOfByte(toneType);
    if (toneType != 0 && kinds.rx == Tone::Kind::Off && kinds.tx == Tone::Kind::Off)
        return "the tone type is unknown";
    const auto badTone = [&in](Tone::Kind kind, std::size_t ctcssByte, std::size_t dcsByte) {
        if (kind == Tone::Kind::Ctcss) return in.U8(ctcssByte) >= CtcssList().size();
        // The DCS list ends with "off", which no record names.
        if (kind == Tone::Kind::Dcs) return in.U8(dcsByte) + 1U >= DcsList().size();
        return false;
    };
    if (badTone(kinds.tx, kTxCtcssByte, kTxDcsByte) || badTone(kinds.rx, kRxCtcssByte, kRxDcsByte))
        return "a tone is outside its list";
    return "";
}

std::string SecondRecordLineProblem(const ByteReader& first, const ByteReader& second) {
    if (AllBytes(first, 0x00) || AllBytes(first, 0xFF)) return "";
    for (std::size_t i = 0; i < kChannelNameLength; ++i) {
        const std::uint8_t code = second.U8(i);
        if (code == 0) break;
        if (NameCodeChar(code) == '\0') return "the name holds a code no character has";
    }
    if (second.U8(kSignalTypeByte) >= kSignalKindCount) return "the signal type is unknown";
    if ((first.U8(kFlagsByte) & 0x01) != 0) {
        const std::uint8_t priority = second.U8(kPriorityByte);
        if (priority >= kChannelRows && priority != kPriorityPl && priority != kPriorityPh &&
            priority != kPriorityVfo && priority != kPriorityCal)
            return "the priority names no channel";
    }
    return "";
}

// Every option byte one of its field's codes (or 0x00, a radio never
// written), the numbers within their range.
std::string OptionLineProblem(const ByteReader& in, int line) {
    const auto erased = [](std::uint8_t b) { return b == 0x00; };
    const auto slots = line == kOptionLineA ? std::span<const OptionSlot>(kLineASlots)
                                            : std::span<const OptionSlot>(kLineBSlots);
    for (const OptionSlot& slot : slots) {
        const std::uint8_t value = in.U8(slot.byte);
        if (slot.field == kOptMrNumber && value >= kChannelRows) return "the MR number is above 99";
        if (erased(value) || IsNumberOption(slot.field)) continue;
        const auto& codes = OptionCodes(slot.field);
        if (std::find(codes.begin(), codes.end(), value) == codes.end())
            return "an option holds a value it does not have";
    }
    if (line == kOptionLineB) {
        const std::uint8_t audio = in.U8(kAudioBitsByte);
        if (!erased(audio) && (audio & ~(kScramblerBit | kAftersoundBit)) != 0)
            return "an option holds a value it does not have";
    }
    return "";
}

std::string DialLineProblem(const ByteReader& in) {
    for (std::size_t b = 0; b < kLineBytes; ++b) {
        const std::uint8_t code = in.U8(b);
        if (code != 0x00 && DialChar(code) == '\0') return "a dial memory holds a code no key has";
    }
    return "";
}

std::string PasswordLineProblem(const ByteReader& in) {
    std::size_t b = 0;
    const auto printable = [](std::uint8_t c) { return (c >= 0x20 && c < 0x7F) || c >= 0xA0; };
    while (b < kLineBytes && in.U8(b) != 0x00 && in.U8(b) != 0xFF && printable(in.U8(b))) ++b;
    for (; b < kLineBytes; ++b) {
        if (in.U8(b) != 0x00 && in.U8(b) != 0xFF)
            return "the password holds a byte no password has";
    }
    return "";
}

}  // namespace

std::string LineContentProblem(std::span<const std::uint8_t> image, int line) {
    if (image.size() != kImageSize || line < 0 || line >= kImageLines) return "";
    const ByteReader reader(image);
    const auto at = [&reader](int n) { return ByteReader(reader.Sub(LineOffset(n), kLineBytes)); };
    if (line == kPasswordLine) return PasswordLineProblem(at(line));
    if (line == kIdentityLine) {
        if (ImageModelIndex(image) < 0) return "the model code names no model";
        // The feature byte uses its upper four bits only.
        if ((at(line).U8(kFeatureByte) & 0x0F) != 0) return "the feature byte is unknown";
    }
    if (line == kOptionLineA || line == kOptionLineB) return OptionLineProblem(at(line), line);
    if (line >= kFirstDialLine && line <= kLastDialLine) return DialLineProblem(at(line));
    const int row = RecordRow(line);
    if (row == 0) return "";
    const int first = FirstRecordLine(row);
    if (line == first) return FirstRecordLineProblem(at(line), row <= kChannelRows);
    return SecondRecordLineProblem(at(first), at(line));
}

bool IsMemoryChannelLine(int line) { return MemoryRowOfLine(line) != 0; }

int ChannelRecordRow(int line) { return RecordRow(line); }

}  // namespace qx
