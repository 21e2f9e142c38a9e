// Writes the behaviour corpus: project files made from random memory images
// and from random edit sequences, and for each saved project what the program
// makes of it (image, listings in English and Chinese, the image read back).
// Every random choice comes from std::mt19937 with a fixed seed per document,
// taken modulo, so the output is the same with every standard library.
//
//   qx_make_corpus <output folder>
//
// Run by hand, never by ctest: the corpus is frozen once written.

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/document.h"
#include "channels/cell_editors.h"
#include "channels/channel_ops.h"
#include "channels/frequency.h"
#include "channels/models.h"
#include "channels/value_lists.h"
#include "document_builder.h"
#include "files/listing.h"
#include "files/project_file.h"
#include "files/ton_file.h"
#include "image/image_codec.h"
#include "image/settings_codec.h"
#include "options/option_dialog.h"
#include "options/radio_options.h"
#include "scripted_ui.h"
#include "signalling/auto_dialer.h"
#include "signalling/two_tone.h"
#include "text_delta.h"
#include "util/numbers.h"
#include "util/text.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::ScriptedUi;

constexpr int kDocuments = 104;
constexpr std::uint32_t kSeedBase = 20240611;
constexpr std::int64_t kScaledPer10Hz = ScaledDecimal::kScale / 100000;
constexpr std::int64_t kScaledPer100Hz = ScaledDecimal::kScale / 10000;

class Rng {
  public:
    explicit Rng(std::uint32_t seed) : engine_(seed) {}
    // 0 .. n-1.
    std::uint32_t Pick(std::uint32_t n) { return n == 0 ? 0 : engine_() % n; }
    bool OneIn(std::uint32_t n) { return Pick(n) == 0; }
    template <typename T>
    const T& Of(const std::vector<T>& list) {
        return list.at(Pick(static_cast<std::uint32_t>(list.size())));
    }
    char CharOf(const std::string& chars) {
        return chars.at(Pick(static_cast<std::uint32_t>(chars.size())));
    }

  private:
    std::mt19937 engine_;
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string Name(int index) {
    std::string digits = std::to_string(index);
    return "d" + std::string(3 - digits.size(), '0') + digits;
}

std::string Hex2(int value) {
    constexpr const char* kDigits = "0123456789ABCDEF";
    return {kDigits[(value >> 4) & 15], kDigits[value & 15]};
}

const std::string kNameChars = [] {
    std::string chars;
    for (int c = 1; c < 128; ++c) {
        if (IsNameChar(static_cast<char>(c))) chars += static_cast<char>(c);
    }
    return chars;
}();
const std::string kHexDigits = "0123456789ABCDEF";
const std::string kDialChars = "0123456789ABCD*#-";

const LanguageTexts& English() {
    static const LanguageTexts texts(QX_LANGUAGE_DIR, "english.ini");
    return texts;
}

const LanguageTexts& Chinese() {
    static const LanguageTexts texts(QX_LANGUAGE_DIR, "chinese.ini");
    return texts;
}

FeatureFlags RandomFlags(Rng& rng) {
    return FeatureFlagsOfByte(static_cast<std::uint8_t>(rng.Pick(16) << 4));
}

// --- Signalling records ---------------------------------------------------

std::int16_t DtmfMemory(Rng& rng) {
    if (rng.OneIn(3)) return 0;
    if (rng.OneIn(8)) return static_cast<std::int16_t>(static_cast<int>(rng.Pick(65536)) - 32768);
    // What the dialog takes: up to three digits of "0"-"9", "A".
    int value = 0;
    const int digits = 1 + static_cast<int>(rng.Pick(3));
    for (int i = 0; i < digits; ++i) value = value * 16 + static_cast<int>(rng.Pick(11));
    return static_cast<std::int16_t>(value);
}

ToneDivisor RandomTone(Rng& rng, ToneUse use) {
    if (rng.OneIn(6)) return {};
    return DivisorOfFrequency(kMinToneHz + static_cast<int>(rng.Pick(kMaxToneHz - kMinToneHz + 1)),
                              use);
}

std::string HexCode(Rng& rng, std::size_t length) {
    std::string code;
    for (std::size_t i = 0; i < length; ++i) code += rng.CharOf(kHexDigits);
    return code;
}

FiveToneCode RandomFiveToneCode(Rng& rng) {
    FiveToneCode code;
    if (rng.OneIn(4)) return code;
    code.standardIndex = static_cast<std::uint8_t>(rng.Pick(13));
    code.length = static_cast<std::uint8_t>(rng.Pick(FiveToneCode::kCodeWidth + 1));
    code.toneTime = static_cast<std::uint8_t>(3 + rng.Pick(8));
    code.code = HexCode(rng, code.length);
    return code;
}

// Changes some parts of the record, each to random values the dialogs could give.
void ChangeSignalling(Rng& rng, SignallingSettings& s) {
    if (rng.OneIn(2)) {
        for (auto& memory : s.dtmfMemories) memory = DtmfMemory(rng);
    }
    if (rng.OneIn(2)) {
        TwoToneSettings& t = s.twoTone;
        t.pairIndex = rng.OneIn(3) ? static_cast<std::uint8_t>(rng.Pick(10)) : 0;
        const ToneDivisor one = RandomTone(rng, ToneUse::OwnPair);
        const ToneDivisor two = RandomTone(rng, ToneUse::OwnPair);
        t.tone1High = one.high;
        t.tone1Low = one.low;
        t.tone1Tenths = one.tenths;
        t.tone2High = two.high;
        t.tone2Low = two.low;
        t.tone2Tenths = two.tenths;
        t.responseMode = static_cast<std::uint8_t>(rng.Pick(3));
        for (auto* time : {&t.time1, &t.time2, &t.time3, &t.time4}) {
            *time = static_cast<std::uint8_t>(rng.Pick(100));
        }
    }
    if (rng.OneIn(2)) {
        const std::size_t used = rng.Pick(101);
        for (std::size_t n = 0; n < s.twoTone.codes.size(); ++n) {
            TwoToneCode& code = s.twoTone.codes[n];
            if (n >= used) {
                code = {};
                continue;
            }
            const ToneDivisor one = RandomTone(rng, ToneUse::Code);
            const ToneDivisor two = RandomTone(rng, ToneUse::Code);
            code = {one.high, one.low, two.high, two.low, one.tenths, two.tenths};
        }
    }
    if (rng.OneIn(2)) {
        FiveToneSettings& f = s.fiveTone;
        f.responseMode = static_cast<std::uint8_t>(rng.Pick(3));
        f.standardIndex = static_cast<std::uint8_t>(rng.Pick(13));
        f.selfIdLength = static_cast<std::uint8_t>(rng.Pick(FiveToneSettings::kSelfIdWidth + 1));
        f.toneTime = static_cast<std::uint8_t>(3 + rng.Pick(8));
        f.selfId = HexCode(rng, f.selfIdLength);
        f.delayIndex = static_cast<std::uint8_t>(rng.Pick(201));
        f.pttIdBegin = RandomFiveToneCode(rng);
        f.pttIdEnd = RandomFiveToneCode(rng);
    }
    if (rng.OneIn(2)) {
        const std::size_t used = rng.Pick(101);
        for (std::size_t n = 0; n < s.fiveTone.codes.size(); ++n) {
            s.fiveTone.codes[n] = n < used ? RandomFiveToneCode(rng) : FiveToneCode{};
        }
    }
}

// --- Memory images --------------------------------------------------------

// Values handed out in turn across the documents, so that each of them occurs
// somewhere whatever the random choices around it.
struct Cycles {
    std::uint32_t rxDcs = 0;
    std::uint32_t txDcs = 0;
    std::uint32_t twoToneCode = 0;
    std::uint32_t fiveToneCode = 0;

