#include "image/channel_codec.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "document_builder.h"
#include "image/image_codec.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ScriptedUi;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// The hex text of a line from its leading bytes; the rest are zero.
std::string LineHex(const std::vector<int>& bytes) {
    LineBytes line;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        line.bytes.at(i) = static_cast<std::uint8_t>(bytes[i]);
    return line.ToHex();
}

int FirstLineOf(int row) {
    switch (row) {
        case kVfoRow:
            return 20;
        case kCallRow:
            return 22;
        case kPlRow:
            return 24;
        case kPhRow:
            return 26;
        default:
            return 30 + 2 * row;
    }
}

// Table cells of a row as the encoder reads them after UpdateAllArray.
void SetTable(Document& doc, int row, const std::map<int, std::string>& cells) {
    for (const auto& [column, value] : cells) doc.Table(row, column) = value;
}

struct EncodedRow {
    std::string first;
    std::string second;
};

EncodedRow Encode(Document& doc, int row) {
    ScriptedUi ui;
    EncodedRow out{EncodeChannelLine(doc, FirstLineOf(row), ui),
                   EncodeChannelLine(doc, FirstLineOf(row) + 1, ui)};
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
    return out;
}

void Decode(Document& doc, int row, const EncodedRow& lines, ImageReadState& state) {
    const auto first = Bytes(lines.first);
    const auto second = Bytes(lines.second);
    DecodeChannelLine(doc, HexLine(first, 0), FirstLineOf(row), state);
    DecodeChannelLine(doc, HexLine(second, 0), FirstLineOf(row) + 1, state);
}

// Expected lines written by hand from the record layout.
TEST(ChannelRecord, EncodesTheRecordLayout) {
    struct Case {
        const char* what;
        std::map<int, std::string> cells;
        const char* first;
        const char* second;
    };
    const std::vector<Case> cases = {
        {"tones, offset up, priority PH, shift, narrow, BCL, name, 5-tone",
         {{kColName, "ab-1"},
          {kColStep, "12.5"},
          {kColRxFreq, "145.0000"},
          {kColRxTone, "C:88.5"},
          {kColBandwidth, "narrow"},
          {kColPacMode, "off"},
          {kColDcsDetect, "on"},
          {kColPriority, "PH"},
          {kColTxFreq, "145.6000"},
          {kColTxTone, "D:023N"},
          {kColBcl, "on"},
          {kColAni, "off"},
          {kColShift, "on"},
          {kColOptSignal, "5Tone"},
          {kColSignalCode, "42"},
          {kColSignalSubCode, "3"}},
         "2D020604014500000000600008080100",
         "706D583100000065010400002A000300"},
        {"offset down, PAC, step 5, DTMF-ANI",
         {{kColStep, "5"},
          {kColRxFreq, "145.0000"},
          {kColTxFreq, "140.0000"},
          {kColPacMode, "on"},
          {kColRxTone, "off"},
          {kColTxTone, "off"},
          {kColPriority, "off"},
          {kColOptSignal, "DTMF-ANI"},
          {kColSignalCode, "7"},
          {kColSignalSubCode, "1"}},
         "10010000014500000005000008080000",
         "00000000000000000002070000010000"},
        {"five decimals are cut, the language's narrow text counts, CAL, 2-tone",
         {{kColStep, "8.33"},
          {kColRxFreq, "118.00833"},
          {kColTxFreq, "118.01666"},
          {kColBandwidth, "narrow"},
          {kColAni, "on"},
          {kColPriority, "CAL"},
          {kColName, "Ac%d"},
          {kColOptSignal, "2Tone"},
          {kColSignalCode, "99"}},
         "0B020002011800830000008308080000",
         "3A000061000000A00003006300000000"},
        {"both tones DCS, inverted codes, channel priority, DTMF",
         {{kColRxFreq, "145.01250"},
          {kColTxFreq, "145.0125"},
          {kColRxTone, "D:017I"},
          {kColTxTone, "D:765N"},
          {kColPriority, "12"},
          {kColStep, "50"},
          {kColOptSignal, "DTMF"},
          {kColSignalCode, "5"},
          {kColSignalSubCode, "1"}},
         "01000C09014501250000000008087374",
         "000000000000000C0001050000000000"},
    };
    for (const Case& c : cases) {
        Document doc = LoadedDocument(3);
        SetTable(doc, 5, c.cells);
        const EncodedRow lines = Encode(doc, 5);
        EXPECT_EQ(lines.first, c.first) << c.what;
        EXPECT_EQ(lines.second, c.second) << c.what;
    }
}

