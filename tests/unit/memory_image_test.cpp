#include "image/memory_image.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "codeplug/check.h"
#include "codeplug/defaults.h"
#include "codeplug/models.h"
#include "codeplug/option_fields.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr FeatureFlags kAllFeatures{true, true, true, false};
const std::string kZeroLine(32, '0');

// --- Helpers: lines as hex, images from listed lines, channels from texts ------

// Missing digits are zeros.
LineBytes LineOfHex(std::string hex) {
    hex.resize(32, '0');
    LineBytes line;
    for (std::size_t b = 0; b < kLineBytes; ++b)
        line.bytes[b] = HexPairToByte(hex[2 * b], hex[2 * b + 1]);
    return line;
}

std::vector<std::uint8_t> ImageOf(const std::vector<std::pair<int, std::string>>& lines) {
    std::vector<std::uint8_t> image(kImageSize, 0);
    for (const auto& [line, hex] : lines) {
        const LineBytes bytes = LineOfHex(hex);
        std::copy(bytes.bytes.begin(), bytes.bytes.end(), image.begin() + line * 16);
    }
    return image;
}

std::string HexOfLine(const std::vector<std::uint8_t>& image, int line) {
    LineBytes bytes;
    std::copy(image.begin() + line * 16, image.begin() + line * 16 + 16, bytes.bytes.begin());
    return bytes.ToHex();
}

std::string Encoded(const Codeplug& codeplug, int line) {
    const LineEncoding encoded = EncodeImageLine(codeplug, line, "");
    EXPECT_TRUE(encoded.problems.empty()) << encoded.problems.front().message;
    return encoded.bytes.ToHex();
}

int FirstLineOf(int row) {
    return row <= kChannelRows ? 30 + 2 * row : std::array{24, 26, 22, 20}.at(row - kPlRow);
}

// A row in use from "Name|Step|Rx|RxTone|W/N|PAC|DcsDet|Skip|Pri|Tx|TxTone|BCL|
// ANI|Shift|Signal|Code|SubCode". "+N" is N x 10 Hz above `base`, with four
// decimals for Rx and five for Tx (what a read gives back); Tx "=" is Rx.
Channel ChannelOf(const std::string& cells, std::int64_t base = 0) {
    const std::vector<std::string> t = Split(cells, '|');
    EXPECT_EQ(t.size(), 17u) << cells;
    const auto frequency = [&](const std::string& text, int decimals) {
        if (text[0] == '+')
            return Frequency::FromHz(base + 10 * std::stoll(text.substr(1)), decimals);
        return *Frequency::Parse(text);
    };
    Channel c;
    c.inUse = true;
    c.name = t[0];
    c.step = *ParseStep(t[1]);
    c.rx = frequency(t[2], 4);
    c.rxTone = *Tone::Parse(t[3]);
    c.bandwidth = *ParseBandwidth(t[4]);
    c.pacMode = t[5] == "on";
    c.dcsDetect = t[6] == "on";
    c.scanSkip = t[7] == "on";
    c.priority = *Priority::Parse(t[8]);
    c.tx = t[9] == "=" ? c.rx : frequency(t[9], 5);
    c.txTone = *Tone::Parse(t[10]);
    c.bcl = t[11] == "on";
    c.ani = t[12] == "on";
    c.shift = t[13] == "on";
    c.signal.kind = *ParseSignalKind(t[14]);
    if (!t[15].empty()) c.signal.code = static_cast<std::uint8_t>(std::stoi(t[15]));
    if (!t[16].empty()) c.signal.subCode = static_cast<std::uint8_t>(std::stoi(t[16]));
    return c;
}

const char* const kPlainRow =
    "|5|145.0000|off|wide|off|off|off|off|145.0000|off|off|off|off|None|0|0";

// --- The golden image: tests/data/image/golden_image.txt, made by hand --------

struct GoldenRow {
    int row;
    const char* written;
    const char* read;
};
const GoldenRow kGoldenRows[] = {
    {1, "ab-1|12.5|145.0000|C:88.5|narrow|off|on|off|PH|145.6000|D:023N|on|off|on|5Tone|42|3",
     "ab-1|12.5|145.0000|C:88.5|narrow|off|on|off|PH|145.60000|D:023N|on|off|on|5Tone|42|3"},
    {2, "|5|145.0000|off|wide|on|off|on|off|140.0000|off|off|off|off|DTMF-ANI|7|1",
     "|5|145.0000|off|wide|on|off|on|off|140.00000|off|off|off|off|DTMF-ANI|7|1"},
    {3, "Ac%d|8.33|118.00833|off|narrow|off|off|off|CAL|118.01666|off|off|on|off|2Tone|99|0",
     "A|8.33|118.0083|off|narrow|off|off|off|CAL|118.01666|off|off|on|off|2Tone|99|0"},
    {100, "Z9|50|145.0125|D:017I|wide|off|off|on|12|145.0125|D:765N|off|off|off|DTMF|5|2",
     "Z9|50|145.0125|D:017I|wide|off|off|on|12|145.0125|D:765N|off|off|off|DTMF|5|0"},
};

Codeplug GoldenCodeplug() {
    Codeplug c = NewCodeplug(3);
    for (const GoldenRow& r : kGoldenRows) c.Row(r.row) = ChannelOf(r.written);
    c.options.securityMode = SecurityMode::Delay;
    c.autoDialer.entries[0] = "12*#A";
    c.signalling.fiveTone.codes[0] = {0, 2, 5, 9, "12E45"};
    return c;
}

std::vector<std::uint8_t> GoldenImage() {
    std::ifstream in(std::string(QX_SOURCE_DIR) + "/tests/data/image/golden_image.txt");
    std::vector<std::pair<int, std::string>> lines;
    for (std::string text; std::getline(in, text);) {
        std::istringstream fields(text.substr(0, text.find('#')));
        int line = -1;
        std::string hex;
        if (fields >> line >> hex) lines.emplace_back(line, hex);
    }
    EXPECT_GT(lines.size(), 100u);
    return ImageOf(lines);
}

