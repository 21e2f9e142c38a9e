#include "image/image_codec.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "channels/models.h"
#include "document_builder.h"
#include "image/settings_codec.h"
#include "options/radio_options.h"
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

std::string Mhz(const ModelInfo& model, std::int64_t tenHzAboveLow) {
    return FormatScaled(model.rx.low.units / (ScaledDecimal::kScale / 100000) + tenHzAboveLow, 5);
}

// Puts a row into use with its defaults, then the "|"-separated texts for
// Name .. OptSignal, SignalCode and SignalSubCode over them. An empty text
// keeps the default; "+N" is a frequency N x 10 Hz above the model's band.
void UseRow(Document& doc, int row, const std::string& cells) {
    if (row <= kPhRow) doc.Cell(row, kColStatus) = doc.texts.active;
    ReadBuffer(doc, row);
    const std::vector<std::string> texts = Split(cells, '|');
    ASSERT_EQ(texts.size(), 17u) << cells;
    for (int column = kColName; column <= kColSignalSubCode; ++column) {
        std::string text = texts[static_cast<std::size_t>(column - kColName)];
        if (text.empty()) continue;
        if (text[0] == '+') text = Mhz(*ModelAt(doc.modelIndex), std::stoll(text.substr(1)));
        (column <= kColOptSignal ? doc.Cell(row, column) : doc.Table(row, column)) = text;
    }
}

// --- The golden image: tests/data/image/golden_image.txt, made by hand ------

