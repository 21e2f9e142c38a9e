// Importing a peer CSV channel list: the hand-written golden file to exact
// channels and summary lines, the robustness of the whole path with its
// exact messages, one undo step, and export -> import over the corpus.
#include "app/csv_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "codeplug/defaults.h"
#include "codeplug/models.h"
#include "codeplug/value_lists.h"
#include "document_builder.h"
#include "files/project_codec.h"
#include "temp_dir.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

fs::path CsvData(const std::string& name) {
    return fs::path(QX_SOURCE_DIR) / "tests" / "data" / "csv" / name;
}

const LanguageTexts& English() {
    static const LanguageTexts texts = test::EnglishTexts();
    return texts;
}

// The exported fields of a channel in one line.
std::string Fields(const Channel& ch) {
    return std::string(ch.inUse ? "" : "(off) ") + "\"" + ch.name + "\" " + ch.rx.ToString() + " " +
           ch.tx.ToString() + " tx " + ch.txTone.ToString() + " rx " + ch.rxTone.ToString() + " " +
           BandwidthWord(ch.bandwidth) + " " + StepText(ch.step) + (ch.scanSkip ? " skip" : "");
}

struct Expected {
    int line;
    int channel;         // -1: skipped
    std::string fields;  // Fields() of the channel
};