TEST(ChannelRecord, EmptyCellsTakeTheDefaultRow) {
    Document doc = LoadedDocument(0);  // 27.0000
    for (int c = kColName; c <= kColSignalSubCode; ++c) doc.Table(7, c).clear();
    doc.Table(7, kColSignalCode) = "0";
    doc.Table(7, kColSignalSubCode) = "0";
    const EncodedRow lines = Encode(doc, 7);
    EXPECT_EQ(lines.first, "00000000002700000000000008080000");
    EXPECT_EQ(lines.second, std::string(32, '0'));
}

TEST(ChannelRecord, UnreadableRxFallsBackTo145) {
    for (const char* rx : {"abc", "---", "-5", "10000"}) {
        Document doc = LoadedDocument(3);
        SetTable(doc, 2, {{kColRxFreq, rx}, {kColTxFreq, "145.0000"}});
        EXPECT_EQ(Encode(doc, 2).first, "00000000014500000000000008080000") << rx;
    }
}

TEST(ChannelRecord, SignalCodesOutsideAByteAreSetToZero) {
    struct Case {
        const char* code;
        const char* stored;
        const char* byte;
    };
    for (const Case c : {Case{"x", "0", "00"}, Case{"-1", "0", "00"}, Case{"256", "0", "00"},
                         Case{"255", "255", "FF"}, Case{"1.5", "0", "00"}}) {
        Document doc = LoadedDocument(3);
        SetTable(doc, 3, {{kColOptSignal, "2Tone"}, {kColSignalCode, c.code}});
        EXPECT_EQ(Encode(doc, 3).second.substr(22, 2), c.byte) << c.code;
        EXPECT_EQ(doc.Table(3, kColSignalCode), c.stored) << c.code;
    }
}

TEST(ChannelRecord, TxTheRecordCannotHoldIsAnErrorNamingTheRow) {
    struct Case {
        int row;
        const char* rx;
        const char* tx;
        const char* message;
    };
    const Case cases[] = {
        {6, "450.0000", "350.0000",
         "Channel 5: the Tx offset 100.0000 MHz is too large for the radio (at most 99.9999 MHz)."},
        {kPlRow, "145.0000", "265.5",
         "PL: the Tx offset 120.5000 MHz is too large for the radio (at most 99.9999 MHz)."},
        {kCallRow, "145.0000", "abc",
         "Call channel: the Tx frequency \"abc\" is not a valid frequency."},
        {kVfoRow, "145.0000", "-1", "VFO: the Tx frequency \"-1\" is not a valid frequency."},
    };
    for (const Case& c : cases) {
        Document doc = LoadedDocument(3);
        SetTable(doc, c.row, {{kColRxFreq, c.rx}, {kColTxFreq, c.tx}});
        ScriptedUi ui;
        EXPECT_EQ(EncodeChannelLine(doc, FirstLineOf(c.row), ui), "error");
        EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
    }
    // 99.9999 MHz still fits.
    Document doc = LoadedDocument(3);
    SetTable(doc, 6, {{kColRxFreq, "100.0000"}, {kColTxFreq, "0.0001"}});
    EXPECT_EQ(Encode(doc, 6).first, "00010000010000000099999908080000");
}

