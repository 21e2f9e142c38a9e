#include "signalling/five_tone_dialog.h"

#include <gtest/gtest.h>

#include "codeplug/defaults.h"
#include "document_builder.h"

namespace qx {
namespace {

using test::EnglishTexts;
using test::LoadedDocument;
using test::ScriptedUi;

// A document opened with this 5-tone record.
Document WithFiveTone(const FiveToneSettings& settings) {
    Codeplug codeplug = NewCodeplug(kStartModel);
    codeplug.signalling.fiveTone = settings;
    return Document(codeplug);
}

const FiveToneSettings& Stored(const Document& doc) { return doc.codeplug().signalling.fiveTone; }

TEST(FiveToneDialog, OpensOnTheStoredRecord) {
    FiveToneSettings settings;
    settings.standardIndex = 9;  // EEA
    settings.delayIndex = 7;
    settings.pttIdBegin.code = "1E23";
    settings.pttIdBegin.standardIndex = 40;  // out of range
    settings.pttIdBegin.toneTime = 20;       // out of range
    settings.codes[3] = {0, 6, 7, 10, "E3123E5"};
    settings.codes[4] = {0, 1, 4, 2, "12345"};
    Document doc = WithFiveTone(settings);

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
    EXPECT_EQ(dialog.Code(2).standardIndex, 6);
    EXPECT_EQ(dialog.Code(2).toneTime, 10);
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
        dialog.Ok();
        EXPECT_EQ(Stored(doc).selfId, padded);
        EXPECT_EQ(Stored(doc).selfIdLength, 5);
    }
    EXPECT_EQ(FiveToneDialog::TypeSelfIdKey("12", 'x'), "12");
    EXPECT_EQ(FiveToneDialog::TypeSelfIdKey("12", '3'), "123");
    EXPECT_EQ(FiveToneDialog::TypeSelfIdKey("12345", '6'), "12345");
    dialog.SetSelfIdText("1a2b3c4d5e6");  // pasted
    EXPECT_EQ(dialog.SelfIdText(), "12345");
}

TEST(FiveToneDialog, LeavingTheSelfIdRefreshesTheCodesThatCarryIt) {
    FiveToneSettings settings;
    settings.codes[0].code = "E2SelfID";
    settings.codes[1].code = "E312345ESelfID";
    settings.pttIdEnd.code = "E212345";
    Document doc = WithFiveTone(settings);
    FiveToneDialog dialog(doc, EnglishTexts());
    dialog.SetSelfIdText("67890");
    dialog.LeaveSelfId();
    EXPECT_EQ(dialog.Code(0).code, "E267890");
    EXPECT_EQ(dialog.Code(1).code, "E312345E67890");
    EXPECT_EQ(dialog.PttCode(1), "E267890");
    EXPECT_EQ(dialog.Cell(1, 1), "Emergency Call");
    EXPECT_EQ(dialog.Cell(2, 2), "12345");
}

TEST(FiveToneDialog, CodeCellsAreEditedInPlace) {
    Document doc = LoadedDocument();
    const Codeplug opened = doc.codeplug();
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
    EXPECT_EQ(dialog.Code(0).code, "1E23E");
    EXPECT_EQ(dialog.Code(0).length, 5);
    EXPECT_EQ(dialog.ToneTimeEditor().text, "70");
    dialog.ChooseEditorToneTime(7);  // "100"
    dialog.CommitCell();
    EXPECT_EQ(dialog.Cell(1, 4), "100");
    EXPECT_EQ(dialog.Code(0).toneTime, 10);

    EXPECT_FALSE(dialog.EnterCell(1, 1));  // the kind column has no editor
    EXPECT_FALSE(dialog.EnterCell(0, 2));
    EXPECT_FALSE(dialog.EnterCell(101, 2));
    EXPECT_EQ(doc.codeplug(), opened);  // nothing stored before OK
}

TEST(FiveToneDialog, SpecialCallCodesAreResetOnlyAfterTheQuestion) {
    FiveToneSettings settings;
    settings.codes[2] = {0, 0, 7, 7, "E0AEAEA"};
    Document doc = WithFiveTone(settings);
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
    EXPECT_EQ(dialog.Code(2).code, "");
    EXPECT_EQ(dialog.Code(2).length, 0);
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

TEST(FiveToneDialog, OkStoresTheDialogAsOneStep) {
    Document doc = LoadedDocument();
    const Codeplug opened = doc.codeplug();
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

    const FiveToneSettings& stored = Stored(doc);
    EXPECT_EQ(stored.standardIndex, 9);
    EXPECT_EQ(stored.toneTime, 4);
    EXPECT_EQ(stored.responseMode, 2);
    EXPECT_EQ(stored.delayIndex, 3);
    EXPECT_EQ(stored.selfId, "54000");
    EXPECT_EQ(stored.selfIdLength, 5);
    EXPECT_EQ(stored.pttIdBegin.code, "1E23");
    EXPECT_EQ(stored.pttIdBegin.length, 4);
    EXPECT_EQ(stored.pttIdBegin.standardIndex, 8);
    EXPECT_EQ(stored.pttIdBegin.toneTime, 10);
    EXPECT_EQ(stored.codes[9].code, "9E8");
    EXPECT_EQ(stored.codes[9].length, 3);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.UndoStep(), StepLabel{StepKind::FiveTone});
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.codeplug(), opened) << "one step";
}

TEST(FiveToneDialog, CancelLeavesTheDocumentAndOkWithoutChangesAddsNoStep) {
    Document doc = LoadedDocument();
    const Codeplug opened = doc.codeplug();
    {
        FiveToneDialog dialog(doc, EnglishTexts());
        dialog.ChooseOwnStandard(3);
        dialog.SetSelfIdText("9");
        dialog.LeaveSelfId();
        dialog.EnterCell(2, 2);
        dialog.SetCodeEditorText("123");
        dialog.GridScrolled();
        ASSERT_EQ(dialog.Code(1).code, "123");
        dialog.Cancel();
        EXPECT_EQ(dialog.editor(), FiveToneEditor::None);
    }
    EXPECT_EQ(doc.codeplug(), opened);
    EXPECT_FALSE(doc.Modified());
    EXPECT_FALSE(doc.CanUndo());

    FiveToneDialog(doc, EnglishTexts()).Ok();
    EXPECT_EQ(doc.codeplug(), opened);
    EXPECT_FALSE(doc.CanUndo());
}

TEST(FiveToneDialog, CancelledCellEditLeavesRowAndRecord) {
    FiveToneSettings settings;
    settings.codes[4].toneTime = 42;  // out of range, shown as "70"
    Document doc = WithFiveTone(settings);
    FiveToneDialog dialog(doc, EnglishTexts());
    const FiveToneCode before = dialog.Code(4);

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
    EXPECT_EQ(dialog.Code(4), before);
}

}  // namespace
}  // namespace qx