TEST(GoldenImage, TheCodeplugEncodesToTheHandMadeImage) {
    const ImageEncoding encoded = EncodeImage(GoldenCodeplug(), kAllFeatures);
    ASSERT_TRUE(encoded.problems.empty());
    ASSERT_EQ(encoded.image.size(), kImageSize);
    const auto golden = GoldenImage();
    for (int line = 0; line < kImageLines; ++line)
        EXPECT_EQ(HexOfLine(encoded.image, line), HexOfLine(golden, line)) << "line " << line;
}

TEST(GoldenImage, TheHandMadeImageDecodesToTheCodeplug) {
    Codeplug expected = GoldenCodeplug();
    for (const GoldenRow& r : kGoldenRows) expected.Row(r.row) = ChannelOf(r.read);
    // The blank PL and PH were stored as the model's defaults with the first step.
    for (int row : {kPlRow, kPhRow}) {
        expected.Row(row) = ChannelOf(kPlainRow);
        expected.Row(row).inUse = false;
    }
    for (int row : {kCallRow, kVfoRow}) {
        expected.Row(row).signal.code = 0;
        expected.Row(row).signal.subCode = 0;
    }
    // Permissions and the penalty were empty and stored as 0.
    for (int field = kFirstPermissionField; field <= kLastPermissionField; ++field)
        ASSERT_TRUE(SetOptionIndex(expected.options, field, 0));
    expected.options.timeoutPenalty = 0;

    const ImageDecoding decoded = DecodeImage(GoldenImage(), 7);
    ASSERT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.features, kAllFeatures);
    EXPECT_EQ(decoded.radioPassword, "");
    for (int row = 1; row <= kRowCount; ++row)
        EXPECT_EQ(decoded.codeplug.Row(row), expected.Row(row)) << RowDisplayName(row);
    EXPECT_EQ(decoded.codeplug, expected);
}

// --- Channel records --------------------------------------------------------------

TEST(ChannelRecord, EncodesFrequenciesAsWhole100HzUnits) {
    // model, row values (empty: a blank PL), first line
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "", "00000000002700000000000008080000"},  // blank: model 0's 27.0000, step byte 0
        {9, "", "00000000024550000000000008080000"},
        {3, "|10|100.0000|off|wide|off|off|off|off|0.0001|off|off|off|off|None||",
         "00010003010000000099999908080000"},  // 99.9999 MHz below still fits
        {3, "|5|145.01259|off|wide|off|off|off|off|145.01251|off|off|off|off|None||",
         "00000000014501250000000008080000"},  // the fifth decimal is dropped before comparing
        {3, "|5|9999.9999|off|wide|off|off|off|off|10000.0000|off|off|off|off|None||",
         "00020000999999990000000108080000"}};
    for (const auto& [model, cells, first] : cases) {
        Codeplug c = NewCodeplug(model);
        if (*cells != '\0') c.Pl() = ChannelOf(cells);
        EXPECT_EQ(Encoded(c, FirstLineOf(kPlRow)), first) << cells;
        EXPECT_EQ(Encoded(c, FirstLineOf(kPlRow) + 1), kZeroLine) << cells;
    }
}

TEST(ChannelRecord, FrequenciesTheRecordCannotHoldAreProblemsOfTheirRow) {
    Codeplug c = NewCodeplug(28);
    c.Memory(5) = ChannelOf("|5|450.0000|off|wide|off|off|off|off|350.0000|off|off|off|off|None||");
    c.Pl() = ChannelOf("|5|145.0000|off|wide|off|off|off|off|265.5|off|off|off|off|None||");
    c.Pl().inUse = false;  // PL is written all the same
    c.CallChannel().rx = c.CallChannel().tx = *Frequency::Parse("12345.0000");
    c.Vfo().rx = *Frequency::Parse("10000.00001");
    c.Memory(7) = c.Memory(5);
    c.Memory(7).inUse = false;  // not written
    const std::vector<Problem> expected = {
        {kCallRow, "Rx frequency",
         "Call channel: the Rx frequency 12345.0000 MHz cannot be stored in the radio."},
        {kPlRow, "Tx frequency",
         "PL: the Tx offset 120.5000 MHz is too large for the radio (at most 99.9999 MHz)."},
        {6, "Tx frequency",
         "Channel 5: the Tx offset 100.0000 MHz is too large for the radio (at most 99.9999 "
         "MHz)."}};
    const ImageEncoding image = EncodeImage(c, kAllFeatures);
    EXPECT_TRUE(image.image.empty());
    ASSERT_EQ(image.problems.size(), 5u);
    EXPECT_EQ(image.problems[0].message,
              "VFO: the Rx frequency 10000.00001 MHz cannot be stored in the radio.");
    EXPECT_EQ(image.problems[1].message,
              "VFO: the Tx offset 9560.0000 MHz is too large for the radio (at most 99.9999 MHz).");
    EXPECT_EQ(std::vector<Problem>(image.problems.begin() + 2, image.problems.end()), expected);

    const LineEncoding line = EncodeImageLine(c, FirstLineOf(6), "");
    EXPECT_EQ(line.problems, std::vector<Problem>{expected[2]});
    EXPECT_EQ(line.bytes.ToHex(), kZeroLine);
}

TEST(ChannelRecord, DecodesTxFromRxOffsetAndStep) {
    // first line, Rx, Tx, step
    const std::array<const char*, 4> cases[] = {
        {"00020004014501250000600008080000", "145.0125", "145.61250", "12.5"},
        // 8.33 kHz: the record holds 118.0083 + 0.0083; Tx comes back on its grid point
        {"00020002011800830000008308080000", "118.0083", "118.01666", "8.33"},
        {"00010002011800830000008308080000", "118.0083", "118.00000", "8.33"},
        {"00000000002700000000000008080000", "27.0000", "27.0000", "5"},
        {"00030000002700000000600008080000", "27.0000", "27.0000", "5"},
        {"00000000123456780000000008080000", "1234.5678", "1234.5678", "5"},
        // nibbles above 9 count as 0 (and a tie goes up); a step index beyond
        // the list reads as 5 kHz
        {"00020000F1A5B1250010000008080000", "105.0125", "115.01500", "5"},
        {"0002000A014500000000600008080000", "145.0000", "145.60000", "5"},
        // a Tx below 0 MHz reads as 0
        {"00010000000500000020000008080000", "5.0000", "0.00000", "5"}};
    for (const auto& [first, rx, tx, step] : cases) {
        const auto image = ImageOf({{18, "80"}, {32, first}});
        const Channel c = DecodeImage(image, 3).codeplug.Memory(0);
        EXPECT_EQ(c.rx.ToString(), rx) << first;
        EXPECT_EQ(c.tx.ToString(), tx) << first;
        EXPECT_EQ(StepText(c.step), step) << first;
    }
}

