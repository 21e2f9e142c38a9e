// Settings lines beyond the golden image (image_codec_test): every option
// byte, dialer characters, the password, signalling fields with distinct
// values, format errors and the identity line.
#include "image/settings_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "document_builder.h"
#include "image/image_codec.h"
#include "options/radio_options.h"
#include "util/text.h"

namespace qx {
namespace {

using test::kAllFeatures;
using test::LoadedDocument;
using test::ScriptedUi;

const std::string kZeroLine(32, '0');

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::string Encode(Document& doc, int line, const std::string& password = "") {
    ScriptedUi ui;
    std::string hex = EncodeSettingsLine(doc, line, password, ui);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
    return hex;
}

// Decodes hand-written lines in order, as one read.
void Decode(Document& doc, const std::vector<std::pair<int, std::string>>& lines,
            ImageReadState& state) {
    FeatureFlags features = kAllFeatures;
    ScriptedUi ui;
    for (const auto& [line, hex] : lines) {
        const auto bytes = Bytes(hex);
        DecodeSettingsLine(doc, features, HexLine(bytes, 0), line, state, ui);
    }
}

std::string WithField(int field, const std::string& value) {
    auto fields = Split(kDefaultSetup, '|');
    fields.at(static_cast<std::size_t>(field)) = value;
    return JoinOptionRecord(fields);
}

TEST(OptionLines, EveryFieldInItsByte) {
    // Values not listed ("Medium", "300", "") are stored as 00; byte 10 of line 17
    // holds the scrambler in bit 0 and the aftersound elimination in bit 2.
    const std::array<const char*, 3> cases[] = {
        {"setup|Channel|CALL|99|20|Low|Enable|Disable|Enable|Disable|Enable|Enable|1s|200ms|80ms|"
         "1000Hz|7m30sec|15sec|on|on|Disable|Busy|Low|on|Unlock|25W|0|1",
         "A5A50263140200030301020F0FA5A5A5", "A508A5A500A500A5A5000400A5000101"},
        {"setup|Frequency|MR|300||Medium|Disable|Enable|Disable|Enable|Disable|Disable|400ms|"
         "160ms|60ms|2100Hz|0m30sec|off|off|off|Enable|Timer|High|off|Lock|60W|1|1",
         "A5000100000000010200010100000000", "00080000A500A5000000050000000000"}};
    for (const auto& [setup, line16, line17] : cases) {
        Document doc = LoadedDocument(3);
        doc.strSetup = setup;
        EXPECT_EQ(Encode(doc, 16), line16) << setup;
        EXPECT_EQ(Encode(doc, 17), line17) << setup;
    }
}

TEST(OptionLines, EveryListedValueComesBack) {
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        for (const std::string& value : OptionValues(field)) {
            Document doc = LoadedDocument(3);
            doc.strSetup = WithField(field, value);
            Document read = LoadedDocument(3);
            ImageReadState state;
            Decode(read, {{16, Encode(doc, 16)}, {17, Encode(doc, 17)}}, state);
            EXPECT_EQ(Split(read.strSetup, '|').at(static_cast<std::size_t>(field)), value)
                << "field " << field;
        }
    }
}

TEST(OptionLines, TheRecordIsStoredAfterTheSecondLineAndBytesNotListedReadAsZero) {
    Document doc = LoadedDocument(3);
    doc.strSetup =
        "setup|Channel|MR|5|5|Low|Enable|Enable|Enable|Enable|Enable|Enable|1s|80ms|"
        "80ms|1000Hz|1m00sec|2sec|on|on|Disable|Busy|Low|on|Unlock|25W|1|1";
    const std::string before = doc.strSetup;
    ImageReadState state;
    Decode(doc, {{16, std::string(32, '7')}}, state);
    EXPECT_EQ(doc.strSetup, before);
    Decode(doc, {{17, std::string(32, '7')}}, state);
    EXPECT_EQ(
        doc.strSetup,
        "setup|Frequency|VFO|119|119|Hi|Disable|Disable|Disable|Disable|Disable|Disable|100ms|"
        "60ms|60ms|1750Hz|off|off|off|off|Enable|Timer|High|off|Lock|60W|0|0");
}

TEST(AutoDialerLines, EncodeTheDialCharactersAndDecodeAfterTheLastMemory) {
    Document doc = LoadedDocument(3);
    doc.strAutoDial = "Ad|12*#A|1x2-a|0123456789ABCD#*-0123||||||9|";
    EXPECT_EQ(Encode(doc, 241), "31324000000000000000000000000000");
    EXPECT_EQ(Encode(doc, 242), "303132333435363738393A3B3C3D3E3F");
    EXPECT_EQ(Encode(doc, 243), kZeroLine);
    EXPECT_EQ(Encode(doc, 248), "39000000000000000000000000000000");

    Document read = LoadedDocument(3);
    ImageReadState state;
    std::vector<std::pair<int, std::string>> lines = {
        {240, "31323F3E3A0000000000000000000000"},
        {241, "310041FF324000000000000000000000"}};  // zeros and 0x41 are skipped
    for (int line = 242; line <= 247; ++line) lines.emplace_back(line, kZeroLine);
    Decode(read, lines, state);
    EXPECT_EQ(read.strAutoDial, kDefaultAutoDial);
    Decode(read, {{248, "303132333435363738393A3B3C3D3E3F"}}, state);
    EXPECT_EQ(read.strAutoDial, "Ad|12*#A|12-|||||||0123456789ABCD#*|");
}

TEST(SettingsLines, MalformedRecordsAreReportedBeforeAnyLine) {
    const std::string option = "Error radio option Data Format , please check!";
    const std::string dialer = "Error Auto Dialor Data Format , please check!";
    const std::array<std::string, 3> cases[] = {{"setup|Frequency", kDefaultAutoDial, option},
                                                {kDefaultSetup, "Ad|1|2", dialer},
                                                {kDefaultSetup, "Ad|||||||||||", dialer},
                                                {"", "", option}};  // the option one first
    for (const auto& [setup, autoDial, message] : cases) {
        for (int line : {4, 16, 240, 256, 300}) {
            Document doc = LoadedDocument(3);
            doc.strSetup = setup;
            doc.strAutoDial = autoDial;
            ScriptedUi ui;
            EXPECT_EQ(EncodeSettingsLine(doc, line, "", ui), "error");
            EXPECT_EQ(ui.messages, std::vector<std::string>{message});
        }
    }
}

TEST(PasswordLine, StoresLatin1BytesAndReadsUpToTheFirstNul) {
    Document doc = LoadedDocument(3);
    EXPECT_EQ(Encode(doc, 4, "AB"), "41420000000000000000000000000000");
    EXPECT_EQ(Encode(doc, 4, "0123456789abcdefXYZ"), "30313233343536373839616263646566");
    EXPECT_EQ(Encode(doc, 4, "\xC3\xA9"), "E9000000000000000000000000000000");
    EXPECT_EQ(Encode(doc, 4), kZeroLine);
    for (const auto& [hex, password] : std::vector<std::pair<std::string, std::string>>{
             {"41420000000000000000000000000000", "AB"},
             {"4142FF43000000000000000000000000", "AB"},
             {"20414220000000000000000000000000", "AB "},  // trimmed first, then cut at the NUL
             {"E9000000000000000000000000000000", "\xC3\xA9"},
             {"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", ""}}) {
        ImageReadState state;
        Decode(doc, {{4, hex}}, state);
        EXPECT_EQ(state.radioPassword, password) << hex;
    }
}

TEST(SignallingLines, DtmfMemoriesTwoToneAndTheFiveToneHeader) {
    Document doc = LoadedDocument(3);
    SignallingSettings& s = doc.signalling.live;
    s.dtmfMemories = {1, -1, 0x1234, 0, 0, 0, 0, 0x7F00};
    s.twoTone = {0, 0x11, 0x22, 0x33, 0x44, 9, 10, 2, 5, 6, 7, 8, {}};
    s.twoTone.codes[0] = {1, 2, 3, 4, 5, 6};
    s.twoTone.codes[1] = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6};
    s.twoTone.codes[99] = {9, 8, 7, 6, 5, 4};
    FiveToneSettings& f = s.fiveTone;
    f.responseMode = 1;
    f.standardIndex = 3;
    f.selfIdLength = 3;
    f.toneTime = 8;
    f.selfId = "Ax345";  // no hex digit is stored as 0; digits past the length are not stored
    f.delayIndex = 200;
    EXPECT_EQ(Encode(doc, 254), "0001FFFF123400000000000000007F00");
    EXPECT_EQ(Encode(doc, 256), "00000000112233440205060708090A00");
    EXPECT_EQ(Encode(doc, 272), "0102030405060000A1B2C3D4E5F60000");
    EXPECT_EQ(Encode(doc, 321), "00000000000000000908070605040000");
    EXPECT_EQ(Encode(doc, 257), "00010303080A00030000C80000000000");

