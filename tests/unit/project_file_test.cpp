#include "files/project_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <tuple>

#include "channels/channel_ops.h"
#include "document_builder.h"
#include "files/ton_file.h"
#include "temp_dir.h"
#include "util/text.h"

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

// Puts a row into use with the defaults, then sets grid cells Name .. OptSignal
// and table cells SignalCode, SignalSubCode from "|"-separated texts; an empty
// text is left alone.
void Activate(Document& doc, int row, const std::string& cells = "") {
    doc.Cell(row, kColStatus) = doc.texts.active;
    InitialSingleLine(doc, row);
    const auto texts = Split(cells, '|');
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int c = kColName + static_cast<int>(i);
        if (!texts[i].empty())
            (c <= kColOptSignal ? doc.Cell(row, c) : doc.Table(row, c)) = texts[i];
    }
}

// Something different from the defaults in every kind of row and record;
// `model` varies the values a little.
void FillVaried(Document& doc, int model) {
    const std::string m = std::to_string(model);
    Activate(doc, 5, "CH" + m + "|6.25||C:88.5|narrow|on|on|on|07||D:023N|on|on|on|5Tone|3|1");
    // An inactive channel keeps its values in the table; UTF-8 passes unchanged.
    const auto channel10 = Split("\xC3\x9C\xE6\x97\xA5|25|146.0000||narrow||||PL||||||DTMF|" +
                                     std::to_string(model % 8) + "|",
                                 '|');
    for (int c = kColName; c <= kColSignalSubCode; ++c) doc.Table(11, c) = channel10.at(c - 2);
    Activate(doc, kPlRow, "LOW");
    doc.Table(kPhRow, kColRxFreq) = "146.0000";
    doc.Cell(kCallRow, kColName) = "CALL";
    doc.Cell(kCallRow, kColBandwidth) = "narrow";
    doc.Table(kCallRow, kColSignalCode) = "4";
    doc.Table(kCallRow, kColSignalSubCode) = "0";
    doc.Cell(kVfoRow, kColPriority) = "VFO";

    doc.strSetup =
        "setup|Channel|MR|7|5|Low|a|b|c|d|e|f|200ms|60ms|60ms|1750Hz|on|g|off|off|"
        "Enable|Timer|High|on|Lock|60W|1|" +
        m;
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

// Grid and table agree, the table's informational status aside.
void ExpectSameChannelData(const Document& actual, Document expected, const std::string& context) {
    for (int row = 1; row <= kRowCount; ++row) {
        expected.Table(row, kColStatus) = actual.Table(row, kColStatus);
    }
    EXPECT_TRUE(actual.grid == expected.grid) << context;
    EXPECT_TRUE(actual.table == expected.table) << context;
}

class ProjectFile : public ::testing::Test {
  protected:
    // Writes the golden project with `change` applied to its records.
    fs::path Golden(const std::string& name,
                    const std::function<void(std::vector<std::string>&)>& change = nullptr) {
        std::vector<std::string> records = Records(GoldenProject());
        if (change) change(records);
        WriteBytes(dir_ / name, Joined(records));
        return dir_ / name;
    }
    // Opens `path` into ChangedDocument(into) and checks the outcome and messages.
    Document Open(const fs::path& path, OpenOutcome outcome = OpenOutcome::Opened,
                  const std::string& message = "", int into = 10) {
        Document doc = ChangedDocument(into);
        ScriptedUi ui;
        EXPECT_EQ(OpenProject(doc, path, ui), outcome) << message;
        EXPECT_EQ(ui.messages,
                  message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
        return doc;
    }
    std::ptrdiff_t FileCount() const {
        return std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator());
    }
    test::TempDir dir_;
};

TEST_F(ProjectFile, AFreshDocumentSavesAsTheGoldenFileAndOpensBackFromIt) {
    Document doc = LoadedDocument(3);
    doc.bModify = true;
    const fs::path path = dir_ / "fresh.qx";
    WriteBytes(path, std::string(20000, 'x'));  // an older, longer file is replaced whole
    EXPECT_EQ(SaveProject(doc, path), "");
    EXPECT_EQ(ReadBytes(path), GoldenProject());
    const std::string written = ReadBytes(dir_ / "fresh.ton");
    EXPECT_EQ(DecodeTonRecord(std::vector<std::uint8_t>(written.begin(), written.end())),
              SignallingSettings{});
    EXPECT_EQ(doc.filename, path.string());
    EXPECT_EQ(doc.statusText, " Current File: " + path.string());
    EXPECT_FALSE(doc.bModify);
    EXPECT_EQ(FileCount(), 2) << "no temporary file is left behind";

    const fs::path golden = Golden("golden.qx");
    const Document opened = Open(golden);
    Document fresh = LoadedDocument(3);
    UpdateAllArray(fresh);
    ExpectSameChannelData(opened, fresh, "golden");
    EXPECT_EQ(opened.strSetup, kDefaultSetup);
    EXPECT_EQ(opened.strAutoDial, kDefaultAutoDial);
    EXPECT_EQ(opened.modelIndex, 3);
    EXPECT_EQ(opened.RowStep[70], "12.5") << "the model's defaults are derived anew";
    EXPECT_TRUE(opened.BeReadReshow);
    EXPECT_EQ(opened.signalling.live, SignallingSettings{}) << "a missing companion: defaults";
    EXPECT_FALSE(fs::exists(dir_ / "golden.ton")) << "and it is not created";
    EXPECT_EQ(opened.filename, golden.string());
    EXPECT_EQ(opened.statusText, " Current File: " + golden.string());
    EXPECT_FALSE(opened.bModify);

    // Any line end reads the same.
    for (const std::string end : {"\r\n", "\n", "\r", "\n\n\r\n"}) {
        WriteBytes(golden, Joined(Records(GoldenProject()), end));
        EXPECT_TRUE(Open(golden) == opened) << "line end of " << end.size() << " bytes";
    }
    // The companion is read whole, or replaced by the defaults; it is only read.
    const std::string ton = GoldenTon();
    for (const auto& [companion, whole] :
         std::vector<std::pair<std::string, bool>>{{ton, true},
                                                   {ton + std::string(50, '\x7f'), true},
                                                   {ton.substr(0, kTonRecordSize - 1), false},
                                                   {"", false}}) {
        WriteBytes(dir_ / "golden.ton", companion);
        EXPECT_EQ(Open(golden).signalling.live, whole ? GoldenSignalling() : SignallingSettings{})
            << companion.size() << " bytes";
        EXPECT_EQ(ReadBytes(dir_ / "golden.ton"), companion);
    }
}

TEST_F(ProjectFile, EveryModelRoundTripsThroughSaveAndOpen) {
    for (int model = 0; model <= 31; ++model) {
        const std::string context = "model " + std::to_string(model);
        Document source = LoadedDocument(model);
        FillVaried(source, model);
        // Model 7 goes to "data", whose companion is "daton".
        const fs::path path = dir_ / (model == 7 ? "data" : "m" + std::to_string(model) + ".qx");
        ASSERT_EQ(SaveProject(source, path), "") << context;

        Document target = Open(path, OpenOutcome::Opened, "", model == 3 ? 4 : 3);
        ExpectSameChannelData(target, source, context);
        EXPECT_EQ(target.strSetup, source.strSetup) << context;
        EXPECT_EQ(target.strAutoDial, source.strAutoDial) << context;
        EXPECT_EQ(target.modelIndex, model) << context;
        EXPECT_EQ(target.signalling.live, source.signalling.live) << context;

        const fs::path again = dir_ / ("again" + std::to_string(model) + ".qx");
        ASSERT_EQ(SaveProject(target, again), "") << context;
        EXPECT_EQ(ReadBytes(again), ReadBytes(path)) << context;
    }
    EXPECT_EQ(fs::file_size(dir_ / "daton"), kTonRecordSize);
}

TEST_F(ProjectFile, OnlyTheExactWordActiveMakesARowActive) {
    for (const std::string status : {"Active", "active", "ACTIVE", "Active ", "def"}) {
        const fs::path path = Golden("status.qx", [&](auto& r) {
            r[0] = "0|" + status +
                   "|N1|12.5|145.0000|off|narrow|off|off|off|off|145.0000|off|off|off|off|None|5|"
                   "def|";
        });
        const Document doc = Open(path);
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
    const std::string fields =
        "|12.5|145.0000|off|narrow|off|off|off|off|145.0000|off|off|off|off|None|||";
    std::vector<std::string> records;
    const fs::path path = Golden("bandwidth.qx", [&](auto& r) {
        r[1] = "1|Active|def" + fields;
        r[103] = "V|def|def" + fields;
        records = r;
    });
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
    EXPECT_EQ(saved[102], "C|def|def" + fields);
    EXPECT_EQ(saved[103], records[103]);
}

TEST_F(ProjectFile, AShortFileReplacesOnlyTheRowsItReaches) {
    Document doc = ChangedDocument(10);
    for (int row = 2; row <= 60; ++row) {
        Activate(doc, row);
        doc.Cell(row, kColName) = "K" + std::to_string(row);
    }
    const Document before = doc;
    const fs::path path = Golden("fifty.qx", [](auto& r) { r.resize(50); });
    WriteBytes(dir_ / "fifty.ton", GoldenTon());

    ScriptedUi ui;
    ASSERT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened);
    const Document fresh = LoadedDocument(3);
    for (int row = 1; row <= kRowCount; ++row) {
        for (int c = kColStatus; c <= kColOptSignal; ++c) {
            if (c == kColStep && row == 1) continue;  // the file's 12.5, not model 10's
            EXPECT_EQ(doc.Cell(row, c), (row <= 50 ? fresh : before).Cell(row, c))
                << "row " << row << " column " << c;
        }
    }
    EXPECT_EQ(doc.Cell(1, kColStep), "12.5");
    EXPECT_EQ(doc.strSetup, before.strSetup);
    EXPECT_EQ(doc.strAutoDial, before.strAutoDial);
    EXPECT_EQ(doc.modelIndex, 10);
    EXPECT_EQ(doc.signalling.live, GoldenSignalling());
    EXPECT_EQ(doc.filename, path.string());
    EXPECT_FALSE(doc.bModify);
}

TEST_F(ProjectFile, EveryOpenOutcomeAndWhatItLeaves) {
    const std::string golden = GoldenProject();
    const DocumentTexts texts = LoadedDocument().texts;
    const std::string quoted = "Cannot open \"" + (dir_ / "bad.qx").string() + "\": ";
    using Change = std::function<void(std::vector<std::string>&)>;
    const auto set = [](std::size_t record, const std::string& text) -> Change {
        return [=](auto& r) { r[record] = text; };
    };
    // A bad option or dialer record is found before the record count: 108 records.
    const auto malformed = [](std::size_t record, const std::string& text) -> Change {
        return [=](auto& r) {
            r[record] = text;
            r.push_back("200|");
        };
    };
    // Empty lines up to a file size: they do not count as records.
    const auto sized = [&](std::size_t size) -> Change {
        return [=](auto& r) { r.push_back(std::string(size - golden.size() - 3, '\n')); };
    };
    struct Case {
        Change change;
        OpenOutcome outcome;
        std::string message;  // "" for none
        int model = 3;        // of an opened file
    };
    std::vector<Case> cases = {
        {sized(kMaxProjectBytes), OpenOutcome::Opened, ""},
        {sized(kMaxProjectBytes + 1), OpenOutcome::TooLarge, texts.Message(9002)},
        {malformed(104, "setup|Frequency|VFO"), OpenOutcome::Rejected, texts.Message(9004)},
        {malformed(104, std::string(kDefaultSetup) + "|x"), OpenOutcome::Rejected,
         texts.Message(9004)},
        {malformed(105, "Ad||||||||"), OpenOutcome::Rejected, texts.Message(9003)},
        {malformed(105, "Ad|||||||||||"), OpenOutcome::Rejected, texts.Message(9003)},
        {set(11, "11|Inactive|def"), OpenOutcome::Failed,
         quoted + "record 12 has 3 fields where 19 are needed."},
        {set(103, "V|def|def|12.5|145.0000|off"), OpenOutcome::Failed,
         quoted + "record 104 has 6 fields where 19 are needed."},
        {[](auto& r) {
             r[40] = "40|Active";
             r[104] = "setup";
         },
         OpenOutcome::Failed, quoted + "record 41 has 2 fields where 19 are needed."},
        {[](auto& r) { r.push_back("x"); }, OpenOutcome::Failed,
         quoted + "it holds more than 107 records."},
        {set(106, "-1|"), OpenOutcome::Opened, "", -1},
        {set(106, "31|"), OpenOutcome::Opened, "", 31}};
    for (const std::string model : {"45", "32", "-2", "3.5", ""}) {
        cases.push_back({set(106, model + "|"), OpenOutcome::Failed,
                         quoted + "record 107 holds the model index \"" + model +
                             "\", which is not a whole number from -1 to 31."});
    }
    WriteBytes(dir_ / "bad.ton", GoldenTon());
    for (const Case& c : cases) {
        Document expected = ChangedDocument();                       // Failed: exactly as it was
        if (c.outcome == OpenOutcome::Rejected) ClearAll(expected);  // companion not read
        if (c.outcome == OpenOutcome::TooLarge) {  // records untouched, companion read
            expected.bModify = false;
            expected.signalling.live = GoldenSignalling();
        }
        const Document doc = Open(Golden("bad.qx", c.change), c.outcome, c.message);
        if (c.outcome != OpenOutcome::Opened) {
            EXPECT_TRUE(doc == expected) << c.message;
        } else {
            EXPECT_EQ(doc.modelIndex, c.model);
            EXPECT_FALSE(doc.bModify);
        }
    }

    const fs::path missing = dir_ / "missing.qx";
    EXPECT_TRUE(Open(missing, OpenOutcome::Failed,
                     "Cannot open \"" + missing.string() + "\": " +
                         std::make_error_code(std::errc::no_such_file_or_directory).message() +
                         ".") == ChangedDocument());
}

TEST_F(ProjectFile, AFailedSaveLeavesThePreviousFilesAndTheDocumentAsTheyWereAndIsShown) {
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
    EXPECT_EQ(FileCount(), 3) << "only a.qx, a.ton and b.qx: no temporary file is left behind";

    // The Save command: no file chosen, no name, a failure shown, then a save.
    ScriptedUi ui;
    ui.files = {std::nullopt, std::string(), nowhere.string(), (dir_ / "ok.qx").string()};
    EXPECT_FALSE(SaveCommand(doc, ui));
    EXPECT_FALSE(SaveCommand(doc, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(SaveCommand(doc, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{SaveProject(doc, nowhere)});
    EXPECT_TRUE(doc.bModify);
    EXPECT_TRUE(SaveCommand(doc, ui));
    EXPECT_TRUE(fs::exists(dir_ / "ok.ton"));
    EXPECT_FALSE(doc.bModify);
}

TEST_F(ProjectFile, OpenCommandOffersToSaveAndOpensEitherWay) {
    const fs::path golden = Golden("golden.qx");
    const fs::path saved = dir_ / "saved.qx";
    // modified, the answer to MSG 9001, the save dialog's choice when it is shown
    const std::tuple<bool, Answer, std::optional<std::string>> cases[] = {
        {true, Answer::Ok, saved.string()},
        {true, Answer::Ok, std::nullopt},  // the save is cancelled: the opening goes on
        {true, Answer::Cancel, std::nullopt},
        {false, Answer::Ok, std::nullopt}};
    for (const auto& [modified, answer, saveAs] : cases) {
        fs::remove(saved);
        Document doc = ChangedDocument();
        doc.bModify = modified;
        ScriptedUi ui;
        ui.answers = {answer};
        if (modified && answer == Answer::Ok) ui.files.push_back(saveAs);
        ui.files.push_back(golden.string());
        EXPECT_EQ(OpenCommand(doc, ui), OpenOutcome::Opened);
        EXPECT_EQ(ui.questions, modified ? std::vector<std::string>{doc.texts.Message(9001)}
                                         : std::vector<std::string>{});
        EXPECT_EQ(ui.buttonsAsked,
                  modified ? std::vector<Buttons>{Buttons::OkCancel} : std::vector<Buttons>{});
        EXPECT_EQ(fs::exists(saved), saveAs.has_value());
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
