#include "image/settings_codec.h"

#include <gtest/gtest.h>

#include <string>
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

std::string WithField(std::string record, int field, const std::string& value) {
    auto fields = Split(record, '|');
    fields.at(static_cast<std::size_t>(field)) = value;
    return JoinOptionRecord(fields);
}

std::string FieldOf(const std::string& record, int field) {
    return Split(record, '|').at(static_cast<std::size_t>(field));
}

TEST(OptionLines, DefaultRecord) {
    Document doc = LoadedDocument(3);
    EXPECT_EQ(Encode(doc, 16), "A5000000030000000000000000000000");
    EXPECT_EQ(Encode(doc, 17), "00080000000000000000010000000000");
}

TEST(OptionLines, FieldBytes) {
    struct Case {
        int field;
        const char* text;
        int line;
        int byte;
        const char* hex;
    };
    const Case cases[] = {
        {kOptIndication, "Channel", 16, 1, "A5"},
        {kOptStartMode, "CALL", 16, 2, "02"},
        {kOptMrNumber, "99", 16, 3, "63"},
        {kOptMrNumber, "300", 16, 3, "00"},
        {kOptMrNumber, "", 16, 3, "00"},
        {kOptSquelch, "20", 16, 4, "14"},
        {kOptTxPower, "Low", 16, 5, "02"},
        {kOptDtmfBurstDelay, "1s", 16, 7, "03"},
        {kOptDtmfBurstDelay, "400ms", 16, 7, "01"},
        {kOptDtmfFirstDigit, "200ms", 16, 8, "03"},
        {kOptDtmfTxInterval, "80ms", 16, 9, "01"},
        {kOptTbstFreq, "1000Hz", 16, 10, "02"},
        {kOptTbstFreq, "2100Hz", 16, 10, "01"},
        {kOptTimeoutTimer, "7m30sec", 16, 11, "0F"},
        {kOptTimeoutTimer, "0m30sec", 16, 11, "01"},
        {kOptTimeoutPenalty, "15sec", 16, 12, "0F"},
        {kOptKeyLock, "on", 16, 13, "A5"},
        {kOptApo, "on", 16, 14, "A5"},
        {kOptBeep, "Enable", 16, 15, "00"},
        {kOptBeep, "Disable", 16, 15, "A5"},
        {kOptScanningMode, "Busy", 17, 0, "A5"},
        {kOptSecurityMode, "on", 17, 2, "A5"},
        {kOptSecurityMode, "Dly", 17, 2, "5A"},
        {kOptScanStart, "Enable", 17, 3, "A5"},
        {kOptScanStart, "Disable", 17, 3, "00"},
        {kOptTbstOutput, "Enable", 17, 8, "A5"},
        {kOptLampMode, "Low", 17, 12, "A5"},
        {kOptPowerSelect, "25W", 17, 14, "01"},
        {kOptModelLock, "Unlock", 17, 15, "01"},
        {kOptTxPower, "Medium", 16, 5, "00"},  // not a listed value
    };
    for (const Case& c : cases) {
        Document doc = LoadedDocument(3);
        doc.strSetup = WithField(kDefaultSetup, c.field, c.text);
        const std::string hex = Encode(doc, c.line);
        EXPECT_EQ(hex.substr(static_cast<std::size_t>(2 * c.byte), 2), c.hex)
            << "field " << c.field << " " << c.text;
    }
}

TEST(OptionLines, ScramblerAndAftersoundShareAByte) {
    struct Case {
        const char* scrambler;
        const char* aftersound;
        const char* hex;
    };
    for (const Case c :
         {Case{"0", "0", "00"}, Case{"1", "0", "01"}, Case{"0", "1", "04"}, Case{"1", "1", "05"}}) {
        Document doc = LoadedDocument(3);
        doc.strSetup = WithField(WithField(kDefaultSetup, kOptScrambler, c.scrambler),
                                 kOptAftersound, c.aftersound);
        EXPECT_EQ(Encode(doc, 17).substr(20, 2), c.hex);
        Document read = LoadedDocument(3);
        ImageReadState state;
        Decode(read, {{16, Encode(doc, 16)}, {17, Encode(doc, 17)}}, state);
        EXPECT_EQ(FieldOf(read.strSetup, kOptScrambler), c.scrambler);
        EXPECT_EQ(FieldOf(read.strSetup, kOptAftersound), c.aftersound);
    }
}

