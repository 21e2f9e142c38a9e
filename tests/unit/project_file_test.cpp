#include "files/project_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "channels/channel_ops.h"
#include "document_builder.h"
#include "files/ton_file.h"
#include "temp_dir.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::DataFile;
using test::LoadedDocument;
using test::ReadBytes;
using test::ScriptedUi;
using test::WriteBytes;

constexpr const char* kRecordEnd = "\r\r\n";

std::string GoldenProject() { return ReadBytes(DataFile("fresh_model3.qx")); }
std::string GoldenTon() { return ReadBytes(DataFile("signalling.ton")); }
SignallingSettings GoldenSignalling() {
    const std::string bytes = GoldenTon();
    return *DecodeTonRecord(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

// The system's wording, which follows the user's language.
std::string NotFoundText() {
    return std::make_error_code(std::errc::no_such_file_or_directory).message();
}

std::vector<std::string> Records(const std::string& text) {
    std::vector<std::string> records;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(kRecordEnd, start);
        records.push_back(text.substr(start, end - start));
        start = end + 3;
    }
    return records;
}

std::string Joined(const std::vector<std::string>& records, const std::string& end = kRecordEnd) {
    std::string text;
    for (const std::string& record : records) text += record + end;
    return text;
}

void Activate(Document& doc, int row) {
    doc.Cell(row, kColStatus) = doc.texts.active;
    InitialSingleLine(doc, row);
}

// A document with something different from the defaults in every kind of row
// and record; `model` varies the values a little.
void FillVaried(Document& doc, int model) {
    const std::string frequency = doc.DefaultRow[kColRxFreq];
    Activate(doc, 5);
    const std::pair<int, std::string> channel4[] = {
        {kColName, "CH" + std::to_string(model)},
        {kColStep, "6.25"},
        {kColRxTone, "C:88.5"},
        {kColBandwidth, doc.texts.narrow},
        {kColPacMode, "on"},
        {kColDcsDetect, "on"},
        {kColScanSkip, doc.texts.scanSkipOn},
        {kColPriority, "07"},
        {kColTxTone, "D:023N"},
        {kColBcl, "on"},
        {kColAni, "on"},
        {kColShift, "on"},
        {kColOptSignal, "5Tone"},
    };
    for (const auto& [column, value] : channel4) doc.Cell(5, column) = value;
    doc.Table(5, kColSignalCode) = "3";
    doc.Table(5, kColSignalSubCode) = "1";

    doc.Table(11, kColName) = "\xC3\x9C\xE6\x97\xA5";  // UTF-8 passes through unchanged
    doc.Table(11, kColStep) = "25";
    doc.Table(11, kColRxFreq) = frequency;
    doc.Table(11, kColBandwidth) = "narrow";
    doc.Table(11, kColPriority) = "PL";
    doc.Table(11, kColOptSignal) = "DTMF";
    doc.Table(11, kColSignalCode) = std::to_string(model % 8);

    Activate(doc, kPlRow);
    doc.Cell(kPlRow, kColName) = "LOW";
    doc.Table(kPhRow, kColRxFreq) = frequency;
    doc.Cell(kCallRow, kColName) = "CALL";
    doc.Cell(kCallRow, kColBandwidth) = doc.texts.narrow;
    doc.Table(kCallRow, kColSignalCode) = "4";
    doc.Table(kCallRow, kColSignalSubCode) = "0";
    doc.Cell(kVfoRow, kColPriority) = "VFO";

    doc.strSetup =
        "setup|Channel|MR|7|5|Low|a|b|c|d|e|f|200ms|60ms|60ms|1750Hz|on|g|off|off|"
        "Enable|Timer|High|on|Lock|60W|1|" +
        std::to_string(model);
    doc.strAutoDial = "Ad|123|*#0||||||||";
    SignallingSettings& s = doc.signalling.live;
    s.dtmfMemories[2] = static_cast<std::int16_t>(model * 100);
    s.twoTone.time1 = static_cast<std::uint8_t>(model);
    s.twoTone.codes[10] = {1, 2, 3, 4, 5, 6};
    s.fiveTone.selfId = "54";
    s.fiveTone.selfIdLength = 2;
    s.fiveTone.codes[3] = {0, 2, 4, 9, "1E2E"};
    doc.bModify = true;
}

// A document unlike the fresh model-3 one, to open files into.
Document ChangedDocument(int model = 10) {
    Document doc = LoadedDocument(model);
    FillVaried(doc, model);
    Activate(doc, 20);
    doc.Table(50, kColSignalCode) = "9";
    return doc;
}

void ExpectSameChannelData(const Document& actual, const Document& expected,
                           const std::string& context) {
    for (int row = 0; row <= kRowCount; ++row) {
        for (int c = 0; c <= kColOptSignal; ++c) {
            EXPECT_EQ(actual.Cell(row, c), expected.Cell(row, c))
                << context << " grid row " << row << " column " << c;
        }
    }
    for (int row = 1; row <= kRowCount; ++row) {
        for (int c = kFirstFieldColumn; c <= kColSignalSubCode; ++c) {
            EXPECT_EQ(actual.Table(row, c), expected.Table(row, c))
                << context << " table row " << row << " column " << c;
        }
    }
}

class ProjectFile : public ::testing::Test {
  protected:
    test::TempDir dir_;
};

TEST_F(ProjectFile, SavingAFreshDocumentWritesTheGoldenFileAndItsCompanion) {
    Document doc = LoadedDocument(3);
    doc.bModify = true;
    const fs::path path = dir_ / "fresh.qx";
    WriteBytes(path, std::string(20000, 'x'));  // an older, longer file is replaced whole
    EXPECT_EQ(SaveProject(doc, path), "");
    EXPECT_EQ(ReadBytes(path), GoldenProject());
    const std::string ton = ReadBytes(dir_ / "fresh.ton");
    EXPECT_EQ(ton.size(), kTonRecordSize);
    EXPECT_EQ(DecodeTonRecord(std::vector<std::uint8_t>(ton.begin(), ton.end())),
              SignallingSettings{});
    EXPECT_EQ(doc.filename, path.string());
    EXPECT_FALSE(doc.bModify);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 2)
        << "no temporary file is left behind";
}