    static std::uint32_t Next(std::uint32_t& counter, std::uint32_t size) {
        return counter++ % size;
    }
};

class Image {
  public:
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kImageSize, 0);

    void Set(int line, int byte, std::uint32_t value) {
        bytes.at(static_cast<std::size_t>(line) * kLineBytes + static_cast<std::size_t>(byte)) =
            static_cast<std::uint8_t>(value);
    }
    // `digits` decimal digits, two to a byte, from `byte` on.
    void Decimal(int line, int byte, std::int64_t value, int digits) {
        for (int i = digits - 1; i >= 0; i -= 2) {
            const int low = static_cast<int>(value % 10);
            const int high = static_cast<int>(value / 10 % 10);
            value /= 100;
            Set(line, byte + i / 2, static_cast<std::uint32_t>(high * 16 + low));
        }
    }
};

// The first line of a row's record.
int RecordLine(int row) {
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

std::int64_t TenHzOf(const ScaledDecimal& value) { return value.units / kScaledPer10Hz; }

// A frequency in 10 Hz units inside the band.
std::int64_t InBand(Rng& rng, const Band& band) {
    const std::int64_t low = TenHzOf(band.low);
    const std::int64_t high = TenHzOf(band.high);
    return low + rng.Pick(static_cast<std::uint32_t>(high - low + 1));
}

// The Rx frequency of a record in 100 Hz units: mostly a point of the row's
// step grid inside the band, sometimes anywhere in or beyond it.
std::int64_t RecordRx(Rng& rng, const Band& band, const std::string& step) {
    switch (rng.Pick(20)) {
        case 0:
            return rng.Pick(100000000);  // up to 9999.9999 MHz
        case 1:
        case 2:
            return InBand(rng, band) / 10;
        default: {
            const std::string text = AdjustRxFreqByStep(FormatScaled(InBand(rng, band), 5), step);
            return ParseDecimal(text)->units / kScaledPer100Hz;
        }
    }
}

// An offset in 100 Hz units: a usual repeater offset or any the record holds.
std::int64_t RecordOffset(Rng& rng) {
    static const std::vector<std::int64_t> kCommon = {6000,  16000,  50000,  70000, 76000,
                                                      94000, 100000, 120000, 0};
    return rng.OneIn(3) ? rng.Pick(1000000) : rng.Of(kCommon);
}

// `active`: the row is marked in use, so its record is read. `largestOffset`:
// the offset is within 10 units of the largest the record holds.
void WriteChannelRecord(Rng& rng, Image& image, int row, const Band& band, bool active,
                        bool largestOffset, const FeatureFlags& features, Cycles& cycles) {
    static const std::vector<std::uint32_t> kToneTypes = {0, 1, 2, 3, 4, 6, 8, 9, 0x0C};
    static const std::vector<std::uint32_t> kPriorities = {0x64, 0x65, 0x80, 0xA0};
    const int first = RecordLine(row);
    const int second = first + 1;

    const std::uint32_t shiftPac = rng.OneIn(20) ? rng.Pick(16) : rng.Pick(4);
    image.Set(first, 0, shiftPac << 4 | rng.Pick(16));
    std::uint32_t direction = rng.OneIn(25) ? rng.Pick(256) : rng.Pick(3);
    if (largestOffset) direction = 1 + rng.Pick(2);
    image.Set(first, 1, direction);
    const std::uint32_t toneTypes = rng.OneIn(25) ? rng.Pick(256) : rng.Of(kToneTypes);
    image.Set(first, 2, toneTypes);
    const std::uint32_t stepIndex = rng.OneIn(25) ? 10 + rng.Pick(246) : rng.Pick(10);
    image.Set(first, 3, stepIndex);
    const std::string step = stepIndex < StepList().size() ? StepList()[stepIndex] : "5";
    image.Decimal(first, 4, RecordRx(rng, band, step), 8);
    if (rng.OneIn(40)) image.Set(first, 4 + static_cast<int>(rng.Pick(4)), 0xA0 + rng.Pick(0x60));
    // The Rx frequency as a read gives it back: a nibble that is no digit counts as 0.
    std::int64_t rx = 0;
    for (int b = 4; b < 8; ++b) {
        const std::uint8_t value = image.bytes.at(static_cast<std::size_t>(first) * kLineBytes +
                                                  static_cast<std::size_t>(b));
        for (const int nibble : {value >> 4, value & 15}) rx = rx * 10 + (nibble <= 9 ? nibble : 0);
    }
    std::int64_t offset = direction == 0 && rng.OneIn(2) ? 0 : RecordOffset(rng);
    if (largestOffset) offset = 999990 + rng.Pick(10);
    if (direction == 1) offset = std::min(offset, rx);  // never below 0 MHz
    image.Decimal(first, 9, offset, 6);
    image.Set(first, 12, rng.OneIn(10) ? 8 : (rng.OneIn(30) ? 50 + rng.Pick(206) : rng.Pick(50)));
    image.Set(first, 13, rng.OneIn(10) ? 8 : (rng.OneIn(30) ? 50 + rng.Pick(206) : rng.Pick(50)));
    // Tone types with a DCS code: 0x04 Tx, 0x08 Rx (0x06, 0x09, 0x0C combine them).
    const bool txDcs = toneTypes == 0x04 || toneTypes == 0x06 || toneTypes == 0x0C;
    const bool rxDcs = toneTypes == 0x08 || toneTypes == 0x09 || toneTypes == 0x0C;
    const auto dcs = [&](bool cycled, std::uint32_t& counter) {
        if (rng.OneIn(30)) return 233 + rng.Pick(23);
        return active && cycled ? Cycles::Next(counter, 233) : rng.Pick(233);
    };
    image.Set(first, 14, dcs(txDcs, cycles.txDcs));
    image.Set(first, 15, dcs(rxDcs, cycles.rxDcs));

    const std::uint32_t nameLength = rng.Pick(8);
    for (std::uint32_t i = 0; i < nameLength; ++i) {
        std::uint32_t code = NameCode(rng.CharOf(kNameChars));
        if (rng.OneIn(30)) code = 0;                      // ends the name early
        if (rng.OneIn(30)) code = 0x74 + rng.Pick(0x8C);  // no character
        image.Set(second, static_cast<int>(i), code);
    }
    image.Set(second, 7,
              rng.OneIn(4) ? rng.Of(kPriorities) : (rng.OneIn(20) ? rng.Pick(256) : rng.Pick(100)));
    image.Set(second, 8, rng.OneIn(20) ? rng.Pick(4) : rng.Pick(2));
    const std::uint32_t signal = rng.OneIn(20) ? rng.Pick(256) : rng.Pick(5);
    image.Set(second, 9, signal);
    image.Set(second, 10, rng.OneIn(20) ? rng.Pick(256) : rng.Pick(8));
    const auto code = [&](bool cycled, std::uint32_t& counter) {
        if (rng.OneIn(20)) return rng.Pick(256);
        return active && cycled ? Cycles::Next(counter, 100) : rng.Pick(100);
    };
    image.Set(second, 11, code(signal == 3 && features.twoTone, cycles.twoToneCode));
    image.Set(second, 12, code(signal == 4 && features.fiveTone, cycles.fiveToneCode));
    image.Set(second, 13, rng.OneIn(20) ? rng.Pick(256) : rng.Pick(2));
    image.Set(second, 14, rng.OneIn(20) ? rng.Pick(256) : rng.Pick(4));
}

struct OptionSlot {
    int line;
    int byte;
    std::vector<std::uint32_t> codes;
};

std::vector<std::uint32_t> Range(std::uint32_t first, std::uint32_t last) {
    std::vector<std::uint32_t> codes;
    for (std::uint32_t v = first; v <= last; ++v) codes.push_back(v);
    return codes;
}

const std::vector<OptionSlot>& OptionSlots() {
    static const std::vector<OptionSlot> slots = {
        {16, 1, {0x00, 0xA5}},  {16, 2, {0, 1, 2}},
        {16, 3, Range(0, 99)},  {16, 4, Range(0, 20)},
        {16, 5, {0, 1, 2}},     {16, 7, Range(0, 3)},
        {16, 8, Range(0, 3)},   {16, 9, Range(0, 3)},
        {16, 10, Range(0, 3)},  {16, 11, Range(0, 15)},
        {16, 12, Range(0, 15)}, {16, 13, {0x00, 0xA5}},
        {16, 14, {0x00, 0xA5}}, {16, 15, {0x00, 0xA5}},
        {17, 0, {0x00, 0xA5}},  {17, 2, {0x00, 0xA5, 0x5A}},
        {17, 3, {0x00, 0xA5}},  {17, 4, {0x00, 0xA5}},
        {17, 5, {0x00, 0xA5}},  {17, 6, {0x00, 0xA5}},
        {17, 7, {0x00, 0xA5}},  {17, 8, {0x00, 0xA5}},
        {17, 10, {0, 1, 4, 5}}, {17, 12, {0x00, 0xA5}},
        {17, 14, {0, 1}},       {17, 15, {0, 1}},
    };
    return slots;
}

void WriteFiveToneCode(Rng& rng, Image& image, int line, const FiveToneCode& code) {
    image.Set(line, 1, code.standardIndex);
    const bool tooLong = rng.OneIn(40);
    image.Set(line, 2, tooLong ? 23 + rng.Pick(233) : code.length);
    image.Set(line, 3, code.toneTime);
    std::string digits = code.code;
    while (digits.size() < 24) digits += rng.OneIn(5) ? rng.CharOf(kHexDigits) : 'E';
    for (int i = 0; i < 12; ++i) {
        image.Set(line, 4 + i,
                  static_cast<std::uint32_t>(kHexDigits.find(digits[2 * i]) * 16 +
                                             kHexDigits.find(digits[2 * i + 1])));
    }
}

void WriteSignalling(Rng& rng, Image& image, const SignallingSettings& s) {
    for (int i = 0; i < 8; ++i) {
        const auto value = static_cast<std::uint16_t>(s.dtmfMemories[static_cast<std::size_t>(i)]);
        image.Set(254, 2 * i, value >> 8);
        image.Set(254, 2 * i + 1, value & 0xFF);
    }
    const TwoToneSettings& t = s.twoTone;
    const std::array<std::uint8_t, 11> twoTone = {
        t.tone1High, t.tone1Low, t.tone2High, t.tone2Low,    t.responseMode, t.time1,
        t.time2,     t.time3,    t.time4,     t.tone1Tenths, t.tone2Tenths};
    for (int i = 0; i < 11; ++i) image.Set(256, 4 + i, twoTone[static_cast<std::size_t>(i)]);
    const FiveToneSettings& f = s.fiveTone;
    image.Set(257, 1, f.responseMode);
    image.Set(257, 2, f.standardIndex);
    image.Set(257, 3, rng.OneIn(30) ? 6 + rng.Pick(250) : f.selfIdLength);
    image.Set(257, 4, f.toneTime);
    for (int i = 0; i < 5; ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        image.Set(257, 5 + i,
                  at < f.selfId.size() ? static_cast<std::uint32_t>(kHexDigits.find(f.selfId[at]))
                                       : (rng.OneIn(4) ? rng.Pick(16) : 0));
    }
    image.Set(257, 10, f.delayIndex);
    for (int n = 0; n < 100; ++n) {
        const auto bytes = TwoToneCodeBytes(t.codes[static_cast<std::size_t>(n)]);
        for (int i = 0; i < 6; ++i) {
            image.Set(272 + n / 2, 8 * (n % 2) + i, *bytes[static_cast<std::size_t>(i)]);
        }
    }
    for (int n = 0; n < 100; ++n) {
        WriteFiveToneCode(rng, image, 384 + n, f.codes[static_cast<std::size_t>(n)]);
    }
    WriteFiveToneCode(rng, image, 484, f.pttIdBegin);
    WriteFiveToneCode(rng, image, 485, f.pttIdEnd);
}

struct Made {
    Document doc;
    FeatureFlags flags;
};

// A structurally plausible image with random contents, read as a read from
// the radio reads it.
// An unknown model code leaves the document at the start model.
Made FromImage(Rng& rng, int modelIndex, bool unknownModel, int docIndex, Cycles& cycles) {
    Image image;
    if (unknownModel) {
        image.Set(0, 1, 0x12);
        image.Set(0, 2, 0x34);
        image.Set(0, 3, 0x56);
    } else {
        SetImageModel(image.bytes, modelIndex);
    }
    const std::uint32_t featureByte = rng.Pick(256);
    image.Set(0, 14, featureByte);
    const FeatureFlags features = FeatureFlagsOfByte(static_cast<std::uint8_t>(featureByte));
    for (int b = 0; b < 16; ++b) {
        if (rng.OneIn(2)) image.Set(4, b, rng.OneIn(3) ? 0 : 0x30 + rng.Pick(40));
    }

    image.Set(16, 0, 0xA5);
    image.Set(17, 1, 0x08);
    for (const OptionSlot& slot : OptionSlots()) {
        image.Set(slot.line, slot.byte, rng.OneIn(15) ? rng.Pick(256) : rng.Of(slot.codes));
    }
    // One memory-channel number per document, so that every number occurs.
    image.Set(16, 3, static_cast<std::uint32_t>(docIndex % 100));

    // How many channels are in use varies from document to document.
    const std::uint32_t density = 1 + rng.Pick(9);
    std::array<bool, kRowCount + 1> active{};
    for (int row = 1; row <= kRowCount; ++row) {
        const auto bit = static_cast<std::size_t>(row - 1);
        const std::uint32_t mask = 0x80u >> (bit % 8);
        active.at(static_cast<std::size_t>(row)) = rng.Pick(10) < density;
        if (active.at(static_cast<std::size_t>(row)))
            image.Set(18, static_cast<int>(bit / 8), image.bytes[18 * 16 + bit / 8] | mask);
        if (rng.OneIn(3))
            image.Set(19, static_cast<int>(bit / 8), image.bytes[19 * 16 + bit / 8] | mask);
    }
    // Some documents hold an offset so close to the largest that the Tx
    // frequency, once on its step grid, may lie 100 MHz or more from Rx.
    int largestOffsetRow = 0;
    if (rng.OneIn(6)) {
        std::vector<int> read = {kPlRow, kPhRow, kCallRow, kVfoRow};
        for (int row = 1; row <= kChannelRows; ++row) {
            if (active.at(static_cast<std::size_t>(row))) read.push_back(row);
        }
        largestOffsetRow = rng.Of(read);
    }
    const ModelInfo* model = ModelAt(unknownModel ? kStartModelIndex : modelIndex);
    for (int row = 1; row <= kRowCount; ++row) {
        // The special rows' records are read whatever the bitmap says.
        const bool read = row > kChannelRows || active.at(static_cast<std::size_t>(row));
        WriteChannelRecord(rng, image, row, model->rx, read, row == largestOffsetRow, features,
                           cycles);
    }

    for (int line = 240; line <= 248; ++line) {
        const std::uint32_t length = rng.OneIn(3) ? 0 : rng.Pick(17);
        for (std::uint32_t b = 0; b < length; ++b) {
            const char c = rng.CharOf(kDialChars);
            const std::uint32_t code =
                c <= '9' ? static_cast<std::uint32_t>(c)
                         : 0x3A + static_cast<std::uint32_t>(std::string("ABCD#*-").find(c));
            image.Set(line, static_cast<int>(b), rng.OneIn(40) ? rng.Pick(256) : code);
        }
    }

    SignallingSettings signalling;
    ChangeSignalling(rng, signalling);
    WriteSignalling(rng, image, signalling);

    Made made{test::LoadedDocument(kStartModelIndex, features), features};
    ScriptedUi ui;
    const std::string error = DecodeImage(image.bytes, made.doc, made.flags, ui);
    if (!error.empty() || !ui.messages.empty() || !ui.questions.empty()) {
        throw std::runtime_error("the image did not decode quietly: " + error);
    }
    return made;
}

// --- Edit sequences -------------------------------------------------------

// What a user types into a frequency editor: mostly a frequency of the band
// with 0..5 decimals, sometimes one outside it or no number at all.
std::string FrequencyText(Rng& rng, const Band& band, const Band& other) {
    static const std::vector<std::string> kNotNumbers = {"",   "abc",    "145,5", "1e2",
                                                         "-5", "12.3.4", " ",     "."};
    std::int64_t tenHz = 0;
    switch (rng.Pick(25)) {
        case 0:
            return rng.Of(kNotNumbers);
        case 1:
            tenHz = std::max<std::int64_t>(0, TenHzOf(band.low) - 1 - rng.Pick(2000000));
            break;
        case 2:
            tenHz = TenHzOf(band.high) + 1 + rng.Pick(2000000);
            break;
        case 3:
        case 4:
            tenHz = InBand(rng, other);
            break;
        default:
            tenHz = InBand(rng, band);
            break;
    }
    static const std::vector<int> kDecimals = {0, 1, 2, 3, 4, 4, 4, 5, 5};
    const int decimals = rng.Of(kDecimals);
    std::int64_t divisor = 1;
    for (int i = decimals; i < 5; ++i) divisor *= 10;
    std::string text = FormatScaled(tenHz / divisor, decimals);
    if (text.size() > static_cast<std::size_t>(kFrequencyMaxLength)) {
        text.resize(static_cast<std::size_t>(kFrequencyMaxLength));
    }
    return text;
}

std::string NameText(Rng& rng) {
    static const std::vector<std::string> kOdd = {"wide", "def",        "   ", " A B ", "narrow",
                                                  "off",  "abcdefghij", "a|b", "(+-)"};
    if (rng.OneIn(25)) return rng.Of(kOdd);
    std::string text;
    const std::uint32_t length = rng.Pick(10);
    for (std::uint32_t i = 0; i < length; ++i) {
        text += rng.OneIn(12) ? rng.CharOf("ckmnqr!%&?|^~") : rng.CharOf(kNameChars);
    }
    return text;
}

void EditCell(Rng& rng, Document& doc, int row, int column, ScriptedUi& ui) {
    const ModelInfo& model = *ModelAt(doc.modelIndex);
    const EditorView view = CellClicked(doc, row, column);
    const auto entry = [&] { return rng.Of(view.entries); };
    if (view.name == "TxtName") {
        CommitName(doc, NameText(rng));
    } else if (view.name == "ComboRef") {
        const std::string step = entry();
        ChooseStep(doc, step);
        LeaveStep(doc, step);
    } else if (view.name == "TxtRxFreq") {
        CommitRxFreq(doc, FrequencyText(rng, model.rx, model.tx), ui);
    } else if (view.name == "TxtTxFreq") {
        CommitTxFreq(doc, FrequencyText(rng, model.tx, model.rx), ui);
    } else if (view.name == "ComboCTCSSDCS") {
        const std::string kind = entry();
        const EditorView tones = ChooseToneKind(doc, kind);
        if (kind == "CTCSS") CommitCtcss(doc, rng.Of(tones.entries));
        if (kind == "DCS") CommitDcs(doc, rng.Of(tones.entries));
        LeaveToneKind(doc, kind);
    } else if (view.name == "ComboPRI") {
        CommitPriority(doc, entry());
    } else if (view.name == "ComboShift") {
        CommitShift(doc, entry());
    } else if (view.name == "ComboOptSignal") {
        const std::string type = entry();
        for (const EditorView& list : ChooseOptSignal(doc, type)) {
            if (rng.OneIn(5)) continue;  // left at the row's own code
            const int position =
                static_cast<int>(rng.Pick(static_cast<std::uint32_t>(list.entries.size())));
            if (list.name == "Combo2") {
                ChooseSignalCode(doc, position);
            } else {
                ChooseSignalSubCode(doc, position);
            }
        }
        LeaveOptSignal(doc, type);
    } else if (view.kind == EditorKind::List) {
        CommitList(doc, entry());  // bandwidth, PAC mode, DCS detect, scan skip, BCL, ANI
    }
}

void EditOptions(Rng& rng, Document& doc) {
    OptionDialog dialog(doc.strSetup, English());
    const std::uint32_t changes = 1 + rng.Pick(10);
    for (std::uint32_t i = 0; i < changes; ++i) {
        const int field = 1 + static_cast<int>(rng.Pick(kOptionFieldCount));
        if (IsOptionCheckBox(field)) {
            dialog.SetChecked(field, rng.OneIn(2));
        } else if (dialog.List(field).enabled) {
            const auto size = static_cast<std::uint32_t>(dialog.List(field).entries.size());
            dialog.Select(field, static_cast<int>(rng.Pick(size)));
        }
    }
    if (!rng.OneIn(10)) dialog.Ok(doc);
}

void EditAutoDialer(Rng& rng, Document& doc, ScriptedUi& ui) {
    AutoDialerDialog dialog(doc.strAutoDial, English(), ui);
    const std::uint32_t changes = 1 + rng.Pick(9);
    for (std::uint32_t i = 0; i < changes; ++i) {
        std::string text;
        const std::uint32_t length = rng.OneIn(8) ? 17 + rng.Pick(5) : rng.Pick(17);
        for (std::uint32_t k = 0; k < length; ++k) {
            text += rng.OneIn(20) ? rng.CharOf("xyzE! .") : rng.CharOf(kDialChars + "abcd");
        }
        dialog.ChangeEntry(static_cast<int>(rng.Pick(kAutoDialEntries)), text);
    }
    if (!rng.OneIn(10)) dialog.Ok(doc);
}

Made FromEdits(Rng& rng, int modelIndex, int docIndex) {
    const FeatureFlags flags = RandomFlags(rng);
    Made made{test::LoadedDocument(modelIndex, flags), flags};
    Document& doc = made.doc;
    ScriptedUi ui;

    // Most edits go to a few rows, so that rows collect several changes.
    std::vector<int> rows;
    const std::uint32_t rowCount = 3 + rng.Pick(30);
    for (std::uint32_t i = 0; i < rowCount; ++i)
        rows.push_back(1 + static_cast<int>(rng.Pick(kChannelRows)));
    const auto anyColumn = [&] { return 1 + static_cast<int>(rng.Pick(kColOptSignal)); };

    const std::uint32_t steps = 20 + rng.Pick(181);
    for (std::uint32_t step = 0; step < steps; ++step) {
        const std::uint32_t kind = rng.Pick(100);
        if (kind < 55) {
            EditCell(rng, doc, rng.Of(rows), anyColumn(), ui);
        } else if (kind < 67) {
            EditCell(rng, doc, kPlRow + static_cast<int>(rng.Pick(4)), anyColumn(), ui);
        } else if (kind < 75) {
            ToggleRowStatus(doc,
                            rng.OneIn(6) ? kPlRow + static_cast<int>(rng.Pick(2)) : rng.Of(rows));
        } else if (kind < 80) {
            EditOptions(rng, doc);
        } else if (kind < 85) {
            EditAutoDialer(rng, doc, ui);
        } else if (kind < 89) {
            ChangeSignalling(rng, doc.signalling.live);
        } else if (kind < 92) {
            // An edit given up: the row goes back as it was.
            const int row = rng.Of(rows);
            const KeptRow kept = KeepRow(doc, row);
            EditCell(rng, doc, row, anyColumn(), ui);
            RestoreRow(doc, kept);
        } else if (kind < 94) {
            GridScrolled(doc);
        } else {
            EditCell(rng, doc, 1 + static_cast<int>(rng.Pick(kRowCount)), anyColumn(), ui);
        }
    }
    // Rx at the bottom of the model's band and Tx at the top of its own: on a
    // model whose bands lie far apart the offset is too large for the radio.
    if (rng.OneIn(3)) {
        const int row = rng.Of(rows);
        if (CellClicked(doc, row, kColRxFreq).name.empty()) CellClicked(doc, row, kColRxFreq);
        CommitRxFreq(doc, ModelAt(modelIndex)->rx.lowText, ui);
        CellClicked(doc, row, kColTxFreq);
        CommitTxFreq(doc, ModelAt(modelIndex)->tx.highText, ui);
    }
    // One memory-channel number per document, so that every number occurs.
    OptionDialog options(doc.strSetup, English());
    options.Select(kOptMrNumber, docIndex % 100);
    options.Ok(doc);
    return made;
}

// --- What the program makes of a saved project ----------------------------

Document Opened(const fs::path& project, const FeatureFlags& flags, const LanguageTexts& lang) {
    Document doc;
    ScriptedUi ui;
    LoadMainWindow(doc, lang, flags, ui);
    if (OpenProject(doc, project, ui) != OpenOutcome::Opened || !ui.messages.empty()) {
        throw std::runtime_error("cannot open " + project.string());
    }
    return doc;
}

constexpr const char* kListingSeparator = "    ";

// Stores `target` as its difference from `base`, checked to give it back.
void WriteDelta(const fs::path& path, const std::string& base, const std::string& target,
                const char* separator) {
    const std::string delta = test::MakeDelta(base, target, separator);
    if (test::ApplyDelta(base, delta, separator) != target) {
        throw std::runtime_error("the delta of " + path.string() + " does not give the text back");
    }
    WriteBytes(path, delta);
}

struct Report {
    int resavedDifferent = 0;
    int encodeErrors = 0;
    int decodedSameQx = 0;
    int decodedSameTon = 0;
};

// Writes the outputs of one saved project and returns its MANIFEST columns
// after the name.
std::string WriteOutputs(const fs::path& dir, const std::string& name, const FeatureFlags& flags,
                         const fs::path& scratch, Report& report) {
    const fs::path project = dir / (name + ".qx");
    const std::string qx = ReadBytes(project);
    const std::string ton = ReadBytes(dir / (name + ".ton"));

    {
        Document doc = Opened(project, flags, English());
        const std::string error = SaveProject(doc, scratch / (name + ".qx"));
        if (!error.empty()) throw std::runtime_error(error);
        if (ReadBytes(scratch / (name + ".qx")) != qx ||
            ReadBytes(scratch / (name + ".ton")) != ton) {
            std::cout << name << ": saving the opened project does not give the same bytes\n";
            ++report.resavedDifferent;
        }
    }
    const std::string english =
        ListingFileText(BuildListing(Opened(project, flags, English()), ListingTarget::File));
    const std::string chinese =
        ListingFileText(BuildListing(Opened(project, flags, Chinese()), ListingTarget::File));
    WriteBytes(dir / (name + ".en.txt"), english);
    WriteDelta(dir / (name + ".zh.delta"), english, chinese, kListingSeparator);
    Document doc = Opened(project, flags, English());
    ScriptedUi ui;
    const auto image = EncodeImage(doc, flags, ui);
    if (!image) {
        std::string messages;
        for (const std::string& m : ui.messages) messages += m + "\n";
        WriteBytes(dir / (name + ".encode-error.txt"), messages);
        ++report.encodeErrors;
        return "encode-error  -";
    }
    WriteBytes(dir / (name + ".img"), std::string(image->begin(), image->end()));

    Document decoded = test::LoadedDocument(kStartModelIndex, flags);
    FeatureFlags features = flags;
    ScriptedUi decodeUi;
    if (const std::string error = DecodeImage(*image, decoded, features, decodeUi);
        !error.empty()) {
        throw std::runtime_error(error);
    }
    const fs::path decodedProject = dir / (name + ".decoded.qx");
    if (const std::string error = SaveProject(decoded, decodedProject); !error.empty()) {
        throw std::runtime_error(error);
    }
    const std::string decodedQx = ReadBytes(decodedProject);
    if (decodedQx == qx) ++report.decodedSameQx;
    const fs::path decodedTon = dir / (name + ".decoded.ton");
    if (ReadBytes(decodedTon) == ton) {
        fs::remove(decodedTon);
        ++report.decodedSameTon;
        return "img           same-as-project";
    }
    return "img           own";
}

// --- Coverage of the saved projects ---------------------------------------

class Coverage {
  public:
    void Add(const std::string& what, const std::string& value) { seen_[what].insert(value); }
    void Expect(const std::string& what, const std::vector<std::string>& values) {
        for (const std::string& v : values) expected_[what].push_back(v);
    }
    // Prints every expected value never seen; returns how many.
    int Report() const {
        int missing = 0;
        for (const auto& [what, values] : expected_) {
            const auto found = seen_.find(what);
            for (const std::string& v : values) {
                if (found == seen_.end() || !found->second.contains(v)) {
                    std::cout << "never seen: " << what << " = \"" << v << "\"\n";
                    ++missing;
                }
            }
        }
        return missing;
    }

  private:
    std::map<std::string, std::set<std::string>> seen_;
    std::map<std::string, std::vector<std::string>> expected_;
};

std::vector<std::string> Prefixed(const std::string& prefix, const std::vector<std::string>& list) {
    std::vector<std::string> out;
    for (const std::string& v : list) out.push_back(prefix + v);
    return out;
}

std::vector<std::string> Numbers(int first, int last) {
    std::vector<std::string> out;
    for (int v = first; v <= last; ++v) out.push_back(std::to_string(v));
    return out;
}

void ExpectValues(Coverage& c) {
    std::vector<std::string> tones = {"off"};
    for (const auto& t : Prefixed("C:", CtcssList())) tones.push_back(t);
    std::vector<std::string> dcs = DcsList();
    dcs.pop_back();  // "D:off" is a stored oddity, not a code
    for (const auto& t : Prefixed("D:", dcs)) tones.push_back(t);
    c.Expect("model", Numbers(0, kModelCount - 1));
    c.Expect("step", StepList());
    c.Expect("rx tone", tones);
    c.Expect("tx tone", tones);
    c.Expect("bandwidth", {"wide", "narrow"});
    for (const char* field : {"PAC mode", "DCS detect", "scan skip", "BCL", "ANI", "shift"}) {
        c.Expect(field, {"off", "on"});
    }
    std::vector<std::string> priorities = {"off", "PL", "PH", "CAL", "VFO"};
    for (int row = 1; row <= kChannelRows; ++row) priorities.push_back(PriorityName(row));
    c.Expect("priority", priorities);
    c.Expect("option signal", {"None", "DTMF", "DTMF-ANI", "2Tone", "5Tone"});
    c.Expect("DTMF code", Numbers(0, 7));
    c.Expect("DTMF-ANI code", Numbers(0, 7));
    c.Expect("DTMF-ANI sub-code", Numbers(0, 1));
    c.Expect("2Tone code", Numbers(0, 99));
    c.Expect("5Tone code", Numbers(0, 99));
    c.Expect("5Tone sub-code", Numbers(0, 3));
    std::vector<std::string> nameChars;
    for (char ch : kNameChars) nameChars.emplace_back(1, ch);
    c.Expect("name character", nameChars);
    std::vector<std::string> dialChars;
    for (char ch : kDialChars) dialChars.emplace_back(1, ch);
    c.Expect("dialer character", dialChars);
    c.Expect("dialer entry length", Numbers(0, 16));
    c.Expect("row kind",
             {"active", "inactive with values", "inactive blank", "active 8.33", "PL active",
              "PH active", "PL inactive with values", "PH inactive with values", "call edited",
              "VFO edited", "name wide", "name blank"});
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        c.Expect("option " + std::to_string(field), OptionValues(field));
    }
    std::vector<std::string> bytes;
    for (int flags = 0; flags < 16; ++flags) bytes.push_back(Hex2(flags << 4));
    c.Expect("feature byte", bytes);
    c.Expect("source", {"image", "edits"});
    c.Expect("5-tone code length", Numbers(0, static_cast<int>(FiveToneCode::kCodeWidth)));
    c.Expect("self id length", Numbers(0, static_cast<int>(FiveToneSettings::kSelfIdWidth)));
}