TEST(ChannelRecord, DecodesBothLinesIntoGridAndTable) {
    Document doc = LoadedDocument(3);
    doc.RowActive[5] = true;
    ImageReadState state;
    Decode(doc, 5, {"2D020604014500000000600008080100", "706D583100000065010400002A000300"}, state);
    const std::map<int, std::string> expected = {
        {kColName, "ab-1"},     {kColStep, "12.5"},       {kColRxFreq, "145.0000"},
        {kColRxTone, "C:88.5"}, {kColPacMode, "off"},     {kColDcsDetect, "on"},
        {kColScanSkip, "off"},  {kColPriority, "PH"},     {kColTxFreq, "145.60000"},
        {kColTxTone, "D:023N"}, {kColBcl, "on"},          {kColAni, "off"},
        {kColShift, "on"},      {kColOptSignal, "5Tone"}, {kColStatus, "Active"}};
    for (const auto& [column, value] : expected) {
        EXPECT_EQ(doc.Cell(5, column), value) << column;
        EXPECT_EQ(doc.Table(5, column), value) << column;
    }
    EXPECT_EQ(doc.Cell(5, kColBandwidth), "narrow");
    EXPECT_EQ(doc.Table(5, kColSignalCode), "42");
    EXPECT_EQ(doc.Table(5, kColSignalSubCode), "3");
    EXPECT_EQ(doc.RowStep[5], "12.5");
    EXPECT_TRUE(state.scratch.step.empty());
}

TEST(ChannelRecord, BandwidthIsTheLanguageTextInTheGridOnly) {
    Document doc = LoadedDocument(3);
    doc.texts.wide = "Breit";
    doc.texts.narrow = "Schmal";
    doc.Table(5, kColBandwidth) = "Schmal";
    ImageReadState state;
    const EncodedRow lines = Encode(doc, 5);
    EXPECT_EQ(lines.first.substr(0, 2), "08");
    doc.RowActive[5] = true;
    Decode(doc, 5, lines, state);
    EXPECT_EQ(doc.Cell(5, kColBandwidth), "Schmal");
    EXPECT_EQ(doc.Table(5, kColBandwidth), "narrow");
    Decode(doc, 5, {"00" + lines.first.substr(2), lines.second}, state);
    EXPECT_EQ(doc.Cell(5, kColBandwidth), "Breit");
    EXPECT_EQ(doc.Table(5, kColBandwidth), "wide");
}

TEST(ChannelRecord, DecodesTxFromRxOffsetAndStep) {
    struct Case {
        const char* first;
        const char* rx;
        const char* tx;
    };
    const Case cases[] = {
        {"00010000014500000005000008080000", "145.0000", "140.00000"},
        {"00020004014501250000600008080000", "145.0125", "145.61250"},
        // 8.33 kHz: the record holds 118.0083 + 0.0083; Tx comes back on its grid point
        {"00020002011800830000008308080000", "118.0083", "118.01666"},
        {"00010002011800830000008308080000", "118.0083", "118.00000"},
        {"00000000002700000000000008080000", "27.0000", "27.0000"},
        {"00020000002700000000600008080000", "27.0000", "27.60000"},
        {"00000000123456780000000008080000", "1234.5678", "1234.5678"},
        // non-digits in the digits count as 0; a direction not listed counts as 0
        {"0003000001G5Z1250010000008080000", "105.0125", "105.0125"},
    };
    for (const Case& c : cases) {
        Document doc = LoadedDocument(3);
        doc.RowActive[2] = true;
        ImageReadState state;
        Decode(doc, 2, {c.first, std::string(32, '0')}, state);
        EXPECT_EQ(doc.Table(2, kColRxFreq), c.rx) << c.first;
        EXPECT_EQ(doc.Table(2, kColTxFreq), c.tx) << c.first;
    }
}

TEST(ChannelRecord, DecodesToneTypesAndIndexes) {
    struct Case {
        const char* types;
        const char* rx;
        const char* tx;
    };
    // Tx CTCSS index 9 (91.5), Rx CTCSS 8 (88.5), Tx DCS 1 (023N), Rx DCS 0x74 (017I).
    const Case cases[] = {
        {"00", "off", "off"},       {"01", "off", "C:91.5"},    {"02", "C:88.5", "off"},
        {"03", "C:88.5", "C:91.5"}, {"04", "off", "D:023N"},    {"06", "C:88.5", "D:023N"},
        {"08", "D:017I", "off"},    {"09", "D:017I", "C:91.5"}, {"0C", "D:017I", "D:023N"},
        {"05", "off", "off"},       {"0F", "off", "off"},
    };
    for (const Case& c : cases) {
        Document doc = LoadedDocument(3);
        ImageReadState state;
        Decode(doc, 2,
               {std::string("0000") + c.types + "000145000000000000" + "09080174",
                std::string(32, '0')},
               state);
        EXPECT_EQ(doc.Table(2, kColRxTone), c.rx) << c.types;
        EXPECT_EQ(doc.Table(2, kColTxTone), c.tx) << c.types;
    }
    // An index beyond the list names no tone.
    Document doc = LoadedDocument(3);
    ImageReadState state;
    Decode(doc, 2, {"000003000145000000000000FF32FFFF", std::string(32, '0')}, state);
    EXPECT_EQ(doc.Table(2, kColRxTone), "off");
    EXPECT_EQ(doc.Table(2, kColTxTone), "off");
}

