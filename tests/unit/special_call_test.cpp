#include "signalling/special_call.h"

#include <gtest/gtest.h>

#include "channels/cell_editors.h"
#include "codeplug/defaults.h"
#include "document_builder.h"

namespace qx {
namespace {

using test::EnglishTexts;
using test::LoadedDocument;
using test::ScriptedUi;

const std::string kTooShort = "The ID code must have 5 characters!";

// A special call composed for a table row chosen by entering a cell of it.
struct TableRowCall {
    Document doc = LoadedDocument();
    FiveToneDialog fiveTone{doc, EnglishTexts()};
    ScriptedUi ui;

    SpecialCallDialog Open(int codeRow) {
        fiveTone.EnterCell(codeRow + 1, 3);
        return SpecialCallDialog(fiveTone, SpecialCallSlot::TableRow, EnglishTexts());
    }
    const FiveToneCode& Stored(int codeRow) const {
        return doc.codeplug().signalling.fiveTone.codes[static_cast<std::size_t>(codeRow)];
    }
};

TEST(SpecialCall, MessageCallEncodesTheIdButNotTheMessage) {
    TableRowCall call;
    SpecialCallDialog dialog = call.Open(7);
    EXPECT_EQ(dialog.Row().text, "7");
    EXPECT_EQ(dialog.VisibleFrame(), SpecialFrame::A);
    dialog.SetIdText(0, "11223");
    dialog.SetMessageText("ab");
    ASSERT_TRUE(dialog.Ok(call.ui));
    EXPECT_EQ(call.fiveTone.Code(7).code, "E1E12E3E4142");
    EXPECT_EQ(call.fiveTone.Code(7).length, 12);
    EXPECT_EQ(call.fiveTone.Cell(8, 1), "Message Call");
    EXPECT_EQ(call.fiveTone.Cell(8, 2), "11223 Msg:AB");
    EXPECT_TRUE(call.ui.messages.empty());
}

TEST(SpecialCall, EmergencyCallBindsTheChannelAtOnceAsOneStep) {
    TableRowCall call;
    ToggleRowStatus(call.doc, 13);  // channel 12 in use
    call.doc.MarkClean();
    const Codeplug before = call.doc.codeplug();
    SpecialCallDialog dialog = call.Open(5);
    dialog.SelectKind(kCallEmergency);
    EXPECT_EQ(dialog.VisibleFrame(), SpecialFrame::B);
    dialog.SelectChannel(12);
    ASSERT_TRUE(dialog.Ok(call.ui));

    Channel bound = before.Row(13);
    bound.signal.kind = SignalKind::FiveTone;
    bound.signal.code = 5;
    EXPECT_EQ(call.doc.codeplug().Row(13), bound);
    EXPECT_EQ(CellText(call.doc, 13, kColOptSignal), "5Tone");
    EXPECT_TRUE(call.doc.Modified());
    EXPECT_EQ(call.doc.UndoStep(),
              (StepLabel{StepKind::ChannelEdit, 13, ChannelField::OptionSignal}));
    EXPECT_EQ(call.fiveTone.Code(5).code, "E2SelfID");
    EXPECT_EQ(call.fiveTone.Cell(6, 1), "Emergency Call");
    EXPECT_EQ(call.fiveTone.Cell(6, 2), "");

    call.fiveTone.Ok();
    EXPECT_EQ(call.Stored(5).code, "E212345");
    EXPECT_EQ(call.Stored(5).length, 7);
    ASSERT_TRUE(call.doc.Undo());
    ASSERT_TRUE(call.doc.Undo());
    EXPECT_EQ(call.doc.codeplug(), before) << "the binding is one step, the 5-tone OK another";
}

TEST(SpecialCall, BlankUnusedChannelTakesItsDefaultsWhenBound) {
    TableRowCall call;
    const Channel blank = call.doc.codeplug().Row(21);
    ASSERT_FALSE(blank.inUse);
    ASSERT_TRUE(blank.blank);
    SpecialCallDialog dialog = call.Open(0);
    dialog.SelectKind(kCallEmergency);
    dialog.SelectChannel(20);
    ASSERT_TRUE(dialog.Ok(call.ui));

    Channel bound = DefaultChannel(call.doc.model());
    bound.signal = {SignalKind::FiveTone, 0, blank.signal.subCode};
    EXPECT_EQ(call.doc.codeplug().Row(21), bound) << "not in use, with the defaults";
    EXPECT_EQ(CellText(call.doc, 21, kColOptSignal), kInactiveCell);
}

TEST(SpecialCall, AniTakesTheSelfIdWhenTheFiveToneDialogSaves) {
    TableRowCall call;
    SpecialCallDialog dialog = call.Open(2);
    dialog.SelectKind(kCallAni);
    EXPECT_EQ(dialog.VisibleFrame(), SpecialFrame::C);
    EXPECT_EQ(dialog.frameCCaption(), "ANI");
    dialog.SetIdText(1, "12345");
    ASSERT_TRUE(dialog.Ok(call.ui));
    EXPECT_EQ(call.fiveTone.Code(2).code, "E312345ESelfID");
    EXPECT_EQ(call.fiveTone.Cell(3, 2), "12345");

    call.fiveTone.SetSelfIdText("54321");
    call.fiveTone.Ok();
    EXPECT_EQ(call.Stored(2).code, "E312345E54321");
    EXPECT_EQ(call.Stored(2).length, 13);
}

TEST(SpecialCall, ShortIdsAreRefused) {
    for (const int kind : {kCallMessage, kCallAni, kCallStun, kCallRevive}) {
        TableRowCall call;
        SpecialCallDialog dialog = call.Open(4);
        dialog.SelectKind(kind);
        dialog.SetIdText(kind == kCallMessage ? 0 : 1, "1234");
        EXPECT_FALSE(dialog.Ok(call.ui)) << kind;
        EXPECT_EQ(call.ui.messages, std::vector<std::string>{kTooShort}) << kind;
        EXPECT_EQ(call.fiveTone.Code(4), FiveToneCode{}) << kind;
        EXPECT_EQ(call.fiveTone.Cell(5, 1), "") << kind;
    }
    // Leaving a short ID field says so too, and keeps the text.
    TableRowCall call;
    SpecialCallDialog dialog = call.Open(4);
    dialog.SetIdText(1, "12");
    dialog.LeaveId(1, call.ui);
    EXPECT_EQ(call.ui.messages, std::vector<std::string>{kTooShort});
    EXPECT_EQ(dialog.IdText(1), "12");
}

TEST(SpecialCall, StunReviveAndAllCallShapes) {
    struct Case {
        int kind;
        const char* code;
        const char* kindText;
        const char* codeColumn;
    };
    for (const Case& c : {Case{kCallStun, "E41E3E5", "Stun", "11335"},
                          Case{kCallRevive, "E51E3E5", "Revive", "11335"},
                          Case{kCallAll, "E0AEAEA", "All Call", ""}}) {
        TableRowCall call;
        call.fiveTone.EnterCell(10, 2);  // a plain code is replaced
        call.fiveTone.SetCodeEditorText("123");
        SpecialCallDialog dialog = call.Open(9);
        dialog.SelectKind(c.kind);
        dialog.SetIdText(1, "11335");
        ASSERT_TRUE(dialog.Ok(call.ui));
        EXPECT_EQ(call.fiveTone.Code(9).code, c.code);
        EXPECT_EQ(call.fiveTone.Cell(10, 1), c.kindText);
        EXPECT_EQ(call.fiveTone.Cell(10, 2), c.codeColumn);
    }
}

TEST(SpecialCall, PttIdSlotsFillTheCodeFields) {
    Document doc = LoadedDocument();
    const Codeplug opened = doc.codeplug();
    FiveToneDialog fiveTone(doc, EnglishTexts());
    ScriptedUi ui;
    fiveTone.SetSelfIdText("22345");

    SpecialCallDialog begin(fiveTone, SpecialCallSlot::PttIdBegin, EnglishTexts());
    EXPECT_EQ(begin.rowLabel(), "PTTID BEGIN");
    EXPECT_FALSE(begin.Row().enabled);
    begin.SelectKind(kCallAni);
    begin.SetIdText(1, "12345");
    ASSERT_TRUE(begin.Ok(ui));
    EXPECT_EQ(fiveTone.PttCode(0), "E312345E2E345");

    SpecialCallDialog end(fiveTone, SpecialCallSlot::PttIdEnd, EnglishTexts());
    EXPECT_EQ(end.rowLabel(), "PTTID END");
    end.SelectKind(kCallEmergency);
    ASSERT_TRUE(end.Ok(ui));
    EXPECT_EQ(fiveTone.PttCode(1), "E2E2345");
    EXPECT_EQ(doc.codeplug(), opened) << "no channel bound";

    fiveTone.Ok();
    const FiveToneSettings& stored = doc.codeplug().signalling.fiveTone;
    EXPECT_EQ(stored.pttIdBegin.code, "E312345E2E345");
    EXPECT_EQ(stored.pttIdEnd.code, "E2E2345");
}

TEST(SpecialCall, KeyFilters) {
    EXPECT_EQ(SpecialCallDialog::TypeIdKey("12", 'a'), "12A");
    EXPECT_EQ(SpecialCallDialog::TypeIdKey("12", 'b'), "12");
    EXPECT_EQ(SpecialCallDialog::TypeIdKey("12345", '6'), "12345");
    EXPECT_EQ(SpecialCallDialog::TypeIdKey("12", 22), "12");  // Ctrl+V
    EXPECT_EQ(SpecialCallDialog::TypeMessageKey("A", 'z'), "AZ");
    EXPECT_EQ(SpecialCallDialog::TypeMessageKey("A", '#'), "A");
    EXPECT_EQ(SpecialCallDialog::TypeMessageKey("ABCDEFG", 'H'), "ABCDEFG");
    EXPECT_EQ(SpecialCallDialog::TypeMessageKey("A", 0xE9), "A");
}

TEST(SpecialCall, OpeningCommitsThePendingCellEdit) {
    TableRowCall call;
    call.fiveTone.EnterCell(6, 2);
    call.fiveTone.SetCodeEditorText("999");
    SpecialCallDialog dialog(call.fiveTone, SpecialCallSlot::TableRow, EnglishTexts());
    EXPECT_EQ(dialog.Row().text, "5");
    dialog.SelectKind(kCallAll);
    ASSERT_TRUE(dialog.Ok(call.ui));
    call.fiveTone.Ok();
    EXPECT_EQ(call.Stored(5).code, "E0AEAEA");
}

TEST(SpecialCall, StartsOnTheHighlightedRow) {
    struct Case {
        const char* moves;
        std::vector<std::pair<int, int>> entered;  // cells entered (grid row, column)
        std::vector<int> highlighted;              // then rows highlighted by the keys
        const char* row;
    };
    for (const Case& c : {
             Case{"nothing yet", {}, {}, "0"},
             Case{"a code edited, then the keys", {{4, 2}}, {8}, "7"},
             Case{"a click on a cell without an editor", {{4, 3}, {11, 0}, {12, 1}}, {}, "11"},
             Case{"rows outside the table", {}, {6, 0, 101}, "5"},
         }) {
        TableRowCall call;
        for (const auto& [row, column] : c.entered) call.fiveTone.EnterCell(row, column);
        for (const int row : c.highlighted) call.fiveTone.HighlightRow(row);
        const SpecialCallDialog dialog(call.fiveTone, SpecialCallSlot::TableRow, EnglishTexts());
        EXPECT_EQ(dialog.Row().text, c.row) << c.moves;
    }
}

TEST(SpecialCall, EmergencyCallOnTheHighlightedRowLeavesTheEditedRow) {
    TableRowCall call;
    ToggleRowStatus(call.doc, 13);  // channel 12 in use
    call.fiveTone.EnterCell(4, 2);  // code 3 edited
    call.fiveTone.SetCodeEditorText("123");
    call.fiveTone.HighlightRow(8);  // then code 7 highlighted
    SpecialCallDialog dialog(call.fiveTone, SpecialCallSlot::TableRow, EnglishTexts());
    dialog.SelectKind(kCallEmergency);
    dialog.SelectChannel(12);
    ASSERT_TRUE(dialog.Ok(call.ui));
    EXPECT_EQ(call.doc.codeplug().Row(13).signal.code, 7);
    EXPECT_EQ(call.fiveTone.Cell(8, 1), "Emergency Call");
    EXPECT_EQ(call.fiveTone.Cell(4, 1), "");

    call.fiveTone.Ok();
    EXPECT_EQ(call.Stored(7).code, "E212345");
    EXPECT_EQ(call.Stored(3).code, "123");
}

TEST(SpecialCall, CancelAfterComposingLeavesTheDocument) {
    TableRowCall call;
    const Codeplug opened = call.doc.codeplug();
    SpecialCallDialog dialog = call.Open(1);
    dialog.SelectKind(kCallAll);
    ASSERT_TRUE(dialog.Ok(call.ui));
    // The 5-tone dialog is cancelled: nothing reaches the document.
    call.fiveTone.Cancel();
    EXPECT_EQ(call.doc.codeplug(), opened);
    EXPECT_FALSE(call.doc.CanUndo());
}

}  // namespace
}  // namespace qx
