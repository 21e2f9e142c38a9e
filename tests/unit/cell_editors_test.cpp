#include "channels/cell_editors.h"

#include <gtest/gtest.h>

#include <functional>

#include "codeplug/defaults.h"
#include "document_builder.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ScriptedUi;

// Channel rows with the given rows switched on (row 1 is on after loading);
// the document is clean afterwards.
Document WithActiveRows(std::initializer_list<int> rows, int model = 3) {
    Document doc = LoadedDocument(model);
    for (int row : rows) {
        if (!doc.codeplug().Row(row).inUse) ToggleRowStatus(doc, row);
    }
    doc.MarkClean();
    return doc;
}

// Puts values into the codeplug as a file or a radio would, then takes them
// as the clean state.
void Set(Document& doc, const std::function<void(Codeplug&)>& change) {
    doc.Change(StepLabel{}, change);
    doc.MarkClean();
}

TEST(CellClicked, OpensTheEditorOfTheColumn) {
    Document doc = WithActiveRows({});
    struct Case {
        int column;
        const char* editor;
    };
    for (const Case c :
         {Case{kColName, "TxtName"}, Case{kColStep, "ComboRef"}, Case{kColRxFreq, "TxtRxFreq"},
          Case{kColRxTone, "ComboCTCSSDCS"}, Case{kColBandwidth, "ComboWN"},
          Case{kColPacMode, "ComboPACMOD"}, Case{kColDcsDetect, "ComboDCSDET"},
          Case{kColScanSkip, "ComboSCNSkp"}, Case{kColPriority, "ComboPRI"},
          Case{kColTxFreq, "TxtTxFreq"}, Case{kColTxTone, "ComboCTCSSDCS"},
          Case{kColBcl, "ComboBCL"}, Case{kColAni, "ComboANI"}, Case{kColShift, "ComboShift"},
          Case{kColOptSignal, "ComboOptSignal"}}) {
        const EditorView view = CellClicked(doc, 1, c.column);
        EXPECT_EQ(view.name, c.editor) << "column " << c.column;
        EXPECT_EQ(doc.currentColumn, c.column);
        EXPECT_EQ(doc.EditedRow(), 1) << "column " << c.column;
        // Opening an editor is no change (it used to set the modified flag).
        EXPECT_FALSE(doc.Modified()) << "column " << c.column;
        EndCellEdit(doc);
        EXPECT_FALSE(doc.EditingRow());
        EXPECT_FALSE(doc.Modified()) << "closed unchanged, column " << c.column;
        EXPECT_FALSE(doc.CanUndo()) << "closed unchanged, column " << c.column;
    }
    EXPECT_EQ(CellClicked(doc, 1, kColName).maxLength, 7);
    EXPECT_EQ(CellClicked(doc, 1, kColRxFreq).maxLength, 9);
    EXPECT_EQ(CellClicked(doc, 1, kColRxFreq).text, "145.0000");
}

TEST(CellClicked, RowLimitsOfNameAndScanSkip) {
    Document doc = WithActiveRows({100, kPlRow, kPhRow});
    EXPECT_EQ(CellClicked(doc, kVfoRow, kColName).kind, EditorKind::None);
    EXPECT_FALSE(doc.EditingRow()) << "no editor, no row edit";
    EXPECT_EQ(CellClicked(doc, kCallRow, kColName).name, "TxtName");
    for (int row : {100, kPlRow, kPhRow, kCallRow, kVfoRow}) {
        EXPECT_EQ(CellClicked(doc, row, kColScanSkip).kind, EditorKind::None) << row;
    }
    EXPECT_EQ(CellClicked(doc, 99, kColScanSkip).kind, EditorKind::None) << "inactive row";
    doc = WithActiveRows({99});
    EXPECT_EQ(CellClicked(doc, 99, kColScanSkip).name, "ComboSCNSkp");
    for (const auto& [row, column] : std::initializer_list<std::pair<int, int>>{
             {0, kColName}, {kRowCount + 1, kColName}, {1, kColOptSignal + 1}, {1, -1}}) {
        EXPECT_EQ(CellClicked(doc, row, column).kind, EditorKind::None) << row << "," << column;
    }
}

TEST(CellClicked, ARowNotInUseIsOnlySelected) {
    Document doc = LoadedDocument(3);
    for (int column = kColName; column <= kColOptSignal; ++column) {
        EXPECT_EQ(CellClicked(doc, 6, column).kind, EditorKind::None) << "column " << column;
        EXPECT_EQ(doc.currentRow, 6);
        EXPECT_EQ(doc.currentColumn, column);
        EXPECT_FALSE(doc.EditingRow()) << "column " << column;
    }
    EXPECT_FALSE(doc.codeplug().Row(6).inUse);
    EXPECT_FALSE(doc.CanUndo());
}