TEST(CsvImport, GoldenFileGivesExactChannels) {
    const Codeplug start = NewCodeplug(3);
    const CsvImportPlan plan = PlanCsvImport(start, ReadCsvFile(CsvData("import_model3.csv")));
    ASSERT_EQ(plan.fileIssue, CsvFileIssue::None);
    const std::vector<Expected> expected = {
        {2, 0, "\"SIMPLEX\" 146.52000 146.52000 tx off rx off wide 5"},
        {3, 1, "\"RPT1\" 146.94000 146.34000 tx C:100.0 rx off wide 5"},
        {4, 2, "\"RPT2\" 147.12500 147.72500 tx C:123.0 rx C:123.0 narrow 12.5"},
        {5, 3, "\"DCS1\" 145.50000 145.50000 tx D:023N rx D:023N wide 12.5 skip"},
        {6, 4, "\"DCS2\" 145.52500 145.52500 tx D:411N rx D:411I wide 12.5"},
        {7, 5, "\"DCS3\" 145.55000 145.55000 tx D:754I rx D:754N narrow 12.5"},
        {8, 6, "\"DCS4\" 145.57500 145.57500 tx D:125I rx D:125I wide 12.5"},
        {9, 7, "\"X1\" 146.01000 146.01000 tx C:71.9 rx C:162.2 wide 5"},
        {10, 8, "\"X2\" 146.02500 146.02500 tx C:151.4 rx D:065I wide 12.5"},
        {11, 9, "\"X3\" 146.05000 146.05000 tx D:114I rx C:203.5 wide 12.5"},
        {12, 10, "\"X4\" 146.07500 146.07500 tx off rx C:250.3 narrow 12.5 skip"},
        {13, 11, "\"X5\" 146.10000 146.10000 tx off rx D:743N wide 12.5"},
        {14, 12, "\"X6\" 146.12500 146.12500 tx D:606I rx off wide 12.5"},
        {15, 13, "\"X7\" 146.15000 146.15000 tx D:017I rx D:765I wide 12.5"},
        {16, 14, "\"SPLIT\" 145.80000 144.40000 tx off rx off wide 12.5"},
        {17, 15, "\"RXONLY\" 162.55000 162.55000 tx off rx off narrow 25"},
        {18, 16, "\"STEP625\" 145.00625 145.00625 tx off rx off wide 6.25"},
        {19, 17, "\"AIR833\" 136.00833 136.00833 tx off rx off wide 8.33"},
        {20, 18, "\"STEP10\" 146.01000 146.01000 tx off rx off wide 10"},
        {21, 19, "\"S15\" 146.45000 146.45000 tx off rx off wide 15"},
        {22, 20, "\"S20\" 146.46000 146.46000 tx off rx off wide 20"},
        {23, 21, "\"S30\" 146.48000 146.48000 tx off rx off wide 30"},
        {24, 22, "\"S50\" 146.50000 146.50000 tx off rx off narrow 50 skip"},
        {25, 23, "\"NOLOC\" 145.65000 145.65000 tx off rx off wide 12.5"},
        {26, 30, "\"KANSAS\" 146.70000 146.10000 tx C:88.5 rx off wide 5"},
        {27, 31, "\"ABC\" 146.72000 146.72000 tx off rx off wide 5"},
        {28, 32, "\"ROUND\" 146.93750 146.93750 tx off rx off wide 12.5"},
        {29, -1, ""},
        {30, -1, ""},
        {31, -1, ""},
        {32, -1, ""},
        {33, 36, "\"XBAND\" 146.00000 145.0000 tx off rx off wide 12.5"},
        {34, 37, "\"ODDSTEP\" 146.00000 146.00000 tx off rx off wide 12.5"},
        {35, 38, "\"LINETWO\" 146.85000 146.85000 tx off rx off wide 12.5"},
        {37, -1, ""},
        {38, -1, ""},
        {39, -1, ""},
        {40, -1, ""},
        {41, -1, ""},
    };
    ASSERT_EQ(plan.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const CsvPlannedRow& row = plan.rows[i];
        EXPECT_EQ(row.line, expected[i].line);
        EXPECT_EQ(row.channel, expected[i].channel) << "line " << row.line;
        if (row.channel >= 0) {
            EXPECT_EQ(Fields(plan.result.Memory(row.channel)), expected[i].fields)
                << "line " << row.line;
        }
    }
    // Nothing else changed.
    for (int number = 0; number < kChannelRows; ++number) {
        bool named = false;
        for (const auto& e : expected) named = named || e.channel == number;
        if (!named) {
            EXPECT_EQ(plan.result.Memory(number), start.Memory(number)) << number;
        }
    }
    EXPECT_EQ(plan.result.CallChannel(), start.CallChannel());
    EXPECT_EQ(plan.result.options, start.options);

    const std::vector<std::string> summary = {
        "Line 17, Duplex: changed, the radio cannot switch transmit off: Tx is the Rx frequency",
        "Line 26, Name: changed, the name \"Kansas\" is stored as \"KANSAS\"",
        "Line 27, Name: changed, the name \"A,B\"C\" is stored as \"ABC\"",
        "Line 28, Frequency: changed, 146.940000 MHz is not on the 12.5 kHz step: stored as "
        "146.93750 MHz",
        "Line 29, Mode: skipped, the radio cannot use the mode \"AM\"",
        "Line 30, rToneFreq: skipped, the tone \"69.4\" is not in the radio's list",
        "Line 31, Location: skipped, there is no channel 100 (0-99)",
        "Line 32, Frequency: skipped, 446.000000 MHz is outside the Rx band \"136 - 173.9950\"",
        "Line 33, Offset: changed, the Tx 440.000000 MHz is outside the Tx band \"136 - "
        "173.9950\": kept 145.0000 MHz",
        "Line 34, TStep: changed, the step 2.50 kHz is not in the radio's list: kept 12.5 kHz",
        "Line 35, Name: changed, the name \"LINE TWO\" is stored as \"LINETWO\"",
        "Line 37, Duplex: skipped, the duplex \"x\" is not known",
        "Line 38, DtcsPolarity: skipped, the polarity \"XY\" is not two of N and R",
        "Line 39, CrossMode: skipped, the cross mode \"Tone->Foo\" is not known",
        "Line 40, Frequency: skipped, \"abc\" is not a number",
        "Line 41: skipped, a quoted field is not closed",
        "30 imported (7 of them changed), 9 skipped",
    };
    EXPECT_EQ(CsvSummaryLines(plan, English()), summary);
    EXPECT_EQ(CsvSummaryLines(plan, LanguageTexts(QX_LANGUAGE_DIR, "chinese.ini")).back(),
              "已导入 30 个（其中 7 个有修改），跳过 9 个");
}

TEST(CsvImport, ApplyingIsOneUndoStep) {
    Document doc = test::LoadedDocument(3);
    doc.Change({}, [](Codeplug& c) {
        for (const int i : {3, 60}) PutInUse(c.Memory(i), c.model);
    });
    const Codeplug before = doc.codeplug();
    const CsvImportPlan plan =
        PlanCsvImport(doc.codeplug(), ReadCsvFile(CsvData("import_model3.csv")));
    EXPECT_EQ(ReplacedChannels(before, plan), (std::vector<int>{0, 3}));
    ASSERT_TRUE(ApplyCsvImport(doc, plan));
    EXPECT_EQ(doc.codeplug(), plan.result);
    EXPECT_TRUE(doc.Modified());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.codeplug(), before);
}

