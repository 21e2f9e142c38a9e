// The Save and Open commands over the document. What the records mean is
// project_codec_test's part; here: the files, the messages, and what each
// outcome leaves in the document and its history.
#include "app/project_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <tuple>

#include "app/channel_ops.h"
#include "codeplug/defaults.h"
#include "document_builder.h"
#include "document_state.h"
#include "files/ton_file.h"
#include "image/memory_image.h"
#include "project_records.h"
#include "temp_dir.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::DataFile;
using test::LoadedDocument;
using test::ReadBytes;
using test::ScriptedUi;
using test::StateOf;
using test::WriteBytes;

using test::GoldenProject;
using test::Joined;
using test::Records;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string GoldenTon() { return ReadBytes(DataFile("signalling.ton")); }
SignallingSettings GoldenSignalling() { return *DecodeTonRecord(test::GoldenTonBytes()); }

// A document of `model` unlike a new one, changed in several steps (so
// modified), to open files over.
Document ChangedDocument(int model = 10) {
    Document doc = LoadedDocument(model);
    SetRowInUse(doc, 6, true);
    doc.Change({StepKind::ChannelEdit, 6, ChannelField::Name},
               [](Codeplug& c) { c.Memory(5).name = "CH"; });
    doc.Change({StepKind::Options}, [](Codeplug& c) { c.options.mrNumber = 7; });
    doc.Change({StepKind::AutoDialer}, [](Codeplug& c) { c.autoDialer.entries[0] = "123"; });
    doc.Change({StepKind::FiveTone}, [](Codeplug& c) { c.signalling.fiveTone.selfId = "54"; });
    doc.Change({StepKind::Other}, [](Codeplug& c) { c.Memory(49).signal.code = 9; });
    EXPECT_TRUE(doc.Modified());
    return doc;
}

// Opened, read or cleared: the codeplug replaced as one step over what was
// there, and the new clean state.
void ExpectOneCleanStepOver(const Document& doc, const Document& before, StepKind kind) {
    EXPECT_FALSE(doc.Modified());
    ASSERT_TRUE(doc.UndoStep().has_value());
    EXPECT_EQ(doc.UndoStep()->kind, kind);
    EXPECT_FALSE(doc.CanRedo());
    Document undone = doc;
    ASSERT_TRUE(undone.Undo());
    EXPECT_EQ(undone.codeplug(), before.codeplug()) << "one Undo goes back to the document";
    EXPECT_TRUE(undone.Modified());
    EXPECT_EQ(undone.UndoStep(), before.UndoStep());
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
    std::ptrdiff_t FileCount() const {
        return std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator());
    }
    test::TempDir dir_;
};

TEST_F(ProjectFile, SavingWritesBothFilesWholeAndTheDocumentBelongsToThemClean) {
    Document doc = ChangedDocument(3);
    const auto history = StateOf(doc).codeplugs;

    const fs::path path = dir_ / "changed.qx";
    WriteBytes(path, std::string(20000, 'x'));  // an older, longer file is replaced whole
    EXPECT_EQ(SaveProject(doc, path), "");
    const ProjectFiles files = EncodeProject(doc.codeplug()).files;
    EXPECT_EQ(ReadBytes(path), files.qx);
    EXPECT_EQ(Bytes(ReadBytes(dir_ / "changed.ton")), files.ton);
    EXPECT_EQ(doc.filename, path.string());
    EXPECT_EQ(doc.statusText, " Current File: " + path.string());
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(StateOf(doc).codeplugs, history) << "a save is no step";
    EXPECT_EQ(FileCount(), 2) << "no temporary file is left behind";
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.Modified()) << "different from what was saved";
}

TEST_F(ProjectFile, AnOpenedFileReplacesTheCodeplugAsOneCleanStep) {
    const fs::path golden = Golden("golden.qx");
    for (const bool withCompanion : {false, true}) {
        if (withCompanion) WriteBytes(dir_ / "golden.ton", GoldenTon());
        const Document before = ChangedDocument();
        Document doc = before;
        ScriptedUi ui;
        ASSERT_EQ(OpenProject(doc, golden, ui), OpenOutcome::Opened);
        EXPECT_TRUE(ui.messages.empty());
        Codeplug expected = NewCodeplug(3);
        if (withCompanion) expected.signalling = GoldenSignalling();
        EXPECT_EQ(doc.codeplug(), expected);
        EXPECT_EQ(doc.filename, golden.string());
        EXPECT_EQ(doc.statusText, " Current File: " + golden.string());
        ExpectOneCleanStepOver(doc, before, StepKind::Open);
        // A missing companion is not created; a present one is only read.
        EXPECT_EQ(fs::exists(dir_ / "golden.ton"), withCompanion);
        if (withCompanion) {
            EXPECT_EQ(ReadBytes(dir_ / "golden.ton"), GoldenTon());
        }
    }

    // What a document saves, another opens back, of any model.
    for (const int model : {0, 31}) {
        Document source = ChangedDocument(model);
        const fs::path path = dir_ / ("m" + std::to_string(model) + ".qx");
        ASSERT_EQ(SaveProject(source, path), "");
        Document target = LoadedDocument(3);
        ScriptedUi ui;
        ASSERT_EQ(OpenProject(target, path, ui), OpenOutcome::Opened);
        EXPECT_EQ(target.codeplug(), source.codeplug()) << model;
    }
}