TEST(ChannelRecord, DecodesToneTypesAndIndexes) {
    // The tone-type byte, then Rx and Tx for the indexes 09 08 01 74 (Tx CTCSS
    // 91.5, Rx CTCSS 88.5, Tx DCS 023N, Rx DCS 017I) and for 00 00 E8 E8 (CTCSS
    // 67.0, DCS the list's "off" entry). Types not listed name no tone.
    const std::array<const char*, 5> cases[] = {{"00", "off", "off", "off", "off"},
                                                {"01", "off", "C:91.5", "off", "C:67.0"},
                                                {"02", "C:88.5", "off", "C:67.0", "off"},
                                                {"03", "C:88.5", "C:91.5", "C:67.0", "C:67.0"},
                                                {"04", "off", "D:023N", "off", "D:off"},
                                                {"06", "C:88.5", "D:023N", "C:67.0", "D:off"},
                                                {"08", "D:017I", "off", "D:off", "off"},
                                                {"09", "D:017I", "C:91.5", "D:off", "C:67.0"},
                                                {"0C", "D:017I", "D:023N", "D:off", "D:off"},
                                                {"05", "off", "off", "off", "off"},
                                                {"0F", "off", "off", "off", "off"}};
    const auto tones = [](const std::string& types, const std::string& indexes) {
        const auto image = ImageOf({{24, "0000" + types + "000145000000000000" + indexes}});
        const Channel pl = DecodeImage(image, 3).codeplug.Pl();
        return std::array{pl.rxTone.ToString(), pl.txTone.ToString()};
    };
    for (const auto& [types, rx, tx, rxLow, txLow] : cases) {
        EXPECT_EQ(tones(types, "09080174"), (std::array<std::string, 2>{rx, tx})) << types;
        EXPECT_EQ(tones(types, "0000E8E8"), (std::array<std::string, 2>{rxLow, txLow})) << types;
        // indexes beyond their lists
        EXPECT_EQ(tones(types, "FF32E9FF"), (std::array<std::string, 2>{"off", "off"})) << types;
    }
    Codeplug c = NewCodeplug(3);
    c.Pl() = ChannelOf("|5|145.0000|D:off|wide|off|off|off|off|=|C:254.1|off|off|off|None||");
    EXPECT_EQ(Encoded(c, 24), "000009000145000000000000310800E8");
}

TEST(ChannelRecord, DecodesPriorityNameAndSignalCodes) {
    // priority flag, second line, then name, priority, signal, code, sub-code as read
    const std::tuple<bool, std::array<const char*, 6>> cases[] = {
        // a zero byte ends the name; codes above their list read as 0
        {true, {"3A003B00000000630002080000020000", "A", "99", "DTMF-ANI", "0", "0"}},
        // a byte that names no character is left out
        {true, {"3A013B00000000640002070000010000", "AB", "PL", "DTMF-ANI", "7", "1"}},
        {true, {"00000000000000650003006400000000", "", "PH", "2Tone", "0", "0"}},
        {true, {"00000000000000800004000063000300", "", "VFO", "5Tone", "99", "3"}},
        {true, {"00000000000000A00004000000000400", "", "CAL", "5Tone", "0", "0"}},
        {true, {"00000000000000770005010203040500", "", "VFO", "None", "0", "0"}},
        {false, {"00000000000000050001030000000000", "", "off", "DTMF", "3", "0"}}};
    for (const auto& [flag, t] : cases) {
        const auto image =
            ImageOf({{0, "0000000000000000000000000000E000"},
                     {18, "40"},
                     {34, (flag ? "01" : "00") + std::string("000000014500000000000008080000")},
                     {35, t[0]}});
        const Channel c = DecodeImage(image, 3).codeplug.Memory(1);
        EXPECT_EQ(c.name, t[1]) << t[0];
        EXPECT_EQ(c.priority.ToString(), t[2]) << t[0];
        EXPECT_EQ(SignalKindText(c.signal.kind), t[3]) << t[0];
        EXPECT_EQ(c.signal.code, std::stoi(t[4])) << t[0];
        EXPECT_EQ(c.signal.subCode, std::stoi(t[5])) << t[0];
    }
}

TEST(ChannelRecord, ASignalTheRadioDoesNotOfferReadsAsNoneWithItsCodes) {
    Codeplug c = NewCodeplug(3);
    c.Memory(1) = ChannelOf("|5|145.0000|off|wide|off|off|off|off|=|off|off|off|off|5Tone|12|2");
    const ImageEncoding image = EncodeImage(c, FeatureFlags{false, true, true, false});
    ASSERT_TRUE(image.problems.empty());
    EXPECT_EQ(image.image[14], 0x60);
    const ImageDecoding read = DecodeImage(image.image, 3);
    EXPECT_EQ(read.features, (FeatureFlags{false, true, true, false}));
    EXPECT_EQ(read.codeplug.Memory(1).signal, (ChannelSignal{SignalKind::None, 12, 2}));
}