TEST(OpenCellEditor, ARowNotInUseComesBackWithItsStoredValuesOnCommit) {
    Document doc = LoadedDocument(3);
    Set(doc, [](Codeplug& c) {
        Channel& six = c.Row(6);
        six = DefaultChannel(3);
        six.name = "STORED";
        six.rx = *Frequency::Parse("146.52000");
        six.bandwidth = Bandwidth::Narrow;
        six.step = Step::k25;
    });
    const EditorView view = OpenCellEditor(doc, 6, kColStep);
    EXPECT_EQ(view.name, "ComboRef");
    EXPECT_EQ(view.text, "25") << "a stored row keeps its own step";
    EXPECT_EQ(CellText(doc, 6, kColName), "STORED") << "shown while the editor is open";
    EXPECT_FALSE(doc.codeplug().Row(6).inUse) << "not before the commit";
    LeaveStep(doc, view.text);
    EndCellEdit(doc);
    EXPECT_TRUE(doc.codeplug().Row(6).inUse);
    EXPECT_EQ(CellText(doc, 6, kColRxFreq), "146.52000");
    EXPECT_EQ(CellText(doc, 6, kColBandwidth), "narrow");
    EXPECT_EQ(doc.UndoStep(), (StepLabel{StepKind::ChannelOnOff, 6}));
    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.codeplug().Row(6).inUse) << "switch on and value are one step";
    EXPECT_FALSE(doc.Modified());
}

TEST(OpenCellEditor, ABlankRowComesBackWithTheModelsDefaults) {
    Document doc = LoadedDocument(3);
    Set(doc, [](Codeplug& c) { c.Row(7).signal.code = 4; });  // a blank row keeps its codes
    ASSERT_TRUE(doc.codeplug().Row(7).blank);
    EXPECT_EQ(OpenCellEditor(doc, 7, kColName).text, "");
    EndCellEdit(doc);
    Channel expected = DefaultChannel(3);
    expected.inUse = true;
    expected.signal.code = 4;
    EXPECT_EQ(doc.codeplug().Row(7), expected);
    EXPECT_EQ(CellText(doc, 7, kColStep), "12.5");
    EXPECT_EQ(CellText(doc, 7, kColRxFreq), "145.0000");
    EXPECT_EQ(CellText(doc, 7, kColRxTone), "off");
    EXPECT_EQ(CellText(doc, 7, kColOptSignal), "None");
}

TEST(OpenCellEditor, CancelledOrRefusedLeavesTheRowOff) {
    struct Case {
        const char* what;
        int column;
        std::function<void(Document&, Ui&)> edit;
        std::size_t messages;
    };
    const Case cases[] = {
        {"name, then Escape", kColName,
         [](Document& d, Ui&) {
             CommitName(d, "NEW");
             CancelCellEdit(d);
         },
         0},
        {"out-of-band Rx", kColRxFreq,
         [](Document& d, Ui& ui) {
             CommitRxFreq(d, "500", ui);
             EndCellEdit(d);
         },
         1},
        {"Rx not a number", kColRxFreq,
         [](Document& d, Ui& ui) {
             CommitRxFreq(d, "14x", ui);
             EndCellEdit(d);
         },
         1},
    };
    for (const Case& c : cases) {
        Document doc = LoadedDocument(3);
        ScriptedUi ui;
        ASSERT_NE(OpenCellEditor(doc, 6, c.column).kind, EditorKind::None);
        c.edit(doc, ui);
        EXPECT_FALSE(doc.codeplug().Row(6).inUse) << c.what;
        EXPECT_EQ(CellText(doc, 6, kColRxFreq), "---") << c.what;
        EXPECT_FALSE(doc.CanUndo()) << c.what;
        EXPECT_EQ(ui.messages.size(), c.messages) << c.what;
    }
}

TEST(OpenCellEditor, StatusHasNoEditorAndEnterTogglesIt) {
    Document doc = LoadedDocument(3);
    EXPECT_EQ(OpenCellEditor(doc, 6, kColStatus).kind, EditorKind::None);
    EXPECT_FALSE(doc.CanUndo()) << "typing on the status switches nothing";
    EXPECT_EQ(CellEntered(doc, 6, kColStatus).kind, EditorKind::None);
    EXPECT_TRUE(doc.codeplug().Row(6).inUse) << "Enter on the status is a click";
    EXPECT_EQ(CellEntered(doc, 7, kColRxFreq).name, "TxtRxFreq");
    EXPECT_FALSE(doc.codeplug().Row(7).inUse) << "Enter opens, it does not switch on";
    for (const auto& [key, starts] :
         std::initializer_list<std::pair<char32_t, bool>>{{U'a', true},
                                                          {U'1', true},
                                                          {U' ', true},
                                                          {U'.', true},
                                                          {U'\r', false},
                                                          {U'\x1b', false},
                                                          {U'\x7f', false},
                                                          {U'\t', false}}) {
        EXPECT_EQ(StartsCellEdit(key), starts) << static_cast<int>(key);
    }
}

