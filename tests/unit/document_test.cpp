// The document's undo history over a scripted editing session: every kind of
// change is one step, undo and redo walk back and forth through the same
// codeplugs, and "modified" follows the last saved, opened or cleared state.
#include "app/document.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/channel_ops.h"
#include "app/project_file.h"
#include "app/undo_texts.h"
#include "channels/cell_editors.h"
#include "codeplug/defaults.h"
#include "document_builder.h"
#include "options/option_dialog.h"
#include "signalling/auto_dialer.h"
#include "signalling/dtmf_dialog.h"
#include "signalling/five_tone_dialog.h"
#include "signalling/two_tone_dialog.h"
#include "temp_dir.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ScriptedUi;

// Opens the cell's editor, lets `edit` work in it and closes it as the grid
// does when the editor loses the focus.
void EditCell(Document& doc, int row, int column, const std::function<void()>& edit) {
    CellClicked(doc, row, column);
    ASSERT_EQ(doc.EditedRow(), row) << "no editor at " << row << "," << column;
    edit();
    EndCellEdit(doc);
}

// How many steps Undo can take back.
int UndoDepth(Document doc) {
    int depth = 0;
    while (doc.Undo()) ++depth;
    return depth;
}

StepLabel CellStep(int row, ChannelField field) {
    return StepLabel{StepKind::ChannelEdit, row, field};
}
StepLabel OnOff(int row) { return StepLabel{StepKind::ChannelOnOff, row}; }
StepLabel Whole(StepKind kind) { return StepLabel{kind}; }

// A recorded session: the codeplug before the first step and after each.
class Script {
  public:
    explicit Script(Document& doc) : doc_(doc) { states_.push_back(doc.codeplug()); }

    // Runs one user action, which must be exactly one step named `label`.
    void Step(const std::string& what, StepLabel label, const std::function<void()>& action) {
        action();
        SCOPED_TRACE(what);
        EXPECT_NE(doc_.codeplug(), states_.back()) << "changed nothing";
        EXPECT_EQ(doc_.UndoStep(), label);
        EXPECT_FALSE(doc_.EditingRow());
        states_.push_back(doc_.codeplug());
        names_.push_back(what);
        EXPECT_EQ(UndoDepth(doc_), static_cast<int>(states_.size()) - 1) << "not one step";
    }

    const std::vector<Codeplug>& states() const { return states_; }
    const std::string& name(std::size_t step) const { return names_.at(step - 1); }

  private:
    Document& doc_;
    std::vector<Codeplug> states_;
    std::vector<std::string> names_;
};

