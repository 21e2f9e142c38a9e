#include "files/listing.h"

#include <gtest/gtest.h>

#include <tuple>

#include "document_builder.h"
#include "temp_dir.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ReadBytes;
using test::ScriptedUi;

const std::string kSep = "    ";
const std::string kPad(25, ' ');

// Lines of the listing by position: the heading, rows 1..104, then the options.
constexpr std::size_t kRowLines = 104;
constexpr std::size_t kRadioOptionLine = 1 + kRowLines;
constexpr std::size_t kAutoDialLine = kRadioOptionLine + 13;
constexpr std::size_t kLineCount = kAutoDialLine + 10;

// Cells each followed by the separator.
std::string Cells(const std::string& cells) {
    std::string line;
    for (std::size_t start = 0;;) {
        const std::size_t end = cells.find('|', start);
        line += cells.substr(start, end - start) + kSep;
        if (end == std::string::npos) return line;
        start = end + 1;
    }
}

std::string Line(const std::string& cells) { return Cells(cells) + "\r\n"; }

// A fresh model-3 row with an empty name, columns Name to Ani.
const std::string kFreshToAni =
    Cells("|12.5|145.0000|off|wide|off|off|off|off|145.0000|off|off|off");

TEST(Listing, FreshDocumentFileVersion) {
    const Document doc = LoadedDocument(3);
    const Listing listing = BuildListing(doc, ListingTarget::File);
    EXPECT_EQ(listing.failedMessage, 0);
    ASSERT_EQ(listing.lines.size(), kLineCount);
    const std::vector<std::string>& lines = listing.lines;

    EXPECT_EQ(lines[0],
              "ch    status    Name    Ref.    Rx Freq.    CTCSS/DCS    W/N    PAC MODE    DCS DET"
              "    PRI    Tx Freq.    CTCSS/DCS    BCL    ANI\r\n");
    EXPECT_EQ(lines[1], Cells("0|Active") + kFreshToAni + "\r\n");
    // Inactive rows: the DefaultRow values, Shift included.
    for (std::size_t row : {2, 101, 102}) {
        EXPECT_EQ(lines[row], Cells(std::to_string(row - 1) + "|Inactive") + kFreshToAni +
                                  Cells("off") + "\r\n");
    }
    EXPECT_EQ(lines[103], Cells("102|") + kFreshToAni + Cells("off") + "\r\n");
    EXPECT_EQ(lines[104], Cells("103|") + kFreshToAni + Cells("off") + "\r\n");

    const std::vector<std::string> options = {
        "Radio Option\r\n",
        "Indication: Frequency" + kPad + "DTMF burst delay: 100ms\r\n",
        "VFO/MR/CALL: VFO" + kPad + "DTMF 1st digit: 60ms\r\n",
        "MR No: 0" + kPad + "DTMF Tx interval: 60ms\r\n",
        "SQL No: 3" + kPad + "TBST Freq: 1750Hz\r\n",
        "Tx Power: Hi" + kPad + "Time out timer: off\r\n",
        "Scan start: ----------------" + kPad + "Time out Penalty: ----------------\r\n",
        "Tx power change: ----------------" + kPad + "Key Lock: off\r\n",
        "Key Lock change: ----------------" + kPad + "APO: off\r\n",
        "Moni Key: ----------------" + kPad + "Beep Sound: Enable\r\n",
        "CtcssDcs Change: ----------------" + kPad + "ScanningModel: Timer\r\n",
        "TBST Output: ----------------" + kPad + "LAMP Mode: High\r\n",
        "Security Mode: off\r\n",
        "AutoDialor Option\r\n"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + kRadioOptionLine,
                                       lines.begin() + kAutoDialLine + 1),
              options);
    for (std::size_t m = 1; m <= 9; ++m) {
        EXPECT_EQ(lines[kAutoDialLine + m], "M" + std::to_string(m) + ":      ");
    }

    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    EXPECT_EQ(ListingFileText(listing), text);

    // The printer version ends the live rows at ANI and adds the power selection.
    const Listing printed = BuildListing(doc, ListingTarget::Printer);
    ASSERT_EQ(printed.lines.size(), kLineCount);
    EXPECT_EQ(printed.lines[103], Cells("102|") + kFreshToAni + "\r\n");
    EXPECT_EQ(printed.lines[2], lines[2]);
    EXPECT_EQ(printed.lines[kAutoDialLine - 1],
              "Security Mode: off" + kPad + "Power Select:60W\r\n");
}

TEST(Listing, RowsShowTheirOwnValuesAndDefaultsOnlyForBlankCells) {
    Document doc = LoadedDocument(3);
    doc.texts.wide = "breit";
    doc.DefaultRow[kColBandwidth] = "breit";
    // An inactive channel lists its stored values; blank ones take the default.
    doc.Table(3, kColName) = "ABC";
    doc.Table(3, kColStep) = "  ";
    doc.Table(3, kColBandwidth) = "narrow";
    doc.Table(3, kColShift) = "on";
    // The call channel is live: its grid cells count, not the stale table.
    doc.Cell(kCallRow, kColRxFreq) = "146.5000";
    doc.Cell(kCallRow, kColBandwidth) = "breit";
    doc.Cell(kCallRow, kColAni) = doc.Cell(kCallRow, kColShift) = "on";
    doc.Table(kCallRow, kColRxFreq) = "999.0000";
    // An active row with a blank name; its cells are listed as the grid shows them.
    doc.Cell(1, kColName) = " ";
    doc.Cell(1, kColPriority) = "PL";

    const Listing listing = BuildListing(doc, ListingTarget::File);
    EXPECT_EQ(
        listing.lines[3],
        Line("2|Inactive|ABC|12.5|145.0000|off|narrow|off|off|off|off|145.0000|off|off|off|on"));
    EXPECT_EQ(listing.lines[103],
              Line("102|||12.5|146.5000|off|breit|off|off|off|off|145.0000|off|off|on|on"));
    EXPECT_EQ(listing.lines[1],
              Line("0|Active||12.5|145.0000|off|wide|off|off|off|PL|145.0000|off|off|off"));
}