TEST(StatusToggle, OffKeepsTheRowAndClearsPrioritiesNamingIt) {
    Document doc = WithActiveRows({6, 7, kPlRow});
    Set(doc, [](Codeplug& c) {
        c.Row(1).priority = Priority::OfChannel(5);
        c.Row(7).priority = Priority::OfChannel(5);
        c.CallChannel().priority = Priority::Of(Priority::Kind::Pl);
        c.Row(9) = DefaultChannel(3);  // a stored row not in use
        c.Row(9).priority = Priority::OfChannel(5);
        c.Row(6).name = "SIX";
    });

    CellClicked(doc, 6, kColStatus);
    EXPECT_EQ(CellText(doc, 6, kColStatus), "Inactive");
    EXPECT_TRUE(doc.Modified()) << "switching a row off is an edit";
    EXPECT_FALSE(doc.EditingRow()) << "the status column has no editor";
    EXPECT_EQ(doc.codeplug().Row(6).name, "SIX");
    EXPECT_EQ(CellText(doc, 6, kColName), "---");
    EXPECT_EQ(CellText(doc, 1, kColPriority), "off");
    EXPECT_EQ(CellText(doc, 7, kColPriority), "off");
    EXPECT_TRUE(doc.codeplug().Row(9).priority.IsOff());
    EXPECT_EQ(CellText(doc, kCallRow, kColPriority), "PL") << "names another row";

    CellClicked(doc, kPlRow, kColStatus);
    EXPECT_EQ(CellText(doc, kCallRow, kColPriority), "off");

    CellClicked(doc, 6, kColStatus);
    EXPECT_TRUE(doc.codeplug().Row(6).inUse);
    EXPECT_EQ(CellText(doc, 6, kColName), "SIX");
}

TEST(StatusToggle, OffAndOnAgainKeepsEveryValue) {
    Document doc = WithActiveRows({3});
    Set(doc, [](Codeplug& c) {
        Channel& row = c.Row(3);
        row.name = "KEEP";
        row.step = Step::k6_25;
        row.rx = *Frequency::Parse("146.00625");
        row.tx = *Frequency::Parse("146.60625");
        row.rxTone = Tone::Ctcss(12);
        row.txTone = Tone::Dcs(130);
        row.bandwidth = Bandwidth::Narrow;
        row.scanSkip = row.bcl = row.ani = row.shift = row.pacMode = row.dcsDetect = true;
        row.signal = ChannelSignal{SignalKind::TwoTone, 17, 1};
    });
    const Channel kept = doc.codeplug().Row(3);
    CellClicked(doc, 3, kColStatus);
    EXPECT_FALSE(doc.codeplug().Row(3).inUse);
    CellClicked(doc, 3, kColStatus);
    EXPECT_EQ(doc.codeplug().Row(3), kept);
    EXPECT_FALSE(doc.Modified()) << "back to the values last taken as clean";
}

TEST(StatusToggle, CallAndVfoHaveNoStatus) {
    Document doc = LoadedDocument(3);
    for (int row : {kCallRow, kVfoRow}) {
        CellClicked(doc, row, kColStatus);
        EXPECT_EQ(CellText(doc, row, kColStatus), "");
        EXPECT_EQ(CellText(doc, row, kColRxFreq), "145.0000");
        EXPECT_TRUE(doc.codeplug().Row(row).inUse);
    }
    EXPECT_FALSE(doc.CanUndo());
}

TEST(StatusToggle, SwitchingOffKeepsTheRowsOwnSignalCodes) {
    Document doc = WithActiveRows({2, 3});
    // Row A (2): 5-tone code 12 with PTT ID "EOT".
    CellClicked(doc, 2, kColOptSignal);
    ChooseOptSignal(doc, "5Tone");
    ChooseSignalCode(doc, 12);
    ChooseSignalSubCode(doc, 2);
    LeaveOptSignal(doc, "5Tone");
    EndCellEdit(doc);
    // Row B (3) edited afterwards: 2-tone code 40.
    CellClicked(doc, 3, kColOptSignal);
    ChooseOptSignal(doc, "2Tone");
    ChooseSignalCode(doc, 40);
    LeaveOptSignal(doc, "2Tone");
    EndCellEdit(doc);
    // Row A switched off: its codes are its own.
    CellClicked(doc, 2, kColStatus);
    EXPECT_EQ(doc.codeplug().Row(2).signal, (ChannelSignal{SignalKind::FiveTone, 12, 2}));
    EXPECT_EQ(doc.codeplug().Row(3).signal, (ChannelSignal{SignalKind::TwoTone, 40, {}}));
}

TEST(StatusToggle, SwitchingOffARowWithoutSignalResetsItsCode) {
    Document doc = WithActiveRows({2});
    Set(doc, [](Codeplug& c) { c.Row(2).signal.code = 9; });
    CellClicked(doc, 2, kColStatus);
    EXPECT_EQ(doc.codeplug().Row(2).signal.code, 0);
}