TEST(DocumentHistory, AScriptedSessionUndoesAndRedoesStepByStep) {
    const LanguageTexts lang = test::EnglishTexts();
    test::TempDir dir;
    const auto project = dir / "session.qx";
    Document doc = LoadedDocument(3);
    ASSERT_FALSE(doc.CanUndo());
    ScriptedUi ui;
    Script s(doc);

    // Every editor of the grid on channel 0.
    s.Step("name", CellStep(1, ChannelField::Name),
           [&] { EditCell(doc, 1, kColName, [&] { CommitName(doc, "ALPHA"); }); });
    EXPECT_TRUE(doc.Modified());
    s.Step("step", CellStep(1, ChannelField::Step), [&] {
        EditCell(doc, 1, kColStep, [&] {
            ChooseStep(doc, "25");
            LeaveStep(doc, "25");
        });
    });
    s.Step("rx", CellStep(1, ChannelField::RxFrequency),
           [&] { EditCell(doc, 1, kColRxFreq, [&] { CommitRxFreq(doc, "146.5", ui); }); });
    s.Step("tx", CellStep(1, ChannelField::TxFrequency),
           [&] { EditCell(doc, 1, kColTxFreq, [&] { CommitTxFreq(doc, "147.1", ui); }); });
    s.Step("rx tone", CellStep(1, ChannelField::RxTone), [&] {
        EditCell(doc, 1, kColRxTone, [&] {
            ChooseToneKind(doc, "CTCSS");
            LeaveToneKind(doc, "CTCSS");
            CommitCtcss(doc, "88.5");
        });
    });
    s.Step("tx tone", CellStep(1, ChannelField::TxTone), [&] {
        EditCell(doc, 1, kColTxTone, [&] {
            ChooseToneKind(doc, "DCS");
            LeaveToneKind(doc, "DCS");
            CommitDcs(doc, "023N");
        });
    });
    s.Step("bandwidth", CellStep(1, ChannelField::Bandwidth),
           [&] { EditCell(doc, 1, kColBandwidth, [&] { CommitList(doc, doc.texts.narrow); }); });
    s.Step("pac mode", CellStep(1, ChannelField::PacMode),
           [&] { EditCell(doc, 1, kColPacMode, [&] { CommitList(doc, "on"); }); });
    s.Step("dcs detect", CellStep(1, ChannelField::DcsDetect),
           [&] { EditCell(doc, 1, kColDcsDetect, [&] { CommitList(doc, "on"); }); });
    s.Step("scan skip", CellStep(1, ChannelField::ScanSkip),
           [&] { EditCell(doc, 1, kColScanSkip, [&] { CommitList(doc, doc.texts.scanSkipOn); }); });
    s.Step("bcl", CellStep(1, ChannelField::Bcl),
           [&] { EditCell(doc, 1, kColBcl, [&] { CommitList(doc, "on"); }); });
    s.Step("ani", CellStep(1, ChannelField::Ani),
           [&] { EditCell(doc, 1, kColAni, [&] { CommitList(doc, "on"); }); });
    s.Step("shift", CellStep(1, ChannelField::Shift),
           [&] { EditCell(doc, 1, kColShift, [&] { CommitShift(doc, "on"); }); });
    s.Step("channel 5 on", OnOff(6), [&] { CellClicked(doc, 6, kColStatus); });
    s.Step("priority", CellStep(1, ChannelField::Priority),
           [&] { EditCell(doc, 1, kColPriority, [&] { CommitPriority(doc, "05: 145.0000"); }); });
    s.Step("5-tone signal", CellStep(1, ChannelField::OptionSignal), [&] {
        EditCell(doc, 1, kColOptSignal, [&] {
            ChooseOptSignal(doc, "5Tone");
            ChooseSignalCode(doc, 12);
            ChooseSignalSubCode(doc, 2);
            LeaveOptSignal(doc, "5Tone");
        });
    });
    s.Step("DTMF-ANI signal", CellStep(6, ChannelField::OptionSignal), [&] {
        EditCell(doc, 6, kColOptSignal, [&] {
            ChooseOptSignal(doc, "DTMF-ANI");
            ChooseSignalCode(doc, 3);
            ChooseSignalSubCode(doc, 1);
            LeaveOptSignal(doc, "DTMF-ANI");
        });
    });
    s.Step("PL on by a name typed on it", OnOff(kPlRow), [&] {
        OpenCellEditor(doc, kPlRow, kColName);
        EndCellEdit(doc);
    });
    s.Step("channel 5 off", OnOff(6), [&] { CellClicked(doc, 6, kColStatus); });
    EXPECT_TRUE(doc.codeplug().Row(1).priority.IsOff()) << "it named channel 5";
    s.Step("call channel name", CellStep(kCallRow, ChannelField::Name),
           [&] { EditCell(doc, kCallRow, kColName, [&] { CommitName(doc, "CALL"); }); });
    s.Step("vfo rx", CellStep(kVfoRow, ChannelField::RxFrequency),
           [&] { EditCell(doc, kVfoRow, kColRxFreq, [&] { CommitRxFreq(doc, "145.5", ui); }); });

    // The dialogs' OK.
    s.Step("options", Whole(StepKind::Options), [&] {
        OptionDialog dialog(doc.codeplug().options, lang);
        dialog.Select(kOptSquelch, 5);
        dialog.Ok(doc);
    });
    s.Step("auto dialer", Whole(StepKind::AutoDialer), [&] {
        AutoDialerDialog dialog(doc.codeplug().autoDialer, lang, ui);
        dialog.ChangeEntry(0, "123*#");
        dialog.Ok(doc);
    });
    s.Step("dtmf", Whole(StepKind::Dtmf), [&] {
        DtmfDialog dialog(doc, lang);
        dialog.SetEntryText(0, "12A");
        dialog.Ok(doc);
    });
    s.Step("2-tone", Whole(StepKind::TwoTone), [&] {
        TwoToneDialog dialog(doc, lang);
        dialog.ChoosePair(2);
        dialog.EnterCell(1, 1);
        dialog.SetEditorText("1000");
        dialog.Ok();
    });
    s.Step("5-tone", Whole(StepKind::FiveTone), [&] {
        FiveToneDialog dialog(doc, lang);
        dialog.SetSelfIdText("54321");
        dialog.LeaveSelfId();
        dialog.Ok();
    });

    // Saving is no step; undoing past it is modified, redoing back to it clean.
    ASSERT_EQ(SaveProject(doc, project), "");
    const std::size_t savedAt = s.states().size() - 1;
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(UndoDepth(doc), static_cast<int>(savedAt));
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.Modified());
    ASSERT_TRUE(doc.Redo());
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.codeplug(), s.states()[savedAt]);

    s.Step("channel 1 on", OnOff(2), [&] { ToggleRowStatus(doc, 2); });
    EXPECT_TRUE(doc.Modified());
    s.Step("channel 1 name", CellStep(2, ChannelField::Name),
           [&] { EditCell(doc, 2, kColName, [&] { CommitName(doc, "BRAVO"); }); });
    s.Step("model change", Whole(StepKind::Model), [&] {
        ui.answers = {Answer::No};
        EXPECT_TRUE(ChangeModel(doc, 8, ui, [] { return false; }));
    });
    EXPECT_EQ(doc.model(), 8);
    EXPECT_FALSE(doc.Modified());
    s.Step("name in model 8", CellStep(1, ChannelField::Name),
           [&] { EditCell(doc, 1, kColName, [&] { CommitName(doc, "CHARLIE"); }); });
    s.Step("rx in model 8", CellStep(1, ChannelField::RxFrequency),
           [&] { EditCell(doc, 1, kColRxFreq, [&] { CommitRxFreq(doc, "245.5", ui); }); });
    s.Step("new", Whole(StepKind::New), [&] { ClearAll(doc); });
    EXPECT_EQ(doc.codeplug(), NewCodeplug(8));
    EXPECT_FALSE(doc.Modified());
    s.Step("channel 0 off", OnOff(1), [&] { CellClicked(doc, 1, kColStatus); });
    s.Step("open", Whole(StepKind::Open),
           [&] { EXPECT_EQ(OpenProject(doc, project, ui), OpenOutcome::Opened); });
    EXPECT_EQ(doc.codeplug(), s.states()[savedAt]) << "the saved project reads back";
    EXPECT_FALSE(doc.Modified());
    s.Step("name after open", CellStep(1, ChannelField::Name),
           [&] { EditCell(doc, 1, kColName, [&] { CommitName(doc, "DELTA"); }); });
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();

    const std::vector<Codeplug>& states = s.states();
    ASSERT_GE(states.size(), 31u);
    const Codeplug end = doc.codeplug();
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(doc.Undo()) << "undo of " << s.name(i);
        EXPECT_EQ(doc.codeplug(), states[i - 1]) << "undo of " << s.name(i);
        // Clean wherever the codeplug is the one saved (and opened again).
        EXPECT_EQ(doc.Modified(), states[i - 1] != states[savedAt]) << "undo of " << s.name(i);
    }
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.codeplug(), states.front());
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(doc.Redo()) << "redo of " << s.name(i);
        EXPECT_EQ(doc.codeplug(), states[i]) << "redo of " << s.name(i);
    }
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.codeplug(), end);
}

