// The listing commands over the document: the printer and the text file.
// The listing's lines themselves are checked in codeplug_listing_test.
#include "app/listing_commands.h"

#include <gtest/gtest.h>

#include <tuple>

#include "document_builder.h"
#include "temp_dir.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ReadBytes;
using test::ScriptedUi;

std::vector<std::string> FileListing(const Document& doc) {
    return BuildListing(doc.codeplug(), ListingWordsOf(doc.texts), ListingTarget::File);
}

TEST(Listing, TheDocumentsLanguageGivesTheWords) {
    DocumentTexts texts;
    texts.active = "ACT";
    texts.wide = "W!";
    texts.narrow = "N!";
    texts.scanSkipOff = "S-off";
    texts.scanSkipOn = "S-on";
    const ListingWords words = ListingWordsOf(texts);
    EXPECT_EQ(
        std::tie(words.active, words.wide, words.narrow, words.scanSkipOff, words.scanSkipOn),
        std::tie(texts.active, texts.wide, texts.narrow, texts.scanSkipOff, texts.scanSkipOn));
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
    doc.texts.active = "ACT";
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
    const std::vector<std::string> listing =
        BuildListing(doc.codeplug(), ListingWordsOf(doc.texts), ListingTarget::Printer);
    // 119 lines end in a line break (all but M1..M9) and leave an empty line.
    ASSERT_EQ(lines.size(), 119u * 2 + 9);
    EXPECT_EQ(lines[0].substr(0, 6), "ch    ");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 4),
              (std::vector<std::string>{"", listing[1].substr(0, listing[1].size() - 2), ""}));
    EXPECT_EQ(lines[2].substr(0, 11), "0    ACT   ") << "in the document's words";
    EXPECT_EQ(lines[lines.size() - 11], "AutoDialor Option");
    EXPECT_EQ(lines[lines.size() - 10], "");
    EXPECT_EQ(lines[lines.size() - 9], "M1:      ");
    EXPECT_EQ(lines.back(), "M9:      ");
    EXPECT_EQ(printer.ended, 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Listing, PrintCommandReportsPrinterErrors) {
    // line the printer fails at, its error at the end, lines printed
    const std::tuple<std::size_t, std::string, std::size_t> cases[] = {{5, "", 5},
                                                                       {0, "no printer", 247}};
    for (const auto& [failAtLine, endError, printed] : cases) {
        Document doc = LoadedDocument(3);
        ScriptedUi ui;
        ui.answers = {Answer::Ok};
        RecordingPrinter printer;
        printer.failAtLine = failAtLine;
        printer.endError = endError;
        EXPECT_FALSE(PrintCommand(doc, ui, printer));
        EXPECT_EQ(printer.lines.size(), printed);
        EXPECT_EQ(ui.messages,
                  std::vector<std::string>{endError.empty() ? "printer out of paper" : endError});
        EXPECT_EQ(printer.ended, endError.empty() ? 0 : 1) << "only a whole document is sent";
    }
}

TEST(Listing, PrintToFileWritesTheListingWithCrLfLineEnds) {
    test::TempDir dir;
    Document doc = LoadedDocument(3);
    doc.texts.active = "ACT";
    ScriptedUi ui;
    EXPECT_FALSE(PrintToFileCommand(doc, ui)) << "dialog cancelled";
    ui.files = {""};
    EXPECT_FALSE(PrintToFileCommand(doc, ui)) << "no name chosen";

    const auto path = dir / "list.txt";
    ui.files = {path.string()};
    EXPECT_TRUE(PrintToFileCommand(doc, ui));
    EXPECT_EQ(ReadBytes(path), ListingFileText(FileListing(doc)));
    EXPECT_NE(ReadBytes(path).find("\r\n\r\n0    ACT    "), std::string::npos);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(doc.Modified());

    const auto nowhere = dir / "nowhere" / "list.txt";
    ui.files = {nowhere.string()};
    EXPECT_FALSE(PrintToFileCommand(doc, ui));
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Cannot save \"" + nowhere.string() + "\": the folder \"" +
                                       (dir / "nowhere").string() + "\" does not exist."});
}

}  // namespace
}  // namespace qx