TEST(NameEditor, FiltersTypingAndChanges) {
    std::string text;
    for (char32_t key : {U'a', U'b', U' ', U'c', U'!'}) text = TypeNameKey(text, key);
    EXPECT_EQ(text, "AB C");
    EXPECT_EQ(TypeNameKey("AB", 22), "AB") << "Ctrl+V";
    EXPECT_EQ(TypeNameKey("AB", 3), "AB") << "Ctrl+C";
    EXPECT_EQ(TypeNameKey("AB", U'é'), "AB");
    EXPECT_EQ(TypeNameKey("ABCDEFG", U'H'), "ABCDEFG") << "seven characters at most";
    EXPECT_EQ(FilterName("gdex*#+-/\\=()$_"), "gdex*#+");
    EXPECT_EQ(FilterName("a!b\xC3\xA9Z"), "abZ") << "lowercase of the set stays (as loaded)";
    EXPECT_EQ(FilterName("q"), "") << "q is not in the name set";

    Document doc = LoadedDocument(3);
    CellClicked(doc, 1, kColName);
    EXPECT_EQ(CommitName(doc, "Ab!c"), "Ab") << "c is not in the name set";
    EXPECT_EQ(CellText(doc, 1, kColName), "Ab") << "the grid shows the edit at once";
    EXPECT_EQ(doc.codeplug().Row(1).name, "") << "the codeplug takes it when the editor closes";
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).name, "Ab");
    EXPECT_EQ(doc.UndoStep(), (StepLabel{StepKind::ChannelEdit, 1, ChannelField::Name}));
}

TEST(StepEditor, ChoosingReroundsTheRowsFrequencies) {
    Document doc = LoadedDocument(4);  // 5 kHz
    Set(doc, [](Codeplug& c) {
        c.Row(1).rx = *Frequency::Parse("145.0130");
        c.Row(1).tx = *Frequency::Parse("145.0130");
    });
    const EditorView view = CellClicked(doc, 1, kColStep);
    EXPECT_EQ(view.text, "5");
    EXPECT_EQ(view.entries.size(), 10u);
    ChooseStep(doc, "12.5");
    EXPECT_EQ(CellText(doc, 1, kColRxFreq), "145.01250");
    EXPECT_EQ(CellText(doc, 1, kColTxFreq), "145.01250");
    LeaveStep(doc, "12.5");
    EXPECT_EQ(CellText(doc, 1, kColStep), "12.5");
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).step, Step::k12_5);
    EXPECT_EQ(doc.UndoStep(), (StepLabel{StepKind::ChannelEdit, 1, ChannelField::Step}));
    EXPECT_EQ(CellClicked(doc, 1, kColStep).text, "12.5") << "reopens on the row's step";

    // The new entry of the frequency editors is rounded to the row's own step.
    EndCellEdit(doc);
    CellClicked(doc, 1, kColRxFreq);
    ScriptedUi ui;
    CommitRxFreq(doc, "145.0190", ui);
    EXPECT_EQ(CellText(doc, 1, kColRxFreq), "145.02500");
}

TEST(FrequencyEditors, CheckRoundAndReport) {
    Document doc = LoadedDocument(2);  // Rx 136-173.9950, Tx 144-145.9950, 12.5 kHz
    ScriptedUi ui;
    CellClicked(doc, 1, kColRxFreq);
    CommitRxFreq(doc, "150", ui);
    EXPECT_EQ(CellText(doc, 1, kColRxFreq), "150.00000");
    EXPECT_EQ(CellText(doc, 1, kColTxFreq), "145.0000") << "150 is outside the Tx band";
    CommitRxFreq(doc, "145.0130", ui);
    EXPECT_EQ(CellText(doc, 1, kColRxFreq), "145.01250");
    EXPECT_EQ(CellText(doc, 1, kColTxFreq), "145.01250");
    EXPECT_TRUE(ui.messages.empty());

    CommitRxFreq(doc, "180", ui);
    CommitRxFreq(doc, "145,5", ui);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], doc.texts.Message(9006) + "\"136 - 173.9950\"");
    EXPECT_EQ(ui.messages[1], doc.texts.Message(9005));
    EXPECT_EQ(CellText(doc, 1, kColRxFreq), "145.01250") << "unchanged after a rejected entry";
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).rx.ToString(), "145.01250");

    CellClicked(doc, 1, kColTxFreq);
    CommitTxFreq(doc, "150", ui);
    EXPECT_EQ(ui.messages.back(), doc.texts.Message(9009) + "\"144 - 145.9950\"");
    CommitTxFreq(doc, "144.9999", ui);
    EXPECT_EQ(CellText(doc, 1, kColTxFreq), "145.00000");
    EXPECT_EQ(CellText(doc, 1, kColRxFreq), "145.01250") << "the Tx editor leaves Rx alone";
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).tx.ToString(), "145.00000");
    EXPECT_EQ(doc.UndoStep(), (StepLabel{StepKind::ChannelEdit, 1, ChannelField::TxFrequency}));
}

