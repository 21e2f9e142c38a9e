#include "image/image_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "channels/models.h"
#include "channels/value_lists.h"
#include "document_builder.h"
#include "image/settings_codec.h"
#include "util/numbers.h"
#include "util/text.h"

namespace qx {
namespace {

using test::kAllFeatures;
using test::LoadedDocument;
using test::ScriptedUi;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// The radio's answer to a block request: echo, CR LF, CR LF, address, ":", data, CR LF.
std::vector<std::uint8_t> ReadReply(const std::string& address, const std::string& data) {
    return Bytes("AL~F" + address + "R\r\n\r\n" + address + ":" + data + "\r\n");
}

const std::string kWriteEcho = "AL~F0100W" + std::string(32, '0') + "\r\n";  // 43 bytes

TEST(ReplyCheck, ExceedLength) {
    Document doc = LoadedDocument(3);
    FeatureFlags features = kAllFeatures;
    ScriptedUi ui;
    ImageDecoder decoder(doc, features, ui);
    for (ReplyCheckMode mode : {ReplyCheckMode::Reading, ReplyCheckMode::Writing}) {
        ui.messages.clear();
        EXPECT_EQ(CheckReplyAndDecode({}, 512, mode, decoder, ui), 0);
        EXPECT_EQ(ui.messages, std::vector<std::string>{"Exceed Length!"});
    }
}

TEST(ReplyCheck, ReadRepliesAreDecodedOnlyInTheExpectedForm) {
    const std::string password = "41424300000000000000000000000000";
    struct Case {
        const char* what;
        std::vector<std::uint8_t> reply;
        int result;
    };
    const std::vector<std::uint8_t> good = ReadReply("0040", password);
    ASSERT_EQ(good.size(), 52u);
    const Case cases[] = {
        {"complete", good, 0},
        {"one byte short", std::vector<std::uint8_t>(good.begin(), good.end() - 1), -2},
        {"another address", ReadReply("0050", password), -2},
        {"header moved by a byte", Bytes("x" + std::string(good.begin(), good.end())), -2},
        {"nothing", {}, -2},
    };
    for (const Case& c : cases) {
        Document doc = LoadedDocument(3);
        FeatureFlags features = kAllFeatures;
        ScriptedUi ui;
        ImageDecoder decoder(doc, features, ui);
        EXPECT_EQ(CheckReplyAndDecode(c.reply, 4, ReplyCheckMode::Reading, decoder, ui), c.result)
            << c.what;
        EXPECT_EQ(decoder.RadioPassword(), c.result == 0 ? "ABC" : "") << c.what;
    }
}

TEST(ReplyCheck, WriteAcknowledgements) {
    struct Case {
        const char* what;
        std::string reply;
        ReplyCheckMode mode;
        int result;
    };
    const Case cases[] = {
        {"accepted", kWriteEcho + "\r\nOK\r\n", ReplyCheckMode::WritingAfterIdentifier, 0},
        {"refused", kWriteEcho + "\r\nERROR\r\n", ReplyCheckMode::WritingAfterIdentifier, -1},
        {"OK and ERROR", kWriteEcho + "\r\nOK\r\nERROR", ReplyCheckMode::WritingAfterIdentifier,
         -1},
        {"no acknowledgement", kWriteEcho + "\r\nO", ReplyCheckMode::WritingAfterIdentifier, -1},
        {"misplaced", "x" + kWriteEcho + "\r\nOK\r\n", ReplyCheckMode::WritingAfterIdentifier, -2},
        {"misplaced before the identifier", "x" + kWriteEcho + "\r\nOK\r\n",
         ReplyCheckMode::Writing, 0},
        {"identifier accepted", "PV418\r\n\r\nOK\r\n", ReplyCheckMode::Writing, 0},
    };
    Document doc = LoadedDocument(3);
    FeatureFlags features = kAllFeatures;
    ScriptedUi ui;
    ImageDecoder decoder(doc, features, ui);
    for (const Case& c : cases) {
        EXPECT_EQ(CheckReplyAndDecode(Bytes(c.reply), 16, c.mode, decoder, ui), c.result) << c.what;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST(CheckRead, ComparesTheModelAndEndsAtThePassword) {
    struct Case {
        const char* code;
        int match;
    };
    // Model 3 is selected: 33AA66.
    for (const Case c : {Case{"33AA66", 0}, Case{"335533", 1}, Case{"33AA99", 1}, Case{"99AA66", 2},
                         Case{"123456", 2}}) {
        Document doc = LoadedDocument(3);
        doc.strSetup = "kept";
        FeatureFlags features{false, false, false, true};
        ScriptedUi ui;
        ImageDecoder decoder(doc, features, ui);
        decoder.SetCheckRead(true);
        const std::string line0 = std::string("00") + c.code + "00000000000000000000E000";
        EXPECT_EQ(
            CheckReplyAndDecode(ReadReply("0000", line0), 0, ReplyCheckMode::Reading, decoder, ui),
            0);
        EXPECT_EQ(decoder.ModelMatch(), c.match) << c.code;
        EXPECT_EQ(doc.modelIndex, 3) << c.code;
        // The radio's features (E0) count before a write too.
        EXPECT_EQ(features, (FeatureFlags{true, true, true, false}));
        // Lines other than 0 and 4 are not taken in.
        decoder.DecodeLine(Bytes("A5A50000000000000000000000000000"), 0, 16);
        decoder.DecodeLine(Bytes("00080000000000000000010000000000"), 0, 17);
        decoder.DecodeLine(Bytes(std::string(32, '0')), 0, 18);
        EXPECT_EQ(doc.strSetup, "kept");
        EXPECT_EQ(doc.Cell(1, kColStatus), "Active");
        EXPECT_FALSE(decoder.CheckReadDone());
        decoder.DecodeLine(Bytes("50415353000000000000000000000000"), 0, 4);
        EXPECT_TRUE(decoder.CheckReadDone());
        EXPECT_EQ(decoder.RadioPassword(), "PASS");
    }
}

TEST(LineChoice, ReadSkipsChannelsNotInUse) {
    Document doc = LoadedDocument(3);
    doc.RowActive.fill(false);
    doc.RowActive[1] = true;
    doc.RowActive[100] = true;
    std::vector<int> skipped;
    for (int line = 0; line < 512; ++line) {
        if (!ReadRequestsLine(doc, line)) skipped.push_back(line);
    }
    std::vector<int> expected;
    for (int line = 34; line <= 229; ++line) expected.push_back(line);
    EXPECT_EQ(skipped, expected);
    EXPECT_FALSE(ReadRequestsLine(doc, 512));
    EXPECT_FALSE(ReadRequestsLine(doc, -1));
}

TEST(LineChoice, WriteSendsLines16To511ButNotChannelsOutOfUse) {
    Document doc = LoadedDocument(3);
    for (int row = 1; row <= kPhRow; ++row) doc.Cell(row, kColStatus) = "Active";
    int sent = 0;
    for (int line = 0; line < 600; ++line) sent += WriteSendsLine(doc, line) ? 1 : 0;
    EXPECT_EQ(sent, 496);

    doc.Cell(2, kColStatus) = "Inactive";
    doc.Cell(3, kColStatus) = "";
    doc.Cell(kPlRow, kColStatus) = "Inactive";  // PL and PH are always written
    for (int line : {34, 35, 36, 37}) EXPECT_FALSE(WriteSendsLine(doc, line)) << line;
    for (int line : {16, 24, 25, 32, 33, 38, 511}) EXPECT_TRUE(WriteSendsLine(doc, line)) << line;
    EXPECT_FALSE(WriteSendsLine(doc, 4));
    EXPECT_FALSE(WriteSendsLine(doc, 15));
}

TEST(ImageEncoder, ChecksTheRecordsBeforeEveryLine) {
    for (int line : {16, 18, 32, 33, 240, 400}) {
        Document doc = LoadedDocument(3);
        doc.strSetup = "setup|broken";
        doc.strAutoDial = "Ad|";
        ScriptedUi ui;
        ImageEncoder encoder(doc, ui);
        EXPECT_EQ(encoder.EncodeLine(line), "error") << line;
        EXPECT_EQ(ui.messages, std::vector<std::string>{kOptionFormatError}) << line;
    }
    Document doc = LoadedDocument(3);
    ScriptedUi ui;
    ImageEncoder encoder(doc, ui);
    encoder.SetNewPassword("new");
    EXPECT_EQ(encoder.EncodeLine(4), "6E657700000000000000000000000000");
    EXPECT_EQ(encoder.EncodeLine(300), "00000000000000000000000000000000");
    EXPECT_EQ(encoder.EncodeLine(500), "00000000000000000000000000000000");
}

TEST(WholeImage, IdentityLineAndErrors) {
    Document doc = LoadedDocument(3);
    ScriptedUi ui;
    const auto image = EncodeImage(doc, kAllFeatures, ui);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->size(), kImageSize);
    const std::vector<std::uint8_t> line0(image->begin(), image->begin() + 16);
    EXPECT_EQ(line0, (std::vector<std::uint8_t>{0, 0x33, 0xAA, 0x66, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                0xE0, 0}));
    // Channel 1 is not in use: its record stays empty.
    EXPECT_TRUE(std::all_of(image->begin() + 0x220, image->begin() + 0x240,
                            [](std::uint8_t b) { return b == 0; }));

    doc.strSetup = "setup";
    doc.strAutoDial = "Ad";
    EXPECT_FALSE(EncodeImage(doc, kAllFeatures, ui).has_value());
    EXPECT_EQ(ui.messages, std::vector<std::string>{kOptionFormatError});

    Document offset = LoadedDocument(28);
    offset.Cell(6, kColStatus) = "Active";
    offset.Cell(6, kColRxFreq) = "450.0000";
    offset.Cell(6, kColTxFreq) = "350.0000";
    ScriptedUi offsetUi;
    EXPECT_FALSE(EncodeImage(offset, kAllFeatures, offsetUi).has_value());
    EXPECT_EQ(offsetUi.messages,
              std::vector<std::string>{"Channel 5: the Tx offset 100.0000 MHz is too large for "
                                       "the radio (at most 99.9999 MHz)."});
}

TEST(WholeImage, DecodeRejectsAnImageOfTheWrongSize) {
    Document doc = LoadedDocument(7);
    doc.strSetup = "kept";
    FeatureFlags features = kAllFeatures;
    ScriptedUi ui;
    EXPECT_EQ(DecodeImage(std::vector<std::uint8_t>(100), doc, features, ui),
              "A memory image has 8192 bytes; this one has 100.");
    EXPECT_EQ(doc.strSetup, "kept");
    EXPECT_FALSE(doc.bModify);
}

std::vector<std::uint8_t> BlankImage(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    std::vector<std::uint8_t> image(kImageSize, 0);
    image[1] = a;
    image[2] = b;
    image[3] = c;
    return image;
}

TEST(WholeImage, ARadioWithChannelZeroOutOfUse) {
    Document doc = LoadedDocument(7);
    FeatureFlags features = kAllFeatures;
    ScriptedUi ui;
    ASSERT_EQ(DecodeImage(BlankImage(0x33, 0xAA, 0x66), doc, features, ui), "");
    EXPECT_EQ(doc.modelIndex, 3);
    EXPECT_EQ(doc.Cell(1, kColStatus), "Inactive");
    EXPECT_EQ(doc.Cell(1, kColRxFreq), "---");
    EXPECT_EQ(doc.Table(1, kColRxFreq), "");
    EXPECT_EQ(features, FeatureFlags{});
    EXPECT_TRUE(doc.bModify);
    // The call channel and VFO records are always read: all zeros give 0.0000.
    EXPECT_EQ(doc.Cell(kCallRow, kColRxFreq), "0.0000");
}

TEST(WholeImage, AnUnknownModelCodeKeepsTheSelection) {
    Document doc = LoadedDocument(7);
    FeatureFlags features = kAllFeatures;
    ScriptedUi ui;
    ASSERT_EQ(DecodeImage(BlankImage(0x12, 0x34, 0x56), doc, features, ui), "");
    EXPECT_EQ(doc.modelIndex, 7);
    EXPECT_TRUE(ui.questions.empty());
}

TEST(WholeImage, FiveToneChannelFromARadioWithoutFiveTone) {
    Document doc = LoadedDocument(3);
    doc.Cell(2, kColStatus) = "Active";
    ReadBuffer(doc, 2);
    doc.Cell(2, kColOptSignal) = "5Tone";
    doc.Table(2, kColSignalCode) = "12";
    doc.Table(2, kColSignalSubCode) = "2";
    ScriptedUi ui;
    const auto image = EncodeImage(doc, FeatureFlags{false, true, true, false}, ui);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ((*image)[14], 0x60);

    Document read = LoadedDocument(3);
    FeatureFlags features = kAllFeatures;
    ASSERT_EQ(DecodeImage(*image, read, features, ui), "");
    EXPECT_EQ(features, (FeatureFlags{false, true, true, false}));
    EXPECT_EQ(read.Cell(2, kColOptSignal), "None");
    EXPECT_EQ(read.Table(2, kColOptSignal), "None");
    EXPECT_EQ(read.Table(2, kColSignalCode), "12");
    EXPECT_EQ(read.Table(2, kColSignalSubCode), "2");
}

TEST(WholeImage, AnyBytesFromTheRadioDecodeIntoValidCells) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<std::uint8_t> image(kImageSize);
        for (auto& b : image) b = static_cast<std::uint8_t>(random());
        Document doc = LoadedDocument(3);
        FeatureFlags features{};
        ScriptedUi ui;
        ASSERT_EQ(DecodeImage(image, doc, features, ui), "");
        for (int row = 1; row <= kRowCount; ++row) {
            if (!doc.RowActive[static_cast<std::size_t>(row)] && row <= kChannelRows) continue;
            for (int column : {kColRxFreq, kColTxFreq}) {
                EXPECT_TRUE(IsNumeric(doc.Table(row, column))) << doc.Table(row, column);
            }
            for (int column : {kColRxTone, kColTxTone}) {
                const std::string& tone = doc.Table(row, column);
                EXPECT_TRUE(tone == "off" || tone.starts_with("C:") || tone.starts_with("D:"))
                    << tone;
            }
            EXPECT_TRUE(ListContains(doc.Table(row, kColStep), StepList()));
        }
        EXPECT_EQ(Split(doc.strSetup, '|').size(), 28u);
        EXPECT_EQ(Split(doc.strAutoDial, '|').size(), 11u);
    }
}

// --- Round trip: document -> image -> document, for every model ---------------

std::string Mhz(const ModelInfo& model, std::int64_t tenHzAboveLow) {
    return FormatScaled(model.rx.low.units / (ScaledDecimal::kScale / 100000) + tenHzAboveLow, 5);
}

struct RowContent {
    int row;
    std::vector<std::pair<int, std::string>> cells;
    const char* code = "0";
    const char* subCode = "0";
};

// Puts a row into use in the grid with the given cells over its defaults.
void UseRow(Document& doc, const RowContent& content) {
    if (content.row <= kPhRow) doc.Cell(content.row, kColStatus) = doc.texts.active;
    ReadBuffer(doc, content.row);
    for (const auto& [column, value] : content.cells) doc.Cell(content.row, column) = value;
    doc.Table(content.row, kColSignalCode) = content.code;
    doc.Table(content.row, kColSignalSubCode) = content.subCode;
}

// Takes a row out of use the way the status toggle does.
void PutAway(Document& doc, int row) {
    WriteBuffer(doc, row);
    doc.Cell(row, kColStatus) = doc.texts.inactive;
}

Document RoundTripSource(int model) {
    Document doc = LoadedDocument(model);
    const ModelInfo& m = *ModelAt(model);
    const std::vector<RowContent> rows = {
        {1,
         {{kColName, "CH0"},
          {kColStep, "12.5"},
          {kColRxFreq, Mhz(m, 1250)},
          {kColTxFreq, Mhz(m, 1250)}}},
        {2, {{kColStep, "6.25"}, {kColRxFreq, Mhz(m, 100000)}, {kColTxFreq, Mhz(m, 100625)}}},
        {3,
         {{kColStep, "8.33"},
          {kColRxFreq, Mhz(m, 2500)},
          {kColTxFreq, Mhz(m, 4166)},
          {kColBandwidth, "narrow"}}},
        {4,
         {{kColName, "Z9+/=()"},
          {kColStep, "5"},
          {kColRxFreq, Mhz(m, 500000)},
          {kColTxFreq, Mhz(m, 0)},
          {kColRxTone, "C:88.5"},
          {kColTxTone, "D:023N"},
          {kColBandwidth, "narrow"},
          {kColBcl, "on"},
          {kColAni, "on"},
          {kColShift, "on"},
          {kColPacMode, "on"},
          {kColDcsDetect, "on"},
          {kColPriority, "PH"},
          {kColScanSkip, "on"},
          {kColOptSignal, "5Tone"}},
         "42",
         "3"},
        {5, {{kColName, "GONE"}, {kColRxFreq, Mhz(m, 7500)}, {kColOptSignal, "2Tone"}}, "8"},
        {10,
         {{kColName, "ab-1"},
          {kColPriority, "03"},
          {kColOptSignal, "DTMF-ANI"},
          {kColRxTone, "off"},
          {kColTxTone, "C:254.1"}},
         "7",
         "1"},
        {11,
         {{kColStep, "25"},
          {kColRxFreq, Mhz(m, 2500)},
          {kColTxFreq, Mhz(m, 1002500)},
          {kColOptSignal, "2Tone"}},
         "99"},
        {12,
         {{kColPriority, "CAL"},
          {kColRxTone, "D:017I"},
          {kColTxTone, "D:765N"},
          {kColOptSignal, "DTMF"},
          {kColStep, "50"},
          {kColRxFreq, Mhz(m, 5000)},
          {kColTxFreq, Mhz(m, 5000)}},
         "4"},
        {50,
         {{kColPriority, "VFO"},
          {kColRxTone, "C:67.0"},
          {kColStep, "30"},
          {kColRxFreq, Mhz(m, 3000)},
          {kColTxFreq, Mhz(m, 3000)}}},
        {100, {{kColScanSkip, "on"}, {kColPriority, "PL"}, {kColName, "LAST"}}},
        {kPlRow, {{kColName, "LOW"}, {kColRxFreq, Mhz(m, 1000)}, {kColOptSignal, "DTMF"}}, "2"},
        {kPhRow,
         {{kColName, "HIGH"},
          {kColRxFreq, Mhz(m, 2000000)},
          {kColTxFreq, Mhz(m, 2000000)},
          {kColStep, "20"},
          {kColPriority, "99"}}},
        {kCallRow, {{kColName, "CALL"}, {kColTxTone, "D:754I"}, {kColOptSignal, "2Tone"}}, "55"},
        {kVfoRow,
         {{kColStep, "10"},
          {kColRxFreq, Mhz(m, 1000)},
          {kColTxFreq, Mhz(m, 61000)},
          {kColBcl, "on"}}},
    };
    for (const RowContent& row : rows) UseRow(doc, row);
    PutAway(doc, 5);
    PutAway(doc, kPlRow);

    doc.strSetup =
        "setup|Channel|MR|42|7|Mid|Enable|Disable|Enable|Disable|Enable|Disable|700ms|160ms|80ms|"
        "2100Hz|3m00sec|4sec|on|off|Disable|Busy|Low|Dly|Unlock|25W|0|1";
    doc.strAutoDial = "Ad|12*#A||0123456789ABCD#*|-||||D|9876543210|";

    SignallingSettings& s = doc.signalling.live;
    s.dtmfMemories = {100, -2, 0, 32767, -32768, 7, 8, 0x0ABC};
    s.twoTone.tone1High = 4;
    s.twoTone.tone1Low = 12;
    s.twoTone.tone2High = 2;
    s.twoTone.tone2Low = 250;
    s.twoTone.tone1Tenths = 3;
    s.twoTone.tone2Tenths = 0;
    s.twoTone.responseMode = 1;
    s.twoTone.time1 = 1;
    s.twoTone.time2 = 20;
    s.twoTone.time3 = 30;
    s.twoTone.time4 = 255;
    for (std::size_t i = 0; i < s.twoTone.codes.size(); ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        s.twoTone.codes[i] = {v, static_cast<std::uint8_t>(255 - v), 1, v,
                              9, static_cast<std::uint8_t>(v / 2)};
    }
    s.fiveTone.responseMode = 2;
    s.fiveTone.standardIndex = 12;
    s.fiveTone.selfIdLength = 4;
    s.fiveTone.toneTime = 10;
    s.fiveTone.selfId = "90AF";
    s.fiveTone.delayIndex = 255;
    s.fiveTone.pttIdBegin = {0, 3, 5, 4, "E1234"};
    s.fiveTone.pttIdEnd = {0, 12, 22, 3, "0123456789ABCDEF012345"};
    const std::string digits = "0123456789ABCDEF";
    for (std::size_t i = 0; i < s.fiveTone.codes.size(); ++i) {
        const std::size_t length = i % 23;
        std::string code;
        for (std::size_t k = 0; k < length; ++k) code += digits[(i + k) % 16];
        s.fiveTone.codes[i] = {0, static_cast<std::uint8_t>(i % 13),
                               static_cast<std::uint8_t>(length),
                               static_cast<std::uint8_t>(3 + i % 8), code};
    }
    return doc;
}

bool IsFrequencyColumn(int column) { return column == kColRxFreq || column == kColTxFreq; }

void ExpectSameCell(const std::string& decoded, const std::string& source, int column,
                    const std::string& where) {
    if (IsFrequencyColumn(column) && source != kInactiveCell && !source.empty()) {
        const auto a = ParseDecimal(decoded);
        const auto b = ParseDecimal(source);
        ASSERT_TRUE(a.has_value()) << where << ": " << decoded;
        EXPECT_EQ(a->units, b->units) << where << ": " << decoded << " != " << source;
    } else {
        EXPECT_EQ(decoded, source) << where;
    }
}

TEST(WholeImage, RoundTripForEveryModel) {
    for (int model = 0; model < kModelCount; ++model) {
        SCOPED_TRACE("model " + std::to_string(model));
        Document source = RoundTripSource(model);
        ScriptedUi ui;
        const auto image = EncodeImage(source, kAllFeatures, ui);
        ASSERT_TRUE(image.has_value()) << ui.messages.front();

        Document read = LoadedDocument((model + 5) % kModelCount, FeatureFlags{});
        read.Table(7, kColSignalCode) = "stale";
        FeatureFlags features{};
        ASSERT_EQ(DecodeImage(*image, read, features, ui), "");
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_TRUE(ui.questions.empty());

        EXPECT_EQ(read.modelIndex, model);
        EXPECT_EQ(features, kAllFeatures);
        EXPECT_EQ(read.strSetup, source.strSetup);
        EXPECT_EQ(read.strAutoDial, source.strAutoDial);
        EXPECT_EQ(read.signalling.live, source.signalling.live);
        EXPECT_TRUE(read.bModify);

        for (int row = 1; row <= kRowCount; ++row) {
            const bool channelOutOfUse =
                row <= kChannelRows && source.Cell(row, kColStatus) == source.texts.inactive;
            for (int column = kColLabel; column <= kColOptSignal; ++column) {
                const std::string where =
                    "grid " + std::to_string(row) + "/" + std::to_string(column);
                ExpectSameCell(read.Cell(row, column), source.Cell(row, column), column, where);
            }
            for (int column = kColName; column <= kColSignalSubCode; ++column) {
                const std::string where =
                    "table " + std::to_string(row) + "/" + std::to_string(column);
                // The radio holds no record of a channel out of use.
                const std::string expected = channelOutOfUse ? "" : source.Table(row, column);
                ExpectSameCell(read.Table(row, column), expected, column, where);
            }
            // The table's status is informational: a read writes the shown text.
            if (row <= kPhRow) {
                EXPECT_EQ(read.Table(row, kColStatus), source.Cell(row, kColStatus)) << row;
            }
        }
        // Channel 4 was taken out of use with its values: they are not in the radio.
        EXPECT_EQ(read.Table(5, kColName), "");
        EXPECT_EQ(source.Table(5, kColName), "GONE");
    }
}

}  // namespace
}  // namespace qx