TEST(RowBitmaps, InUseAndScanSkipBitsAndRowsOutOfUseReadBlank) {
    Codeplug c = NewCodeplug(3);
    for (int row : {1, 8, 9, 100, kPlRow, kPhRow}) PutInUse(c.Row(row), 3);
    c.Memory(1) = ChannelOf(kPlainRow);
    c.Memory(1).inUse = false;  // keeps its values: its skip bit counts
    for (int row : {2, 9, 100, kPlRow, kCallRow}) c.Row(row).scanSkip = true;
    c.Memory(50).scanSkip = true;
    c.Memory(50).blank = true;  // a blank row has no skip bit
    EXPECT_EQ(Encoded(c, 18), "8180000000000000000000001C000000");
    EXPECT_EQ(Encoded(c, 19), "40800000000000000000000010000000");

    const auto image = ImageOf({{18, "8180000000000000000000001FFFFFFF"},
                                {19, "4080000000000000000000001F000000"},
                                {34, "00000000014600000000000008080000"},
                                {35, "00000000000000000004050000000000"}});
    const Codeplug read = DecodeImage(image, 3).codeplug;
    for (int row = 1; row <= kRowCount; ++row) {
        const bool inUse = row == 1 || row == 8 || row == 9 || row >= 100;
        EXPECT_EQ(read.Row(row).inUse, inUse) << row;
        EXPECT_EQ(read.Row(row).scanSkip, row == 9 || row == 100) << row;
        if (row <= kChannelRows && !inUse) {
            Channel blank;
            blank.blank = true;
            EXPECT_EQ(read.Row(row), blank)
                << "row " << row << ": no record is read, no codes stay";
        }
    }
}

// --- Settings lines ------------------------------------------------------------------

RadioOptions OptionsOf(const std::string& record) {
    const OptionsRecordResult parsed = ParseOptionsRecord(record);
    EXPECT_TRUE(parsed.options) << parsed.error;
    return parsed.options.value_or(RadioOptions{});
}

TEST(OptionLines, EveryFieldInItsByte) {
    // Empty permissions are stored as 00; byte 10 of line 17 holds the
    // scrambler in bit 0 and the aftersound elimination in bit 2.
    const std::array<const char*, 3> cases[] = {
        {"setup|Channel|CALL|99|20|Low|Enable|Disable|Enable|Disable|Enable|Enable|1s|200ms|80ms|"
         "1000Hz|7m30sec|15sec|on|on|Disable|Busy|Low|on|Unlock|25W|0|1",
         "A5A50263140200030301020F0FA5A5A5", "A508A5A500A500A5A5000400A5000101"},
        {"setup|Frequency|MR|0|0|Hi|----------------|Enable|Disable|Enable|Disable|"
         "----------------|400ms|160ms|60ms|2100Hz|0m30sec|----------------|off|off|Enable|Timer|"
         "High|off|Lock|60W|1|1",
         "A5000100000000010200010100000000", "00080000A500A5000000050000000000"}};
    for (const auto& [record, line16, line17] : cases) {
        Codeplug c = NewCodeplug(3);
        c.options = OptionsOf(record);
        EXPECT_EQ(Encoded(c, 16), line16) << record;
        EXPECT_EQ(Encoded(c, 17), line17) << record;
    }
}

TEST(OptionLines, EveryValueComesBackAndBytesNotListedReadAsTheZeroCode) {
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        const int count = field == kOptMrNumber || field == kOptSquelch
                              ? 256
                              : static_cast<int>(OptionValues(field).size());
        for (int index = 0; index < count; ++index) {
            Codeplug c = NewCodeplug(3);
            ASSERT_TRUE(SetOptionIndex(c.options, field, index));
            const auto image = ImageOf({{16, Encoded(c, 16)}, {17, Encoded(c, 17)}});
            EXPECT_EQ(OptionIndex(DecodeImage(image, 3).codeplug.options, field), index)
                << "field " << field;
        }
    }
    const auto image = ImageOf({{16, std::string(32, '7')}, {17, std::string(32, '7')}});
    EXPECT_EQ(OptionsRecord(DecodeImage(image, 3).codeplug.options),
              "setup|Frequency|VFO|119|119|Hi|Disable|Disable|Disable|Disable|Disable|Disable|"
              "100ms|60ms|60ms|1750Hz|off|off|off|off|Enable|Timer|High|off|Lock|60W|0|0");
}

TEST(AutoDialerLines, OnlyDialCharactersAreStored) {
    Codeplug c = NewCodeplug(3);
    c.autoDialer.entries = {"12*#A", "1x2-a", "0123456789ABCD#*-0123", "", "", "", "", "", "9"};
    EXPECT_EQ(Encoded(c, 240), "31323F3E3A0000000000000000000000");
    EXPECT_EQ(Encoded(c, 241), "31324000000000000000000000000000");
    EXPECT_EQ(Encoded(c, 242), "303132333435363738393A3B3C3D3E3F");
    EXPECT_EQ(Encoded(c, 243), kZeroLine);
    EXPECT_EQ(Encoded(c, 248), "39000000000000000000000000000000");

    const auto image = ImageOf({{240, "31323F3E3A0000000000000000000000"},
                                {241, "310041FF324000000000000000000000"},  // 00, 41, FF skipped
                                {248, "303132333435363738393A3B3C3D3E3F"}});
    EXPECT_EQ(AutoDialerRecord(DecodeImage(image, 3).codeplug.autoDialer),
              "Ad|12*#A|12-|||||||0123456789ABCD#*|");
}

TEST(PasswordLine, StoresLatin1BytesAndReadsUpToTheFirstNul) {
    const Codeplug c = NewCodeplug(3);
    for (const auto& [password, hex] : std::vector<std::pair<std::string, std::string>>{
             {"AB", "41420000000000000000000000000000"},
             {"0123456789abcdefXYZ", "30313233343536373839616263646566"},
             {"\xC3\xA9", "E9000000000000000000000000000000"},
             {"", kZeroLine}}) {
        EXPECT_EQ(EncodeImageLine(c, 4, password).bytes.ToHex(), hex) << password;
    }
    for (const auto& [hex, password] : std::vector<std::pair<std::string, std::string>>{
             {"41420000000000000000000000000000", "AB"},
             {"4142FF43000000000000000000000000", "AB"},
             {"20414220000000000000000000000000", "AB "},  // trimmed first, then cut at the NUL
             {"E9000000000000000000000000000000", "\xC3\xA9"},
             {"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", ""}}) {
        const auto image = ImageOf({{4, hex}});
        EXPECT_EQ(ImagePassword(image), password) << hex;
        EXPECT_EQ(DecodeImage(image, 3).radioPassword, password) << hex;
    }
    EXPECT_EQ(ImagePassword(std::vector<std::uint8_t>(66, 'A')), "AA") << "what has arrived";
}