TEST(FrequencyEditors, LeavingAnEditorAsItOpenedChangesNothing) {
    Document doc = LoadedDocument(3);
    ScriptedUi ui;
    CellClicked(doc, 1, kColTxFreq);
    CommitTxFreq(doc, "150", ui);
    EndCellEdit(doc);
    const Codeplug before = doc.codeplug();
    const auto step = doc.UndoStep();
    for (int column : {kColRxFreq, kColTxFreq}) {
        CellClicked(doc, 1, column);
        const std::string shown = CellText(doc, 1, column);
        if (column == kColRxFreq) CommitRxFreq(doc, shown, ui);
        if (column == kColTxFreq) CommitTxFreq(doc, shown, ui);
        EndCellEdit(doc);
    }
    EXPECT_EQ(doc.codeplug(), before) << "visiting Rx must not copy it over Tx";
    EXPECT_EQ(doc.UndoStep(), step);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(FrequencyEditors, TheNoticeSaysWhenTheStoredValueIsNotTheTypedOne) {
    struct Case {
        int column;
        const char* typed;
        const char* notice;
    };
    for (const Case c : {
             Case{kColRxFreq, "146.9400",
                  "146.9400 MHz is not on the 12.5 kHz step: stored as 146.93750 MHz; choose the "
                  "step first to keep it"},
             Case{kColTxFreq, "145.0130",
                  "145.0130 MHz is not on the 12.5 kHz step: stored as 145.01250 MHz; choose the "
                  "step first to keep it"},
             Case{kColRxFreq, "146.94",
                  "146.9400 MHz is not on the 12.5 kHz step: stored as 146.93750 MHz; choose the "
                  "step first to keep it"},
             Case{kColRxFreq, "146.9375", ""}, Case{kColRxFreq, "146", ""},
             Case{kColRxFreq, "145.0000", ""},  // as it opened
             Case{kColRxFreq, "500", ""},       // refused: the message says why
         }) {
        Document doc = LoadedDocument(3);
        doc.gridNotice = "earlier notice";
        ScriptedUi ui;
        CellClicked(doc, 1, c.column);
        if (c.column == kColRxFreq) CommitRxFreq(doc, c.typed, ui);
        if (c.column == kColTxFreq) CommitTxFreq(doc, c.typed, ui);
        EndCellEdit(doc);
        EXPECT_EQ(doc.gridNotice, c.notice) << c.typed;
    }
}

TEST(FrequencyEditors, NewRxMovesARepeatersTxByTheSameAmount) {
    struct Case {
        const char* what;
        const char* rx;
        const char* tx;
        const char* typed;
        const char* newTx;
    };
    for (const Case c : {
             Case{"simplex stays simplex", "145.0000", "145.0000", "146.5", "146.50000"},
             Case{"plus offset", "145.0000", "145.6000", "146.5", "147.10000"},
             Case{"minus offset", "145.6000", "145.0000", "146.2", "145.60000"},
             Case{"Tx onto the step", "145.0000", "145.6030", "146", "146.60000"},
             // 173.9875 + 0.6 is outside the Tx band: Tx follows Rx as today.
             Case{"moved Tx not sendable", "145.0000", "145.6000", "173.9875", "173.98750"},
             Case{"Tx below zero", "145.0000", "0.0000", "140", "140.00000"},
         }) {
        Document doc = LoadedDocument(3);
        Set(doc, [&](Codeplug& codeplug) {
            codeplug.Row(1).rx = *Frequency::Parse(c.rx);
            codeplug.Row(1).tx = *Frequency::Parse(c.tx);
        });
        ScriptedUi ui;
        CellClicked(doc, 1, kColRxFreq);
        CommitRxFreq(doc, c.typed, ui);
        EndCellEdit(doc);
        EXPECT_EQ(doc.codeplug().Row(1).tx.ToString(), c.newTx) << c.what;
        EXPECT_TRUE(ui.messages.empty()) << c.what;
    }
}

// Choosing a value over a selection sets it on every selected row in use
// that has the column's editor, with the rules of choosing it there, as one
// step; an editor left as it opened fills nothing.
TEST(Fill, TheEditedValueGoesToEverySelectedRowInUse) {
    struct Case {
        const char* what;
        int column;
        std::function<void(Document&)> choose;
        std::function<std::string(const Channel&)> value;
        std::vector<std::string> expected;  // rows 1..4 after the fill; row 3 is not in use
    };
    const auto bandwidth = [](const Channel& c) {
        return std::string(c.bandwidth == Bandwidth::Narrow ? "N" : "W");
    };
    const auto frequencies = [](const Channel& c) {
        return c.rx.ToString() + "/" + c.tx.ToString();
    };
    ScriptedUi ui;
    for (const Case& c : {
             Case{"bandwidth",
                  kColBandwidth,
                  [](Document& d) { CommitList(d, d.texts.narrow); },
                  bandwidth,
                  {"N", "N", "W", "N"}},
             Case{"left as it opened",
                  kColBandwidth,
                  [](Document&) {},
                  bandwidth,
                  {"W", "W", "W", "W"}},
             // Rows 1 and 2 are on the 5 kHz step, row 2 a repeater; row 4 is
             // simplex on 12.5 kHz.
             Case{"Rx onto each row's step",
                  kColRxFreq,
                  [&ui](Document& d) { CommitRxFreq(d, "146.52", ui); },
                  frequencies,
                  {"146.52000/146.52000", "146.52000/147.12000", "0.0000/0.0000",
                   "146.52500/146.52500"}},
             Case{"step re-rounds",
                  kColStep,
                  [](Document& d) { ChooseStep(d, "25"); },
                  [](const Channel& ch) { return StepText(ch.step) + " " + ch.rx.ToString(); },
                  {"25 145.00000", "25 145.00000", "5 0.0000", "25 146.52500"}},
             Case{"name",
                  kColName,
                  [](Document& d) { CommitName(d, "RPT"); },
                  [](const Channel& ch) { return ch.name; },
                  {"RPT", "RPT", "", "RPT"}},
         }) {
        Document doc = WithActiveRows({2, 4});
        Set(doc, [](Codeplug& codeplug) {
            codeplug.Row(1).step = codeplug.Row(2).step = Step::k5;
            codeplug.Row(2).tx = *Frequency::Parse("145.6000");
            codeplug.Row(4).step = Step::k12_5;
            codeplug.Row(4).rx = codeplug.Row(4).tx = *Frequency::Parse("146.52500");
        });
        const Codeplug before = doc.codeplug();
        CellClicked(doc, 1, c.column);
        c.choose(doc);
        EndCellEditOver(doc, {1, 2, 3, 4, 2});
        std::vector<std::string> got;
        for (int row = 1; row <= 4; ++row) got.push_back(c.value(doc.codeplug().Row(row)));
        EXPECT_EQ(got, c.expected) << c.what;
        EXPECT_FALSE(doc.codeplug().Row(3).inUse) << c.what;
        if (doc.Modified()) {
            EXPECT_EQ(doc.UndoStep()->kind, StepKind::FillChannels) << c.what;
            doc.Undo();
        }
        EXPECT_EQ(doc.codeplug(), before) << c.what << ": one step";
    }
}

TEST(NameEditor, TheNoticeCountsTheCharactersLeft) {
    Document doc = WithActiveRows({});
    Set(doc, [](Codeplug& c) { c.Row(1).name = "AB"; });
    CellClicked(doc, 1, kColName);
    EXPECT_EQ(doc.gridNotice, "5 characters left");
    CommitName(doc, "ABCDEF");
    EXPECT_EQ(doc.gridNotice, "1 character left");
    CommitName(doc, "ABCDEFGH");
    EXPECT_EQ(doc.gridNotice, "0 characters left");
    EndCellEdit(doc);
    EXPECT_EQ(doc.gridNotice, "") << "gone with the editor";
    CellClicked(doc, 1, kColName);
    CancelCellEdit(doc);
    EXPECT_EQ(doc.gridNotice, "");

    const LanguageTexts chinese(QX_LANGUAGE_DIR, "chinese.ini");
    doc.texts = DocumentTexts::From(chinese);
    EXPECT_EQ(NameLeftText(doc.texts, "AB"), "还可输入 5 个字符");
}

TEST(ToneEditors, TwoStageListsOpenOnTheCellsTone) {
    Document doc = LoadedDocument(3);
    EXPECT_EQ(CellClicked(doc, 1, kColRxTone).text, "off");
    EditorView tones = ChooseToneKind(doc, "CTCSS");
    EXPECT_EQ(tones.name, "ComboCTCSS");
    EXPECT_EQ(tones.entries.size(), 50u);
    CommitCtcss(doc, "88.5");
    EXPECT_EQ(CellText(doc, 1, kColRxTone), "C:88.5");
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).rxTone.ToString(), "C:88.5");

    const EditorView kinds = CellClicked(doc, 1, kColRxTone);
    EXPECT_EQ(kinds.text, "CTCSS");
    LeaveToneKind(doc, kinds.text);  // leaving without a choice keeps the tone
    EXPECT_EQ(CellText(doc, 1, kColRxTone), "C:88.5");
    EXPECT_EQ(ChooseToneKind(doc, "CTCSS").text, "88.5");
    EndCellEdit(doc);

    CellClicked(doc, 1, kColTxTone);
    tones = ChooseToneKind(doc, "DCS");
    EXPECT_EQ(tones.entries.size(), 233u);
    EXPECT_EQ(tones.text, "017N");
    CommitDcs(doc, "023N");
    EXPECT_EQ(CellText(doc, 1, kColTxTone), "D:023N");
    EXPECT_EQ(CellText(doc, 1, kColRxTone), "C:88.5") << "the Tx column edits the Tx tone";
    CommitDcs(doc, "off");
    EXPECT_EQ(CellText(doc, 1, kColTxTone), "off");
    CommitDcs(doc, "023N");
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).txTone.ToString(), "D:023N");

    CellClicked(doc, 1, kColRxTone);
    EXPECT_EQ(ChooseToneKind(doc, "off").kind, EditorKind::None);
    LeaveToneKind(doc, "off");
    EXPECT_EQ(CellText(doc, 1, kColRxTone), "off");
    EndCellEdit(doc);
    EXPECT_TRUE(doc.codeplug().Row(1).rxTone.IsOff());
}