TEST_F(ProjectFile, AShortFileReplacesOnlyTheRowsItReachesOverTheOpenDocument) {
    Document doc = ChangedDocument();
    doc.Change({StepKind::Other}, [](Codeplug& c) {
        for (int row = 2; row <= 60; ++row) {
            PutInUse(c.Row(row), c.model);
            c.Row(row).name = "K" + std::to_string(row);
        }
    });
    const Document before = doc;
    const fs::path path = Golden("fifty.qx", [](auto& r) { r.resize(50); });
    WriteBytes(dir_ / "fifty.ton", GoldenTon());

    ScriptedUi ui;
    ASSERT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened);
    EXPECT_TRUE(ui.messages.empty());
    Codeplug expected = before.codeplug();  // the options, dialer and model stay
    for (int row = 1; row <= 50; ++row) expected.Row(row) = NewCodeplug(3).Row(row);
    expected.signalling = GoldenSignalling();
    EXPECT_EQ(doc.codeplug(), expected);
    EXPECT_EQ(doc.model(), 10);
    EXPECT_EQ(doc.filename, path.string());
    ExpectOneCleanStepOver(doc, before, StepKind::Open);
}

TEST_F(ProjectFile, EveryOpenOutcomeWithItsMessageAndWhatItLeaves) {
    const std::string golden = GoldenProject();
    const DocumentTexts texts = LoadedDocument().texts;
    const std::string quoted = "Cannot open \"" + (dir_ / "bad.qx").string() + "\": ";
    using Change = test::RecordChange;
    const auto set = test::SetRecord;
    const auto malformed = test::MalformedRecord;
    const auto sized = test::SizedTo;
    struct Case {
        Change change;
        OpenOutcome outcome;
        std::string message;  // "" for none
        int model = 3;        // of an opened file
    };
    const Case cases[] = {
        {sized(kMaxProjectBytes), OpenOutcome::Opened, ""},
        {sized(kMaxProjectBytes + 1), OpenOutcome::TooLarge, texts.Message(9002)},
        {malformed(104, "setup|Frequency|VFO"), OpenOutcome::Rejected, texts.Message(9004)},
        {malformed(105, "Ad||||||||"), OpenOutcome::Rejected, texts.Message(9003)},
        // Which records are invalid, and why, is the codec's part: one case here.
        {set(11, "11|Inactive|def"), OpenOutcome::Failed,
         quoted + "record 12 has 3 fields where 19 are needed."},
        {set(106, "31|"), OpenOutcome::Opened, "", 31}};
    WriteBytes(dir_ / "bad.ton", GoldenTon());
    for (const Case& c : cases) {
        const Document before = ChangedDocument();
        Document doc = before;
        ScriptedUi ui;
        const fs::path path = Golden("bad.qx", c.change);
        EXPECT_EQ(OpenProject(doc, path, ui), c.outcome) << c.message;
        EXPECT_EQ(ui.messages, c.message.empty() ? std::vector<std::string>{}
                                                 : std::vector<std::string>{c.message});
        switch (c.outcome) {
            case OpenOutcome::Opened:
                EXPECT_EQ(doc.model(), c.model);
                EXPECT_EQ(doc.filename, path.string());
                ExpectOneCleanStepOver(doc, before, StepKind::Open);
                break;
            case OpenOutcome::TooLarge: {
                // The records are left alone; the companion is read.
                Codeplug expected = before.codeplug();
                expected.signalling = GoldenSignalling();
                EXPECT_EQ(doc.codeplug(), expected);
                EXPECT_EQ(doc.filename, before.filename);
                ExpectOneCleanStepOver(doc, before, StepKind::Open);
                break;
            }
            case OpenOutcome::Rejected:
                // Cleared: a new codeplug of the document's model, belonging to no file.
                EXPECT_EQ(doc.codeplug(), NewCodeplug(10)) << c.message;
                EXPECT_EQ(doc.filename, kNoFileName);
                EXPECT_EQ(doc.statusText, " Current File: Noname.qx");
                ExpectOneCleanStepOver(doc, before, StepKind::New);
                break;
            default:
                EXPECT_EQ(StateOf(doc), StateOf(before)) << c.message;
        }
    }

    const Document before = ChangedDocument();
    Document doc = before;
    ScriptedUi ui;
    const fs::path missing = dir_ / "missing.qx";
    EXPECT_EQ(OpenProject(doc, missing, ui), OpenOutcome::Failed);
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{
                  "Cannot open \"" + missing.string() + "\": " +
                  std::make_error_code(std::errc::no_such_file_or_directory).message() + "."});
    EXPECT_EQ(StateOf(doc), StateOf(before));
}