// Copied channels paste back from the current channel down, whatever
// Locations they carry; a spreadsheet's tab-separated cells, with or
// without the header, paste the same way.
TEST(CsvImport, CopiedChannelsPasteFromTheCurrentChannelDown) {
    Document doc = test::LoadedDocument(3);
    ASSERT_TRUE(ApplyCsvImport(
        doc, PlanCsvImport(doc.codeplug(), ReadCsvFile(CsvData("import_model3.csv")))));
    const Codeplug source = doc.codeplug();
    std::vector<int> copied;
    for (int i = 0; i < kChannelRows && copied.size() < 3; ++i) {
        if (source.Memory(i).inUse) copied.push_back(i);
    }
    ASSERT_EQ(copied.size(), 3u);
    const std::string text = CopiedChannelsText(source, copied);

    const CsvImportPlan plan = PlanPaste(test::LoadedDocument(3).codeplug(), text, 97);
    EXPECT_EQ(plan.imported, 3);
    EXPECT_EQ(plan.skipped, 0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(Fields(plan.result.Memory(97 + k)), Fields(source.Memory(copied[k]))) << k;
    }
    EXPECT_EQ(PlanPaste(source, text, 98).skipped, 1) << "no channel after 99";

    // Tab-separated cells in the full header's column order, without a header.
    std::string cells;
    for (char c : text.substr(text.find('\n') + 1)) cells += c == ',' ? '\t' : c;
    const CsvImportPlan tabs = PlanPaste(source, cells, 10);
    EXPECT_EQ(tabs.imported, 3);
    EXPECT_EQ(Fields(tabs.result.Memory(12)), Fields(source.Memory(copied[2])));
}

// qxprog's own copy carries every field, signal codes and priority
// included; it pastes only into a document of the same model.
TEST(CsvImport, CopiedRecordsPasteEveryFieldBack) {
    Document doc = test::LoadedDocument(3);
    doc.Change({}, [](Codeplug& c) {
        for (const int i : {4, 6}) PutInUse(c.Memory(i), c.model);
        c.Memory(4).name = "RPT";
        c.Memory(4).pacMode = c.Memory(4).ani = true;
        c.Memory(4).priority = *Priority::Parse("06");
        c.Memory(4).signal = {SignalKind::FiveTone, 7, 2};
        c.Memory(6).tx = *Frequency::Parse("145.60000");
    });
    const Codeplug source = doc.codeplug();
    const std::string records = CopiedChannelsRecords(source, {6, 5, 4});

    const std::optional<CsvImportPlan> plan = PlanRecordsPaste(source, records, 97);
    ASSERT_TRUE(plan.has_value());
    EXPECT_EQ(plan->result.Memory(97), source.Memory(4));
    EXPECT_EQ(plan->result.Memory(98), source.Memory(6)) << "channel 5 is not in use";
    EXPECT_EQ(plan->result.Memory(99), source.Memory(99));
    EXPECT_EQ(std::make_tuple(plan->imported, plan->skipped), std::make_tuple(2, 0));
    const std::optional<CsvImportPlan> late = PlanRecordsPaste(source, records, 99);
    ASSERT_TRUE(late.has_value());
    EXPECT_EQ(std::make_tuple(late->imported, late->skipped), std::make_tuple(1, 1));

    Codeplug otherModel = source;
    otherModel.model = 5;
    EXPECT_FALSE(PlanRecordsPaste(otherModel, records, 0).has_value());
    for (const char* junk :
         {"", "qxprog channels|3|", "qxprog channels|3|\r\n0|on|x|\r\n", "Location,Name\r\n"}) {
        EXPECT_FALSE(PlanRecordsPaste(source, junk, 0).has_value()) << junk;
    }
}

