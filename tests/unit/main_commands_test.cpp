// The save question that guards New, the language switch and closing.
#include "app/main_commands.h"

#include <gtest/gtest.h>

#include "app/settings_files.h"
#include "channels/cell_editors.h"
#include "codeplug/defaults.h"
#include "document_builder.h"
#include "temp_dir.h"

namespace qx {
namespace {

using test::ScriptedUi;

// A loaded document whose channel 0 is named "KEEP": modified, or taken as
// the clean state.
Document NamedDocument(int model, bool modified) {
    Document doc = test::LoadedDocument(model);
    doc.Change(StepLabel{StepKind::ChannelEdit, 1, ChannelField::Name},
               [](Codeplug& c) { c.Row(1).name = "KEEP"; });
    if (!modified) doc.MarkClean();
    return doc;
}

struct GuardCase {
    const char* label;
    bool modified;
    std::deque<Answer> answers;
    bool saveChosen;  // a file is offered to the save dialog
    bool goesOn;
    bool saved;
};

void PrintTo(const GuardCase& c, std::ostream* os) { *os << c.label; }

class ConfirmDiscardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(ConfirmDiscardTest, NewClearsOnlyWhenNothingIsLost) {
    const GuardCase& c = GetParam();
    test::TempDir dir;
    Document doc = NamedDocument(3, c.modified);
    const Codeplug before = doc.codeplug();
    ScriptedUi ui;
    ui.answers = c.answers;
    if (c.saveChosen) ui.files.push_back((dir / "a.qx").string());

    EXPECT_EQ(NewCommand(doc, ui), c.goesOn) << c.label;
    EXPECT_EQ(CellText(doc, 1, kColName), c.goesOn ? "" : "KEEP") << c.label;
    EXPECT_EQ(doc.codeplug(), c.goesOn ? NewCodeplug(3) : before) << c.label;
    EXPECT_EQ(doc.Modified(), !c.goesOn && c.modified) << c.label;
    EXPECT_EQ(std::filesystem::exists(dir / "a.qx"), c.saved) << c.label;
    EXPECT_EQ(ui.questions.size(), c.modified ? 1u : 0u) << c.label;
    if (c.modified) {
        EXPECT_EQ(ui.buttonsAsked.front(), Buttons::YesNoCancel);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ConfirmDiscardTest,
    ::testing::Values(
        GuardCase{"clean: no question", false, {}, false, true, false},
        GuardCase{"Cancel keeps everything", true, {Answer::Cancel}, false, false, false},
        GuardCase{"No discards", true, {Answer::No}, false, true, false},
        GuardCase{"Yes saves first", true, {Answer::Yes}, true, true, true},
        GuardCase{"Yes, save dialog cancelled", true, {Answer::Yes}, false, false, false}));

TEST(UnloadCommandTest, AsksYesNoAndStaysOpenWhenTheSaveDidNotHappen) {
    Document doc = NamedDocument(3, true);
    ScriptedUi ui;
    ui.answers = {Answer::Yes};
    EXPECT_FALSE(UnloadCommand(doc, ui));
    EXPECT_EQ(ui.buttonsAsked, std::vector<Buttons>{Buttons::YesNo});
    ui.answers = {Answer::No};
    EXPECT_TRUE(UnloadCommand(doc, ui));
    EXPECT_EQ(CellText(doc, 1, kColName), "KEEP") << "closing clears nothing";

    doc.MarkClean();
    EXPECT_TRUE(UnloadCommand(doc, ui));
    EXPECT_EQ(ui.questions.size(), 2u) << "no question without changes";
}

// The switch no longer asks the save question nor clears the document: the
// texts change, the document and its history stay.
TEST(SwitchLanguageTest, WritesTheChoiceAndReloadsTheTextsOnly) {
    test::TempDir dir;
    Session session;
    session.paths = SettingsPaths{QX_LANGUAGE_DIR, dir.Path(), {}};
    session.languageFile = "english.ini";
    LanguageTexts texts = test::EnglishTexts();
    Document doc = NamedDocument(7, true);
    const Codeplug before = doc.codeplug();
    const auto step = doc.UndoStep();

    SwitchLanguage(doc, session, texts, "chinese.ini");
    EXPECT_EQ(session.languageFile, "chinese.ini");
    EXPECT_EQ(ReadCurrentLanguage(session.paths), "chinese.ini");
    EXPECT_EQ(doc.texts.wide, "宽带");
    EXPECT_EQ(texts.LanguageText("Channel", "50020"), doc.texts.narrow);
    EXPECT_EQ(CellText(doc, 1, kColBandwidth), "宽带");
    EXPECT_EQ(doc.codeplug(), before);
    EXPECT_EQ(doc.model(), 7);
    EXPECT_EQ(CellText(doc, 1, kColName), "KEEP");
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.UndoStep(), step);

    SwitchLanguage(doc, session, texts, "english.ini");
    EXPECT_EQ(ReadCurrentLanguage(session.paths), "english.ini");
    EXPECT_EQ(doc.texts.wide, "wide");
    EXPECT_EQ(doc.codeplug(), before);
}

}  // namespace
}  // namespace qx