    Document read = LoadedDocument(3);
    ImageReadState state;
    std::vector<std::pair<int, std::string>> lines;
    for (int line : {254, 256, 272, 321}) lines.emplace_back(line, Encode(doc, line));
    lines.emplace_back(257, "000103030801020304050A0000000000");
    Decode(read, lines, state);
    EXPECT_EQ(read.signalling.live.dtmfMemories, s.dtmfMemories);
    EXPECT_EQ(read.signalling.live.twoTone, s.twoTone);
    EXPECT_EQ(read.signalling.live.fiveTone.selfId, "123") << "only selfIdLength digits";
}

TEST(SignallingLines, FiveToneCodes) {
    // code, length, bytes 4..15
    const std::tuple<const char*, int, const char*> cases[] = {
        {"12e4a", 5, "12E4AEEEEEEEEEEEEEEEEEEE"},   // lowercase is upper-cased
        {"12x", 3, "12EEEEEEEEEEEEEEEEEEEEEE"},     // not a hex digit: the filler
        {"12", 4, "12EEEEEEEEEEEEEEEEEEEEEE"},      // padded to its length
        {"123456", 4, "1234EEEEEEEEEEEEEEEEEEEE"},  // cut to its length
        {"", 0, "EEEEEEEEEEEEEEEEEEEEEEEE"},
        {"0123456789ABCDEF012345", 22, "0123456789ABCDEF012345EE"}};
    for (const auto& [code, length, digits] : cases) {
        Document doc = LoadedDocument(3);
        doc.signalling.live.fiveTone.codes[7] = {0, 2, static_cast<std::uint8_t>(length), 9, code};
        const std::string hex = Encode(doc, 391);
        EXPECT_EQ(hex.substr(0, 8), "0002" + ByteToHex2(length) + "09") << code;
        EXPECT_EQ(hex.substr(8), digits) << code;
    }
    Document doc = LoadedDocument(3);
    doc.signalling.live.fiveTone.pttIdBegin = {0, 1, 2, 3, "AB"};
    doc.signalling.live.fiveTone.pttIdEnd = {0, 4, 1, 5, "C"};
    EXPECT_EQ(Encode(doc, 484), "00010203ABEEEEEEEEEEEEEEEEEEEEEE");
    EXPECT_EQ(Encode(doc, 485), "00040105CEEEEEEEEEEEEEEEEEEEEEEE");

    Document read = LoadedDocument(3);
    ImageReadState state;
    Decode(read,
           {{385, "00011707123456789ABCDEF012345678"},  // 23 characters: too long
            {386, "000203073A5xEEEEEEEEEEEEEEEEEEEE"},
            {387, "000016070123456789ABCDEF012345EE"},
            {484, "00010203ABEEEEEEEEEEEEEEEEEEEEEE"},
            {485, "00040105CEEEEEEEEEEEEEEEEEEEEEEE"}},
           state);
    const FiveToneSettings& f = read.signalling.live.fiveTone;
    EXPECT_EQ(f.codes[1], (FiveToneCode{0, 1, 0, 7, ""}));
    EXPECT_EQ(f.codes[2], (FiveToneCode{0, 2, 3, 7, "3A5"}));
    EXPECT_EQ(f.codes[3], (FiveToneCode{0, 0, 22, 7, "0123456789ABCDEF012345"}));
    EXPECT_EQ(f.pttIdBegin, doc.signalling.live.fiveTone.pttIdBegin);
    EXPECT_EQ(f.pttIdEnd, doc.signalling.live.fiveTone.pttIdEnd);
}

