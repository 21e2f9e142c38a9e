#include "image/settings_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "channels/channel_ops.h"
#include "channels/models.h"
#include "channels/value_lists.h"
#include "image/image_codec.h"
#include "options/radio_options.h"
#include "util/numbers.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr int kOptionLineA = 16;
constexpr int kOptionLineB = 17;
constexpr int kFirstDialLine = 240;
constexpr int kLastDialLine = 248;
constexpr int kDialMemories = 9;
constexpr std::size_t kDialWidth = 16;
constexpr int kDtmfLine = 254;
constexpr int kTwoToneLine = 256;
constexpr int kFiveToneLine = 257;
constexpr int kFirstTwoToneCodeLine = 272;
constexpr int kLastTwoToneCodeLine = 321;
constexpr int kFirstFiveToneCodeLine = 384;
constexpr int kPttIdBeginLine = 484;
constexpr int kPttIdEndLine = 485;
static_assert(kSetupPieces == kOptionFieldCount + 1 && kAutoDialPieces == kDialMemories + 2);
constexpr std::size_t kFiveToneNibbles = 24;  // bytes 4..15 of a code line

// The byte of each option value, in the order OptionValues lists them.
const std::vector<std::uint8_t>& OptionCodes(int field) {
    static const std::array<std::vector<std::uint8_t>, kOptionFieldCount + 1> codes = [] {
        const std::vector<std::uint8_t> permission = {0x00, 0xA5};  // Disable, Enable
        const std::vector<std::uint8_t> offOn = {0x00, 0xA5};
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
            permission,
            permission,
            permission,
            permission,
            permission,
            permission,
            {0x03, 0x00, 0x01, 0x02},  // 1s, 100ms, 400ms, 700ms
            {0x00, 0x01, 0x02, 0x03},  // 60ms, 80ms, 160ms, 200ms
            {0x00, 0x01, 0x02, 0x03},
            {0x02, 0x03, 0x00, 0x01},  // 1000Hz, 1450Hz, 1750Hz, 2100Hz
            positions,                 // time-out timer
            positions,                 // time-out penalty
            offOn,
            offOn,
            {0xA5, 0x00},        // beep: Disable, Enable
            {0x00, 0xA5},        // Timer, Busy
            {0x00, 0xA5},        // High, Low
            {0x00, 0xA5, 0x5A},  // off, on, Dly
            {0x00, 0x01},        // Lock, Unlock
            {0x01, 0x00},        // 25W, 60W
            {},                  // scrambler: a bit of line 17 byte 10
            {},                  // aftersound elimination: the same
        }};
    }();
    return codes.at(static_cast<std::size_t>(field));
}

bool IsNumberField(int field) { return field == kOptMrNumber || field == kOptSquelch; }

std::uint8_t OptionByte(int field, const std::string& text) {
    if (IsNumberField(field)) {
        const auto value = ParseInteger(text);
        return value && *value >= 0 && *value <= 255 ? static_cast<std::uint8_t>(*value) : 0;
    }
    const int index = ListIndexOf(OptionValues(field), text);
    return index < 0 ? 0 : OptionCodes(field).at(static_cast<std::size_t>(index));
}