TEST(Listing, AMalformedRecordStopsTheListingAfterTheRows) {
    const std::tuple<const char*, const char*, int> cases[] = {{"setup|a", kDefaultAutoDial, 9004},
                                                               {kDefaultSetup, "Ad|1|2", 9003},
                                                               {"setup", "Ad", 9004}};
    for (const auto& [setup, autoDial, message] : cases) {
        Document doc = LoadedDocument(3);
        doc.strSetup = setup;
        doc.strAutoDial = autoDial;
        for (const ListingTarget target : {ListingTarget::File, ListingTarget::Printer}) {
            const Listing listing = BuildListing(doc, target);
            EXPECT_EQ(listing.failedMessage, message) << setup << " " << autoDial;
            ASSERT_EQ(listing.lines.size(), 1 + kRowLines) << "heading and rows only";
            EXPECT_EQ(listing.lines.back().substr(0, 3), "103");
        }
    }
}

class RecordingPrinter final : public Printer {
  public:
    std::vector<std::string> lines;
    int ended = 0;
    std::size_t failAtLine = 0;  // 1-based; 0 never
    std::string endError;

    std::string PrintLine(std::string_view line) override {
        lines.emplace_back(line);
        return lines.size() == failAtLine ? "printer out of paper" : "";
    }
    std::string EndDocument() override {
        ++ended;
        return endError;
    }
};

TEST(Listing, PrintCommandSendsEachLineAndAnEmptyOneAfterLineBreaks) {
    Document doc = LoadedDocument(3);
    ScriptedUi ui;
    RecordingPrinter printer;
    EXPECT_FALSE(PrintCommand(doc, ui, printer)) << "anything but OK stops";
    EXPECT_EQ(ui.questions,
              std::vector<std::string>{"Print the channel data on the default printer?"});
    EXPECT_EQ(ui.buttonsAsked[0], Buttons::OkCancel);
    EXPECT_TRUE(printer.lines.empty());

    ui.answers = {Answer::Ok};
    EXPECT_TRUE(PrintCommand(doc, ui, printer));
    const std::vector<std::string>& lines = printer.lines;
    // 119 lines end in a line break (all but M1..M9) and leave an empty line.
    ASSERT_EQ(lines.size(), 119u * 2 + 9);
    EXPECT_EQ(lines[0].substr(0, 6), "ch    ");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 4),
              (std::vector<std::string>{"", Cells("0|Active") + kFreshToAni, ""}));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 11, lines.end() - 8),
              (std::vector<std::string>{"AutoDialor Option", "", "M1:      "}));
    EXPECT_EQ(lines.back(), "M9:      ");
    EXPECT_EQ(printer.ended, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Listing, PrintCommandReportsPrinterErrorsAndMalformedRecords) {
    const Document fresh = LoadedDocument(3);
    // line the printer fails at, its error at the end, the dialer record, lines printed, message
    const std::tuple<std::size_t, std::string, std::string, std::size_t, std::string> cases[] = {
        {5, "", kDefaultAutoDial, 5, "printer out of paper"},
        {0, "no printer", kDefaultAutoDial, 247, "no printer"},
        {0, "", "Ad", 105 * 2, fresh.texts.Message(9003)}};  // heading and rows
    for (const auto& [failAtLine, endError, autoDial, printed, message] : cases) {
        Document doc = fresh;
        doc.strAutoDial = autoDial;
        ScriptedUi ui;
        ui.answers = {Answer::Ok};
        RecordingPrinter printer;
        printer.failAtLine = failAtLine;
        printer.endError = endError;
        EXPECT_FALSE(PrintCommand(doc, ui, printer));
        EXPECT_EQ(printer.lines.size(), printed);
        EXPECT_EQ(ui.messages, std::vector<std::string>{message});
        EXPECT_EQ(printer.ended, endError.empty() ? 0 : 1) << "only a whole document is sent";
    }
}

TEST(Listing, PrintToFileWritesTheListingWithCrLfLineEnds) {
    test::TempDir dir;
    Document doc = LoadedDocument(3);
    ScriptedUi ui;
    EXPECT_FALSE(PrintToFileCommand(doc, ui)) << "dialog cancelled";

    const auto path = dir / "list.txt";
    ui.files = {path.string()};
    EXPECT_TRUE(PrintToFileCommand(doc, ui));
    EXPECT_EQ(ReadBytes(path), ListingFileText(BuildListing(doc, ListingTarget::File)));
    EXPECT_TRUE(ui.messages.empty());

    // A malformed option record: the lines before it, then the message.
    doc.strSetup = "setup|x";
    ui.files = {path.string()};
    EXPECT_FALSE(PrintToFileCommand(doc, ui));
    const Listing rows = BuildListing(doc, ListingTarget::File);
    ASSERT_EQ(rows.lines.size(), 1 + kRowLines);
    EXPECT_EQ(ReadBytes(path), ListingFileText(rows));
    EXPECT_EQ(ui.messages, std::vector<std::string>{doc.texts.Message(9004)});

    ui.messages.clear();
    const auto nowhere = dir / "nowhere" / "list.txt";
    ui.files = {nowhere.string()};
    EXPECT_FALSE(PrintToFileCommand(doc, ui));
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Cannot save \"" + nowhere.string() + "\": the folder \"" +
                                       (dir / "nowhere").string() + "\" does not exist."});
}

}  // namespace
}  // namespace qx