TEST_F(ProjectFile, AFailedSaveLeavesThePreviousFilesAndTheDocumentAsTheyWereAndIsShown) {
    Document doc = ChangedDocument();
    const auto before = StateOf(doc);

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

    EXPECT_EQ(StateOf(doc), before);
    EXPECT_EQ(FileCount(), 3) << "only a.qx, a.ton and b.qx: no temporary file is left behind";

    // A codeplug the file cannot store: nothing is written.
    Document unstorable = ChangedDocument();
    unstorable.Change({StepKind::ChannelEdit, 6, ChannelField::Name},
                      [](Codeplug& c) { c.Memory(5).name = "A|B"; });
    const auto unstorableBefore = StateOf(unstorable);
    EXPECT_EQ(SaveProject(unstorable, dir_ / "c.qx"),
              "Cannot save \"" + (dir_ / "c.qx").string() +
                  "\": Channel 5: the name \"A|B\" holds \"|\" or a line break, which a project "
                  "file cannot store.");
    EXPECT_EQ(StateOf(unstorable), unstorableBefore);
    EXPECT_EQ(FileCount(), 3);

    // The Save command: no file chosen, no name, a failure shown, then a save.
    ScriptedUi ui;
    ui.files = {std::nullopt, std::string(), nowhere.string(), (dir_ / "ok.qx").string()};
    EXPECT_FALSE(SaveCommand(doc, ui));
    EXPECT_FALSE(SaveCommand(doc, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(SaveCommand(doc, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{SaveProject(doc, nowhere)});
    EXPECT_EQ(StateOf(doc), before);
    EXPECT_TRUE(SaveCommand(doc, ui));
    EXPECT_TRUE(fs::exists(dir_ / "ok.ton"));
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.filename, (dir_ / "ok.qx").string());
}

// How a pair is written step by step is atomic_file_test's part; here: the
// message an interrupted save leaves for the next open or save, and that the
// document opens or saves over what it settled.
TEST_F(ProjectFile, AnInterruptedSaveIsSettledAndToldBeforeTheNextOpenOrSave) {
    const fs::path path = dir_ / "cut.qx";
    const Codeplug saved = ChangedDocument(3).codeplug();
    const Codeplug cutOff = ChangedDocument(12).codeplug();
    const std::string prefix = "The last save of \"" + path.string() + "\" was interrupted. ";
    const std::string completed = prefix + "It has now been completed.";
    const std::string undone = prefix + "It has been undone: the files are as they were before it.";
    struct Case {
        WriteStep cutAt;
        bool open;  // else the Save command
        std::string message;
    };
    const Case cases[] = {
        {WriteStep::Backup, true, undone},
        {WriteStep::Replace, true, completed},
        {WriteStep::Backup, false, undone},
        {WriteStep::Replace, false, completed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message + (c.open ? " open" : " save"));
        ASSERT_EQ(WriteProject(saved, path), "");
        const auto cut = [&](WriteStep step, std::size_t file) {
            return step == c.cutAt && file == 1 ? StepAction::Stop : StepAction::Proceed;
        };
        ASSERT_NE(WriteProject(cutOff, path, cut), "");
        Document doc = ChangedDocument(7);
        ScriptedUi ui;
        if (c.open) {
            EXPECT_EQ(OpenProject(doc, path, ui), OpenOutcome::Opened);
            EXPECT_EQ(doc.codeplug(), c.message == completed ? cutOff : saved);
        } else {
            ui.files = {path.string()};
            EXPECT_TRUE(SaveCommand(doc, ui));
            EXPECT_EQ(ReadBytes(path), EncodeProject(doc.codeplug()).files.qx);
        }
        EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(FileCount(), 2) << "only cut.qx and cut.ton";
    }

    // A record of the save that cannot be read: nothing is opened or saved.
    WriteBytes(dir_ / ".cut.qx.saving", "damaged");
    const std::string failed = "The last save of \"" + path.string() +
                               "\" was interrupted and cannot be finished: the record of it, \"" +
                               (dir_ / ".cut.qx.saving").string() + "\", cannot be read.";
    const Document before = ChangedDocument();
    const std::string onDisk = ReadBytes(path);
    for (const bool open : {true, false}) {
        Document doc = before;
        ScriptedUi ui;
        ui.files = {path.string()};
        if (open) {
            EXPECT_EQ(OpenProject(doc, path, ui), OpenOutcome::Failed);
        } else {
            EXPECT_FALSE(SaveCommand(doc, ui));
        }
        EXPECT_EQ(ui.messages, std::vector<std::string>{failed});
        EXPECT_EQ(StateOf(doc), StateOf(before));
        EXPECT_EQ(ReadBytes(path), onDisk);
    }
}

// The question before Open is the one before New: Yes saves first (and a
// save that does not happen stops the opening), No discards, Cancel keeps all.
TEST_F(ProjectFile, OpenCommandAsksTheSaveQuestionAndOpensOnlyWhenNothingIsLost) {
    const fs::path golden = Golden("golden.qx");
    const fs::path saved = dir_ / "saved.qx";
    struct Case {
        const char* label;
        bool modified;
        Answer answer;
        std::optional<std::string> saveAs;  // the save dialog's choice after Yes
        bool opens;
    };
    const Case cases[] = {
        {"clean: no question", false, Answer::Cancel, std::nullopt, true},
        {"Yes saves, then opens", true, Answer::Yes, saved.string(), true},
        {"Yes, save cancelled: nothing opens", true, Answer::Yes, std::nullopt, false},
        {"Yes, save failed: nothing opens", true, Answer::Yes, (dir_ / "no" / "x.qx").string(),
         false},
        {"No discards and opens", true, Answer::No, std::nullopt, true},
        {"Cancel (or Escape) keeps everything", true, Answer::Cancel, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove(saved);
        Document doc = ChangedDocument();
        if (!c.modified) doc.MarkClean();
        const auto before = StateOf(doc);
        ScriptedUi ui;
        ui.answers = {c.answer};
        if (c.modified && c.answer == Answer::Yes) ui.files.push_back(c.saveAs);
        ui.files.push_back(golden.string());

        EXPECT_EQ(OpenCommand(doc, ui), c.opens ? OpenOutcome::Opened : OpenOutcome::Cancelled);
        EXPECT_EQ(ui.buttonsAsked,
                  c.modified ? std::vector<Buttons>{Buttons::YesNoCancel} : std::vector<Buttons>{});
        EXPECT_EQ(ui.files.size(), c.opens ? 0u : 1u) << "the open dialog is shown only to open";
        const bool savedFirst = c.saveAs == saved.string();
        EXPECT_EQ(fs::exists(saved), savedFirst);
        if (savedFirst) {
            EXPECT_EQ(ReadBytes(saved), EncodeProject(ChangedDocument().codeplug()).files.qx)
                << "the document as it was before the opening";
        }
        if (c.opens) {
            EXPECT_EQ(doc.filename, golden.string());
            EXPECT_EQ(doc.codeplug(), NewCodeplug(3));
        } else {
            EXPECT_EQ(StateOf(doc), before);
        }
    }
}

TEST(WithProjectExtensionTest, AddsQxToANameWithoutIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"dealer1", "dealer1.qx"},       {"/home/u/dealer1", "/home/u/dealer1.qx"},
        {"dealer1.qx", "dealer1.qx"},    {"DEALER1.QX", "DEALER1.QX"},
        {"dealer1.v2", "dealer1.v2.qx"}, {"dealer1.qx.bak", "dealer1.qx.bak.qx"},
        {"/home/u/", "/home/u/"},  // a folder: the save says so
    };
    for (const auto& [typed, saved] : cases) {
        EXPECT_EQ(WithProjectExtension(typed), fs::path(saved)) << typed;
    }
}

TEST_F(ProjectFile, SaveWritesInPlaceOnceTheDocumentHasAFile) {
    Document doc = ChangedDocument();
    ScriptedUi ui;
    ui.files = {(dir_ / "dealer1").string()};
    EXPECT_TRUE(SaveCommand(doc, ui));
    EXPECT_EQ(ui.proposals, std::vector<std::string>{"noname.qx"});
    const fs::path path = dir_ / "dealer1.qx";
    EXPECT_EQ(doc.filename, path.string());
    EXPECT_TRUE(fs::exists(dir_ / "dealer1.ton"));
    EXPECT_EQ(FileCount(), 2) << "no file named as typed";

    doc.Change({StepKind::Options}, [](Codeplug& c) { c.options.mrNumber = 9; });
    EXPECT_TRUE(SaveCommand(doc, ui));
    EXPECT_EQ(ui.proposals.size(), 1u) << "no dialog";
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(ReadBytes(path), EncodeProject(doc.codeplug()).files.qx);

    // Save As asks again, proposing the document's file.
    ui.files = {std::nullopt};
    EXPECT_FALSE(SaveAsCommand(doc, ui));
    EXPECT_EQ(ui.proposals.back(), path.string());

    // A save in place that fails is shown and leaves the document modified.
    fs::remove(path);
    fs::create_directory(path);
    doc.Change({StepKind::Options}, [](Codeplug& c) { c.options.mrNumber = 4; });
    EXPECT_FALSE(SaveCommand(doc, ui));
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Cannot save \"" + path.string() + "\": it is a folder."});
    EXPECT_TRUE(doc.Modified());
}