std::string OptionText(int field, std::uint8_t value) {
    if (IsNumberField(field)) return std::to_string(value);
    const auto& codes = OptionCodes(field);
    auto at = std::find(codes.begin(), codes.end(), value);
    if (at == codes.end()) at = std::find(codes.begin(), codes.end(), std::uint8_t{0});
    return OptionValues(field).at(static_cast<std::size_t>(at - codes.begin()));
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
constexpr std::size_t kAudioBitsByte = 10;  // line 17: scrambler bit 0, aftersound bit 2

std::string EncodeOptionLine(const Document& doc, int line) {
    const std::vector<std::string> fields = Split(doc.strSetup, '|');
    LineBytes bytes;
    ByteWriter out = bytes.Writer();
    if (line == kOptionLineA) {
        out.U8(0, 0xA5);
        for (const OptionSlot& slot : kLineASlots) {
            out.U8(slot.byte,
                   OptionByte(slot.field, fields.at(static_cast<std::size_t>(slot.field))));
        }
    } else {
        out.U8(1, 0x08);
        for (const OptionSlot& slot : kLineBSlots) {
            out.U8(slot.byte,
                   OptionByte(slot.field, fields.at(static_cast<std::size_t>(slot.field))));
        }
        const bool scrambler = fields.at(kOptScrambler) == "1";
        const bool aftersound = fields.at(kOptAftersound) == "1";
        out.U8(kAudioBitsByte,
               static_cast<std::uint8_t>((scrambler ? 0x01 : 0) | (aftersound ? 0x04 : 0)));
    }
    return bytes.ToHex();
}

void DecodeOptionLine(Document& doc, const HexLine& hex, int line, ImageReadState& state) {
    if (state.optionFields.size() != kSetupPieces) {
        // Fields the radio does not send in this read keep the document's values.
        state.optionFields = Split(doc.strSetup, '|');
        if (state.optionFields.size() != kSetupPieces)
            state.optionFields = Split(kDefaultSetup, '|');
    }
    auto& fields = state.optionFields;
    if (line == kOptionLineA) {
        for (const OptionSlot& slot : kLineASlots) {
            fields.at(static_cast<std::size_t>(slot.field)) =
                OptionText(slot.field, hex.Byte(static_cast<int>(slot.byte)));
        }
        return;
    }
    for (const OptionSlot& slot : kLineBSlots) {
        fields.at(static_cast<std::size_t>(slot.field)) =
            OptionText(slot.field, hex.Byte(static_cast<int>(slot.byte)));
    }
    std::uint8_t audio = hex.Byte(static_cast<int>(kAudioBitsByte));
    if (audio != 0x00 && audio != 0x01 && audio != 0x04 && audio != 0x05) audio = 0;
    fields.at(kOptScrambler) = (audio & 0x01) != 0 ? "1" : "0";
    fields.at(kOptAftersound) = (audio & 0x04) != 0 ? "1" : "0";
    doc.strSetup = JoinOptionRecord(fields);
}

// Auto-dialer characters and their bytes: '0'..'9' 0x30.., then these from 0x3A.
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

std::string EncodeDialLine(const Document& doc, int line) {
    const std::vector<std::string> memories = Split(doc.strAutoDial, '|');
    const std::string& memory = memories.at(static_cast<std::size_t>(line - kFirstDialLine + 1));
    LineBytes bytes;
    ByteWriter out = bytes.Writer();
    std::size_t length = 0;
    for (char c : memory) {
        if (length == kDialWidth) break;
        if (const std::uint8_t code = DialCode(c); code != 0) out.U8(length++, code);
    }
    return bytes.ToHex();
}

void DecodeDialLine(Document& doc, const HexLine& hex, int line, ImageReadState& state) {
    if (state.dialMemories.size() != kDialMemories) {
        const std::vector<std::string> pieces = Split(doc.strAutoDial, '|');
        state.dialMemories.assign(kDialMemories, "");
        if (pieces.size() == kAutoDialPieces) {
            std::copy(pieces.begin() + 1, pieces.begin() + 1 + kDialMemories,
                      state.dialMemories.begin());
        }
    }
    std::string memory;
    for (int b = 0; b < static_cast<int>(kLineBytes); ++b) {
        if (const char c = DialChar(hex.Byte(b)); c != '\0') memory += c;
    }
    state.dialMemories.at(static_cast<std::size_t>(line - kFirstDialLine)) = memory;
    if (line != kLastDialLine) return;
    std::string record = "Ad|";
    for (const std::string& m : state.dialMemories) record += m.substr(0, kDialWidth) + "|";
    doc.strAutoDial = record;
}

// 5-tone code characters as the radio stores them: hex digits in upper case,
// anything else as the filler digit E.
char FiveToneDigit(char c) {
    const int value = HexDigitValue(c);
    return value < 0 ? 'E' : "0123456789ABCDEF"[value];
}

void EncodeFiveToneCode(const FiveToneCode& code, ByteWriter& out) {
    out.U8(0, 0x00);
    out.U8(1, code.standardIndex);
    out.U8(2, code.length);
    out.U8(3, code.toneTime);
    std::string digits;
    for (std::size_t i = 0; i < code.length && i < kFiveToneNibbles; ++i) {
        digits += i < code.code.size() ? FiveToneDigit(code.code[i]) : 'E';
    }
    digits.resize(kFiveToneNibbles, 'E');
    for (std::size_t i = 0; i < kFiveToneNibbles; i += 2) {
        out.U8(4 + i / 2, HexPairToByte(digits[i], digits[i + 1]));
    }
}

void DecodeFiveToneCode(const HexLine& hex, FiveToneCode& code) {
    code.standardIndex = hex.Byte(1);
    code.length = hex.Byte(2);
    code.toneTime = hex.Byte(3);
    code.code.clear();
    if (code.length > FiveToneCode::kCodeWidth) {
        code.length = 0;
        code.toneTime = 7;
        return;
    }
    for (int i = 0; i < code.length; ++i) code.code += FiveToneDigit(hex.Char(8 + i));
}

// The 2-tone settings bytes of line 256 from byte 4, in line order.
auto TwoToneLineBytes(auto& t) {
    return std::array{&t.tone1High,    &t.tone1Low,    &t.tone2High,  &t.tone2Low,
                      &t.responseMode, &t.time1,       &t.time2,      &t.time3,
                      &t.time4,        &t.tone1Tenths, &t.tone2Tenths};
}

// The code of lines 384..485, const or not as the settings are.
template <typename Settings>
auto& FiveToneCodeOfLine(Settings& s, int line) {
    if (line == kPttIdBeginLine) return s.fiveTone.pttIdBegin;
    if (line == kPttIdEndLine) return s.fiveTone.pttIdEnd;
    return s.fiveTone.codes.at(static_cast<std::size_t>(line - kFirstFiveToneCodeLine));
}

std::string EncodeSignallingLine(const SignallingSettings& s, int line) {
    LineBytes bytes;
    ByteWriter out = bytes.Writer();
    if (line == kDtmfLine) {
        for (std::size_t i = 0; i < s.dtmfMemories.size(); ++i) out.I16Be(2 * i, s.dtmfMemories[i]);
    } else if (line == kTwoToneLine) {
        const auto fields = TwoToneLineBytes(s.twoTone);
        for (std::size_t i = 0; i < fields.size(); ++i) out.U8(4 + i, *fields[i]);
    } else if (line == kFiveToneLine) {
        const FiveToneSettings& f = s.fiveTone;
        out.U8(1, f.responseMode);
        out.U8(2, f.standardIndex);
        out.U8(3, f.selfIdLength);
        out.U8(4, f.toneTime);
        for (std::size_t i = 0; i < FiveToneSettings::kSelfIdWidth && i < f.selfIdLength; ++i) {
            const int digit = i < f.selfId.size() ? HexDigitValue(f.selfId[i]) : -1;
            out.U8(5 + i, static_cast<std::uint8_t>(digit < 0 ? 0 : digit));
        }
        out.U8(10, f.delayIndex);
    } else if (line >= kFirstTwoToneCodeLine && line <= kLastTwoToneCodeLine) {
        for (std::size_t k = 0; k < 2; ++k) {
            const auto fields = TwoToneCodeBytes(
                s.twoTone.codes.at(2 * static_cast<std::size_t>(line - kFirstTwoToneCodeLine) + k));
            for (std::size_t i = 0; i < fields.size(); ++i) out.U8(8 * k + i, *fields[i]);
        }
    } else if (line >= kFirstFiveToneCodeLine && line <= kPttIdEndLine) {
        EncodeFiveToneCode(FiveToneCodeOfLine(s, line), out);
    }
    return bytes.ToHex();
}

void DecodeSignallingLine(SignallingSettings& s, const HexLine& hex, int line) {
    if (line == kDtmfLine) {
        for (std::size_t i = 0; i < s.dtmfMemories.size(); ++i) {
            const int b = 2 * static_cast<int>(i);
            s.dtmfMemories[i] = static_cast<std::int16_t>(hex.Byte(b) << 8 | hex.Byte(b + 1));
        }
    } else if (line == kTwoToneLine) {
        const auto fields = TwoToneLineBytes(s.twoTone);
        for (std::size_t i = 0; i < fields.size(); ++i)
            *fields[i] = hex.Byte(4 + static_cast<int>(i));
    } else if (line == kFiveToneLine) {
        FiveToneSettings& f = s.fiveTone;
        f.responseMode = hex.Byte(1);
        f.standardIndex = hex.Byte(2);
        f.selfIdLength = hex.Byte(3);
        f.toneTime = hex.Byte(4);
        f.selfId.clear();
        for (int i = 0; i < static_cast<int>(FiveToneSettings::kSelfIdWidth) && i < f.selfIdLength;
             ++i) {
            // Each digit is stored as the byte "0d": its second character is the digit.
            const int digit = hex.Nibble(2 * (5 + i) + 1);
            f.selfId += "0123456789ABCDEF"[digit < 0 ? 0 : digit];
        }
        f.delayIndex = hex.Byte(10);
    } else if (line >= kFirstTwoToneCodeLine && line <= kLastTwoToneCodeLine) {
        for (std::size_t k = 0; k < 2; ++k) {
            const auto fields = TwoToneCodeBytes(
                s.twoTone.codes.at(2 * static_cast<std::size_t>(line - kFirstTwoToneCodeLine) + k));
            for (std::size_t i = 0; i < fields.size(); ++i) {
                *fields[i] = hex.Byte(static_cast<int>(8 * k + i));
            }
        }
    } else if (line >= kFirstFiveToneCodeLine && line <= kPttIdEndLine) {
        DecodeFiveToneCode(hex, FiveToneCodeOfLine(s, line));
    }
}

bool IsSignallingLine(int line) {
    return line == kDtmfLine || line == kTwoToneLine || line == kFiveToneLine ||
           (line >= kFirstTwoToneCodeLine && line <= kLastTwoToneCodeLine) ||
           (line >= kFirstFiveToneCodeLine && line <= kPttIdEndLine);
}

std::string PasswordLine(const std::string& password) {
    LineBytes bytes;
    bytes.bytes = TextToFixedBytes(password, kLineBytes);
    return bytes.ToHex();
}

std::string PasswordOf(const HexLine& hex) {
    std::string raw;
    for (int b = 0; b < static_cast<int>(kLineBytes); ++b) {
        const std::uint8_t value = hex.Byte(b);
        raw += static_cast<char>(value == 0xFF ? 0x00 : value);
    }
    return Latin1ToUtf8(TrimAtNul(raw));
}

// 0 same model, 1 same band letter only, 2 another model type.
int CompareModel(const Document& doc, const std::string& radioCode) {
    const ModelInfo* model = ModelAt(doc.modelIndex);
    if (model == nullptr) return 2;
    if (model->modelCode == radioCode) return 0;
    return model->modelCode.substr(0, 2) == radioCode.substr(0, 2) ? 1 : 2;
}

void DecodeIdentityLine(Document& doc, FeatureFlags& features, const HexLine& hex,
                        ImageReadState& state, Ui& ui) {
    // The features count in both modes: a write's pre-read also stores them.
    features = FeatureFlagsOfByte(hex.Byte(14));
    ReShowFunByRadio(doc, features);

    std::string code;
    for (int i = 2; i < 8; ++i) code += hex.Char(i);
    if (state.checkRead) {
        state.modelMatch = CompareModel(doc, code);
        return;
    }
    const auto& models = ModelTable();
    const auto found = std::find_if(models.begin(), models.end(),
                                    [&](const ModelInfo& m) { return m.modelCode == code; });
    if (found != models.end()) {
        ChangeModel(doc, static_cast<int>(found - models.begin()), ui, [] { return false; });
    }
}

}  // namespace