TEST(OptionLines, EveryListedValueComesBack) {
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        for (const std::string& value : OptionValues(field)) {
            Document doc = LoadedDocument(3);
            doc.strSetup = WithField(kDefaultSetup, field, value);
            Document read = LoadedDocument(3);
            ImageReadState state;
            Decode(read, {{16, Encode(doc, 16)}, {17, Encode(doc, 17)}}, state);
            EXPECT_EQ(FieldOf(read.strSetup, field), value) << "field " << field;
        }
    }
}

TEST(OptionLines, BytesNotListedReadAsTheValueStoredAsZero) {
    Document doc = LoadedDocument(3);
    doc.strSetup =
        "setup|Channel|MR|5|5|Low|Enable|Enable|Enable|Enable|Enable|Enable|1s|80ms|"
        "80ms|1000Hz|1m00sec|2sec|on|on|Disable|Busy|Low|on|Unlock|25W|1|1";
    ImageReadState state;
    Decode(doc, {{16, std::string(32, '7')}, {17, std::string(32, '7')}}, state);
    EXPECT_EQ(
        doc.strSetup,
        "setup|Frequency|VFO|119|119|Hi|Disable|Disable|Disable|Disable|Disable|Disable|100ms|"
        "60ms|60ms|1750Hz|off|off|off|off|Enable|Timer|High|off|Lock|60W|0|0");
}

TEST(OptionLines, TheRecordIsStoredAfterTheSecondLine) {
    Document doc = LoadedDocument(3);
    ImageReadState state;
    Decode(doc, {{16, "A5A50102030000000000000000000000"}}, state);
    EXPECT_EQ(doc.strSetup, kDefaultSetup);
    Decode(doc, {{17, "00080000000000000000010000000000"}}, state);
    EXPECT_EQ(doc.strSetup,
              "setup|Channel|MR|2|3|Hi|Disable|Disable|Disable|Disable|Disable|Disable|100ms|60ms|"
              "60ms|1750Hz|off|off|off|off|Enable|Timer|High|off|Lock|60W|1|0");
}

TEST(AutoDialerLines, EncodeTheDialCharacters) {
    Document doc = LoadedDocument(3);
    doc.strAutoDial = "Ad|12*#A|1x2-a|0123456789ABCD#*-0123||||||9|";
    EXPECT_EQ(Encode(doc, 240), "31323F3E3A0000000000000000000000");
    EXPECT_EQ(Encode(doc, 241), "31324000000000000000000000000000");
    EXPECT_EQ(Encode(doc, 242), "303132333435363738393A3B3C3D3E3F");
    EXPECT_EQ(Encode(doc, 243), std::string(32, '0'));
    EXPECT_EQ(Encode(doc, 248), "39000000000000000000000000000000");
}

TEST(AutoDialerLines, DecodeAfterTheLastMemory) {
    Document doc = LoadedDocument(3);
    ImageReadState state;
    std::vector<std::pair<int, std::string>> lines;
    lines.emplace_back(240, "31323F3E3A0000000000000000000000");
    lines.emplace_back(241, "310041FF324000000000000000000000");  // zeros and 0x41 are skipped
    for (int line = 242; line <= 247; ++line) lines.emplace_back(line, std::string(32, '0'));
    Decode(doc, lines, state);
    EXPECT_EQ(doc.strAutoDial, kDefaultAutoDial);
    Decode(doc, {{248, "303132333435363738393A3B3C3D3E3F"}}, state);
    EXPECT_EQ(doc.strAutoDial, "Ad|12*#A|12-|||||||0123456789ABCD#*|");
}