TEST(CsvImport, AChannelInUseKeepsWhatTheFormatDoesNotCarry) {
    Codeplug start = NewCodeplug(3);
    Channel& used = start.Memory(5);
    PutInUse(used, 3);
    used.pacMode = used.dcsDetect = used.bcl = used.ani = used.shift = true;
    used.priority = Priority::OfChannel(0);
    used.signal = {SignalKind::TwoTone, 4, std::nullopt};
    used.step = Step::k5;
    used.bandwidth = Bandwidth::Narrow;
    // Not in use, with old values: takes the defaults first.
    Channel& old = start.Memory(6);
    old = used;
    old.inUse = false;
    const CsvImportPlan plan =
        PlanCsvImport(start, ReadCsv("Location,Frequency\n5,146.52\n6,146.525\n"));
    const Channel& five = plan.result.Memory(5);
    EXPECT_EQ(Fields(five), "\"\" 146.52000 146.52000 tx off rx off narrow 5");
    EXPECT_TRUE(five.pacMode && five.dcsDetect && five.bcl && five.ani && five.shift);
    EXPECT_EQ(five.priority, Priority::OfChannel(0));
    EXPECT_EQ(five.signal, used.signal);
    Channel six = DefaultChannel(3);
    six.inUse = true;
    six.rx = six.tx = *Frequency::Parse("146.52500");
    six.signal.code = 4;  // the signal codes stay, as switching a channel on keeps them
    EXPECT_EQ(plan.result.Memory(6), six);
}

TEST(CsvImport, RowsWithoutLocationTakeTheFreeChannelsNoRowNames) {
    Codeplug start = NewCodeplug(3);  // channel 0 in use
    const CsvImportPlan plan =
        PlanCsvImport(start, ReadCsv("Location,Frequency\n,146.52\n1,146.54\n,146.56\n"));
    ASSERT_EQ(plan.rows.size(), 3u);
    EXPECT_EQ(plan.rows[0].channel, 2);
    EXPECT_EQ(plan.rows[1].channel, 1);
    EXPECT_EQ(plan.rows[2].channel, 3);

    for (int i = 0; i < kChannelRows; ++i) PutInUse(start.Memory(i), 3);
    const CsvImportPlan full = PlanCsvImport(start, ReadCsv("Frequency\n146.52\n"));
    EXPECT_EQ(CsvSummaryLines(full, English()),
              (std::vector<std::string>{"Line 2, Location: skipped, no free channel is left",
                                        "0 imported (0 of them changed), 1 skipped"}));
}

TEST(CsvImport, NamesTakeTheEditorsCharacters) {
    EXPECT_EQ(ImportedName("Ab-c"), "AB-C");         // as typed: upper case
    EXPECT_EQ(ImportedName("pod"), "pod");           // every character is a name character
    EXPECT_EQ(ImportedName("Main St."), "MAIN ST");  // "." dropped, at most seven
    EXPECT_EQ(ImportedName("中文AB"), "AB");
}

struct RobustCase {
    std::string name;
    std::string text;  // the file's bytes
    std::vector<std::string> summary;
    std::vector<std::string> channels;  // "number: Fields()" of the imported channels
};