// The dialog asked about replacing the name typed; the file saved has ".qx"
// added, so replacing that one is asked here.
TEST_F(ProjectFile, SaveAsAsksBeforeReplacingTheFileTheAddedExtensionNames) {
    const fs::path path = dir_ / "dealer1.qx";
    WriteBytes(path, "previous");
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        Document doc = ChangedDocument();
        ScriptedUi ui;
        ui.answers = {answer};
        ui.files = {(dir_ / "dealer1").string()};
        EXPECT_EQ(SaveAsCommand(doc, ui), answer == Answer::Yes);
        EXPECT_EQ(ui.questions, std::vector<std::string>{"\"" + path.string() +
                                                         "\" already exists. Do you want to "
                                                         "replace it?"});
        EXPECT_EQ(ui.buttonsAsked, std::vector<Buttons>{Buttons::YesNo});
        EXPECT_EQ(ReadBytes(path) == "previous", answer == Answer::No);
        EXPECT_EQ(doc.Modified(), answer == Answer::No);
    }
    // A name typed with ".qx": the dialog has asked already.
    Document doc = ChangedDocument();
    ScriptedUi ui;
    ui.files = {path.string()};
    EXPECT_TRUE(SaveAsCommand(doc, ui));
    EXPECT_TRUE(ui.questions.empty());
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

