#include "image/channel_codec.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "channels/frequency.h"
#include "channels/value_lists.h"
#include "codeplug/codeplug.h"
#include "image/image_codec.h"
#include "util/numbers.h"

namespace qx {
namespace {

// Frequencies travel as whole counts of 100 Hz (four decimals of a MHz).
constexpr std::int64_t kScaledPerUnit = ScaledDecimal::kScale / 10000;
constexpr std::int64_t kUnitsPerMhz = 10000;
constexpr std::int64_t kFallbackRxUnits = 145 * kUnitsPerMhz;
constexpr std::int64_t kRxLimitUnits = 10000 * kUnitsPerMhz;    // four MHz digits
constexpr std::int64_t kOffsetLimitUnits = 100 * kUnitsPerMhz;  // two MHz digits

constexpr std::uint8_t kNoCtcss = 0x08;
constexpr std::uint8_t kNoDcs = 0x00;

// Option signal types by the value of byte 9 of a record's second line, and
// where each keeps its code and sub-code (0: none) with the highest value
// each may take.
constexpr std::size_t kSignalTypeByte = 9;
constexpr const char* kSignalTypes[] = {"None", "DTMF", "DTMF-ANI", "2Tone", "5Tone"};
struct SignalBytes {
    std::size_t codeByte;
    int codeLimit;
    std::size_t subCodeByte;
    int subCodeLimit;
};
constexpr SignalBytes kSignalBytes[] = {
    {0, 0, 0, 0}, {10, 7, 0, 0}, {10, 7, 13, 1}, {11, 99, 0, 0}, {12, 99, 14, 3},
};

// Priority bytes of the rows that are not channels.
constexpr std::uint8_t kPriorityPl = 0x64;
constexpr std::uint8_t kPriorityPh = 0x65;
constexpr std::uint8_t kPriorityVfo = 0x80;
constexpr std::uint8_t kPriorityCal = 0xA0;

// A frequency text as whole 100 Hz units, the digits past the fourth decimal
// dropped; nullopt when not a number or negative.
std::optional<std::int64_t> FrequencyUnits(std::string_view text) {
    const auto value = ParseDecimal(text);
    if (!value || value->units < 0) return std::nullopt;
    return value->units / kScaledPerUnit;
}

std::string ZeroPadded(std::int64_t value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

// Writes `value` as `digitCount` decimal digits, two per byte, from `offset`.
void WriteDecimalDigits(ByteWriter& out, std::size_t offset, std::int64_t value, int digitCount) {
    const std::string digits = ZeroPadded(value, static_cast<std::size_t>(digitCount));
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        out.U8(offset + i / 2,
               static_cast<std::uint8_t>((digits[i] - '0') * 16 + digits[i + 1] - '0'));
    }
}

// A received decimal digit; any other character counts as 0.
int DigitAt(const HexLine& hex, int i) {
    const int value = hex.Nibble(i);
    return value >= 0 && value <= 9 ? value : 0;
}

std::int64_t DigitsAt(const HexLine& hex, int first, int count) {
    std::int64_t value = 0;
    for (int i = first; i < first + count; ++i) value = value * 10 + DigitAt(hex, i);
    return value;
}

bool IsOn(const Document& doc, int row, int column) { return doc.Table(row, column) == "on"; }

bool IsNarrow(const Document& doc, int row) {
    const std::string& bandwidth = doc.Table(row, kColBandwidth);
    return bandwidth == "narrow" || (!doc.texts.narrow.empty() && bandwidth == doc.texts.narrow);
}

std::uint8_t ListIndexOr(const std::vector<std::string>& list, const std::string& text,
                         std::uint8_t fallback) {
    const int index = ListIndexOf(list, text);
    return index < 0 ? fallback : static_cast<std::uint8_t>(index);
}

std::string ToneValue(const std::string& tone) { return tone.size() > 2 ? tone.substr(2) : ""; }

// The signalling code of a table cell as one byte; a text that is not a
// whole number 0..255 is set to "0" first.
std::uint8_t SignalCodeByte(Document& doc, int row, int column) {
    const auto value = ParseInteger(doc.Table(row, column));
    if (!value || *value < 0 || *value > 255) {
        doc.Table(row, column) = "0";
        return 0;
    }
    return static_cast<std::uint8_t>(*value);
}

std::uint8_t PriorityByte(const std::string& priority) {
    if (priority == "CAL") return kPriorityCal;
    if (priority == "VFO") return kPriorityVfo;
    if (priority == "PL") return kPriorityPl;
    if (priority == "PH") return kPriorityPh;
    if (priority.size() != 2) return 0;
    const auto channel = ParseInteger(priority);
    return channel && *channel >= 0 ? static_cast<std::uint8_t>(*channel) : 0;
}

std::string EncodeFirstLine(Document& doc, int row, Ui& ui) {
    const auto text = [&](int column) -> const std::string& {
        const std::string& value = doc.Table(row, column);
        return value.empty() ? doc.DefaultRow.at(static_cast<std::size_t>(column)) : value;
    };
    std::int64_t rx = FrequencyUnits(text(kColRxFreq)).value_or(kFallbackRxUnits);
    if (rx >= kRxLimitUnits) rx = kFallbackRxUnits;
    const auto tx = FrequencyUnits(text(kColTxFreq));
    if (!tx) {
        ui.ShowMessage(RowDisplayName(row) + ": the Tx frequency \"" + text(kColTxFreq) +
                       "\" is not a valid frequency.");
        return "error";
    }
    const std::int64_t offset = *tx > rx ? *tx - rx : rx - *tx;
    if (offset >= kOffsetLimitUnits) {
        ui.ShowMessage(RowDisplayName(row) + ": the Tx offset " + FormatScaled(offset, 4) +
                       " MHz is too large for the radio (at most 99.9999 MHz).");
        return "error";
    }

    const std::string& rxTone = doc.Table(row, kColRxTone);
    const std::string& txTone = doc.Table(row, kColTxTone);
    const std::string& priority = doc.Table(row, kColPriority);
    const int shiftPac = 2 * IsOn(doc, row, kColShift) + IsOn(doc, row, kColPacMode);
    const int flags = 8 * IsNarrow(doc, row) + 4 * IsOn(doc, row, kColBcl) +
                      2 * IsOn(doc, row, kColAni) + (priority != "off" && !priority.empty());
    const int toneTypes = (txTone.starts_with("C:") ? 1 : 0) | (rxTone.starts_with("C:") ? 2 : 0) |
                          (txTone.starts_with("D:") ? 4 : 0) | (rxTone.starts_with("D:") ? 8 : 0);

    LineBytes line;
    ByteWriter out = line.Writer();
    out.U8(0, static_cast<std::uint8_t>(shiftPac << 4 | flags));
    out.U8(1, *tx > rx ? 0x02 : (*tx < rx ? 0x01 : 0x00));
    out.U8(2, static_cast<std::uint8_t>(toneTypes));
    out.U8(3, ListIndexOr(StepList(), doc.Table(row, kColStep), 0));
    WriteDecimalDigits(out, 4, rx, 8);
    out.U8(8, 0);
    WriteDecimalDigits(out, 9, offset, 6);
    out.U8(12, ListIndexOr(CtcssList(), ToneValue(txTone), kNoCtcss));
    out.U8(13, ListIndexOr(CtcssList(), ToneValue(rxTone), kNoCtcss));
    out.U8(14, ListIndexOr(DcsList(), ToneValue(txTone), kNoDcs));
    out.U8(15, ListIndexOr(DcsList(), ToneValue(rxTone), kNoDcs));
    return line.ToHex();
}

std::string EncodeSecondLine(Document& doc, int row) {
    LineBytes line;
    ByteWriter out = line.Writer();
    const std::string& name = doc.Table(row, kColName);
    for (std::size_t i = 0; i < 7 && i < name.size(); ++i) out.U8(i, NameCode(name[i]));
    out.U8(7, PriorityByte(doc.Table(row, kColPriority)));
    out.U8(8, IsOn(doc, row, kColDcsDetect) ? 0x01 : 0x00);

    const std::uint8_t code = SignalCodeByte(doc, row, kColSignalCode);
    const std::uint8_t subCode = SignalCodeByte(doc, row, kColSignalSubCode);
    const std::string& signal = doc.Table(row, kColOptSignal);
    for (std::size_t type = 1; type < std::size(kSignalTypes); ++type) {
        if (signal != kSignalTypes[type]) continue;
        const SignalBytes& where = kSignalBytes[type];
        out.U8(kSignalTypeByte, static_cast<std::uint8_t>(type));
        out.U8(where.codeByte, code);
        if (where.subCodeByte != 0) out.U8(where.subCodeByte, subCode);
    }
    return line.ToHex();
}

// "145.0125" from the 8 received digits: four MHz digits without leading zeros.
std::string RxText(const HexLine& hex) {
    return std::to_string(DigitsAt(hex, 8, 4)) + "." + ZeroPadded(DigitsAt(hex, 12, 4), 4);
}

// Rx moved by the offset in single precision, written with seven
// significant digits, then put on the row's step grid.
std::string ShiftedFrequency(const std::string& rx, std::int64_t offsetUnits, bool below,
                             const std::string& step) {
    float value = 0.0F;
    std::from_chars(rx.data(), rx.data() + rx.size(), value);
    const float offset = static_cast<float>(offsetUnits) / static_cast<float>(kUnitsPerMhz);
    const float tx = below ? value - offset : value + offset;
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, tx, std::chars_format::general, 7);
    std::string text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    // The 8.33 kHz grid rounds down, and the record has lost the fifth
    // decimal (118.01666 was stored as 118.0166): take the top of the lost
    // range so the frequency comes back on the point it was written from.
    if (const auto parsed = ParseDecimal(text); step == "8.33" && parsed && parsed->units >= 0) {
        constexpr std::int64_t kPerTenHz = ScaledDecimal::kScale / 100000;
        text = FormatScaled(parsed->units / kPerTenHz + 9, 5);
    }
    return AdjustRxFreqByStep(text, step);
}

// Tone types by the byte the record stores: {rx, tx}, 'C' CTCSS, 'D' DCS, 0 off.
std::pair<char, char> ToneTypes(std::uint8_t value) {
    switch (value) {
        case 0x01:
            return {0, 'C'};
        case 0x02:
            return {'C', 0};
        case 0x03:
            return {'C', 'C'};
        case 0x04:
            return {0, 'D'};
        case 0x06:
            return {'C', 'D'};
        case 0x08:
            return {'D', 0};
        case 0x09:
            return {'D', 'C'};
        case 0x0C:
            return {'D', 'D'};
        default:
            return {0, 0};
    }
}

std::string ToneText(char type, std::uint8_t ctcssIndex, std::uint8_t dcsIndex) {
    const auto& list = type == 'C' ? CtcssList() : DcsList();
    const std::uint8_t index = type == 'C' ? ctcssIndex : dcsIndex;
    if (type == 0 || index >= list.size()) return "off";
    return std::string(1, type) + ":" + list[index];
}

void DecodeFirstLine(const HexLine& hex, RecordScratch& s) {
    const std::uint8_t flags = hex.Byte(0);
    s.shiftPac = flags >> 4;
    s.bandwidth = (flags & 0x08) != 0 ? "narrow" : "wide";
    s.bcl = (flags & 0x04) != 0 ? "on" : "off";
    s.ani = (flags & 0x02) != 0 ? "on" : "off";
    s.priority = (flags & 0x01) != 0;

    const std::uint8_t stepIndex = hex.Byte(3);
    s.step = stepIndex < StepList().size() ? StepList()[stepIndex] : "5";
    s.rxFreq = RxText(hex);
    const std::uint8_t direction = hex.Byte(1);
    const std::int64_t offset = DigitsAt(hex, 18, 6);
    if (direction == 0x01 || direction == 0x02) {
        s.txFreq = ShiftedFrequency(s.rxFreq, offset, direction == 0x01, s.step);
    } else {
        s.txFreq = s.rxFreq;
    }
    const auto [rxType, txType] = ToneTypes(hex.Byte(2));
    s.txTone = ToneText(txType, hex.Byte(12), hex.Byte(14));
    s.rxTone = ToneText(rxType, hex.Byte(13), hex.Byte(15));
}

std::string PriorityText(std::uint8_t value) {
    if (value < kChannelRows) return PriorityName(value + 1);
    if (value == kPriorityPl) return "PL";
    if (value == kPriorityPh) return "PH";
    if (value == kPriorityCal) return "CAL";
    return "VFO";
}

// A code beyond the last entry of its list reads as 0.
std::string CodeText(std::uint8_t value, int limit) {
    return std::to_string(value <= limit ? value : 0);
}

void WriteCell(Document& doc, int row, int column, const std::string& value) {
    doc.Cell(row, column) = value;
    doc.Table(row, column) = value;
}

void DecodeSecondLine(Document& doc, const HexLine& hex, int row, ImageReadState& state) {
    const RecordScratch& s = state.scratch;
    std::string name;
    for (int b = 0; b < 7; ++b) {
        const std::uint8_t code = hex.Byte(b);
        if (code == 0) break;
        if (const char c = NameCodeChar(code); c != '\0') name += c;
    }

    std::uint8_t type = hex.Byte(kSignalTypeByte);
    if (type >= std::size(kSignalTypes)) type = 0;
    std::string signal = kSignalTypes[type];
    if (type == 0 || !ListContains(signal, doc.optSignalList)) {
        signal = doc.optSignalList.empty() ? "None" : doc.optSignalList.front();
    }
    const SignalBytes& where = kSignalBytes[type];
    const std::string code = type == 0 ? "0" : CodeText(hex.Byte(where.codeByte), where.codeLimit);
    const std::string subCode =
        where.subCodeByte == 0 ? "0" : CodeText(hex.Byte(where.subCodeByte), where.subCodeLimit);

    WriteCell(doc, row, kColName, name);
    WriteCell(doc, row, kColStep, s.step);
    WriteCell(doc, row, kColRxFreq, s.rxFreq);
    WriteCell(doc, row, kColRxTone, s.rxTone);
    WriteCell(doc, row, kColPacMode, (s.shiftPac & 1) != 0 ? "on" : "off");
    WriteCell(doc, row, kColDcsDetect, hex.Byte(8) == 0x01 ? "on" : "off");
    const bool skip = row <= kChannelRows && state.scanSkip.at(static_cast<std::size_t>(row));
    WriteCell(doc, row, kColScanSkip, skip ? doc.texts.scanSkipOn : doc.texts.scanSkipOff);
    WriteCell(doc, row, kColPriority, s.priority ? PriorityText(hex.Byte(7)) : "off");
    WriteCell(doc, row, kColTxFreq, s.txFreq);
    WriteCell(doc, row, kColTxTone, s.txTone);
    WriteCell(doc, row, kColBcl, s.bcl);
    WriteCell(doc, row, kColAni, s.ani);
    WriteCell(doc, row, kColShift, (s.shiftPac & 2) != 0 ? "on" : "off");
    WriteCell(doc, row, kColOptSignal, signal);
    // The table holds the canonical word, the grid the language's text.
    doc.Table(row, kColBandwidth) = s.bandwidth;
    doc.Cell(row, kColBandwidth) = s.bandwidth == "narrow" ? doc.texts.narrow : doc.texts.wide;
    doc.Table(row, kColSignalCode) = code;
    doc.Table(row, kColSignalSubCode) = subCode;
    // Later edits of the row round to the step it shows.
    doc.RowStep.at(static_cast<std::size_t>(row)) = s.step;

    if (row <= kPhRow) {
        const bool active = doc.RowActive.at(static_cast<std::size_t>(row));
        const std::string& status = active ? doc.texts.active : doc.texts.inactive;
        WriteCell(doc, row, kColStatus, status);
        if (!active) {
            for (int c = kFirstFieldColumn; c <= kLastFieldColumn; ++c)
                doc.Cell(row, c) = kInactiveCell;
        }
    }
    state.scratch.Clear();
}

// A channel row the radio does not use: its record will not be read, so
// nothing of the row's previous content may stay behind.
void MakeChannelUnused(Document& doc, int row) {
    WriteCell(doc, row, kColStatus, doc.texts.inactive);
    for (int c = kFirstFieldColumn; c <= kColSignalSubCode; ++c) {
        doc.Table(row, c).clear();
        if (c <= kLastFieldColumn) doc.Cell(row, c) = kInactiveCell;
    }
}

}  // namespace