bool CheckRecordFormats(const Document& doc, Ui& ui) {
    if (Split(doc.strSetup, '|').size() != kSetupPieces) {
        ui.ShowMessage(kOptionFormatError);
        return false;
    }
    if (Split(doc.strAutoDial, '|').size() != kAutoDialPieces) {
        ui.ShowMessage(kAutoDialFormatError);
        return false;
    }
    return true;
}

std::string EncodeSettingsLine(Document& doc, int line, const std::string& newPassword, Ui& ui) {
    if (!CheckRecordFormats(doc, ui)) return "error";
    if (line == 4) return PasswordLine(newPassword);
    if (line == kOptionLineA || line == kOptionLineB) return EncodeOptionLine(doc, line);
    if (line >= kFirstDialLine && line <= kLastDialLine) return EncodeDialLine(doc, line);
    return EncodeSignallingLine(doc.signalling.live, line);
}

void DecodeSettingsLine(Document& doc, FeatureFlags& features, const HexLine& hex, int line,
                        ImageReadState& state, Ui& ui) {
    if (line == 0) {
        DecodeIdentityLine(doc, features, hex, state, ui);
    } else if (line == 4) {
        state.radioPassword = PasswordOf(hex);
        if (state.checkRead) {
            state.checkRead = false;
            state.checkReadDone = true;
        }
    } else if (state.checkRead) {
        return;
    } else if (line == kOptionLineA || line == kOptionLineB) {
        DecodeOptionLine(doc, hex, line, state);
    } else if (line >= kFirstDialLine && line <= kLastDialLine) {
        DecodeDialLine(doc, hex, line, state);
    } else if (IsSignallingLine(line)) {
        DecodeSignallingLine(doc.signalling.live, hex, line);
    }
}

}  // namespace qx
