// The save question that guards New, the language switch and closing.
#include "app/main_commands.h"

#include <gtest/gtest.h>

#include "app/settings_files.h"
#include "document_builder.h"
#include "temp_dir.h"

namespace qx {
namespace {

using test::ScriptedUi;

struct GuardCase {
    const char* label;
    bool modified;
    std::deque<Answer> answers;
    bool saveChosen;  // a file is offered to the save dialog
    bool goesOn;
    bool saved;
};

class ConfirmDiscardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(ConfirmDiscardTest, NewClearsOnlyWhenNothingIsLost) {
    const GuardCase& c = GetParam();
    test::TempDir dir;
    Document doc = test::LoadedDocument();
    doc.Cell(1, kColName) = "KEEP";
    doc.bModify = c.modified;
    ScriptedUi ui;
    ui.answers = c.answers;
    if (c.saveChosen) ui.files.push_back((dir / "a.qx").string());

    EXPECT_EQ(NewCommand(doc, ui), c.goesOn) << c.label;
    EXPECT_EQ(doc.Cell(1, kColName), c.goesOn ? "" : "KEEP") << c.label;
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
    Document doc = test::LoadedDocument();
    doc.bModify = true;
    ScriptedUi ui;
    ui.answers = {Answer::Yes};
    EXPECT_FALSE(UnloadCommand(doc, ui));
    EXPECT_EQ(ui.buttonsAsked, std::vector<Buttons>{Buttons::YesNo});
    ui.answers = {Answer::No};
    EXPECT_TRUE(UnloadCommand(doc, ui));
}

TEST(SwitchLanguageTest, WritesTheChoiceReloadsTheTextsAndClears) {
    test::TempDir dir;
    Session session;
    session.paths = SettingsPaths{QX_LANGUAGE_DIR, dir.Path()};
    session.LanguageFile = "english.ini";
    LanguageTexts texts = test::EnglishTexts();
    Document doc = test::LoadedDocument(7);
    doc.Cell(1, kColName) = "KEEP";
    doc.bModify = true;
    ScriptedUi ui;

    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(SwitchLanguage(doc, session, texts, "chinese.ini", ui));
    EXPECT_EQ(session.LanguageFile, "english.ini");
    EXPECT_EQ(doc.Cell(1, kColName), "KEEP");
    EXPECT_EQ(ReadCurrentLanguage(session.paths), "english.ini");

    ui.answers = {Answer::No};
    EXPECT_TRUE(SwitchLanguage(doc, session, texts, "chinese.ini", ui));
    EXPECT_EQ(ui.questions.size(), 2u);  // the load does not ask a second time
    EXPECT_EQ(session.LanguageFile, "chinese.ini");
    EXPECT_EQ(ReadCurrentLanguage(session.paths), "chinese.ini");
    EXPECT_EQ(doc.texts.wide, "宽带");
    EXPECT_EQ(doc.modelIndex, 3);
    EXPECT_EQ(doc.Cell(1, kColName), "");
    EXPECT_FALSE(doc.bModify);
}

}  // namespace
}  // namespace qx