int RecordRowOfLine(int line) {
    if (line >= 32 && line <= 231) return (line - 30) / 2;
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

bool IsFirstRecordLine(int line) { return RecordRowOfLine(line) != 0 && line % 2 == 0; }

std::string EncodeChannelLine(Document& doc, int line, Ui& ui) {
    const int row = RecordRowOfLine(line);
    if (row == 0) return LineBytes{}.ToHex();
    return IsFirstRecordLine(line) ? EncodeFirstLine(doc, row, ui) : EncodeSecondLine(doc, row);
}

std::string EncodeRowBitmaps(const Document& doc, int line) {
    LineBytes bitmap;
    ByteWriter out = bitmap.Writer();
    const bool active = line == kActiveBitmapLine;
    const int rows = active ? kRowCount : kChannelRows;
    std::array<int, kLineBytes> bits{};
    for (int row = 1; row <= rows; ++row) {
        bool set = false;
        if (active) {
            const std::string& status = doc.Cell(row, kColStatus);
            set = !status.empty() && status != doc.texts.inactive;
        } else {
            // An empty cell counts as the default choice.
            const std::string& skip = doc.Table(row, kColScanSkip);
            set = !skip.empty() && skip != doc.texts.scanSkipOff;
        }
        if (set) bits.at(static_cast<std::size_t>((row - 1) / 8)) |= 0x80 >> ((row - 1) % 8);
    }
    for (std::size_t i = 0; i < kLineBytes; ++i) out.U8(i, static_cast<std::uint8_t>(bits.at(i)));
    return bitmap.ToHex();
}

void DecodeChannelLine(Document& doc, const HexLine& hex, int line, ImageReadState& state) {
    const int row = RecordRowOfLine(line);
    if (row == 0) return;
    if (IsFirstRecordLine(line)) {
        DecodeFirstLine(hex, state.scratch);
    } else {
        DecodeSecondLine(doc, hex, row, state);
    }
}

void DecodeRowBitmaps(Document& doc, const HexLine& hex, int line, ImageReadState& state) {
    const bool active = line == kActiveBitmapLine;
    for (int i = 0; i < kRowCount / 4; ++i) {
        const auto bits = NibbleBits(hex.Nibble(i));
        for (int k = 0; k < 4; ++k) {
            const auto row = static_cast<std::size_t>(4 * i + k + 1);
            if (active) {
                doc.RowActive.at(row) = bits[static_cast<std::size_t>(k)] != 0;
            } else {
                state.scanSkip.at(row) = bits[static_cast<std::size_t>(k)] != 0;
            }
        }
    }
    if (!active || state.checkRead) return;
    for (int row = 1; row <= kChannelRows; ++row) {
        if (!doc.RowActive.at(static_cast<std::size_t>(row))) MakeChannelUnused(doc, row);
    }
}

}  // namespace qx