TEST(CsvImport, RobustnessTable) {
    const std::string header =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";
    const std::string row = "1,ONE,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,";
    const std::string one = "1: \"ONE\" 146.52000 146.52000 tx off rx off wide 5";
    const std::string imported = "1 imported (0 of them changed), 0 skipped";
    const std::vector<RobustCase> cases = {
        {"byte-order mark", "\xEF\xBB\xBF" + header + "\n" + row + "\n", {imported}, {one}},
        {"CR LF", header + "\r\n" + row + "\r\n", {imported}, {one}},
        {"no line end at the end", header + "\n" + row, {imported}, {one}},
        {"quoted comma, quote, line break",
         "Location,Name,Frequency\r\n1,\"A,\"\"B\"\"\r\nC\",146.525\r\n",
         {"Line 2, Name: changed, the name \"A,\"B\"  C\" is stored as \"ABC\"",
          "1 imported (1 of them changed), 0 skipped"},
         {"1: \"ABC\" 146.52500 146.52500 tx off rx off wide 12.5"}},
        {"columns in another order",
         "Tone,Frequency,Name,Location,rToneFreq,Mode\n"
         "Tone,146.525,ONE,1,100.0,NFM\n",
         {imported},
         {"1: \"ONE\" 146.52500 146.52500 tx C:100.0 rx off narrow 12.5"}},
        {"missing optional columns",
         "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
         "Mode,TStep,Skip\n"
         "1,ONE,146.52,,0,DTCS,88.5,88.5,047,NR,FM,5.00,S\n"
         "2,TWO,146.54,,0,Cross,100.0,123.0,023,NN,NFM,5.00,\n",
         {"2 imported (0 of them changed), 0 skipped"},
         {"1: \"ONE\" 146.52000 146.52000 tx D:047N rx D:047I wide 5 skip",
          "2: \"TWO\" 146.54000 146.54000 tx C:100.0 rx C:123.0 narrow 5"}},
        {"unknown columns ignored",
         "Location,Colour,Frequency,Name,Power,Comment\n1,red,146.525,ONE,50W,\"home, sweet\"\n",
         {imported},
         {"1: \"ONE\" 146.52500 146.52500 tx off rx off wide 12.5"}},
        {"empty lines", "\n" + header + "\n\n" + row + "\n\n\n", {imported}, {one}},
        {"a header only",
         header + "\r\n",
         {"The file holds no channels.", "0 imported (0 of them changed), 0 skipped"},
         {}},
        {"an empty file",
         "",
         {"The first line is not a header with a Frequency column. Nothing was imported."},
         {}},
        {"no header",
         row + "\n",
         {"The first line is not a header with a Frequency column. Nothing was imported."},
         {}},
        {"a binary file",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         {"The file is not a text file. Nothing was imported."},
         {}},
        {"a row shorter than the header",
         header + "\n1,ONE,146.525\n",
         {imported},
         {"1: \"ONE\" 146.52500 146.52500 tx off rx off wide 12.5"}},
    };
    test::TempDir dir;
    for (const RobustCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteBytes(dir / "in.csv", c.text);
        Document doc = test::LoadedDocument(3);
        const Codeplug before = doc.codeplug();
        const CsvImportPlan plan = PlanCsvImport(doc.codeplug(), ReadCsvFile(dir / "in.csv"));
        EXPECT_EQ(CsvSummaryLines(plan, English()), c.summary);
        ApplyCsvImport(doc, plan);
        std::vector<std::string> channels;
        for (int number = 1; number < kChannelRows; ++number) {
            if (doc.codeplug().Memory(number) != before.Memory(number))
                channels.push_back(std::to_string(number) + ": " +
                                   Fields(doc.codeplug().Memory(number)));
        }
        EXPECT_EQ(channels, c.channels);
        if (c.channels.empty()) {
            EXPECT_FALSE(doc.CanUndo());
        }
    }
}

// The File menu's import reviews a plan only when it has rows; the export
// writes the file whole, with ".csv" added to a bare name.
TEST(CsvImport, TheFileCommandsReviewThenImportAndExport) {
    test::TempDir dir;
    test::WriteBytes(dir / "binary.csv", std::string("\x7F"
                                                     "ELF\0\0",
                                                     6));
    test::WriteBytes(dir / "header.csv", "Location,Name,Frequency\r\n");
    struct Case {
        const char* file;
        bool answer;
        std::vector<std::string> messages;
        bool reviewed;
        bool changed;
    };
    for (const Case& c : {
             Case{"binary.csv",
                  true,
                  {"The file is not a text file. Nothing was imported."},
                  false,
                  false},
             Case{"header.csv", true, {"The file holds no channels."}, false, false},
             Case{"import_model3.csv", false, {}, true, false},
             Case{"import_model3.csv", true, {}, true, true},
         }) {
        SCOPED_TRACE(std::string(c.file) + (c.answer ? " OK" : " Cancel"));
        Document doc = test::LoadedDocument(3);
        const Codeplug before = doc.codeplug();
        test::ScriptedUi ui;
        const fs::path file = fs::exists(dir / c.file) ? dir / c.file : CsvData(c.file);
        ui.files.push_back(file.string());
        bool reviewed = false;
        const bool imported =
            ImportCsvCommand(doc, ui, English(), [&](const CsvImportPlan&, const auto& summary) {
                reviewed = true;
                EXPECT_EQ(summary.back(), "30 imported (7 of them changed), 9 skipped");
                return c.answer;
            });
        EXPECT_EQ(ui.messages, c.messages);
        EXPECT_EQ(reviewed, c.reviewed);
        EXPECT_EQ(imported, c.changed);
        EXPECT_EQ(doc.codeplug() != before, c.changed);
        if (c.changed) {
            EXPECT_EQ(doc.UndoStep()->kind, StepKind::ImportChannels);
        }
    }

    Document doc = test::LoadedDocument(3);
    test::ScriptedUi ui;
    ui.files.push_back((dir / "list").string());
    ASSERT_TRUE(ExportCsvCommand(doc, ui));
    EXPECT_EQ(test::ReadBytes(dir / "list.csv"), WriteCsv(doc.codeplug()));
}