TEST(SignallingLines, DtmfMemoriesTwoToneAndFiveTone) {
    Codeplug c = NewCodeplug(3);
    SignallingSettings& s = c.signalling;
    s.dtmfMemories = {1, -1, 0x1234, 0, 0, 0, 0, 0x7F00};
    s.twoTone = {0, 0x11, 0x22, 0x33, 0x44, 9, 10, 2, 5, 6, 7, 8, {}};
    s.twoTone.codes[0] = {1, 2, 3, 4, 5, 6};
    s.twoTone.codes[1] = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6};
    s.twoTone.codes[99] = {9, 8, 7, 6, 5, 4};
    s.fiveTone.responseMode = 1;
    s.fiveTone.standardIndex = 3;
    s.fiveTone.selfIdLength = 3;
    s.fiveTone.toneTime = 8;
    s.fiveTone.selfId = "Ax345";  // no hex digit is stored as 0; digits past the length are not
    s.fiveTone.delayIndex = 200;
    s.fiveTone.pttIdBegin = {0, 1, 2, 3, "AB"};
    s.fiveTone.pttIdEnd = {0, 4, 1, 5, "C"};
    // code, length, bytes 4..15 of a 5-tone code line
    const std::tuple<const char*, int, const char*> codes[] = {
        {"12e4a", 5, "12E4AEEEEEEEEEEEEEEEEEEE"},   // lowercase is upper-cased
        {"12x", 3, "12EEEEEEEEEEEEEEEEEEEEEE"},     // not a hex digit: the filler
        {"123456", 4, "1234EEEEEEEEEEEEEEEEEEEE"},  // cut to its length
        {"0123456789ABCDEF012345", 22, "0123456789ABCDEF012345EE"},
        {"12", 4, "12EEEEEEEEEEEEEEEEEEEEEE"},  // padded to its length
        {"", 0, "EEEEEEEEEEEEEEEEEEEEEEEE"}};
    for (std::size_t i = 0; i < std::size(codes); ++i) {
        const auto& [code, length, digits] = codes[i];
        s.fiveTone.codes[i] = {0, 2, static_cast<std::uint8_t>(length), 9, code};
        EXPECT_EQ(Encoded(c, 384 + static_cast<int>(i)),
                  "0002" + ByteToHex2(length) + "09" + digits);
    }
    EXPECT_EQ(Encoded(c, 254), "0001FFFF123400000000000000007F00");
    EXPECT_EQ(Encoded(c, 256), "00000000112233440205060708090A00");
    EXPECT_EQ(Encoded(c, 272), "0102030405060000A1B2C3D4E5F60000");
    EXPECT_EQ(Encoded(c, 321), "00000000000000000908070605040000");
    EXPECT_EQ(Encoded(c, 257), "00010303080A00030000C80000000000");
    EXPECT_EQ(Encoded(c, 484), "00010203ABEEEEEEEEEEEEEEEEEEEEEE");
    EXPECT_EQ(Encoded(c, 485), "00040105CEEEEEEEEEEEEEEEEEEEEEEE");

    std::vector<std::pair<int, std::string>> lines;
    for (int line : {254, 256, 272, 321, 484, 485}) lines.emplace_back(line, Encoded(c, line));
    lines.emplace_back(257, "000103030801020304050A0000000000");
    lines.emplace_back(385, "00011707123456789ABCDEF012345678");  // 23: too long
    lines.emplace_back(386, "000203073A5EEEEEEEEEEEEEEEEEEEEE");
    lines.emplace_back(387, "000016070123456789ABCDEF012345EE");
    const SignallingSettings read = DecodeImage(ImageOf(lines), 3).codeplug.signalling;
    EXPECT_EQ(read.dtmfMemories, s.dtmfMemories);
    EXPECT_EQ(read.twoTone, s.twoTone);
    const FiveToneSettings& f = read.fiveTone;
    EXPECT_EQ(f.selfId, "123") << "only selfIdLength digits";
    EXPECT_EQ(f.codes[1], (FiveToneCode{0, 1, 0, 7, ""}));
    EXPECT_EQ(f.codes[2], (FiveToneCode{0, 2, 3, 7, "3A5"}));
    EXPECT_EQ(f.codes[3], (FiveToneCode{0, 0, 22, 7, "0123456789ABCDEF012345"}));
    EXPECT_EQ(f.pttIdBegin, s.fiveTone.pttIdBegin);
    EXPECT_EQ(f.pttIdEnd, s.fiveTone.pttIdEnd);
}

// --- Identity, whole images and the lines a transfer handles ---------------------------

TEST(IdentityLine, ModelFeaturesAndTheComparisonBeforeAWrite) {
    auto image = ImageOf({{0, "0099AA3300000000000000000000A000"}});
    EXPECT_EQ(ImageModelIndex(image), 25);
    EXPECT_EQ(ImageFeatures(image), (FeatureFlags{true, false, true, false}));
    const ImageDecoding read = DecodeImage(image, 3);
    EXPECT_EQ(read.codeplug.model, 25);
    EXPECT_EQ(read.codeplug.CallChannel().rx.ToString(), "0.0000")
        << "the call channel is always read";
    EXPECT_FALSE(read.codeplug.Memory(0).inUse) << "no bit in line 18";
    EXPECT_TRUE(read.codeplug.Memory(0).blank);

    image = ImageOf({{0, "00123456000000000000000000005000"}});
    EXPECT_EQ(ImageModelIndex(image), -1);
    EXPECT_EQ(ImageFeatures(image), (FeatureFlags{false, true, false, true}));
    EXPECT_EQ(DecodeImage(image, 7).codeplug.model, 7) << "an unknown code keeps the fallback";

    // Model 3 is 33AA66.
    for (const auto& [code, match] : std::vector<std::pair<std::string, int>>{
             {"33AA66", 0}, {"335533", 1}, {"33AA99", 1}, {"99AA66", 2}, {"123456", 2}}) {
        EXPECT_EQ(CompareModel(3, ImageOf({{0, "00" + code + std::string(24, '0')}})), match)
            << code;
    }
    EXPECT_EQ(CompareModel(-1, ImageOf({{0, "0033AA66" + std::string(24, '0')}})), 2);

    std::vector<std::uint8_t> line0(16, 0);
    SetImageModel(line0, 25);
    SetImageFeatures(line0, FeatureByte({true, false, true, true}));
    EXPECT_EQ(HexOfLine(line0, 0), "0099AA3300000000000000000000B000");
    SetImageModel(line0, 99);
    EXPECT_EQ(ImageModelIndex(line0), 25) << "an unknown model leaves the code";
}

