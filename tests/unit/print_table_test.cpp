// The printed channel table: which rows and columns it has, the header and
// the settings section, and the PDF export's file handling.
#include "print/print_table.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/grid_columns.h"
#include "app/project_file.h"
#include "channels/cell_editors.h"
#include "codeplug/models.h"
#include "codeplug/option_fields.h"
#include "codeplug/options.h"
#include "document_builder.h"
#include "signalling/dtmf_dialog.h"
#include "signalling/five_tone_dialog.h"
#include "signalling/two_tone_dialog.h"
#include "temp_dir.h"

namespace qx {
namespace {

using test::EnglishTexts;
using test::LoadedDocument;
using test::ReadBytes;
using test::ScriptedUi;
using test::TempDir;

Document CorpusDocument(const char* name) {
    Document doc = LoadedDocument();
    ScriptedUi ui;
    OpenProject(doc, std::filesystem::path(QX_SOURCE_DIR) / "tests/data/corpus" / name, ui);
    EXPECT_TRUE(ui.messages.empty());
    return doc;
}

TEST(PrintTable, ListsTheChannelsInUseThenPlPhCallAndVfoWithTheGridsTexts) {
    const Document doc = CorpusDocument("d000.qx");
    const PrintTable table = BuildPrintTable(doc, EnglishTexts(), "2026-12-09");
    ASSERT_EQ(table.sections.size(), 2u);
    const PrintSection& channels = table.sections[0];
    EXPECT_EQ(channels.title, "Channels");

    std::vector<int> rows;
    for (int row = 1; row <= kChannelRows; ++row) {
        if (doc.codeplug().Row(row).inUse) rows.push_back(row);
    }
    for (int row : {kPlRow, kPhRow, kCallRow, kVfoRow}) rows.push_back(row);
    ASSERT_EQ(channels.rows.size(), rows.size());
    ASSERT_GT(rows.size(), 4u) << "the corpus project has channels in use";

    const std::vector<int> columns = PrintedColumns();
    ASSERT_EQ(channels.headings.size(), columns.size());
    EXPECT_EQ(std::find(columns.begin(), columns.end(), kColAni), columns.end())
        << "the grid hides the ANI column";
    EXPECT_EQ(channels.headings[0], doc.texts.headings[kColLabel]);
    EXPECT_EQ(channels.headings[4], "Rx Freq");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(channels.rows[r].size(), columns.size());
        for (std::size_t c = 0; c < columns.size(); ++c) {
            EXPECT_EQ(channels.rows[r][c], CellText(doc, rows[r], columns[c]))
                << "row " << rows[r] << " column " << columns[c];
        }
    }
    EXPECT_EQ(channels.rows.back()[0], "V");
}

TEST(PrintTable, HeaderNamesModelFileAndDateInTheDocumentsLanguage) {
    Document doc = CorpusDocument("d000.qx");
    const LanguageTexts chinese(QX_LANGUAGE_DIR, "chinese.ini");
    const PrintTable table = BuildPrintTable(doc, chinese, "2026-12-09");
    ASSERT_EQ(table.header.size(), 3u);
    EXPECT_EQ(table.header[0].first, "型号：");
    EXPECT_EQ(table.header[0].second, ModelAt(doc.model())->name);
    EXPECT_EQ(table.header[1].second, "d000.qx") << "the file name without its folder";
    EXPECT_EQ(table.header[2].second, "2026-12-09");
    EXPECT_EQ(table.sections[1].title, "选项与信令");
    for (const auto& row : table.sections[1].rows) {
        EXPECT_FALSE(row[0].ends_with("：") || row[0].ends_with(":")) << row[0];
    }
    EXPECT_EQ(PageText(table, 2, 7), "第 2 页，共 7 页");
    EXPECT_EQ(PageText(BuildPrintTable(doc, EnglishTexts(), ""), 1, 12), "Page 1 of 12");
}

TEST(PrintTable, SettingsSectionShowsOptionsThatApplyAutoDialerAndSignalling) {
    Document doc = LoadedDocument();
    doc.Change(StepLabel{}, [](Codeplug& c) {
        c.autoDialer.entries[2] = "5551234";
        c.signalling.fiveTone.selfId = "54321";
    });
    const PrintSection settings = BuildPrintTable(doc, EnglishTexts(), "").sections[1];
    EXPECT_EQ(settings.headings, (std::vector<std::string>{"Setting", "Value"}));
    auto value = [&](const std::string& label) -> std::string {
        for (const auto& row : settings.rows) {
            if (row[0] == label) return row[1];
        }
        return "(missing)";
    };
    EXPECT_EQ(value("Indication Mode"), OptionWord(doc.codeplug().options, kOptIndication));
    EXPECT_EQ(value("Auto dialer M3"), "5551234");
    EXPECT_EQ(value("5-tone Self ID"), "54321");
    EXPECT_EQ(value("5-tone Tx Delay (ms)"), FiveToneDialog(doc, EnglishTexts()).Delay().text);
    EXPECT_EQ(value("2-tone Tone Pair"), TwoToneDialog(doc, EnglishTexts()).PairList().text);
    EXPECT_EQ(value("DTMF memory 8"), DtmfMemoryText(doc.codeplug().signalling.dtmfMemories[7]));
    for (const auto& row : settings.rows) EXPECT_NE(row[1], kOptionPlaceholder) << row[0];
}

TEST(PrintTable, EachSectionStartsAPageAndAPageHoldsAFixedNumberOfRows) {
    const std::size_t n = kPrintRowsPerPage;
    const struct {
        std::vector<std::size_t> sectionRows;
        std::vector<PrintPage> pages;
    } cases[] = {
        {{0}, {{0, 0, 0}}},
        {{n, 1}, {{0, 0, n}, {1, 0, 1}}},
        {{n + 1, 2 * n + 1}, {{0, 0, n}, {0, n, 1}, {1, 0, n}, {1, n, n}, {1, 2 * n, 1}}},
    };
    for (const auto& c : cases) {
        PrintTable table;
        for (const std::size_t rows : c.sectionRows) {
            table.sections.push_back(
                {"", {"a"}, std::vector<std::vector<std::string>>(rows, {"x"})});
        }
        EXPECT_EQ(PaginatePrintTable(table), c.pages) << c.sectionRows.size();
    }
}

struct ExportCase {
    const char* name;
    std::optional<std::string> chosen;  // relative to the temporary folder
    bool renders;
    bool written;
    const char* file;       // the file expected, "" none
    const char* errorPart;  // part of the error shown, "" none
};

TEST(PrintTable, ExportPdfWritesTheRenderedBytesWholeOrReportsWhy) {
    const ExportCase cases[] = {
        {"bare name gets .pdf", "list", true, true, "list.pdf", ""},
        {"extension kept", "list.PDF", true, true, "list.PDF", ""},
        {"cancelled", std::nullopt, true, false, "", ""},
        {"render fails", "list.pdf", false, false, "", "Cannot save"},
        {"folder missing", "no/such/list.pdf", true, false, "", "does not exist"},
    };
    const Document doc = LoadedDocument();
    for (const ExportCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ScriptedUi ui;
        ui.files.push_back(c.chosen ? std::optional((dir / *c.chosen).string()) : std::nullopt);
        int renders = 0;
        const bool written = ExportPdfCommand(
            doc, EnglishTexts(), "d", ui, [&](const PrintTable& table, std::string& error) {
                ++renders;
                EXPECT_EQ(table.header[2].second, "d");
                if (!c.renders) error = "the printer engine failed";
                return c.renders ? std::string("%PDF-1.4 bytes") : std::string();
            });
        EXPECT_EQ(written, c.written);
        EXPECT_EQ(renders, c.chosen ? 1 : 0);
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            files.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(files, *c.file ? std::vector<std::string>{c.file} : std::vector<std::string>{});
        if (*c.file) {
            EXPECT_EQ(ReadBytes(dir / c.file), "%PDF-1.4 bytes");
        }
        if (*c.errorPart) {
            ASSERT_EQ(ui.problems.size(), 1u);
            EXPECT_EQ(ui.problems[0].first, Severity::Error);
            EXPECT_NE(ui.problems[0].second.find(c.errorPart), std::string::npos)
                << ui.problems[0].second;
        } else {
            EXPECT_TRUE(ui.messages.empty());
        }
    }
}

}  // namespace
}  // namespace qx