TEST(ListEditors, CommitTheirText) {
    Document doc = LoadedDocument(3);
    CellClicked(doc, 1, kColBandwidth);
    CommitList(doc, doc.texts.narrow);
    EXPECT_EQ(CellText(doc, 1, kColBandwidth), "narrow");
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).bandwidth, Bandwidth::Narrow);
    EXPECT_EQ(CellClicked(doc, 1, kColBandwidth).text, "narrow") << "opens on the cell's value";
    EndCellEdit(doc);

    struct Switch {
        int column;
        bool Channel::*field;
        std::string on;
    };
    for (const Switch& s :
         {Switch{kColPacMode, &Channel::pacMode, "on"},
          Switch{kColDcsDetect, &Channel::dcsDetect, "on"},
          Switch{kColScanSkip, &Channel::scanSkip, doc.texts.scanSkipOn},
          Switch{kColBcl, &Channel::bcl, "on"}, Switch{kColAni, &Channel::ani, "on"}}) {
        CellClicked(doc, 1, s.column);
        CommitList(doc, s.on);
        EXPECT_EQ(CellText(doc, 1, s.column), s.on) << "column " << s.column;
        CommitList(doc, "junk");
        EXPECT_EQ(CellText(doc, 1, s.column), s.on) << "column " << s.column;
        EndCellEdit(doc);
        EXPECT_TRUE(doc.codeplug().Row(1).*s.field) << "column " << s.column;
    }

    CellClicked(doc, 1, kColShift);
    CommitShift(doc, "");
    EXPECT_EQ(CellText(doc, 1, kColShift), "off");
    CommitShift(doc, "anything");
    EXPECT_EQ(CellText(doc, 1, kColShift), "on");
    CommitShift(doc, "off");
    EXPECT_EQ(CellText(doc, 1, kColShift), "off");
    CommitShift(doc, "on");
    EndCellEdit(doc);
    EXPECT_TRUE(doc.codeplug().Row(1).shift);
}

