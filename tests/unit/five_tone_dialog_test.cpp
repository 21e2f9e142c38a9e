#include "signalling/five_tone_dialog.h"

#include <gtest/gtest.h>

#include "document_builder.h"

namespace qx {
namespace {

using test::EnglishTexts;
using test::LoadedDocument;
using test::ScriptedUi;

TEST(FiveToneDialog, OpensOnTheLiveRecord) {
    Document doc = LoadedDocument();
    FiveToneSettings& live = doc.signalling.live.fiveTone;
    live.standardIndex = 9;  // EEA
    live.delayIndex = 7;
    live.pttIdBegin.code = "1E23";
    live.pttIdBegin.standardIndex = 40;  // out of range
    live.pttIdBegin.toneTime = 20;       // out of range
    live.codes[3] = {0, 6, 7, 10, "E3123E5"};
    live.codes[4] = {0, 1, 4, 2, "12345"};

    const FiveToneDialog dialog(doc, EnglishTexts());
    EXPECT_EQ(dialog.SelfIdText(), "12345");
    EXPECT_EQ(dialog.OwnStandard().text, "EEA");
    EXPECT_TRUE(dialog.InfoText().starts_with("EEA\r\n"));
    EXPECT_EQ(dialog.ToneTime().text, "70");  // the record's own tone time, not EEA's 40
    EXPECT_EQ(dialog.Delay().text, "70");
    EXPECT_EQ(dialog.Response().text, "None");
    EXPECT_EQ(dialog.PttCode(0), "1E23");
    EXPECT_EQ(dialog.PttStandard(0).text, "ZVEI1");
    EXPECT_EQ(dialog.PttToneTime(0).text, "70");
    EXPECT_EQ(dialog.Cell(0, 2), "Code");
    EXPECT_EQ(dialog.Cell(4, 0), "3");
    EXPECT_EQ(dialog.Cell(4, 1), "ANI");
    EXPECT_EQ(dialog.Cell(4, 2), "12335");
    EXPECT_EQ(dialog.Cell(4, 3), "CCIR1");
    EXPECT_EQ(dialog.Cell(4, 4), "100");
    EXPECT_EQ(dialog.Cell(5, 2), "12345");
    EXPECT_EQ(dialog.Cell(5, 4), "70");  // tone time 2 is outside 3..10
    EXPECT_EQ(doc.signalling.working, doc.signalling.live);
}

TEST(FiveToneDialog, ChoosingAStandardSetsItsDefaultToneTime) {
    Document doc = LoadedDocument();
    FiveToneDialog dialog(doc, EnglishTexts());
    dialog.ChooseOwnStandard(9);  // EEA
    EXPECT_EQ(dialog.ToneTime().text, "40");
    EXPECT_TRUE(dialog.InfoText().starts_with("EEA\r\n"));
    dialog.ChoosePttStandard(1, 8);  // PCCIR
    EXPECT_EQ(dialog.PttToneTime(1).text, "100");
    EXPECT_EQ(dialog.PttToneTime(1).selected, 7);

    // The in-cell standard list sets the row's tone time cell.
    ASSERT_TRUE(dialog.EnterCell(3, 3));
    dialog.ChooseEditorStandard(6);  // CCIR1
    EXPECT_EQ(dialog.Cell(3, 4), "100");
    EXPECT_TRUE(dialog.InfoText().starts_with("CCIR1\r\n"));
    dialog.GridScrolled();
    EXPECT_EQ(dialog.Cell(3, 3), "CCIR1");
    EXPECT_EQ(doc.signalling.working.fiveTone.codes[2].standardIndex, 6);
    EXPECT_EQ(doc.signalling.working.fiveTone.codes[2].toneTime, 10);
    EXPECT_EQ(dialog.editor(), FiveToneEditor::None);
}

TEST(FiveToneDialog, SelfIdIsPaddedWhenLeft) {
    Document doc = LoadedDocument();
    FiveToneDialog dialog(doc, EnglishTexts());
    for (const auto& [typed, padded] : std::vector<std::pair<std::string, std::string>>{
             {"7", "70000"}, {"123", "12300"}, {"", "00000"}, {"54321", "54321"}}) {
        dialog.SetSelfIdText(typed);
        dialog.LeaveSelfId();
        EXPECT_EQ(dialog.SelfIdText(), padded);
        EXPECT_EQ(doc.signalling.working.fiveTone.selfId, padded);
        EXPECT_EQ(doc.signalling.working.fiveTone.selfIdLength, 5);
    }
    EXPECT_EQ(FiveToneDialog::TypeSelfIdKey("12", 'x'), "12");
    EXPECT_EQ(FiveToneDialog::TypeSelfIdKey("12", '3'), "123");
    EXPECT_EQ(FiveToneDialog::TypeSelfIdKey("12345", '6'), "12345");
    dialog.SetSelfIdText("1a2b3c4d5e6");  // pasted
    EXPECT_EQ(dialog.SelfIdText(), "12345");
}

TEST(FiveToneDialog, LeavingTheSelfIdRefreshesTheCodesThatCarryIt) {
    Document doc = LoadedDocument();
    doc.signalling.live.fiveTone.codes[0].code = "E2SelfID";
    doc.signalling.live.fiveTone.codes[1].code = "E312345ESelfID";
    doc.signalling.live.fiveTone.pttIdEnd.code = "E212345";
    FiveToneDialog dialog(doc, EnglishTexts());
    dialog.SetSelfIdText("67890");
    dialog.LeaveSelfId();
    const FiveToneSettings& working = doc.signalling.working.fiveTone;
    EXPECT_EQ(working.codes[0].code, "E267890");
    EXPECT_EQ(working.codes[1].code, "E312345E67890");
    EXPECT_EQ(dialog.PttCode(1), "E267890");
    EXPECT_EQ(dialog.Cell(1, 1), "Emergency Call");
    EXPECT_EQ(dialog.Cell(2, 2), "12345");
}

TEST(FiveToneDialog, CodeCellsAreEditedInPlace) {
    Document doc = LoadedDocument();
    FiveToneDialog dialog(doc, EnglishTexts());
    ASSERT_TRUE(dialog.EnterCell(1, 2));
    EXPECT_EQ(dialog.editor(), FiveToneEditor::Code);
    EXPECT_FALSE(dialog.EnterCell(1, 2));  // already there
    EXPECT_EQ(FiveToneDialog::TypeCodeKey("1", 'f'), "1F");
    EXPECT_EQ(FiveToneDialog::TypeCodeKey("1", 'g'), "1");
    EXPECT_EQ(FiveToneDialog::TypeCodeKey(std::string(22, '1'), '2'), std::string(22, '1'));
    dialog.SetCodeEditorText("11233");

    ASSERT_TRUE(dialog.EnterCell(1, 4));  // commits the code
    EXPECT_EQ(dialog.Cell(1, 2), "1E23E");
    EXPECT_EQ(doc.signalling.working.fiveTone.codes[0].code, "1E23E");
    EXPECT_EQ(doc.signalling.working.fiveTone.codes[0].length, 5);
    EXPECT_EQ(dialog.ToneTimeEditor().text, "70");
    dialog.ChooseEditorToneTime(7);  // "100"
    dialog.CommitCell();
    EXPECT_EQ(dialog.Cell(1, 4), "100");
    EXPECT_EQ(doc.signalling.working.fiveTone.codes[0].toneTime, 10);

    EXPECT_FALSE(dialog.EnterCell(1, 1));  // the kind column has no editor
    EXPECT_FALSE(dialog.EnterCell(0, 2));
    EXPECT_FALSE(dialog.EnterCell(101, 2));
    EXPECT_EQ(doc.signalling.live, SignallingSettings{});  // nothing live yet
}

TEST(FiveToneDialog, SpecialCallCodesAreResetOnlyAfterTheQuestion) {
    Document doc = LoadedDocument();
    doc.signalling.live.fiveTone.codes[2] = {0, 0, 7, 7, "E0AEAEA"};
    FiveToneDialog dialog(doc, EnglishTexts());
    EXPECT_FALSE(dialog.EnterCell(3, 2));  // a special call's code is not typed over
    EXPECT_TRUE(dialog.EnterCell(3, 3));

    ScriptedUi ui;
    dialog.DoubleClickCell(2, 2, ui);  // plain row: nothing asked
    EXPECT_TRUE(ui.questions.empty());

    ui.answers = {Answer::Cancel};
    dialog.DoubleClickCell(3, 2, ui);
    EXPECT_EQ(ui.questions, std::vector<std::string>{kResetSpecialCallQuestion});
    EXPECT_EQ(ui.buttonsAsked.back(), Buttons::OkCancel);
    EXPECT_EQ(dialog.Cell(3, 1), "All Call");

    ui.answers = {Answer::Ok};
    dialog.DoubleClickCell(3, 2, ui);
    EXPECT_EQ(dialog.Cell(3, 1), "");
    EXPECT_EQ(dialog.Cell(3, 2), "");
    EXPECT_EQ(doc.signalling.working.fiveTone.codes[2].code, "");
    EXPECT_EQ(doc.signalling.working.fiveTone.codes[2].length, 0);
    EXPECT_EQ(dialog.editor(), FiveToneEditor::Code);
    EXPECT_EQ(dialog.currentRow(), 3);
    EXPECT_EQ(dialog.currentColumn(), 2);
}

TEST(FiveToneDialog, PttCodesTakeHexDigitsAndAreEncodedWhenLeft) {
    Document doc = LoadedDocument();
    FiveToneDialog dialog(doc, EnglishTexts());
    dialog.SetPttCode(0, "11x2 2a");
    EXPECT_EQ(dialog.PttCode(0), "1122A");
    dialog.LeavePttCode(0);
    EXPECT_EQ(dialog.PttCode(0), "1E2EA");
}

TEST(FiveToneDialog, OkMakesTheWorkingCopyLive) {
    Document doc = LoadedDocument();
    doc.bModify = false;
    FiveToneDialog dialog(doc, EnglishTexts());
    dialog.ChooseOwnStandard(9);
    dialog.SelectResponse(2);
    dialog.SelectDelay(3);
    dialog.SetSelfIdText("54");
    dialog.SetPttCode(0, "1123");
    dialog.ChoosePttStandard(0, 8);
    dialog.EnterCell(10, 2);
    dialog.SetCodeEditorText("998");
    dialog.Ok();

    const FiveToneSettings& live = doc.signalling.live.fiveTone;
    EXPECT_EQ(live.standardIndex, 9);
    EXPECT_EQ(live.toneTime, 4);
    EXPECT_EQ(live.responseMode, 2);
    EXPECT_EQ(live.delayIndex, 3);
    EXPECT_EQ(live.selfId, "54000");
    EXPECT_EQ(live.selfIdLength, 5);
    EXPECT_EQ(live.pttIdBegin.code, "1E23");
    EXPECT_EQ(live.pttIdBegin.length, 4);
    EXPECT_EQ(live.pttIdBegin.standardIndex, 8);
    EXPECT_EQ(live.pttIdBegin.toneTime, 10);
    EXPECT_EQ(live.codes[9].code, "9E8");
    EXPECT_EQ(live.codes[9].length, 3);
    EXPECT_TRUE(doc.bModify);
}

TEST(FiveToneDialog, CancelLeavesTheLiveRecord) {
    Document doc = LoadedDocument();
    doc.bModify = false;
    const SignallingSettings before = doc.signalling.live;
    {
        FiveToneDialog dialog(doc, EnglishTexts());
        dialog.ChooseOwnStandard(3);
        dialog.SetSelfIdText("9");
        dialog.LeaveSelfId();
        dialog.EnterCell(2, 2);
        dialog.SetCodeEditorText("123");
        dialog.GridScrolled();
    }
    EXPECT_EQ(doc.signalling.live, before);
    EXPECT_FALSE(doc.bModify);

    // OK without a change keeps the document unmodified.
    FiveToneDialog(doc, EnglishTexts()).Ok();
    EXPECT_EQ(doc.signalling.live, before);
    EXPECT_FALSE(doc.bModify);
}

TEST(FiveToneDialog, CancelledCellEditLeavesRowAndRecord) {
    Document doc = LoadedDocument();
    doc.signalling.live.fiveTone.codes[4].toneTime = 42;  // out of range, shown as "70"
    FiveToneDialog dialog(doc, EnglishTexts());
    const FiveToneSettings before = doc.signalling.working.fiveTone;

    ASSERT_TRUE(dialog.EnterCell(5, 3));
    dialog.ChooseEditorStandard(9);  // EEA puts its 40 ms into the row
    EXPECT_EQ(dialog.Cell(5, 4), "40");
    dialog.CancelCell();
    EXPECT_EQ(dialog.editor(), FiveToneEditor::None);
    EXPECT_EQ(dialog.Cell(5, 3), "ZVEI1");
    EXPECT_EQ(dialog.Cell(5, 4), "70");

    ASSERT_TRUE(dialog.EnterCell(5, 2));
    dialog.SetCodeEditorText("11");
    dialog.CancelCell();
    dialog.CommitCell();  // nothing left to commit
    EXPECT_EQ(dialog.Cell(5, 2), "");
    EXPECT_EQ(doc.signalling.working.fiveTone, before);
}

TEST(FiveToneDialog, CancelPutsBackTheWorkingCopyOfBeforeOpening) {
    Document doc = LoadedDocument();
    doc.signalling.working.twoTone.time1 = 9;  // left by an earlier dialog
    const Document before = doc;
    FiveToneDialog dialog(doc, EnglishTexts());
    dialog.SetSelfIdText("7");
    dialog.LeaveSelfId();
    dialog.EnterCell(2, 2);
    dialog.SetCodeEditorText("123");
    dialog.CommitCell();
    ASSERT_NE(doc.signalling.working, before.signalling.working);
    dialog.Cancel();
    EXPECT_EQ(doc, before);
}

}  // namespace
}  // namespace qx