TEST(SettingsLines, MalformedRecordsAreReportedBeforeAnyLine) {
    struct Case {
        const char* setup;
        const char* autoDial;
        const char* message;
    };
    const Case cases[] = {
        {"setup|Frequency", kDefaultAutoDial, "Error radio option Data Format , please check!"},
        {kDefaultSetup, "Ad|1|2", "Error Auto Dialor Data Format , please check!"},
        {kDefaultSetup, "Ad|||||||||||", "Error Auto Dialor Data Format , please check!"},
        {"", "", "Error radio option Data Format , please check!"},
    };
    for (const Case& c : cases) {
        for (int line : {4, 16, 240, 256, 300}) {
            Document doc = LoadedDocument(3);
            doc.strSetup = c.setup;
            doc.strAutoDial = c.autoDial;
            ScriptedUi ui;
            EXPECT_EQ(EncodeSettingsLine(doc, line, "", ui), "error");
            EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
        }
    }
}

TEST(PasswordLine, StoresLatin1BytesAndReadsUpToTheFirstNul) {
    Document doc = LoadedDocument(3);
    EXPECT_EQ(Encode(doc, 4, "AB"), "41420000000000000000000000000000");
    EXPECT_EQ(Encode(doc, 4, "0123456789abcdefXYZ"), "30313233343536373839616263646566");
    EXPECT_EQ(Encode(doc, 4, "\xC3\xA9"), "E9000000000000000000000000000000");
    EXPECT_EQ(Encode(doc, 4), std::string(32, '0'));

    struct Case {
        const char* hex;
        const char* password;
    };
    const Case cases[] = {
        {"41420000000000000000000000000000", "AB"},
        {"4142FF43000000000000000000000000", "AB"},
        {"20414220000000000000000000000000", "AB "},  // trimmed first, then cut at the NUL
        {"E9000000000000000000000000000000", "\xC3\xA9"},
        {"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", ""},
    };
    for (const Case& c : cases) {
        ImageReadState state;
        Decode(doc, {{4, c.hex}}, state);
        EXPECT_EQ(state.radioPassword, c.password) << c.hex;
    }
}

TEST(SignallingLines, DtmfMemoriesAndTwoTone) {
    Document doc = LoadedDocument(3);
    SignallingSettings& s = doc.signalling.live;
    s.dtmfMemories = {1, -1, 0x1234, 0, 0, 0, 0, 0x7F00};
    s.twoTone.tone1High = 0x11;
    s.twoTone.tone1Low = 0x22;
    s.twoTone.tone2High = 0x33;
    s.twoTone.tone2Low = 0x44;
    s.twoTone.responseMode = 2;
    s.twoTone.time1 = 5;
    s.twoTone.time2 = 6;
    s.twoTone.time3 = 7;
    s.twoTone.time4 = 8;
    s.twoTone.tone1Tenths = 9;
    s.twoTone.tone2Tenths = 10;
    s.twoTone.codes[0] = {1, 2, 3, 4, 5, 6};
    s.twoTone.codes[1] = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6};
    s.twoTone.codes[99] = {9, 8, 7, 6, 5, 4};
    EXPECT_EQ(Encode(doc, 254), "0001FFFF123400000000000000007F00");
    EXPECT_EQ(Encode(doc, 256), "00000000112233440205060708090A00");
    EXPECT_EQ(Encode(doc, 272), "0102030405060000A1B2C3D4E5F60000");
    EXPECT_EQ(Encode(doc, 321), "00000000000000000908070605040000");
}

TEST(SignallingLines, FiveToneHeader) {
    Document doc = LoadedDocument(3);
    FiveToneSettings& f = doc.signalling.live.fiveTone;
    f.responseMode = 1;
    f.standardIndex = 3;
    f.selfIdLength = 5;
    f.toneTime = 8;
    f.selfId = "90A17";
    f.delayIndex = 200;
    EXPECT_EQ(Encode(doc, 257), "000103050809000A0107C80000000000");
    f.selfIdLength = 3;
    f.selfId = "1x3";
    EXPECT_EQ(Encode(doc, 257), "00010303080100030000C80000000000");
}