TEST_F(ProjectFile, OpeningTheGoldenFileGivesAFreshDocumentAndDefaultSignalling) {
    const fs::path path = dir_ / "golden.qx";
    WriteBytes(path, GoldenProject());
    Document doc = ChangedDocument();
    ScriptedUi ui;
    EXPECT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened);
    EXPECT_TRUE(ui.messages.empty());

    Document fresh = LoadedDocument(3);
    UpdateAllArray(fresh);
    ExpectSameChannelData(doc, fresh, "golden");
    EXPECT_EQ(doc.strSetup, kDefaultSetup);
    EXPECT_EQ(doc.strAutoDial, kDefaultAutoDial);
    EXPECT_EQ(doc.modelIndex, 3);
    EXPECT_EQ(doc.RowStep[70], "12.5") << "the model's defaults are derived anew";
    EXPECT_TRUE(doc.BeReadReshow);
    EXPECT_EQ(doc.signalling.live, SignallingSettings{}) << "a missing companion gives defaults";
    EXPECT_FALSE(fs::exists(dir_ / "golden.ton")) << "and is not created";
    EXPECT_EQ(doc.filename, path.string());
    EXPECT_EQ(doc.statusText, " Current File: " + path.string());
    EXPECT_FALSE(doc.bModify);
}

TEST_F(ProjectFile, EveryModelRoundTripsThroughSaveAndOpen) {
    for (int model = 0; model <= 31; ++model) {
        const std::string context = "model " + std::to_string(model);
        Document source = LoadedDocument(model);
        FillVaried(source, model);
        const fs::path path = dir_ / ("m" + std::to_string(model) + ".qx");
        ASSERT_EQ(SaveProject(source, path), "") << context;

        Document target = ChangedDocument(model == 3 ? 4 : 3);
        ScriptedUi ui;
        ASSERT_EQ(OpenProject(target, path, ui), OpenOutcome::Opened) << context;
        ExpectSameChannelData(target, source, context);
        EXPECT_EQ(target.strSetup, source.strSetup) << context;
        EXPECT_EQ(target.strAutoDial, source.strAutoDial) << context;
        EXPECT_EQ(target.modelIndex, model) << context;
        EXPECT_EQ(target.signalling.live, source.signalling.live) << context;

        const fs::path again = dir_ / ("again" + std::to_string(model) + ".qx");
        ASSERT_EQ(SaveProject(target, again), "") << context;
        EXPECT_EQ(ReadBytes(again), ReadBytes(path)) << context;
    }
}