void CountProject(Coverage& c, const std::string& qx, const std::string& ton) {
    std::vector<std::string> records;
    for (const std::string& line : Split(qx, '\n')) {
        if (!line.empty()) records.push_back(line.substr(0, line.find('\r')));
    }
    if (records.size() != kProjectRecords) throw std::runtime_error("not 107 records");
    const Document fresh = test::LoadedDocument(kStartModelIndex);
    for (int row = 1; row <= kRowCount; ++row) {
        const std::vector<std::string> f = Split(records[static_cast<std::size_t>(row - 1)], '|');
        const bool active = f[1] == "Active" || row >= kCallRow;
        const bool blank = std::all_of(f.begin() + 2, f.begin() + 17,
                                       [](const std::string& v) { return v == "def"; });
        if (!active) {
            c.Add("row kind", blank ? "inactive blank" : "inactive with values");
            if (row == kPlRow && !blank) c.Add("row kind", "PL inactive with values");
            if (row == kPhRow && !blank) c.Add("row kind", "PH inactive with values");
        }
        if (active && row <= kChannelRows)
            c.Add("row kind", f[3] == "8.33" ? "active 8.33" : "active");
        if (active && row == kPlRow) c.Add("row kind", "PL active");
        if (active && row == kPhRow) c.Add("row kind", "PH active");
        if (row >= kCallRow && f[2] != "def")
            c.Add("row kind", row == kCallRow ? "call edited" : "VFO edited");
        if (f[2] == "wide") c.Add("row kind", "name wide");
        if (active && f[2] == "def") c.Add("row kind", "name blank");
        for (char ch : f[2]) c.Add("name character", std::string(1, ch));
        c.Add("step", f[3]);
        c.Add("rx tone", f[5]);
        c.Add("bandwidth", f[6]);
        c.Add("PAC mode", f[7]);
        c.Add("DCS detect", f[8]);
        c.Add("scan skip", f[9]);
        c.Add("priority", f[10]);
        c.Add("tx tone", f[12]);
        c.Add("BCL", f[13]);
        c.Add("ANI", f[14]);
        c.Add("shift", f[15]);
        c.Add("option signal", f[16]);
        if (f[16] == "DTMF" || f[16] == "DTMF-ANI" || f[16] == "2Tone" || f[16] == "5Tone") {
            c.Add(f[16] + " code", f[17]);
            c.Add(f[16] + " sub-code", f[18]);
        }
    }
    const std::vector<std::string> options = Split(records[104], '|');
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        c.Add("option " + std::to_string(field), options.at(static_cast<std::size_t>(field)));
    }
    const std::vector<std::string> dial = Split(records[105], '|');
    for (std::size_t i = 1; i + 1 < dial.size(); ++i) {
        c.Add("dialer entry length", std::to_string(dial[i].size()));
        for (char ch : dial[i]) c.Add("dialer character", std::string(1, ch));
    }
    c.Add("model", Split(records[106], '|').at(0));

    const std::vector<std::uint8_t> tonBytes(ton.begin(), ton.end());
    const auto signalling = DecodeTonRecord(tonBytes);
    if (!signalling) throw std::runtime_error("short companion file");
    for (const FiveToneCode& code : signalling->fiveTone.codes) {
        c.Add("5-tone code length", std::to_string(code.code.size()));
    }
    c.Add("self id length", std::to_string(signalling->fiveTone.selfId.size()));
}