TEST(SignallingLines, FiveToneCodes) {
    struct Case {
        const char* code;
        int length;
        const char* digits;  // bytes 4..15
    };
    const Case cases[] = {
        {"12E45", 5, "12E45EEEEEEEEEEEEEEEEEEE"},
        {"12e4a", 5, "12E4AEEEEEEEEEEEEEEEEEEE"},   // lowercase is upper-cased
        {"12x", 3, "12EEEEEEEEEEEEEEEEEEEEEE"},     // not a hex digit: the filler
        {"12", 4, "12EEEEEEEEEEEEEEEEEEEEEE"},      // padded to its length
        {"123456", 4, "1234EEEEEEEEEEEEEEEEEEEE"},  // cut to its length
        {"", 0, "EEEEEEEEEEEEEEEEEEEEEEEE"},
        {"0123456789ABCDEF012345", 22, "0123456789ABCDEF012345EE"},
    };
    for (const Case& c : cases) {
        Document doc = LoadedDocument(3);
        FiveToneCode& code = doc.signalling.live.fiveTone.codes[7];
        code.standardIndex = 2;
        code.length = static_cast<std::uint8_t>(c.length);
        code.toneTime = 9;
        code.code = c.code;
        const std::string hex = Encode(doc, 391);
        EXPECT_EQ(hex.substr(0, 8), "0002" + ByteToHex2(c.length) + "09") << c.code;
        EXPECT_EQ(hex.substr(8), c.digits) << c.code;
    }
    Document doc = LoadedDocument(3);
    doc.signalling.live.fiveTone.pttIdBegin = {0, 1, 2, 3, "AB"};
    doc.signalling.live.fiveTone.pttIdEnd = {0, 4, 1, 5, "C"};
    EXPECT_EQ(Encode(doc, 484), "00010203ABEEEEEEEEEEEEEEEEEEEEEE");
    EXPECT_EQ(Encode(doc, 485), "00040105CEEEEEEEEEEEEEEEEEEEEEEE");
}

TEST(SignallingLines, FiveToneCodesRead) {
    Document doc = LoadedDocument(3);
    ImageReadState state;
    Decode(doc,
           {{384, "0002050712E45EEEEEEEEEEEEEEEEEEE"},
            {385, "00011707123456789ABCDEF012345678"},  // 23 characters: too long
            {386, "000203073A5xEEEEEEEEEEEEEEEEEEEE"},
            {484, "00010203ABEEEEEEEEEEEEEEEEEEEEEE"},
            {485, "00040105CEEEEEEEEEEEEEEEEEEEEEEE"}},
           state);
    const FiveToneSettings& f = doc.signalling.live.fiveTone;
    EXPECT_EQ(f.codes[0], (FiveToneCode{0, 2, 5, 7, "12E45"}));
    EXPECT_EQ(f.codes[1], (FiveToneCode{0, 1, 0, 7, ""}));
    EXPECT_EQ(f.codes[2], (FiveToneCode{0, 2, 3, 7, "3A5"}));
    EXPECT_EQ(f.pttIdBegin, (FiveToneCode{0, 1, 2, 3, "AB"}));
    EXPECT_EQ(f.pttIdEnd, (FiveToneCode{0, 4, 1, 5, "C"}));
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
    EXPECT_TRUE(ui.questions.empty());

    const auto unknown = Bytes("00123456000000000000000000005000");
    DecodeSettingsLine(doc, features, HexLine(unknown, 0), 0, state, ui);
    EXPECT_EQ(doc.modelIndex, 25);
    EXPECT_EQ(features, (FeatureFlags{false, true, false, true}));
    EXPECT_EQ(doc.optSignalList, (std::vector<std::string>{"None", "2Tone"}));
}

}  // namespace
}  // namespace qx