// What a read asks for again: content no radio holds. A radio never
// written (zeros) and lines no field reads pass.
TEST(LineContent, ImpossibleContentIsNamed) {
    const std::string line0 = "0033AA6600000000000000000000E000";
    const std::string rx145 = "00000000014500000000000008080000";
    struct Case {
        int line;
        std::string hex;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {0, line0, ""},
        {0, "0012345600000000000000000000E000", "the model code names no model"},
        {0, "0033AA6600000000000000000000E100", "the feature byte is unknown"},
        {4, "41424300FF0000000000000000000000", ""},
        {4, "41420743000000000000000000000000", "the password holds a byte no password has"},
        {16, "", ""},
        {16, "005A0000000000000000000000000000", "an option holds a value it does not have"},
        {16, "000000FF000000000000000000000000", "the MR number is above 99"},
        {240, "3132333A", ""},
        {240, "3132FF", "a dial memory holds a code no key has"},
        {32, "", "a channel in use has an empty record"},
        {32, rx145, ""},
        {32, "000000000A4500000000000008080000", "a frequency holds a digit above 9"},
        {32, "00000000000000000000000008080000", "the Rx frequency is 0"},
        {32, "00030000014500000000000008080000", "the Tx direction is unknown"},
        {32, "00000040014500000000000008080000", "the step is unknown"},
        {32, "00000500014500000000000008080000", "the tone type is unknown"},
        {32, "00000100014500000000000040080000", "a tone is outside its list"},
        {20, "", ""},  // the VFO of a radio never written
        {300, "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", ""},
    };
    for (const Case& c : cases) {
        // Channel 0 in use (line 18), its record in line 32 unless the case sets it.
        std::vector<std::uint8_t> image =
            ImageOf({{0, line0}, {18, "80"}, {32, rx145}, {c.line, c.hex}});
        EXPECT_EQ(LineContentProblem(image, c.line), c.problem) << c.line << " " << c.hex;
    }
    const auto image = ImageOf({{0, line0}, {18, "80"}, {32, rx145}, {33, "3AF0"}});
    EXPECT_EQ(LineContentProblem(image, 33), "the name holds a code no character has");
}

TEST(WholeImage, OnlyEightKilobytesDecode) {
    EXPECT_EQ(DecodeImage(std::vector<std::uint8_t>(100), 3).error,
              "A memory image has 8192 bytes; this one has 100.");
    EXPECT_EQ(DecodeImage(std::vector<std::uint8_t>(8193), 3).error,
              "A memory image has 8192 bytes; this one has 8193.");
}

TEST(LineChoice, ReadAndWriteLeaveOutOnlyChannelsOutOfUse) {
    const auto linesLeftOut = [](auto&& chosen) {
        std::vector<int> lines;
        for (int line = -1; line <= 512; ++line) {
            if (!chosen(line)) lines.push_back(line);
        }
        return lines;
    };
    std::vector<int> expected = {-1};
    for (int line = 34; line <= 229; ++line) expected.push_back(line);
    expected.push_back(512);
    const auto image = ImageOf({{18, "8000000000000000000000001F000000"}});
    EXPECT_EQ(linesLeftOut([&](int line) { return ReadRequestsLine(image, line); }), expected);
    EXPECT_EQ(linesLeftOut([&](int line) {
                  return ReadRequestsLine(std::span(image).first(290), line);
              }).size(),
              200u)
        << "a bitmap not yet arrived reads as no channel in use";

    Codeplug c = NewCodeplug(3);
    for (int row = 1; row <= kPhRow; ++row) c.Row(row).inUse = true;
    c.Memory(1).inUse = c.Memory(2).inUse = false;
    c.Pl().inUse = false;  // PL and PH are always written
    expected = {34, 35, 36, 37, 512};
    for (int line = 15; line >= -1; --line) expected.insert(expected.begin(), line);
    EXPECT_EQ(linesLeftOut([&](int line) { return WriteSendsLine(c, line); }), expected);
}

// --- Round trips ----------------------------------------------------------------------