// Removes what an earlier run wrote: dNNN.* and the MANIFEST.
void RemoveOldCorpus(const fs::path& dir) {
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        const bool corpusFile = name.size() > 5 && name[0] == 'd' &&
                                std::isdigit(static_cast<unsigned char>(name[1])) &&
                                std::isdigit(static_cast<unsigned char>(name[2])) &&
                                std::isdigit(static_cast<unsigned char>(name[3])) && name[4] == '.';
        if (corpusFile || name == "MANIFEST") fs::remove(entry.path());
    }
}

int Run(const fs::path& dir) {
    fs::create_directories(dir);
    RemoveOldCorpus(dir);
    const fs::path scratch = fs::temp_directory_path() / "qx_make_corpus";
    fs::remove_all(scratch);
    fs::create_directories(scratch);

    Coverage coverage;
    ExpectValues(coverage);
    Report report;
    Cycles cycles;
    std::string manifest =
        "# name, feature byte (hex), where the project came from (image: a random memory\n"
        "# image read in; edits: random editing), whether it encodes to an image (img) or\n"
        "# gives an error (encode-error), and the companion file of the decoded image:\n"
        "# own (dNNN.decoded.ton), same-as-project (byte-identical to dNNN.ton, so not\n"
        "# stored) or - (no image).\n";
    for (int index = 0; index < kDocuments; ++index) {
        const std::string name = Name(index);
        Rng rng(kSeedBase + static_cast<std::uint32_t>(index));
        // Even documents come from images, odd ones from edits; each half
        // goes through the 32 models, so every model occurs three or four
        // times. Two images whose model occurs four times carry an unknown
        // model code instead.
        const bool fromImage = index % 2 == 0;
        const int modelIndex = (index / 2 + (fromImage ? 0 : 16)) % kModelCount;
        const bool unknownModel = index == 68 || index == 100;
        Made made = fromImage ? FromImage(rng, modelIndex, unknownModel, index, cycles)
                              : FromEdits(rng, modelIndex, index);
        if (const std::string error = SaveProject(made.doc, dir / (name + ".qx")); !error.empty()) {
            throw std::runtime_error(error);
        }
        const std::string feature = Hex2(FeatureByte(made.flags));
        const std::string source = fromImage ? "image" : "edits";
        coverage.Add("feature byte", feature);
        coverage.Add("source", source);
        CountProject(coverage, ReadBytes(dir / (name + ".qx")), ReadBytes(dir / (name + ".ton")));
        const std::string outputs = WriteOutputs(dir, name, made.flags, scratch, report);
        manifest += name + "  " + feature + "  " + source + "  " + outputs + "\n";
    }
    WriteBytes(dir / "MANIFEST", manifest);
    fs::remove_all(scratch);

    const int missing = coverage.Report();
    std::cout << kDocuments << " documents; " << report.encodeErrors << " give an encode error; "
              << report.resavedDifferent << " re-save differently; " << report.decodedSameQx
              << " decoded projects equal their project; " << report.decodedSameTon
              << " decoded companion files equal their project's\n"
              << missing << " expected values never seen\n";
    return 0;
}

}  // namespace
}  // namespace qx

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: qx_make_corpus <output folder>\n";
        return 2;
    }
    try {
        return qx::Run(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "qx_make_corpus: " << e.what() << "\n";
        return 1;
    }
}
