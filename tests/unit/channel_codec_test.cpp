// Channel records beyond the golden image (image_codec_test): fallbacks,
// errors and the decoding of every byte value a radio may hold.
#include "image/channel_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "document_builder.h"
#include "image/image_codec.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ScriptedUi;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

const std::string kZeroLine(32, '0');

int FirstLineOf(int row) {
    return row <= kChannelRows ? 30 + 2 * row : std::array{24, 26, 22, 20}.at(row - kPlRow);
}

std::string EncodeFirst(Document& doc, int row) {
    ScriptedUi ui;
    std::string hex = EncodeChannelLine(doc, FirstLineOf(row), ui);
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
    return hex;
}

void Decode(Document& doc, int row, const std::string& first, const std::string& second,
            ImageReadState& state) {
    const auto a = Bytes(first);
    const auto b = Bytes(second);
    DecodeChannelLine(doc, HexLine(a, 0), FirstLineOf(row), state);
    DecodeChannelLine(doc, HexLine(b, 0), FirstLineOf(row) + 1, state);
}

TEST(ChannelRecord, RxFallsBackToTheDefaultRowThenTo145) {
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {0, "", "", "00000000002700000000000008080000"},  // model 0's default row: 27.0000
        {3, "abc", "145.0000", "00000000014500000000000008080000"},
        {3, "---", "145.0000", "00000000014500000000000008080000"},
        {3, "-5", "145.0000", "00000000014500000000000008080000"},
        {3, "10000", "145.0000", "00000000014500000000000008080000"},
        {3, "100.0000", "0.0001", "00010000010000000099999908080000"}};  // 99.9999 MHz fits
    for (const auto& [model, rx, tx, first] : cases) {
        Document doc = LoadedDocument(model);
        doc.Table(7, kColRxFreq) = rx;
        doc.Table(7, kColTxFreq) = tx;
        EXPECT_EQ(EncodeFirst(doc, 7), first) << rx;
        ScriptedUi ui;
        EXPECT_EQ(EncodeChannelLine(doc, FirstLineOf(7) + 1, ui), kZeroLine) << rx;
    }
}

TEST(ChannelRecord, SignalCodesOutsideAByteAreSetToZero) {
    const std::tuple<const char*, const char*, const char*> cases[] = {{"x", "0", "00"},
                                                                       {"-1", "0", "00"},
                                                                       {"256", "0", "00"},
                                                                       {"255", "255", "FF"},
                                                                       {"1.5", "0", "00"}};
    for (const auto& [code, stored, byte] : cases) {
        Document doc = LoadedDocument(3);
        doc.Table(3, kColOptSignal) = "2Tone";
        doc.Table(3, kColSignalCode) = code;
        ScriptedUi ui;
        EXPECT_EQ(EncodeChannelLine(doc, FirstLineOf(3) + 1, ui).substr(22, 2), byte) << code;
        EXPECT_EQ(doc.Table(3, kColSignalCode), stored) << code;
    }
}

TEST(ChannelRecord, TxTheRecordCannotHoldIsAnErrorNamingTheRow) {
    const std::tuple<int, const char*, const char*, const char*> cases[] = {
        {6, "450.0000", "350.0000",
         "Channel 5: the Tx offset 100.0000 MHz is too large for the radio (at most 99.9999 MHz)."},
        {kPlRow, "145.0000", "265.5",
         "PL: the Tx offset 120.5000 MHz is too large for the radio (at most 99.9999 MHz)."},
        {kCallRow, "145.0000", "abc",
         "Call channel: the Tx frequency \"abc\" is not a valid frequency."},
        {kVfoRow, "145.0000", "-1", "VFO: the Tx frequency \"-1\" is not a valid frequency."}};
    for (const auto& [row, rx, tx, message] : cases) {
        Document doc = LoadedDocument(3);
        doc.Table(row, kColRxFreq) = rx;
        doc.Table(row, kColTxFreq) = tx;
        ScriptedUi ui;
        EXPECT_EQ(EncodeChannelLine(doc, FirstLineOf(row), ui), "error");
        EXPECT_EQ(ui.messages, std::vector<std::string>{message});
    }
}

TEST(ChannelRecord, BandwidthIsTheLanguageTextInTheGridOnly) {
    Document doc = LoadedDocument(3);
    doc.texts.wide = "Breit";
    doc.texts.narrow = "Schmal";
    doc.Table(5, kColBandwidth) = "Schmal";
    const std::string first = EncodeFirst(doc, 5);
    EXPECT_EQ(first.substr(0, 2), "08");
    doc.RowActive[5] = true;
    ImageReadState state;
    Decode(doc, 5, first, kZeroLine, state);
    EXPECT_EQ(doc.Cell(5, kColBandwidth), "Schmal");
    EXPECT_EQ(doc.Table(5, kColBandwidth), "narrow");
    EXPECT_TRUE(state.scratch.step.empty()) << "the scratch is cleared after the second line";
    Decode(doc, 5, "00" + first.substr(2), kZeroLine, state);
    EXPECT_EQ(doc.Cell(5, kColBandwidth), "Breit");
    EXPECT_EQ(doc.Table(5, kColBandwidth), "wide");
}