TEST(DocumentHistory, ReplacingMovesTheCleanState) {
    Document doc = LoadedDocument(3);
    doc.Change(CellStep(1, ChannelField::Name), [](Codeplug& c) { c.Row(1).name = "A"; });
    const Codeplug edited = doc.codeplug();
    ClearAll(doc);
    EXPECT_FALSE(doc.Modified());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.codeplug(), edited);
    EXPECT_TRUE(doc.Modified()) << "undone past the new document";
    ASSERT_TRUE(doc.Redo());
    EXPECT_FALSE(doc.Modified());
    // A Replace with what is there already is no step, but clean.
    doc.Change(CellStep(1, ChannelField::Name), [](Codeplug& c) { c.Row(1).name = "B"; });
    ASSERT_TRUE(doc.Undo());
    doc.Replace(doc.codeplug(), Whole(StepKind::Read));
    EXPECT_FALSE(doc.Modified());
    EXPECT_TRUE(doc.CanRedo()) << "nothing was recorded, so nothing was dropped";
}

TEST(DocumentHistory, AnEditorClosedWithoutAChangeAddsNoStep) {
    const LanguageTexts lang = test::EnglishTexts();
    Document doc = LoadedDocument(3);
    doc.Change(CellStep(1, ChannelField::Name), [](Codeplug& c) { c.Row(1).name = "A"; });
    // A new document leaves the permissions and the time-out penalty empty;
    // the option dialog shows them set and its OK stores them so (a step).
    OptionDialog(doc.codeplug().options, lang).Ok(doc);
    doc.MarkClean();
    const Codeplug before = doc.codeplug();
    const int depth = UndoDepth(doc);
    ScriptedUi ui;
    for (int row : {1, kCallRow, kVfoRow}) {
        for (int column = kColName; column <= kColOptSignal; ++column) {
            const EditorView view = CellClicked(doc, row, column);
            if (view.kind == EditorKind::Text && column == kColName) CommitName(doc, view.text);
            if (view.kind == EditorKind::List) {
                // The list's own entry chosen again.
                if (column == kColBandwidth || column == kColScanSkip || column == kColPacMode ||
                    column == kColDcsDetect || column == kColBcl || column == kColAni) {
                    CommitList(doc, view.text);
                }
                if (column == kColShift) CommitShift(doc, view.text);
                if (column == kColPriority) CommitPriority(doc, view.text);
                if (column == kColStep) LeaveStep(doc, view.text);
                if (column == kColOptSignal) LeaveOptSignal(doc, view.text);
            }
            EndCellEdit(doc);
        }
    }
    // An edit taken back before the editor closes.
    EditCell(doc, 1, kColName, [&] {
        CommitName(doc, "CHANGED");
        CommitName(doc, "A");
    });
    EXPECT_EQ(doc.codeplug(), before);
    EXPECT_EQ(UndoDepth(doc), depth);
    EXPECT_FALSE(doc.Modified());

    // The dialogs' OK without a change.
    OptionDialog(doc.codeplug().options, lang).Ok(doc);
    AutoDialerDialog(doc.codeplug().autoDialer, lang, ui).Ok(doc);
    DtmfDialog(doc, lang).Ok(doc);
    TwoToneDialog(doc, lang).Ok();
    FiveToneDialog(doc, lang).Ok();
    EXPECT_EQ(doc.codeplug(), before);
    EXPECT_EQ(UndoDepth(doc), depth);
    EXPECT_FALSE(doc.Modified());
}