TEST(ListEditors, EqualWordsForBothChoicesKeepTheFirst) {
    // Without a language file both bandwidth words (and both scan-skip words)
    // are empty: committing the shown entry must not flip the row.
    Document doc = LoadedDocument(3);
    doc.texts.narrow = doc.texts.wide;
    doc.texts.scanSkipOn = doc.texts.scanSkipOff;
    CellClicked(doc, 1, kColBandwidth);
    CommitList(doc, doc.texts.wide);
    EndCellEdit(doc);
    CellClicked(doc, 1, kColScanSkip);
    CommitList(doc, doc.texts.scanSkipOff);
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).bandwidth, Bandwidth::Wide);
    EXPECT_FALSE(doc.codeplug().Row(1).scanSkip);
    EXPECT_FALSE(doc.Modified());
}

TEST(PriorityEditor, ListsLiveRowsAndStoresTheRowName) {
    Document doc = WithActiveRows({6, kPlRow});
    Set(doc, [](Codeplug& c) {
        c.Row(6).rx = *Frequency::Parse("145.0125");
        c.Pl().rx = *Frequency::Parse("146.0000");
    });
    const EditorView view = CellClicked(doc, 1, kColPriority);
    EXPECT_EQ(view.entries,
              (std::vector<std::string>{"off", "00: 145.0000", "05: 145.0125", "PL: 146.0000",
                                        "CAL: 145.0000", "VFO: 145.0000"}));
    EXPECT_EQ(view.text, "off");
    CommitPriority(doc, "PL: 146.0000");
    EXPECT_EQ(CellText(doc, 1, kColPriority), "PL");
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).priority, Priority::Of(Priority::Kind::Pl));
    EXPECT_EQ(CellClicked(doc, 1, kColPriority).text, "PL: 146.0000");
    CommitPriority(doc, "");
    EXPECT_EQ(CellText(doc, 1, kColPriority), "PL");
    CommitPriority(doc, "CAL: 145.0000");
    EXPECT_EQ(CellText(doc, 1, kColPriority), "CAL");
    CommitPriority(doc, "off");
    EXPECT_EQ(CellText(doc, 1, kColPriority), "off");
    CommitPriority(doc, "05: 145.0125");
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).priority, Priority::OfChannel(5));
}