TEST(ChannelRecord, DecodesTxFromRxOffsetAndStep) {
    const std::array<const char*, 4> cases[] = {
        {"00020004014501250000600008080000", "145.0125", "145.61250", "12.5"},
        // 8.33 kHz: the record holds 118.0083 - 0.0083; Tx comes back on its grid point
        {"00010002011800830000008308080000", "118.0083", "118.00000", "8.33"},
        {"00000000002700000000000008080000", "27.0000", "27.0000", "5"},
        {"00020000002700000000600008080000", "27.0000", "27.60000", "5"},
        {"00000000123456780000000008080000", "1234.5678", "1234.5678", "5"},
        // non-digits in the digits count as 0; a direction or step not listed as 0 and 5
        {"0003000001G5Z1250010000008080000", "105.0125", "105.0125", "5"},
        {"0002000A014500000000600008080000", "145.0000", "145.60000", "5"}};
    for (const auto& [first, rx, tx, step] : cases) {
        Document doc = LoadedDocument(3);
        ImageReadState state;
        Decode(doc, 2, first, kZeroLine, state);
        EXPECT_EQ(doc.Table(2, kColRxFreq), rx) << first;
        EXPECT_EQ(doc.Table(2, kColTxFreq), tx) << first;
        EXPECT_EQ(doc.Table(2, kColStep), step) << first;
    }
}

TEST(ChannelRecord, DecodesToneTypesAndIndexes) {
    // Tx CTCSS index 9 (91.5), Rx CTCSS 8 (88.5), Tx DCS 1 (023N), Rx DCS 0x74 (017I);
    // type values not listed and indexes beyond the lists name no tone.
    const std::array<const char*, 3> cases[] = {
        {"00", "off", "off"},       {"01", "off", "C:91.5"},    {"02", "C:88.5", "off"},
        {"03", "C:88.5", "C:91.5"}, {"04", "off", "D:023N"},    {"06", "C:88.5", "D:023N"},
        {"08", "D:017I", "off"},    {"09", "D:017I", "C:91.5"}, {"0C", "D:017I", "D:023N"},
        {"05", "off", "off"},       {"0F", "off", "off"}};
    for (const auto& [types, rx, tx] : cases) {
        for (const std::string indexes : {"09080174", "FF32FFFF"}) {
            Document doc = LoadedDocument(3);
            ImageReadState state;
            Decode(doc, 2, std::string("0000") + types + "000145000000000000" + indexes, kZeroLine,
                   state);
            const bool named = indexes[0] == '0';
            EXPECT_EQ(doc.Table(2, kColRxTone), named ? rx : "off") << types << indexes;
            EXPECT_EQ(doc.Table(2, kColTxTone), named ? tx : "off") << types << indexes;
        }
    }
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
    for (const auto& [flag, c] : cases) {
        Document doc = LoadedDocument(3);
        doc.Table(2, kColSignalSubCode) = "9";  // left over from an earlier document
        ImageReadState state;
        Decode(doc, 2, (flag ? "01" : "00") + std::string("000000014500000000000008080000"), c[0],
               state);
        const int columns[] = {kColName, kColPriority, kColOptSignal, kColSignalCode,
                               kColSignalSubCode};
        for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(doc.Table(2, columns[i]), c[i + 1]) << c[0];
    }
}

TEST(RowBitmaps, InUseFromTheGridScanSkipFromTheTableAndRowsNotInUseEmptied) {
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

    doc = LoadedDocument(3);
    doc.Cell(3, kColStatus) = "Active";
    doc.Cell(3, kColName) = doc.Table(3, kColName) = "OLD";
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
    for (int row = 1; row <= kChannelRows; ++row) {
        EXPECT_EQ(state.scanSkip[static_cast<std::size_t>(row)], row == 2 || row == 100) << row;
    }

    // A short or broken line: what is missing or not hex reads as not in use.
    const auto broken = Bytes("FZ");
    DecodeRowBitmaps(doc, HexLine(broken, 0), 18, state);
    for (int row = 1; row <= kRowCount; ++row) {
        EXPECT_EQ(doc.RowActive[static_cast<std::size_t>(row)], row <= 4) << row;
    }
}

}  // namespace
}  // namespace qx