TEST_F(ProjectFile, AnyLineEndReadsTheSame) {
    const fs::path golden = dir_ / "golden.qx";
    WriteBytes(golden, GoldenProject());
    Document expected = ChangedDocument();
    ScriptedUi ui;
    ASSERT_EQ(OpenProject(expected, golden, ui), OpenOutcome::Opened);

    for (const std::string end : {"\r\n", "\n", "\r", "\n\n\r\n"}) {
        const fs::path path = dir_ / "other.qx";
        WriteBytes(path, Joined(Records(GoldenProject()), end));
        Document doc = ChangedDocument();
        EXPECT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened);
        doc.filename = expected.filename;
        doc.statusText = expected.statusText;
        EXPECT_TRUE(doc == expected) << "line end of " << end.size() << " bytes";
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProjectFile, OnlyTheExactWordActiveMakesARowActive) {
    for (const std::string status : {"Active", "active", "ACTIVE", "Active ", "def"}) {
        std::vector<std::string> records = Records(GoldenProject());
        records[0] = "0|" + status +
                     "|N1|12.5|145.0000|off|narrow|off|off|off|off|145.0000|off|off|off|off|None|5|"
                     "def|";
        const fs::path path = dir_ / "status.qx";
        WriteBytes(path, Joined(records));
        Document doc = LoadedDocument(3);
        ScriptedUi ui;
        ASSERT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened);
        const bool active = status == "Active";
        EXPECT_EQ(doc.Cell(1, kColStatus), active ? "Active" : "Inactive") << status;
        EXPECT_EQ(doc.Cell(1, kColName), active ? "N1" : "---") << status;
        EXPECT_EQ(doc.Table(1, kColName), "N1") << status;
        EXPECT_EQ(doc.Table(1, kColBandwidth), "narrow") << status;
        EXPECT_EQ(doc.Table(1, kColSignalCode), "5") << status;
        EXPECT_EQ(doc.Table(1, kColSignalSubCode), "") << status;
    }
}

TEST_F(ProjectFile, BandwidthWordsAreTranslatedForChannelsButNotForCallChannelAndVfo) {
    Document doc = LoadedDocument(3);
    doc.texts.wide = "breit";
    doc.texts.narrow = "schmal";
    std::vector<std::string> records = Records(GoldenProject());
    records[1] =
        "1|Active|def|12.5|145.0000|off|narrow|off|off|off|off|145.0000|off|off|off|off|None|||";
    records[103] =
        "V|def|def|12.5|145.0000|off|narrow|off|off|off|off|145.0000|off|off|off|off|"
        "None|||";
    const fs::path path = dir_ / "bandwidth.qx";
    WriteBytes(path, Joined(records));
    ScriptedUi ui;
    ASSERT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened);
    EXPECT_EQ(doc.Cell(1, kColBandwidth), "breit");
    EXPECT_EQ(doc.Cell(2, kColBandwidth), "schmal");
    EXPECT_EQ(doc.Table(2, kColBandwidth), "narrow");
    EXPECT_EQ(doc.Cell(kCallRow, kColBandwidth), "wide");
    EXPECT_EQ(doc.Cell(kVfoRow, kColBandwidth), "narrow");

    // Saving writes the stored words again, whatever the grid shows.
    doc.Cell(kCallRow, kColBandwidth) = "schmal";
    ASSERT_EQ(SaveProject(doc, path), "");
    const std::vector<std::string> saved = Records(ReadBytes(path));
    EXPECT_EQ(saved[0], records[0]);
    EXPECT_EQ(saved[1], records[1]);
    EXPECT_EQ(
        saved[102],
        "C|def|def|12.5|145.0000|off|narrow|off|off|off|off|145.0000|off|off|off|off|None|||");
    EXPECT_EQ(saved[103], records[103]);
}