TEST(CsvImport, AHugeFileIsRefusedWithItsSizeAndTheDocumentStays) {
    test::TempDir dir;
    const auto big = dir / "big.csv";
    test::WriteBytes(big, "Frequency\n");
    fs::resize_file(big, 50u * 1024 * 1024);
    Document doc = test::LoadedDocument(3);
    const CsvImportPlan plan = PlanCsvImport(doc.codeplug(), ReadCsvFile(big));
    EXPECT_EQ(CsvSummaryLines(plan, English()),
              (std::vector<std::string>{"The file has 52428800 bytes, more than a channel list "
                                        "can have (4194304). Nothing was imported."}));
    EXPECT_FALSE(ApplyCsvImport(doc, plan));
    EXPECT_FALSE(doc.CanUndo());
}

// Export then import into a new codeplug of the same model gives the same
// channels in the exported fields, as typing them would store them: on the
// channel's step, a Tx outside the Tx band not taken, the name as the editor
// takes it.
TEST(CsvImport, ExportThenImportGivesTheChannelsBackOverTheCorpus) {
    const fs::path corpus = fs::path(QX_SOURCE_DIR) / "tests" / "data" / "corpus";
    int projects = 0;
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        const std::string file = entry.path().filename().string();
        if (entry.path().extension() != ".qx" || file.find(".decoded") != std::string::npos)
            continue;
        fs::path ton = entry.path();
        ton.replace_extension(".ton");
        const std::string qx = test::ReadBytes(entry.path());
        const std::string tonBytes = test::ReadBytes(ton);
        const ProjectDecoding decoded =
            DecodeProject(qx, std::vector<std::uint8_t>(tonBytes.begin(), tonBytes.end()),
                          NewCodeplug(kStartModel));
        if (decoded.status != ProjectReadStatus::Read) continue;
        ++projects;
        const Codeplug& original = decoded.codeplug;
        const ModelInfo* model = ModelAt(original.model);
        ASSERT_NE(model, nullptr) << file;
        const CsvImportPlan plan =
            PlanCsvImport(NewCodeplug(original.model), ReadCsv(WriteCsv(original)));
        ASSERT_EQ(plan.fileIssue, CsvFileIssue::None) << file;
        const auto inBand = [](const Band& band, const Frequency& f) {
            return band.Contains(*ParseDecimal(f.ToString()));
        };
        for (const CsvPlannedRow& row : plan.rows) {
            if (row.channel < 0) continue;
            const Channel& was = original.Memory(row.channel);
            const Channel& now = plan.result.Memory(row.channel);
            ASSERT_TRUE(was.inUse) << file << " " << row.channel;
            SCOPED_TRACE(file + " channel " + std::to_string(row.channel));
            ++compared;
            EXPECT_EQ(now.name, ImportedName(was.name));
            EXPECT_EQ(now.step, was.step);
            EXPECT_EQ(now.rx.Hz(), was.rx.RoundedTo(was.step).Hz());
            if (inBand(model->tx, was.tx)) {
                EXPECT_EQ(now.tx.Hz(), was.tx.RoundedTo(was.step).Hz());
            } else {
                EXPECT_EQ(now.tx, DefaultChannel(original.model).tx);
            }
            const Tone dcsOff = Tone::Dcs(static_cast<int>(DcsList().size()) - 1);
            EXPECT_EQ(now.txTone, was.txTone == dcsOff ? Tone() : was.txTone);
            EXPECT_EQ(now.rxTone, was.rxTone == dcsOff ? Tone() : was.rxTone);
            EXPECT_EQ(now.bandwidth, was.bandwidth);
            EXPECT_EQ(now.scanSkip, was.scanSkip);
        }
        // Every channel in use was exported; only an Rx outside the band is skipped.
        for (const CsvPlannedRow& row : plan.rows) {
            if (row.channel >= 0) continue;
            ASSERT_FALSE(row.notes.empty());
            EXPECT_EQ(row.notes.back().kind, CsvNoteKind::RxOutOfBand) << file;
        }
    }
    EXPECT_GT(projects, 50);
    EXPECT_GT(compared, 1000);
}

}  // namespace
}  // namespace qx