TEST(IdentityLine, SelectsTheRadiosModelAndFeatures) {
    Document doc = LoadedDocument(3);
    FeatureFlags features = kAllFeatures;
    ScriptedUi ui;
    ImageReadState state;
    const auto line = Bytes("0099AA3300000000000000000000A000");
    DecodeSettingsLine(doc, features, HexLine(line, 0), 0, state, ui);
    EXPECT_EQ(doc.modelIndex, 25);
    EXPECT_EQ(doc.DefaultRow[kColRxFreq], "445.0000");
    EXPECT_EQ(features, (FeatureFlags{true, false, true, false}));
    EXPECT_EQ(doc.optSignalList, (std::vector<std::string>{"None", "DTMF", "DTMF-ANI", "5Tone"}));

    const auto unknown = Bytes("00123456000000000000000000005000");
    DecodeSettingsLine(doc, features, HexLine(unknown, 0), 0, state, ui);
    EXPECT_EQ(doc.modelIndex, 25) << "a code of no model keeps the selection";
    EXPECT_EQ(features, (FeatureFlags{false, true, false, true}));
    EXPECT_EQ(doc.optSignalList, (std::vector<std::string>{"None", "2Tone"}));
    EXPECT_TRUE(ui.questions.empty());
}

}  // namespace
}  // namespace qx