// A codeplug that holds only what the image stores, in the form a read gives
// it back, around the model's band.
Codeplug RoundTripSource(int model) {
    Codeplug c = NewCodeplug(model);
    const std::int64_t low = ModelAt(model)->rx.low.units / (ScaledDecimal::kScale / 1'000'000);
    const std::pair<int, const char*> rows[] = {
        {1, "CH0|12.5|+1250|off|wide|off|off|off|off|=|off|off|off|off|None|0|0"},
        {2, "|6.25|+100000|off|wide|off|off|off|off|+100625|off|off|off|off|None|0|0"},
        {3, "|8.33|+2500|off|narrow|off|off|off|off|+4166|off|off|off|off|None|0|0"},
        {4, "Z9+/=()|5|+500000|C:88.5|narrow|on|on|on|PH|+0|D:023N|on|on|on|5Tone|42|3"},
        {10, "ab-1|5|+2000|off|wide|off|off|off|03|=|C:254.1|off|off|off|DTMF-ANI|7|1"},
        {11, "|25|+2500|off|wide|off|off|off|off|+1002500|off|off|off|off|2Tone|99|0"},
        {12, "|50|+5000|D:017I|wide|off|off|off|CAL|=|D:off|off|off|off|DTMF|4|0"},
        {50, "|30|+3000|C:67.0|wide|off|off|off|VFO|=|off|off|off|off|None|0|0"},
        {100, "LAST|5|+0|off|wide|off|off|on|PL|=|off|off|off|off|None|0|0"},
        {kPlRow, "LOW|5|+1000|off|wide|off|off|off|off|=|off|off|off|off|DTMF|2|0"},
        {kPhRow, "HIGH|20|+2000000|off|wide|off|off|off|99|=|off|off|off|off|None|0|0"},
        {kCallRow, "CALL|5|+0|off|wide|off|off|off|off|=|D:754I|off|off|off|2Tone|55|0"},
        {kVfoRow, "|10|+1000|off|wide|off|off|off|off|+61000|off|on|off|off|None|0|0"},
    };
    for (const auto& [row, cells] : rows) c.Row(row) = ChannelOf(cells, low);
    c.Pl().inUse = false;
    c.options = OptionsOf(
        "setup|Channel|MR|42|7|Mid|Enable|Disable|Enable|Disable|Enable|Disable|700ms|160ms|80ms|"
        "2100Hz|3m00sec|4sec|on|off|Disable|Busy|Low|Dly|Unlock|25W|0|1");
    c.autoDialer.entries = {"12*#A", "", "0123456789ABCD#*", "-", "", "", "D", "9876543210", ""};
    c.signalling.dtmfMemories[3] = -2;
    c.signalling.twoTone.codes[42] = {1, 2, 3, 4, 5, 6};
    c.signalling.fiveTone.codes[7] = {0, 3, 4, 2, "9AB0"};
    return c;
}

TEST(RoundTrip, EveryModelReadsBackWhatWasWritten) {
    for (int model = 0; model < kModelCount; ++model) {
        SCOPED_TRACE("model " + std::to_string(model));
        const Codeplug source = RoundTripSource(model);
        const ImageEncoding written = EncodeImage(source, kAllFeatures);
        ASSERT_TRUE(written.problems.empty()) << written.problems.front().message;
        const ImageDecoding read = DecodeImage(written.image, (model + 5) % kModelCount);
        EXPECT_EQ(read.features, kAllFeatures);
        for (int row = 1; row <= kRowCount; ++row)
            EXPECT_EQ(read.codeplug.Row(row), source.Row(row)) << RowDisplayName(row);
        EXPECT_EQ(read.codeplug, source);
    }
}

TEST(RoundTrip, WhatTheImageDoesNotHoldComesBackChanged) {
    // Channel 1 written, then as read back (model 3, all features).
    const std::array<const char*, 3> cases[] = {
        {"fifth decimal",
         "|5|145.01255|off|wide|off|off|off|off|145.01255|off|off|off|off|None|0|0",
         "|5|145.0125|off|wide|off|off|off|off|145.0125|off|off|off|off|None|0|0"},
        {"Tx on the step grid",
         "|12.5|145.0000|off|wide|off|off|off|off|145.61|off|off|off|off|None|0|0",
         "|12.5|145.0000|off|wide|off|off|off|off|145.61250|off|off|off|off|None|0|0"},
        {"empty codes", "|5|145.0000|off|wide|off|off|off|off|=|off|off|off|off|5Tone||",
         "|5|145.0000|off|wide|off|off|off|off|=|off|off|off|off|5Tone|0|0"},
        {"codes the type does not keep",
         "|5|145.0000|off|wide|off|off|off|off|=|off|off|off|off|DTMF-ANI|9|2",
         "|5|145.0000|off|wide|off|off|off|off|=|off|off|off|off|DTMF-ANI|0|0"},
        {"name", "ab%CDEFG|5|145.0000|off|wide|off|off|off|off|=|off|off|off|off|None|0|0",
         "ab|5|145.0000|off|wide|off|off|off|off|=|off|off|off|off|None|0|0"},
        {"long name", "ABCDEFGH|5|145.0000|off|wide|off|off|off|off|=|off|off|off|off|None|0|0",
         "ABCDEFG|5|145.0000|off|wide|off|off|off|off|=|off|off|off|off|None|0|0"}};
    for (const auto& [what, written, read] : cases) {
        Codeplug c = NewCodeplug(3);
        c.Memory(1) = ChannelOf(written);
        const ImageEncoding image = EncodeImage(c, kAllFeatures);
        EXPECT_EQ(DecodeImage(image.image, 3).codeplug.Memory(1), ChannelOf(read)) << what;
    }

    Codeplug c = NewCodeplug(3);
    c.Memory(4) = ChannelOf(kPlainRow);
    c.Memory(4).inUse = false;  // the radio holds no record of it
    c.Memory(5).signal.code = 3;
    c.Pl().signal.code = 9;  // a blank PL is written as the model's defaults
    c.Ph() = ChannelOf(kPlainRow);
    c.Ph().scanSkip = true;              // only memory channels skip
    c.signalling.twoTone.pairIndex = 5;  // not stored
    const Codeplug read = DecodeImage(EncodeImage(c, kAllFeatures).image, 3).codeplug;
    Channel blank;
    blank.blank = true;
    EXPECT_EQ(read.Memory(4), blank);
    EXPECT_EQ(read.Memory(5), blank);
    EXPECT_EQ(read.Pl(), ([] {
                  Channel pl = ChannelOf(kPlainRow);
                  pl.inUse = false;
                  return pl;
              }()));
    EXPECT_FALSE(read.Ph().scanSkip);
    EXPECT_EQ(read.signalling.twoTone.pairIndex, 0);
}

// --- Random images ----------------------------------------------------------------

