#include "files/ton_file.h"

#include <algorithm>
#include <array>
#include <string>

#include "util/byte_view.h"

namespace qx {
namespace {

// Record layout: offsets of the fields.
constexpr std::size_t kDtmfMemories = 0;
constexpr std::size_t kReserved = 16;
constexpr std::size_t kTwoTone = 20;
constexpr std::size_t kTwoToneCodes = 32;
constexpr std::size_t kTwoToneCodeSize = 6;
constexpr std::size_t kFiveTone = 632;
constexpr std::size_t kSelfId = 637;
constexpr std::size_t kDelayIndex = 642;
constexpr std::size_t kPttIdBegin = 643;
constexpr std::size_t kPttIdEnd = 669;
constexpr std::size_t kFiveToneCodes = 695;
constexpr std::size_t kFiveToneCodeSize = 26;
constexpr std::size_t kFiveToneCodeText = 4;  // within a 5-tone code

static_assert(kFiveToneCodes + 100 * kFiveToneCodeSize == kTonRecordSize);
static_assert(kTwoToneCodes + 100 * kTwoToneCodeSize == kFiveTone);

constexpr char kPad = ' ';

// Texts are stored space-padded; a NUL left by another writer is padding too.
std::string WithoutPadding(std::string text) {
    while (!text.empty() && (text.back() == kPad || text.back() == '\0')) text.pop_back();
    return text;
}

// The two-tone settings' twelve bytes in file order.
auto TwoToneBytes(auto& t) {
    return std::array{&t.pairIndex, &t.tone1High,   &t.tone1Low,    &t.tone2High,
                      &t.tone2Low,  &t.tone1Tenths, &t.tone2Tenths, &t.responseMode,
                      &t.time1,     &t.time2,       &t.time3,       &t.time4};
}

void WriteFiveToneCode(ByteWriter& out, std::size_t at, const FiveToneCode& code) {
    out.U8(at, code.reserved);
    out.U8(at + 1, code.standardIndex);
    out.U8(at + 2, code.length);
    out.U8(at + 3, code.toneTime);
    out.Chars(at + kFiveToneCodeText, code.code, FiveToneCode::kCodeWidth, kPad);
}

FiveToneCode ReadFiveToneCode(const ByteReader& in, std::size_t at) {
    FiveToneCode code;
    code.reserved = in.U8(at);
    code.standardIndex = in.U8(at + 1);
    code.length = in.U8(at + 2);
    code.toneTime = in.U8(at + 3);
    code.code = WithoutPadding(in.Chars(at + kFiveToneCodeText, FiveToneCode::kCodeWidth));
    return code;
}

}  // namespace

std::vector<std::uint8_t> EncodeTonRecord(const SignallingSettings& record) {
    std::vector<std::uint8_t> bytes(kTonRecordSize, 0);
    ByteWriter out(bytes);
    for (std::size_t i = 0; i < record.dtmfMemories.size(); ++i) {
        out.I16Le(kDtmfMemories + 2 * i, record.dtmfMemories[i]);
    }
    for (std::size_t i = 0; i < record.reserved.size(); ++i) {
        out.U8(kReserved + i, record.reserved[i]);
    }
    const auto twoTone = TwoToneBytes(record.twoTone);
    for (std::size_t i = 0; i < twoTone.size(); ++i) out.U8(kTwoTone + i, *twoTone[i]);
    for (std::size_t n = 0; n < record.twoTone.codes.size(); ++n) {
        const auto code = TwoToneCodeBytes(record.twoTone.codes[n]);
        for (std::size_t i = 0; i < code.size(); ++i) {
            out.U8(kTwoToneCodes + n * kTwoToneCodeSize + i, *code[i]);
        }
    }
    const FiveToneSettings& five = record.fiveTone;
    out.U8(kFiveTone, five.reserved);
    out.U8(kFiveTone + 1, five.responseMode);
    out.U8(kFiveTone + 2, five.standardIndex);
    out.U8(kFiveTone + 3, five.selfIdLength);
    out.U8(kFiveTone + 4, five.toneTime);
    out.Chars(kSelfId, five.selfId, FiveToneSettings::kSelfIdWidth, kPad);
    out.U8(kDelayIndex, five.delayIndex);
    WriteFiveToneCode(out, kPttIdBegin, five.pttIdBegin);
    WriteFiveToneCode(out, kPttIdEnd, five.pttIdEnd);
    for (std::size_t n = 0; n < five.codes.size(); ++n) {
        WriteFiveToneCode(out, kFiveToneCodes + n * kFiveToneCodeSize, five.codes[n]);
    }
    return bytes;
}

std::optional<SignallingSettings> DecodeTonRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kTonRecordSize) return std::nullopt;
    const ByteReader in(bytes.first(kTonRecordSize));
    SignallingSettings record;
    for (std::size_t i = 0; i < record.dtmfMemories.size(); ++i) {
        record.dtmfMemories[i] = in.I16Le(kDtmfMemories + 2 * i);
    }
    for (std::size_t i = 0; i < record.reserved.size(); ++i) {
        record.reserved[i] = in.U8(kReserved + i);
    }
    const auto twoTone = TwoToneBytes(record.twoTone);
    for (std::size_t i = 0; i < twoTone.size(); ++i) *twoTone[i] = in.U8(kTwoTone + i);
    for (std::size_t n = 0; n < record.twoTone.codes.size(); ++n) {
        const auto code = TwoToneCodeBytes(record.twoTone.codes[n]);
        for (std::size_t i = 0; i < code.size(); ++i) {
            *code[i] = in.U8(kTwoToneCodes + n * kTwoToneCodeSize + i);
        }
    }
    FiveToneSettings& five = record.fiveTone;
    five.reserved = in.U8(kFiveTone);
    five.responseMode = in.U8(kFiveTone + 1);
    five.standardIndex = in.U8(kFiveTone + 2);
    five.selfIdLength = in.U8(kFiveTone + 3);
    five.toneTime = in.U8(kFiveTone + 4);
    five.selfId = WithoutPadding(in.Chars(kSelfId, FiveToneSettings::kSelfIdWidth));
    five.delayIndex = in.U8(kDelayIndex);
    five.pttIdBegin = ReadFiveToneCode(in, kPttIdBegin);
    five.pttIdEnd = ReadFiveToneCode(in, kPttIdEnd);
    for (std::size_t n = 0; n < five.codes.size(); ++n) {
        five.codes[n] = ReadFiveToneCode(in, kFiveToneCodes + n * kFiveToneCodeSize);
    }
    return record;
}

std::filesystem::path CompanionPath(const std::filesystem::path& projectPath) {
    std::string name = projectPath.filename().string();
    name.erase(name.size() - std::min<std::size_t>(2, name.size()));
    return projectPath.parent_path() / (name + "ton");
}

}  // namespace qx