TEST_F(ProjectFile, AShortFileReplacesOnlyTheRowsItReaches) {
    Document doc = ChangedDocument(10);
    for (int row = 2; row <= 60; ++row) {
        Activate(doc, row);
        doc.Cell(row, kColName) = "K" + std::to_string(row);
    }
    const Document before = doc;
    std::vector<std::string> records = Records(GoldenProject());
    records.resize(50);
    const fs::path path = dir_ / "fifty.qx";
    WriteBytes(path, Joined(records));
    WriteBytes(dir_ / "fifty.ton", GoldenTon());

    ScriptedUi ui;
    ASSERT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened);
    const Document fresh = LoadedDocument(3);
    for (int row = 1; row <= 50; ++row) {
        for (int c = kColStatus; c <= kColOptSignal; ++c) {
            if (c == kColStep && row == 1) continue;  // the file's step, not model 10's
            EXPECT_EQ(doc.Cell(row, c), fresh.Cell(row, c)) << "row " << row << " column " << c;
        }
    }
    EXPECT_EQ(doc.Cell(1, kColStep), "12.5");
    for (int row = 51; row <= kRowCount; ++row) {
        for (int c = kColStatus; c <= kColOptSignal; ++c) {
            EXPECT_EQ(doc.Cell(row, c), before.Cell(row, c)) << "row " << row << " column " << c;
        }
    }
    EXPECT_EQ(doc.Cell(60, kColName), "K60");
    EXPECT_EQ(doc.strSetup, before.strSetup);
    EXPECT_EQ(doc.strAutoDial, before.strAutoDial);
    EXPECT_EQ(doc.modelIndex, 10);
    EXPECT_EQ(doc.signalling.live, GoldenSignalling());
    EXPECT_EQ(doc.filename, path.string());
    EXPECT_FALSE(doc.bModify);
}

TEST_F(ProjectFile, TheCompanionIsReadWholeOrReplacedByDefaults) {
    struct Case {
        std::string companion;
        bool expectGolden;
    };
    const std::string golden = GoldenTon();
    for (const Case& c : {Case{golden, true}, Case{golden + std::string(50, '\x7f'), true},
                          Case{golden.substr(0, kTonRecordSize - 1), false}, Case{"", false}}) {
        const fs::path path = dir_ / "c.qx";
        WriteBytes(path, GoldenProject());
        WriteBytes(dir_ / "c.ton", c.companion);
        Document doc = ChangedDocument();
        ScriptedUi ui;
        ASSERT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened);
        EXPECT_EQ(doc.signalling.live, c.expectGolden ? GoldenSignalling() : SignallingSettings{})
            << c.companion.size() << " bytes";
        EXPECT_EQ(ReadBytes(dir_ / "c.ton"), c.companion) << "the companion is only read";
    }
}

TEST_F(ProjectFile, AProjectNamedDataHasTheCompanionDaton) {
    Document doc = LoadedDocument(3);
    FillVaried(doc, 3);
    const fs::path path = dir_ / "data";
    ASSERT_EQ(SaveProject(doc, path), "");
    EXPECT_EQ(fs::file_size(dir_ / "daton"), kTonRecordSize);
    Document other = LoadedDocument(3);
    ScriptedUi ui;
    ASSERT_EQ(OpenProject(other, path, ui), OpenOutcome::Opened);
    EXPECT_EQ(other.signalling.live, doc.signalling.live);
}

TEST_F(ProjectFile, TheSizeLimitIsThirtyThousandBytes) {
    const std::string golden = GoldenProject();
    const fs::path path = dir_ / "big.qx";
    WriteBytes(dir_ / "big.ton", GoldenTon());

    // Empty lines do not count as records, so this file is still valid.
    WriteBytes(path, golden + std::string(kMaxProjectBytes - golden.size(), '\n'));
    Document doc = ChangedDocument();
    ScriptedUi ui;
    EXPECT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened);
    EXPECT_TRUE(ui.messages.empty());

    WriteBytes(path, golden + std::string(kMaxProjectBytes + 1 - golden.size(), '\n'));
    doc = ChangedDocument();
    Document expected = doc;
    expected.bModify = false;
    expected.signalling.live = GoldenSignalling();
    EXPECT_EQ(OpenProject(doc, path, ui), OpenOutcome::TooLarge);
    EXPECT_EQ(ui.messages, std::vector<std::string>{doc.texts.Message(9002)});
    EXPECT_TRUE(doc == expected) << "records untouched, companion read, bModify false";
}