// A random image a radio could hold: random bytes everywhere, with a known
// model code, and channel records whose direction, step and digits are
// mostly plausible so that the offsets, steps and the rounding get exercised.
std::vector<std::uint8_t> RandomImage(std::uint32_t seed) {
    std::mt19937 random(seed);
    const auto below = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    std::vector<std::uint8_t> image(kImageSize);
    for (auto& byte : image) byte = static_cast<std::uint8_t>(random());
    SetImageModel(image, below(kModelCount));
    for (int line = 20; line <= 231; ++line) {
        const int row = line >= 32 ? (line - 30) / 2 : 0;
        const bool first = line % 2 == 0;
        if ((row == 0 && line >= 28) || !first) continue;
        std::uint8_t* record = image.data() + line * 16;
        if (below(4) != 0) record[1] = static_cast<std::uint8_t>(below(3));  // direction
        if (below(4) != 0) record[3] = static_cast<std::uint8_t>(below(kStepCount));
        for (int b = 4; b < 12; ++b) {
            if (below(8) != 0) {
                record[b] = static_cast<std::uint8_t>(below(10) << 4 | below(10));
            }
        }
        // Offsets near the limit and Rx near the bottom of the range.
        if (below(4) == 0) record[9] = 0x99, record[10] = 0x99, record[11] = 0x90 | below(10);
        if (below(6) == 0) record[4] = 0, record[5] = 0;
    }
    return image;
}

bool HasErrorIn(const CheckProblems& problems, CheckArea area, int row = 0) {
    return std::any_of(problems.begin(), problems.end(), [&](const CheckProblem& p) {
        return p.IsError() && p.area == area && (area != CheckArea::Channel || p.row == row);
    });
}

// Whatever a decode gives, the encoder takes; and where writing it would
// not give the same codeplug back, the check says so with an error.
TEST(RandomImages, TheEncoderTakesWhatADecodeGivesAndTheCheckNamesWhatAWriteWouldChange) {
    constexpr std::uint32_t kImages = 2000;
    int reported = 0;
    int imagesWithErrors = 0;
    const auto report = [&reported](std::uint32_t seed, const std::string& what) {
        if (++reported <= 5) ADD_FAILURE() << "seed " << seed << ": " << what;
    };
    for (std::uint32_t seed = 1; seed <= kImages; ++seed) {
        const ImageDecoding first = DecodeImage(RandomImage(seed), 3);
        ASSERT_EQ(first.error, "");
        const ImageEncoding encoded = EncodeImage(first.codeplug, first.features);
        if (!encoded.problems.empty()) {
            report(seed, encoded.problems.front().message);
            continue;
        }
        const CheckProblems problems = CheckCodeplug(first.codeplug);
        if (HasErrors(problems)) ++imagesWithErrors;
        const Codeplug& was = first.codeplug;
        const Codeplug& is = DecodeImage(encoded.image, 3).codeplug;
        for (int row = 1; row <= kRowCount; ++row) {
            // The scan limits are written out of use too; what they hold then
            // does not matter.
            if (!was.Row(row).inUse) continue;
            Channel expected = was.Row(row);
            // Codes of a signal the radio does not offer are not written.
            if (expected.signal.kind == SignalKind::None) expected.signal = is.Row(row).signal;
            if (is.Row(row) != expected && !HasErrorIn(problems, CheckArea::Channel, row)) {
                report(seed, RowDisplayName(row) + " comes back as " +
                                 testing::PrintToString(is.Row(row)) + " unchecked");
            }
        }
        if (is.options != was.options && !HasErrorIn(problems, CheckArea::Options))
            report(seed, "the options come back changed unchecked");
        if (is.autoDialer != was.autoDialer && !HasErrorIn(problems, CheckArea::AutoDialer))
            report(seed, "the auto dialer comes back changed unchecked");
        if (is.signalling != was.signalling && !HasErrorIn(problems, CheckArea::FiveTone))
            report(seed, "the signalling comes back changed unchecked");
    }
    EXPECT_EQ(reported, 0);
    // Random images are full of values no radio holds.
    EXPECT_GT(imagesWithErrors, static_cast<int>(kImages / 2));
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

// --- The lines the program uses ------------------------------------------------------

TEST(UnusedLines, AreExactlyTheLinesNoRuleLooksAt) {
    constexpr int kRanges[][2] = {{1, 3},     {5, 15},    {28, 31},   {232, 239}, {249, 253},
                                  {255, 255}, {258, 271}, {322, 383}, {486, 511}};
    std::vector<int> expected;
    for (const auto& [first, last] : kRanges)
        for (int line = first; line <= last; ++line) expected.push_back(line);
    EXPECT_EQ(UnusedLines(), expected);
    EXPECT_FALSE(ProgramUsesLine(-1));
    EXPECT_FALSE(ProgramUsesLine(kImageLines));
}

// Whatever the unused lines hold, a decode gives the same: a quick read
// that leaves them as zeros shows, saves and writes what a full read does.
TEST(UnusedLines, WhatTheyHoldNeverChangesTheDecode) {
    std::vector<std::vector<std::uint8_t>> images;
    const std::filesystem::path corpus =
        std::filesystem::path(QX_SOURCE_DIR) / "tests" / "data" / "corpus";
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".img") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        images.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ASSERT_FALSE(images.empty());
    for (std::uint32_t seed = 1; seed <= 300; ++seed) images.push_back(RandomImage(seed));

    std::mt19937 random(7);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::vector<std::uint8_t>& image = images[i];
        std::vector<std::uint8_t> zeroed = image;
        std::vector<std::uint8_t> garbage = image;
        for (const int line : UnusedLines()) {
            for (std::size_t b = 0; b < kLineBytes; ++b) {
                const std::size_t at = static_cast<std::size_t>(line) * kLineBytes + b;
                zeroed[at] = 0;
                garbage[at] = static_cast<std::uint8_t>(random());
            }
        }
        const ImageDecoding full = DecodeImage(image, 3);
        for (const auto* other : {&zeroed, &garbage}) {
            const ImageDecoding quick = DecodeImage(*other, 3);
            EXPECT_EQ(quick.codeplug, full.codeplug) << "image " << i;
            EXPECT_EQ(quick.features, full.features) << "image " << i;
            EXPECT_EQ(quick.radioPassword, full.radioPassword) << "image " << i;
            EXPECT_EQ(ImageModelIndex(*other), ImageModelIndex(image)) << "image " << i;
            for (int line = 0; line < kImageLines; ++line) {
                if (!ProgramUsesLine(line)) continue;
                EXPECT_EQ(LineContentProblem(*other, line), LineContentProblem(image, line))
                    << "image " << i << " line " << line;
            }
        }
    }
}

}  // namespace
}  // namespace qx