TEST(ChannelRecord, DecodesPriorityNameAndSignalCodes) {
    struct Case {
        bool priorityFlag;
        std::vector<int> second;
        const char* name;
        const char* priority;
        const char* signal;
        const char* code;
        const char* subCode;
    };
    const Case cases[] = {
        {true, {0x3A, 0x3B, 0, 0, 0, 0, 0, 0x05, 0, 0x01, 0x00}, "AB", "05", "DTMF", "0", "0"},
        // a zero byte ends the name; codes above their list read as 0
        {true,
         {0x3A, 0, 0x3B, 0, 0, 0, 0, 0x63, 0, 0x02, 0x08, 0, 0, 0x02},
         "A",
         "99",
         "DTMF-ANI",
         "0",
         "0"},
        // a byte that names no character is left out
        {true,
         {0x3A, 0x01, 0x3B, 0, 0, 0, 0, 0x64, 0, 0x02, 0x07, 0, 0, 0x01},
         "AB",
         "PL",
         "DTMF-ANI",
         "7",
         "1"},
        {true, {0, 0, 0, 0, 0, 0, 0, 0x65, 0, 0x03, 0, 0x64}, "", "PH", "2Tone", "0", "0"},
        {true,
         {0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0x04, 0, 0, 0x63, 0, 0x03},
         "",
         "VFO",
         "5Tone",
         "99",
         "3"},
        {true,
         {0, 0, 0, 0, 0, 0, 0, 0xA0, 0, 0x04, 0, 0, 0, 0, 0x04},
         "",
         "CAL",
         "5Tone",
         "0",
         "0"},
        {true, {0, 0, 0, 0, 0, 0, 0, 0x77, 0, 0x05, 1, 2, 3, 4, 5}, "", "VFO", "None", "0", "0"},
        {false, {0, 0, 0, 0, 0, 0, 0, 0x05, 0, 0x01, 0x03}, "", "off", "DTMF", "3", "0"},
    };
    for (const Case& c : cases) {
        Document doc = LoadedDocument(3);
        doc.Table(2, kColSignalSubCode) = "9";  // left over from an earlier document
        ImageReadState state;
        const std::string first =
            (c.priorityFlag ? "01" : "00") + std::string("000000014500000000000008080000");
        Decode(doc, 2, {first, LineHex(c.second)}, state);
        const std::string what = LineHex(c.second);
        EXPECT_EQ(doc.Table(2, kColName), c.name) << what;
        EXPECT_EQ(doc.Table(2, kColPriority), c.priority) << what;
        EXPECT_EQ(doc.Table(2, kColOptSignal), c.signal) << what;
        EXPECT_EQ(doc.Table(2, kColSignalCode), c.code) << what;
        EXPECT_EQ(doc.Table(2, kColSignalSubCode), c.subCode) << what;
    }
}

TEST(ChannelRecord, SignalTypesTheRadioLacksReadAsTheFirstEntry) {
    Document doc = LoadedDocument(3, FeatureFlags{false, true, false, false});
    ImageReadState state;
    Decode(doc, 2, {"00000000014500000000000008080000", "00000000000000000004000017000200"}, state);
    EXPECT_EQ(doc.Table(2, kColOptSignal), "None");
    EXPECT_EQ(doc.Table(2, kColSignalCode), "23");
    EXPECT_EQ(doc.Table(2, kColSignalSubCode), "2");
}