TEST_F(ProjectFile, AMalformedOptionOrDialerRecordClearsTheDocument) {
    struct Case {
        const char* name;
        std::size_t record;  // 0-based
        std::string text;
        int message;
    };
    const Case cases[] = {
        {"option record short", 104, "setup|Frequency|VFO", 9004},
        {"option record long", 104, std::string(kDefaultSetup) + "|x", 9004},
        {"dialer record short", 105, "Ad||||||||", 9003},
        {"dialer record long", 105, "Ad|||||||||||", 9003},
    };
    for (const Case& c : cases) {
        std::vector<std::string> records = Records(GoldenProject());
        records[c.record] = c.text;
        records.push_back("200|");  // never reached: no error about 108 records
        const fs::path path = dir_ / "bad.qx";
        WriteBytes(path, Joined(records));
        WriteBytes(dir_ / "bad.ton", GoldenTon());
        Document doc = ChangedDocument();
        Document expected = doc;
        ClearAll(expected);
        ScriptedUi ui;
        EXPECT_EQ(OpenProject(doc, path, ui), OpenOutcome::Rejected) << c.name;
        EXPECT_EQ(ui.messages, std::vector<std::string>{doc.texts.Message(c.message)}) << c.name;
        EXPECT_TRUE(doc == expected) << c.name << ": cleared, companion not read";
    }
}

TEST_F(ProjectFile, AnInvalidFileLeavesTheDocumentExactlyAsItWas) {
    const fs::path path = dir_ / "bad.qx";
    const std::string quoted = "Cannot open \"" + path.string() + "\": ";
    struct Case {
        const char* name;
        std::function<void(std::vector<std::string>&)> change;
        std::string message;
    };
    std::vector<Case> cases = {
        {"short channel record", [](auto& r) { r[11] = "11|Inactive|def"; },
         quoted + "record 12 has 3 fields where 19 are needed."},
        {"short special record", [](auto& r) { r[103] = "V|def|def|12.5|145.0000|off"; },
         quoted + "record 104 has 6 fields where 19 are needed."},
        {"short record before a bad option record",
         [](auto& r) {
             r[40] = "40|Active";
             r[104] = "setup";
         },
         quoted + "record 41 has 2 fields where 19 are needed."},
        {"108 records", [](auto& r) { r.push_back("x"); },
         quoted + "it holds more than 107 records."},
    };
    for (const std::string model : {"45", "32", "-2", "3.5", ""}) {
        cases.push_back({"model", [model](auto& r) { r[106] = model + "|"; },
                         quoted + "record 107 holds the model index \"" + model +
                             "\", which is not a whole number from -1 to 31."});
    }
    WriteBytes(dir_ / "bad.ton", GoldenTon());
    for (const Case& c : cases) {
        std::vector<std::string> records = Records(GoldenProject());
        c.change(records);
        WriteBytes(path, Joined(records));
        Document doc = ChangedDocument();
        const Document before = doc;
        ScriptedUi ui;
        EXPECT_EQ(OpenProject(doc, path, ui), OpenOutcome::Failed) << c.name;
        EXPECT_EQ(ui.messages, std::vector<std::string>{c.message}) << c.name;
        EXPECT_TRUE(doc == before) << c.name;
    }

    Document doc = ChangedDocument();
    const Document before = doc;
    ScriptedUi ui;
    const fs::path missing = dir_ / "missing.qx";
    EXPECT_EQ(OpenProject(doc, missing, ui), OpenOutcome::Failed);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Cannot open \"" + missing.string() +
                                                    "\": " + NotFoundText() + "."});
    EXPECT_TRUE(doc == before);
}

TEST_F(ProjectFile, TheModelRangeEndsAreAccepted) {
    for (const int model : {-1, 31}) {
        std::vector<std::string> records = Records(GoldenProject());
        records[106] = std::to_string(model) + "|";
        const fs::path path = dir_ / "ends.qx";
        WriteBytes(path, Joined(records));
        Document doc = ChangedDocument();
        ScriptedUi ui;
        EXPECT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened) << model;
        EXPECT_EQ(doc.modelIndex, model);
        EXPECT_FALSE(doc.bModify);
    }
}