struct GoldenRow {
    int row;
    const char* cells;    // as UseRow takes them
    const char* decoded;  // the same columns as a read gives them back
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

Document GoldenDocument() {
    Document doc = LoadedDocument(3);
    for (const GoldenRow& r : kGoldenRows) UseRow(doc, r.row, r.cells);
    std::vector<std::string> options = Split(kDefaultSetup, '|');
    options.at(kOptSecurityMode) = "Dly";
    doc.strSetup = JoinOptionRecord(options);
    doc.strAutoDial = "Ad|12*#A|||||||||";
    doc.signalling.live.fiveTone.codes[0] = {0, 2, 5, 9, "12E45"};
    return doc;
}

std::vector<std::uint8_t> GoldenImage() {
    std::ifstream in(std::string(QX_SOURCE_DIR) + "/tests/data/image/golden_image.txt");
    std::vector<std::uint8_t> image(kImageSize, 0);
    int listed = 0;
    for (std::string text; std::getline(in, text);) {
        std::istringstream fields(text.substr(0, text.find('#')));
        int line = -1;
        std::string hex;
        if (!(fields >> line >> hex)) continue;
        ++listed;
        EXPECT_TRUE(line >= 0 && line < kImageLines && hex.size() == 32 &&
                    hex.find_first_not_of("0123456789ABCDEF") == hex.npos)
            << text;
        for (std::size_t b = 0; b < kLineBytes; ++b) {
            image.at(static_cast<std::size_t>(line) * kLineBytes + b) =
                static_cast<std::uint8_t>(std::stoi(hex.substr(2 * b, 2), nullptr, 16));
        }
    }
    EXPECT_GT(listed, 100);
    return image;
}

// A line as hex digits, for messages.
std::string LineHex(const std::vector<std::uint8_t>& image, int line) {
    std::string hex;
    for (std::size_t b = 0; b < kLineBytes; ++b) {
        const std::uint8_t value = image[static_cast<std::size_t>(line) * kLineBytes + b];
        hex += {"0123456789ABCDEF"[value >> 4], "0123456789ABCDEF"[value & 15]};
    }
    return hex;
}

TEST(GoldenImage, TheDocumentEncodesToTheHandMadeImage) {
    Document doc = GoldenDocument();
    ScriptedUi ui;
    const auto image = EncodeImage(doc, kAllFeatures, ui);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->size(), kImageSize);
    const std::vector<std::uint8_t> golden = GoldenImage();
    for (int line = 0; line < kImageLines; ++line) {
        EXPECT_EQ(LineHex(*image, line), LineHex(golden, line)) << "line " << line;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST(GoldenImage, TheHandMadeImageDecodesToTheDocument) {
    const Document source = GoldenDocument();
    Document doc = LoadedDocument(7, FeatureFlags{});
    FeatureFlags features{};
    ScriptedUi ui;
    ASSERT_EQ(DecodeImage(GoldenImage(), doc, features, ui), "");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.modelIndex, 3);
    EXPECT_EQ(features, kAllFeatures);
    for (const GoldenRow& r : kGoldenRows) {
        const std::vector<std::string> expected = Split(r.decoded, '|');
        EXPECT_EQ(doc.Cell(r.row, kColStatus), "Active") << r.row;
        for (int c = kColName; c <= kColSignalSubCode; ++c) {
            const std::string& value = expected.at(static_cast<std::size_t>(c - kColName));
            EXPECT_EQ(doc.Table(r.row, c), value) << "row " << r.row << " column " << c;
            if (c <= kColOptSignal) {
                EXPECT_EQ(doc.Cell(r.row, c), value) << "grid row " << r.row << " column " << c;
            }
        }
    }
    EXPECT_EQ(doc.RowStep[3], "8.33") << "later edits round to the decoded step";
    EXPECT_EQ(doc.Cell(4, kColStatus), "Inactive");
    EXPECT_EQ(doc.Table(4, kColRxFreq), "") << "the record of a channel out of use is not read";
    EXPECT_EQ(doc.strSetup,
              "setup|Frequency|VFO|0|3|Hi|Disable|Disable|Disable|Disable|Disable|Disable|100ms|"
              "60ms|60ms|1750Hz|off|off|off|off|Enable|Timer|High|Dly|Lock|60W|1|0");
    EXPECT_EQ(doc.strAutoDial, source.strAutoDial);
    EXPECT_EQ(doc.signalling.live, source.signalling.live);
}

// --- Reply check and the lines a transfer handles ---------------------------

TEST(ReplyCheck, OnlyRepliesInTheExpectedFormAreGood) {
    constexpr auto kRead = ReplyCheckMode::Reading;
    constexpr auto kAfter = ReplyCheckMode::WritingAfterIdentifier;
    const std::string password = "41424300000000000000000000000000";
    const auto good = ReadReply("0040", password);                         // 52 bytes
    const std::string echo = "AL~F0100W" + std::string(32, '0') + "\r\n";  // 43 bytes
    const std::tuple<std::vector<std::uint8_t>, ReplyCheckMode, int> cases[] = {
        {good, kRead, 0},
        {std::vector<std::uint8_t>(good.begin(), good.end() - 1), kRead, -2},  // 51 bytes
        {ReadReply("0050", password), kRead, -2},
        {Bytes("x" + std::string(good.begin(), good.end())), kRead, -2},
        {{}, kRead, -2},
        {Bytes(echo + "\r\nOK\r\n"), kAfter, 0},
        {Bytes(echo + "\r\nERROR\r\n"), kAfter, -1},
        {Bytes(echo + "\r\nOK\r\nERROR"), kAfter, -1},
        {Bytes(echo + "\r\nO"), kAfter, -1},
        {Bytes("x" + echo + "\r\nOK\r\n"), kAfter, -2},  // misplaced
        {Bytes("x" + echo + "\r\nOK\r\n"), ReplyCheckMode::Writing, 0},
        {Bytes("PV418\r\n\r\nOK\r\n"), ReplyCheckMode::Writing, 0}};
    for (const auto& [reply, mode, result] : cases) {
        Document doc = LoadedDocument(3);
        FeatureFlags features = kAllFeatures;
        ScriptedUi ui;
        ImageDecoder decoder(doc, features, ui);
        const std::string what(reply.begin(), reply.end());
        EXPECT_EQ(CheckReplyAndDecode(reply, 4, mode, decoder, ui), result) << what;
        EXPECT_EQ(decoder.RadioPassword(), mode == kRead && result == 0 ? "ABC" : "") << what;
        EXPECT_TRUE(ui.messages.empty());
        if (mode == kAfter) continue;
        EXPECT_EQ(CheckReplyAndDecode({}, 512, mode, decoder, ui), 0);
        EXPECT_EQ(ui.messages, std::vector<std::string>{"Exceed Length!"});
    }
}

TEST(CheckRead, ComparesTheModelAndEndsAtThePassword) {
    // Model 3 is selected: 33AA66.
    for (const auto& [code, match] : std::vector<std::pair<std::string, int>>{
             {"33AA66", 0}, {"335533", 1}, {"33AA99", 1}, {"99AA66", 2}, {"123456", 2}}) {
        Document doc = LoadedDocument(3);
        doc.strSetup = "kept";
        FeatureFlags features{false, false, false, true};
        ScriptedUi ui;
        ImageDecoder decoder(doc, features, ui);
        decoder.SetCheckRead(true);
        const std::string line0 = "00" + code + "00000000000000000000E000";
        EXPECT_EQ(
            CheckReplyAndDecode(ReadReply("0000", line0), 0, ReplyCheckMode::Reading, decoder, ui),
            0);
        EXPECT_EQ(decoder.ModelMatch(), match) << code;
        EXPECT_EQ(doc.modelIndex, 3) << code;
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

TEST(LineChoice, ReadAndWriteLeaveOutOnlyChannelsOutOfUse) {
    Document doc = LoadedDocument(3);
    const auto linesLeftOut = [&doc](bool (*chosen)(const Document&, int)) {
        std::vector<int> lines;
        for (int line = -1; line <= 512; ++line) {
            if (!chosen(doc, line)) lines.push_back(line);
        }
        return lines;
    };
    std::vector<int> expected = {-1};
    for (int line = 34; line <= 229; ++line) expected.push_back(line);
    expected.push_back(512);
    doc.RowActive.fill(false);
    doc.RowActive[1] = doc.RowActive[100] = true;
    EXPECT_EQ(linesLeftOut(ReadRequestsLine), expected);

    for (int row = 1; row <= kPhRow; ++row) doc.Cell(row, kColStatus) = "Active";
    doc.Cell(2, kColStatus) = "Inactive";
    doc.Cell(3, kColStatus) = "";
    doc.Cell(kPlRow, kColStatus) = "Inactive";  // PL and PH are always written
    expected = {34, 35, 36, 37, 512};
    for (int line = 15; line >= -1; --line) expected.insert(expected.begin(), line);
    EXPECT_EQ(linesLeftOut(WriteSendsLine), expected);
}

TEST(ImageEncoder, FormatErrorsComeBeforeEveryLineAndStopAWholeImage) {
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

    doc.strSetup = "setup";
    doc.strAutoDial = "Ad";
    EXPECT_FALSE(EncodeImage(doc, kAllFeatures, ui).has_value());
    EXPECT_EQ(ui.messages, std::vector<std::string>{kOptionFormatError}) << "shown once";

    Document offset = LoadedDocument(28);
    UseRow(offset, 6, "||450.0000|||||||350.0000|||||||");
    ScriptedUi offsetUi;
    EXPECT_FALSE(EncodeImage(offset, kAllFeatures, offsetUi).has_value());
    EXPECT_EQ(offsetUi.messages,
              std::vector<std::string>{"Channel 5: the Tx offset 100.0000 MHz is too large for "
                                       "the radio (at most 99.9999 MHz)."});
}

// --- Whole images from the radio --------------------------------------------

TEST(WholeImage, AWrongSizeAnUnknownModelAndChannelZeroOutOfUse) {
    Document doc = LoadedDocument(7);
    doc.strSetup = "kept";
    FeatureFlags features = kAllFeatures;
    ScriptedUi ui;
    EXPECT_EQ(DecodeImage(std::vector<std::uint8_t>(100), doc, features, ui),
              "A memory image has 8192 bytes; this one has 100.");
    EXPECT_EQ(doc.strSetup, "kept");
    EXPECT_FALSE(doc.bModify);

    std::vector<std::uint8_t> image(kImageSize, 0);
    image[1] = 0x12;
    image[2] = 0x34;
    image[3] = 0x56;
    ASSERT_EQ(DecodeImage(image, doc, features, ui), "");
    EXPECT_EQ(doc.modelIndex, 7) << "a code of no model keeps the selection";
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(doc.Cell(1, kColStatus), "Inactive");
    EXPECT_EQ(doc.Cell(1, kColRxFreq), "---");
    EXPECT_EQ(doc.Table(1, kColRxFreq), "");
    EXPECT_EQ(features, FeatureFlags{});
    EXPECT_TRUE(doc.bModify);
    // The call channel and VFO records are always read: all zeros give 0.0000.
    EXPECT_EQ(doc.Cell(kCallRow, kColRxFreq), "0.0000");
}

TEST(WholeImage, FiveToneChannelFromARadioWithoutFiveTone) {
    Document doc = LoadedDocument(3);
    UseRow(doc, 2, "||||||||||||||5Tone|12|2");
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

// --- Round trip: document -> image -> document, for every model ---------------

Document RoundTripSource(int model) {
    Document doc = LoadedDocument(model);
    // Name|Step|Rx|RxTone|W/N|PAC|DcsDet|Skip|Pri|Tx|TxTone|BCL|ANI|Shift|Signal|Code|SubCode
    const std::pair<int, const char*> rows[] = {
        {1, "CH0|12.5|+1250|||||||+1250|||||||"},
        {2, "|6.25|+100000|||||||+100625|||||||"},
        {3, "|8.33|+2500||narrow|||||+4166|||||||"},
        {4, "Z9+/=()|5|+500000|C:88.5|narrow|on|on|on|PH|+0|D:023N|on|on|on|5Tone|42|3"},
        {5, "GONE||+7500||||||||||||2Tone|8|"},
        {10, "ab-1|||off|||||03||C:254.1||||DTMF-ANI|7|1"},
        {11, "|25|+2500|||||||+1002500|||||2Tone|99|"},
        {12, "|50|+5000|D:017I|||||CAL|+5000|D:765N||||DTMF|4|"},
        {50, "|30|+3000|C:67.0|||||VFO|+3000|||||||"},
        {100, "LAST|||||||on|PL||||||||"},
        {kPlRow, "LOW||+1000||||||||||||DTMF|2|"},
        {kPhRow, "HIGH|20|+2000000||||||99|+2000000|||||||"},
        {kCallRow, "CALL||||||||||D:754I||||2Tone|55|"},
        {kVfoRow, "|10|+1000|||||||+61000||on|||||"},
    };
    for (const auto& [row, cells] : rows) UseRow(doc, row, cells);
    // Channel 4 and PL are taken out of use the way the status toggle does.
    for (int row : {5, kPlRow}) {
        WriteBuffer(doc, row);
        doc.Cell(row, kColStatus) = doc.texts.inactive;
    }
    doc.strSetup =
        "setup|Channel|MR|42|7|Mid|Enable|Disable|Enable|Disable|Enable|Disable|700ms|160ms|80ms|"
        "2100Hz|3m00sec|4sec|on|off|Disable|Busy|Low|Dly|Unlock|25W|0|1";
    doc.strAutoDial = "Ad|12*#A||0123456789ABCD#*|-||||D|9876543210|";

    return doc;
}

void ExpectSameCell(const std::string& decoded, const std::string& source, int column,
                    const std::string& where) {
    const bool frequency = column == kColRxFreq || column == kColTxFreq;
    if (frequency && source != kInactiveCell && !source.empty()) {
        const auto a = ParseDecimal(decoded);
        ASSERT_TRUE(a.has_value()) << where << ": " << decoded;
        EXPECT_EQ(a->units, ParseDecimal(source)->units)
            << where << ": " << decoded << " " << source;
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
        EXPECT_EQ(read.signalling.live, SignallingSettings{});

        for (int row = 1; row <= kRowCount; ++row) {
            const bool channelOutOfUse =
                row <= kChannelRows && source.Cell(row, kColStatus) == source.texts.inactive;
            const std::string where = std::to_string(row) + "/";
            for (int column = kColLabel; column <= kColOptSignal; ++column) {
                ExpectSameCell(read.Cell(row, column), source.Cell(row, column), column,
                               "grid " + where + std::to_string(column));
            }
            for (int column = kColName; column <= kColSignalSubCode; ++column) {
                // The radio holds no record of a channel out of use.
                ExpectSameCell(read.Table(row, column),
                               channelOutOfUse ? "" : source.Table(row, column), column,
                               "table " + where + std::to_string(column));
            }
            // The table's status is informational: a read writes the shown text.
            if (row <= kPhRow) {
                EXPECT_EQ(read.Table(row, kColStatus), source.Cell(row, kColStatus)) << row;
            }
        }
        EXPECT_EQ(source.Table(5, kColName), "GONE");
    }
}

}  // namespace
}  // namespace qx