TEST(OptSignalEditor, CodeListsPerTypePresetToTheRowsCodes) {
    Document doc = LoadedDocument(3);
    Set(doc, [](Codeplug& c) {
        c.Row(1).signal.code = 3;
        c.Row(1).signal.subCode = 1;
    });
    const auto stepBefore = doc.UndoStep();
    EXPECT_EQ(CellClicked(doc, 1, kColOptSignal).text, "None");

    auto lists = ChooseOptSignal(doc, "DTMF-ANI");
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0].name, "Combo2");
    EXPECT_EQ(lists[0].index, 0);
    EXPECT_EQ(lists[0].text, "C3");
    EXPECT_EQ(lists[1].name, "Combo4");
    EXPECT_EQ(lists[1].text, "ON");
    EXPECT_TRUE(doc.codeListsShown);

    lists = ChooseOptSignal(doc, "5Tone");
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0].index, 2);
    EXPECT_EQ(lists[0].entries.size(), 100u);
    EXPECT_EQ(lists[1].text, "BOT");
    EXPECT_EQ(ChooseOptSignal(doc, "2Tone").at(0).index, 1);
    EXPECT_TRUE(ChooseOptSignal(doc, "None").empty());
    EXPECT_FALSE(doc.codeListsShown);
    EndCellEdit(doc);
    EXPECT_EQ(doc.UndoStep(), stepBefore) << "looking at the lists changes nothing";
    EXPECT_FALSE(doc.Modified());

    Set(doc, [](Codeplug& c) { c.Row(1).signal.code.reset(); });
    CellClicked(doc, 1, kColOptSignal);
    EXPECT_EQ(ChooseOptSignal(doc, "DTMF").at(0).text, "C0") << "empty code presets 0";
    LeaveOptSignal(doc, "DTMF");
    EXPECT_EQ(CellText(doc, 1, kColOptSignal), "DTMF");
    EndCellEdit(doc);
    EXPECT_EQ(doc.codeplug().Row(1).signal, (ChannelSignal{SignalKind::Dtmf, {}, 1}))
        << "a code never chosen stays empty";
    EXPECT_EQ(CellClicked(doc, 1, kColOptSignal).text, "DTMF");
    ChooseOptSignal(doc, "DTMF");
    EXPECT_TRUE(doc.codeListsShown);
    GridScrolled(doc);
    EXPECT_FALSE(doc.codeListsShown);
}

TEST(OptSignalEditor, OnlyTypesTheRadioOffers) {
    Document doc = LoadedDocument(3, FeatureFlags{false, true, false, false});
    // e.g. from a file made for another radio
    Set(doc, [](Codeplug& c) { c.Row(1).signal.kind = SignalKind::Dtmf; });
    const EditorView view = CellClicked(doc, 1, kColOptSignal);
    EXPECT_EQ(view.entries, (std::vector<std::string>{"None", "2Tone"}));
    EXPECT_EQ(view.text, "None");
}

TEST(CancelCellEdit, LeavesTheRowAsItWas) {
    using Edit = void (*)(Document&);
    const Edit edits[] = {
        [](Document& d) { CommitName(d, "ZZ"); },
        [](Document& d) {
            ScriptedUi ui;
            CommitRxFreq(d, "146.1", ui);
        },
        [](Document& d) {
            ChooseStep(d, "5");
            LeaveStep(d, "5");
        },
        [](Document& d) {
            ChooseOptSignal(d, "5Tone");
            ChooseSignalCode(d, 12);
            ChooseSignalSubCode(d, 3);
            LeaveOptSignal(d, "5Tone");
        },
        [](Document& d) { CommitDcs(d, "023N"); },
    };
    for (std::size_t i = 0; i < std::size(edits); ++i) {
        Document doc = WithActiveRows({2});
        Set(doc, [](Codeplug& c) { c.Row(2).rx = *Frequency::Parse("145.0130"); });
        CellClicked(doc, 2, kColRxTone);
        const Codeplug before = doc.codeplug();
        const auto stepBefore = doc.UndoStep();
        edits[i](doc);
        EXPECT_NE(doc.ShownRow(2), before.Row(2)) << "edit " << i << " changed nothing";
        CancelCellEdit(doc);
        EXPECT_FALSE(doc.EditingRow());
        EXPECT_FALSE(doc.codeListsShown);
        EXPECT_EQ(doc.ShownRow(2), before.Row(2)) << "edit " << i;
        EXPECT_EQ(doc.codeplug(), before) << "edit " << i;
        EXPECT_EQ(doc.UndoStep(), stepBefore) << "edit " << i;
        EXPECT_FALSE(doc.Modified()) << "edit " << i;
    }
}

}  // namespace
}  // namespace qx