TEST_F(ProjectFile, AFailedSaveLeavesThePreviousFilesAndTheDocumentAsTheyWere) {
    Document doc = ChangedDocument();
    const Document before = doc;

    const fs::path nowhere = dir_ / "nowhere" / "a.qx";
    EXPECT_EQ(SaveProject(doc, nowhere), "Cannot save \"" + nowhere.string() + "\": the folder \"" +
                                             (dir_ / "nowhere").string() + "\" does not exist.");
    EXPECT_FALSE(fs::exists(dir_ / "nowhere"));

    // The companion cannot be replaced: the project file is not replaced either.
    const fs::path path = dir_ / "a.qx";
    WriteBytes(path, "previous");
    fs::create_directory(dir_ / "a.ton");
    EXPECT_EQ(SaveProject(doc, path),
              "Cannot save \"" + (dir_ / "a.ton").string() + "\": it is a folder.");
    EXPECT_EQ(ReadBytes(path), "previous");

    fs::create_directory(dir_ / "b.qx");
    EXPECT_EQ(SaveProject(doc, dir_ / "b.qx"),
              "Cannot save \"" + (dir_ / "b.qx").string() + "\": it is a folder.");

    EXPECT_EQ(doc.filename, before.filename);
    EXPECT_TRUE(doc.bModify);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 3)
        << "only a.qx, a.ton and b.qx: no temporary file is left behind";
}

TEST_F(ProjectFile, SaveCommandAsksForTheFileAndShowsFailures) {
    Document doc = ChangedDocument();
    ScriptedUi ui;
    EXPECT_FALSE(SaveCommand(doc, ui)) << "dialog cancelled";
    ui.files = {std::string()};
    EXPECT_FALSE(SaveCommand(doc, ui)) << "no name given";
    EXPECT_TRUE(doc.bModify);
    EXPECT_TRUE(ui.messages.empty());

    const fs::path nowhere = dir_ / "nowhere" / "a.qx";
    ui.files = {nowhere.string()};
    EXPECT_FALSE(SaveCommand(doc, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], SaveProject(doc, nowhere));

    ui.files = {(dir_ / "ok.qx").string()};
    EXPECT_TRUE(SaveCommand(doc, ui));
    EXPECT_TRUE(fs::exists(dir_ / "ok.ton"));
    EXPECT_FALSE(doc.bModify);
}

TEST_F(ProjectFile, OpenCommandOffersToSaveAndOpensEitherWay) {
    const fs::path golden = dir_ / "golden.qx";
    WriteBytes(golden, GoldenProject());
    const fs::path saved = dir_ / "saved.qx";
    struct Case {
        bool modified;
        Answer answer;
        bool expectQuestion;
        bool expectSaved;
    };
    for (const Case c :
         {Case{true, Answer::Ok, true, true}, Case{true, Answer::Cancel, true, false},
          Case{false, Answer::Ok, false, false}}) {
        fs::remove(saved);
        Document doc = ChangedDocument();
        doc.bModify = c.modified;
        ScriptedUi ui;
        ui.answers = {c.answer};
        if (c.expectSaved) ui.files.push_back(saved.string());
        ui.files.push_back(golden.string());
        EXPECT_EQ(OpenCommand(doc, ui), OpenOutcome::Opened);
        EXPECT_EQ(ui.questions.size(), c.expectQuestion ? 1u : 0u);
        if (c.expectQuestion) {
            EXPECT_EQ(ui.questions[0], doc.texts.Message(9001));
            EXPECT_EQ(ui.buttonsAsked[0], Buttons::OkCancel);
        }
        EXPECT_EQ(fs::exists(saved), c.expectSaved);
        EXPECT_EQ(doc.filename, golden.string());
    }

    Document doc = ChangedDocument();
    doc.bModify = false;
    const Document before = doc;
    ScriptedUi ui;
    EXPECT_EQ(OpenCommand(doc, ui), OpenOutcome::Cancelled);
    EXPECT_TRUE(doc == before);
}

}  // namespace
}  // namespace qx