TEST_F(ProjectFile, ABackupOpensAsANewDocumentInOneStep) {
    Codeplug radio = NewCodeplug(24);
    PutInUse(radio.Memory(7), 24);
    radio.Memory(7).name = "BASE";
    const std::vector<std::uint8_t> image = EncodeImage(radio, test::kAllFeatures).image;
    const fs::path backup = dir_ / "20261208-143015-model24-read.img";
    WriteBytes(backup, std::string(image.begin(), image.end()));

    const Document before = ChangedDocument();
    Document doc = before;
    doc.filename = "mine.qx";
    ScriptedUi ui;
    ui.answers = {Answer::No};
    ui.files = {backup.string()};
    EXPECT_EQ(OpenBackupCommand(doc, {}, ui), OpenOutcome::Opened);
    EXPECT_EQ(ui.questions, std::vector<std::string>{doc.texts.Message(9001)});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.codeplug(), DecodeImage(image, 3).codeplug);
    EXPECT_EQ(doc.codeplug().Memory(7).name, "BASE");
    EXPECT_EQ(doc.filename, kNoFileName) << "a new document, not the backup file";
    ExpectOneCleanStepOver(doc, before, StepKind::Open);

    // Anything that is not an image is reported and changes nothing.
    WriteBytes(dir_ / "short.img", std::string(100, '\0'));
    Document kept = before;
    ScriptedUi failing;
    EXPECT_EQ(OpenBackup(kept, dir_ / "short.img", failing), OpenOutcome::Failed);
    EXPECT_EQ(failing.messages,
              std::vector<std::string>{"Cannot open \"" + (dir_ / "short.img").string() +
                                       "\": A memory image has 8192 bytes; this one has 100."});
    EXPECT_EQ(StateOf(kept), StateOf(before));
}

}  // namespace
}  // namespace qx