TEST(RowBitmaps, EncodeInUseFromTheGridAndScanSkipFromTheTable) {
    Document doc = LoadedDocument(3);
    for (int row : {1, 8, 9, 100, kPlRow, kPhRow}) doc.Cell(row, kColStatus) = "Active";
    doc.Cell(2, kColStatus) = "";  // an empty status counts as not in use
    for (int row = 1; row <= kRowCount; ++row) doc.Table(row, kColScanSkip) = "off";
    doc.Table(2, kColScanSkip) = "on";
    doc.Table(100, kColScanSkip) = "on";
    doc.Table(50, kColScanSkip) = "";
    doc.Table(kPlRow, kColScanSkip) = "on";  // not in the bitmap
    EXPECT_EQ(EncodeRowBitmaps(doc, 18), "8180000000000000000000001C000000");
    EXPECT_EQ(EncodeRowBitmaps(doc, 19), "40000000000000000000000010000000");
}

TEST(RowBitmaps, DecodeInUseFlagsAndEmptyTheRowsNotInUse) {
    Document doc = LoadedDocument(3);
    doc.Cell(3, kColStatus) = "Active";
    doc.Cell(3, kColName) = "OLD";
    doc.Table(3, kColName) = "OLD";
    doc.Table(4, kColRxFreq) = "146.0000";
    doc.Table(4, kColSignalCode) = "5";
    ImageReadState state;
    const auto bitmap = Bytes("8180000000000000000000001C000000");
    DecodeRowBitmaps(doc, HexLine(bitmap, 0), 18, state);
    for (int row = 1; row <= kRowCount; ++row) {
        const bool expected = row == 1 || row == 8 || row == 9 || (row >= 100 && row <= 102);
        EXPECT_EQ(doc.RowActive[static_cast<std::size_t>(row)], expected) << row;
    }
    EXPECT_EQ(doc.Cell(3, kColStatus), "Inactive");
    EXPECT_EQ(doc.Table(3, kColStatus), "Inactive");
    EXPECT_EQ(doc.Cell(3, kColName), "---");
    EXPECT_EQ(doc.Table(3, kColName), "");
    EXPECT_EQ(doc.Table(4, kColRxFreq), "");
    EXPECT_EQ(doc.Table(4, kColSignalCode), "");
    // A row in use keeps its cells until its record arrives.
    EXPECT_EQ(doc.Cell(1, kColStatus), "Active");
    EXPECT_EQ(doc.Cell(1, kColRxFreq), "145.0000");

    const auto skip = Bytes("40000000000000000000000010000000");
    DecodeRowBitmaps(doc, HexLine(skip, 0), 19, state);
    EXPECT_TRUE(state.scanSkip[2]);
    EXPECT_TRUE(state.scanSkip[100]);
    EXPECT_FALSE(state.scanSkip[1]);
    EXPECT_FALSE(state.scanSkip[99]);
}

TEST(RowBitmaps, ScanSkipOfTheLastChannelIsRead) {
    Document doc = LoadedDocument(3);
    doc.RowActive[100] = true;
    ImageReadState state;
    const auto skip = Bytes("00000000000000000000000010000000");
    DecodeRowBitmaps(doc, HexLine(skip, 0), 19, state);
    Decode(doc, 100, {"00000004014500000000000008080000", std::string(32, '0')}, state);
    EXPECT_EQ(doc.Cell(100, kColScanSkip), "on");
    EXPECT_EQ(doc.Table(100, kColScanSkip), "on");
}

TEST(RowBitmaps, ShortOrBrokenLinesReadAsNotInUse) {
    Document doc = LoadedDocument(3);
    ImageReadState state;
    const auto line = Bytes("FZ");
    DecodeRowBitmaps(doc, HexLine(line, 0), 18, state);
    for (int row = 1; row <= 4; ++row) EXPECT_TRUE(doc.RowActive[static_cast<std::size_t>(row)]);
    for (int row = 5; row <= kRowCount; ++row) {
        EXPECT_FALSE(doc.RowActive[static_cast<std::size_t>(row)]) << row;
    }
}

}  // namespace
}  // namespace qx