TEST(DocumentHistory, UndoAndRedoDropAnOpenRowEdit) {
    Document doc = LoadedDocument(3);
    EditCell(doc, 1, kColName, [&] { CommitName(doc, "FIRST"); });
    const Codeplug first = doc.codeplug();

    CellClicked(doc, 1, kColName);
    CommitName(doc, "SECOND");
    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.EditingRow());
    EXPECT_EQ(CellText(doc, 1, kColName), "");
    EndCellEdit(doc);  // the editor closing afterwards has nothing left to commit
    EXPECT_EQ(doc.codeplug(), NewCodeplug(3));
    EXPECT_TRUE(doc.CanRedo());

    CellClicked(doc, 1, kColName);
    CommitName(doc, "THIRD");
    ASSERT_TRUE(doc.Redo());
    EXPECT_FALSE(doc.EditingRow());
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug(), first);
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(UndoDepth(doc), 1);

    // With nothing to undo the open edit is dropped all the same.
    Document fresh = LoadedDocument(3);
    CellClicked(fresh, 1, kColName);
    CommitName(fresh, "LOST");
    EXPECT_FALSE(fresh.Undo());
    EXPECT_FALSE(fresh.EditingRow());
    EXPECT_EQ(CellText(fresh, 1, kColName), "");
}

TEST(DocumentHistory, KeepsAtLeast200Steps) {
    Document doc = LoadedDocument(3);
    constexpr int kSteps = 230;
    for (int i = 1; i <= kSteps; ++i) {
        EditCell(doc, 1, kColName, [&] { CommitName(doc, std::to_string(i)); });
    }
    ASSERT_GE(UndoDepth(doc), 200);
    for (int i = kSteps; i > kSteps - 200; --i) {
        ASSERT_EQ(doc.codeplug().Row(1).name, std::to_string(i));
        ASSERT_TRUE(doc.Undo()) << i;
    }
    EXPECT_EQ(doc.codeplug().Row(1).name, std::to_string(kSteps - 200));
}

TEST(UndoTexts, NameTheStepInEitherLanguage) {
    struct Case {
        StepLabel step;
        const char* english;
        const char* chinese;
    };
    const Case cases[] = {
        {CellStep(6, ChannelField::RxFrequency), "channel 5 Rx Freq", "信道 5 接收频率"},
        {CellStep(1, ChannelField::Name), "channel 0 Name", "信道 0 名称"},
        {CellStep(100, ChannelField::OptionSignal), "channel 99 Opt Signal", "信道 99 可选信令"},
        {CellStep(kCallRow, ChannelField::TxTone), "call channel Tx CTC/DCS", "呼叫信道 发射亚音"},
        {CellStep(kVfoRow, ChannelField::Step), "VFO Step", "VFO 步进"},
        {CellStep(kPlRow, ChannelField::Shift), "PL Shift", "PL 移频"},
        {OnOff(6), "channel 5 switched on or off", "信道 5 启用或停用"},
        {OnOff(kPhRow), "PH switched on or off", "PH 启用或停用"},
        {Whole(StepKind::Model), "model change", "更换机型"},
        {Whole(StepKind::Options), "radio options", "对讲机功能设置"},
        {Whole(StepKind::AutoDialer), "auto dialer", "自动拨号"},
        {Whole(StepKind::Dtmf), "DTMF memories", "DTMF存储"},
        {Whole(StepKind::TwoTone), "2-tone settings", "两音设置"},
        {Whole(StepKind::FiveTone), "5-tone settings", "五音设置"},
        {Whole(StepKind::New), "new document", "新建文件"},
        {Whole(StepKind::Open), "opening a file", "打开文件"},
        {Whole(StepKind::Read), "reading the radio", "读取对讲机"},
        {Whole(StepKind::ImportChannels), "importing channels", "导入信道"},
        {Whole(StepKind::PasteChannels), "pasting channels", "粘贴信道"},
        {Whole(StepKind::CutChannels), "cutting channels", "剪切信道"},
        {StepLabel{StepKind::FillChannels, 3, ChannelField::Bandwidth}, "filling W/N",
         "批量设置宽/窄带"},
        {Whole(StepKind::Other), "change", "修改"},
    };
    const LanguageTexts english = test::EnglishTexts();
    const LanguageTexts chinese(QX_LANGUAGE_DIR, "chinese.ini");
    for (const Case& c : cases) {
        EXPECT_EQ(UndoEntryText(c.step, english), std::string("&Undo: ") + c.english);
        EXPECT_EQ(RedoEntryText(c.step, english), std::string("&Redo: ") + c.english);
        EXPECT_EQ(UndoEntryText(c.step, chinese), std::string("撤销(&U)：") + c.chinese);
        EXPECT_EQ(RedoEntryText(c.step, chinese), std::string("重做(&R)：") + c.chinese);
    }
    EXPECT_EQ(UndoEntryText(std::nullopt, english), "&Undo");
    EXPECT_EQ(RedoEntryText(std::nullopt, english), "&Redo");
    EXPECT_EQ(UndoEntryText(std::nullopt, chinese), "撤销(&U)");
    EXPECT_EQ(RedoEntryText(std::nullopt, chinese), "重做(&R)");
}

TEST(UndoTexts, FollowTheDocumentsSteps) {
    const LanguageTexts lang = test::EnglishTexts();
    Document doc = LoadedDocument(3);
    ScriptedUi ui;
    EXPECT_EQ(UndoEntryText(doc.UndoStep(), lang), "&Undo");
    SetRowInUse(doc, 6, true);
    EditCell(doc, 6, kColRxFreq, [&] { CommitRxFreq(doc, "146", ui); });
    EXPECT_EQ(UndoEntryText(doc.UndoStep(), lang), "&Undo: channel 5 Rx Freq");
    EXPECT_EQ(RedoEntryText(doc.RedoStep(), lang), "&Redo");
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(UndoEntryText(doc.UndoStep(), lang), "&Undo: channel 5 switched on or off");
    EXPECT_EQ(RedoEntryText(doc.RedoStep(), lang), "&Redo: channel 5 Rx Freq");
}

}  // namespace
}  // namespace qx
