#include "channels/cell_editors.h"

#include <gtest/gtest.h>

#include "document_builder.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ScriptedUi;

// Channel rows with the given rows switched on (row 1 is on after loading).
Document WithActiveRows(std::initializer_list<int> rows, int model = 3) {
    Document doc = LoadedDocument(model);
    for (int row : rows) {
        if (!doc.IsActive(row)) ToggleRowStatus(doc, row);
    }
    return doc;
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
        doc.bModify = false;
        const EditorView view = CellClicked(doc, 1, c.column);
        EXPECT_EQ(view.name, c.editor) << "column " << c.column;
        EXPECT_TRUE(doc.bModify);
        EXPECT_EQ(doc.currentColumn, c.column);
    }
    EXPECT_EQ(CellClicked(doc, 1, kColName).maxLength, 7);
    EXPECT_EQ(CellClicked(doc, 1, kColRxFreq).maxLength, 9);
    EXPECT_EQ(CellClicked(doc, 1, kColRxFreq).text, "145.0000");
}

TEST(CellClicked, RowLimitsOfNameAndScanSkip) {
    Document doc = WithActiveRows({100, kPlRow, kPhRow});
    EXPECT_EQ(CellClicked(doc, kVfoRow, kColName).kind, EditorKind::None);
    EXPECT_EQ(CellClicked(doc, kCallRow, kColName).name, "TxtName");
    for (int row : {100, kPlRow, kPhRow, kCallRow, kVfoRow}) {
        EXPECT_EQ(CellClicked(doc, row, kColScanSkip).kind, EditorKind::None) << row;
    }
    EXPECT_EQ(CellClicked(doc, 99, kColScanSkip).kind, EditorKind::None) << "inactive row";
    doc = WithActiveRows({99});
    EXPECT_EQ(CellClicked(doc, 99, kColScanSkip).name, "ComboSCNSkp");
}

TEST(CellClicked, AnInactiveRowComesBackWithItsStoredValues) {
    Document doc = LoadedDocument(3);
    doc.Table(6, kColName) = "STORED";
    doc.Table(6, kColRxFreq) = "146.52000";
    doc.Table(6, kColBandwidth) = "narrow";
    const EditorView view = CellClicked(doc, 6, kColStep);
    EXPECT_EQ(view.kind, EditorKind::None) << "no step list on the first click";
    EXPECT_TRUE(doc.IsActive(6));
    EXPECT_EQ(doc.Cell(6, kColName), "STORED");
    EXPECT_EQ(doc.Cell(6, kColRxFreq), "146.52000");
    EXPECT_EQ(doc.Cell(6, kColBandwidth), "narrow");
    EXPECT_EQ(doc.Cell(6, kColStep), "12.5") << "empty stored values take the defaults";
    EXPECT_TRUE(doc.bModify);
}

TEST(StatusToggle, OffStoresTheRowAndClearsPrioritiesNamingIt) {
    Document doc = WithActiveRows({6, 7, kPlRow});
    doc.Cell(1, kColPriority) = "05";
    doc.Cell(7, kColPriority) = "05";
    doc.Cell(kCallRow, kColPriority) = "PL";
    doc.Table(9, kColPriority) = "05";  // a stored, inactive row
    doc.Cell(6, kColName) = "SIX";
    doc.bModify = false;

    CellClicked(doc, 6, kColStatus);
    EXPECT_EQ(doc.Cell(6, kColStatus), "Inactive");
    EXPECT_TRUE(doc.bModify) << "switching a row off is an edit";
    EXPECT_EQ(doc.Table(6, kColName), "SIX");
    EXPECT_EQ(doc.Cell(6, kColName), "---");
    EXPECT_EQ(doc.Cell(1, kColPriority), "off");
    EXPECT_EQ(doc.Table(1, kColPriority), "off");
    EXPECT_EQ(doc.Cell(7, kColPriority), "off");
    EXPECT_EQ(doc.Table(9, kColPriority), "off");
    EXPECT_EQ(doc.Cell(kCallRow, kColPriority), "PL") << "names another row";

    CellClicked(doc, kPlRow, kColStatus);
    EXPECT_EQ(doc.Cell(kCallRow, kColPriority), "off");

    CellClicked(doc, 6, kColStatus);
    EXPECT_TRUE(doc.IsActive(6));
    EXPECT_EQ(doc.Cell(6, kColName), "SIX");
}

TEST(StatusToggle, CallAndVfoHaveNoStatus) {
    Document doc = LoadedDocument(3);
    CellClicked(doc, kCallRow, kColStatus);
    EXPECT_EQ(doc.Cell(kCallRow, kColStatus), "");
    EXPECT_EQ(doc.Cell(kCallRow, kColRxFreq), "145.0000");
}

TEST(WriteBuffer, DeactivatingKeepsTheRowsOwnSignalCodes) {
    Document doc = WithActiveRows({2, 3});
    // Row A (2): 5-tone code 12 with PTT ID "EOT".
    CellClicked(doc, 2, kColOptSignal);
    ChooseOptSignal(doc, "5Tone");
    ChooseSignalCode(doc, 12);
    ChooseSignalSubCode(doc, 2);
    LeaveOptSignal(doc, "5Tone");
    // Row B (3) edited afterwards: 2-tone code 40.
    CellClicked(doc, 3, kColOptSignal);
    ChooseOptSignal(doc, "2Tone");
    ChooseSignalCode(doc, 40);
    LeaveOptSignal(doc, "2Tone");
    // Row A switched off: its codes are its own.
    CellClicked(doc, 2, kColStatus);
    EXPECT_EQ(doc.Table(2, kColOptSignal), "5Tone");
    EXPECT_EQ(doc.Table(2, kColSignalCode), "12");
    EXPECT_EQ(doc.Table(2, kColSignalSubCode), "2");
    EXPECT_EQ(doc.Table(3, kColSignalCode), "40");
}

TEST(WriteBuffer, NoneResetsTheCode) {
    Document doc = WithActiveRows({2});
    doc.Table(2, kColSignalCode) = "9";
    CellClicked(doc, 2, kColStatus);
    EXPECT_EQ(doc.Table(2, kColSignalCode), "0");
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
    EXPECT_EQ(doc.Cell(1, kColName), "Ab");
}

TEST(StepEditor, ChoosingReroundsTheRowsFrequencies) {
    Document doc = LoadedDocument(4);  // 5 kHz
    doc.Cell(1, kColRxFreq) = "145.0130";
    doc.Cell(1, kColTxFreq) = "145.0130";
    const EditorView view = CellClicked(doc, 1, kColStep);
    EXPECT_EQ(view.text, "5");
    EXPECT_EQ(view.entries.size(), 10u);
    ChooseStep(doc, "12.5");
    EXPECT_EQ(doc.Cell(1, kColRxFreq), "145.01250");
    EXPECT_EQ(doc.Cell(1, kColTxFreq), "145.01250");
    LeaveStep(doc, "12.5");
    EXPECT_EQ(doc.Cell(1, kColStep), "12.5");
    EXPECT_EQ(doc.RowStep[1], "12.5");
    EXPECT_EQ(CellClicked(doc, 1, kColStep).text, "12.5") << "reopens on the row's step";
}

TEST(FrequencyEditors, CheckRoundAndReport) {
    Document doc = LoadedDocument(2);  // Rx 136-173.9950, Tx 144-145.9950, 12.5 kHz
    ScriptedUi ui;
    CellClicked(doc, 1, kColRxFreq);
    CommitRxFreq(doc, "150", ui);
    EXPECT_EQ(doc.Cell(1, kColRxFreq), "150.00000");
    EXPECT_EQ(doc.Cell(1, kColTxFreq), "145.0000") << "150 is outside the Tx band";
    CommitRxFreq(doc, "145.0130", ui);
    EXPECT_EQ(doc.Cell(1, kColRxFreq), "145.01250");
    EXPECT_EQ(doc.Cell(1, kColTxFreq), "145.01250");
    EXPECT_TRUE(ui.messages.empty());

    CommitRxFreq(doc, "180", ui);
    CommitRxFreq(doc, "145,5", ui);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], doc.texts.Message(9006) + "\"136 - 173.9950\"");
    EXPECT_EQ(ui.messages[1], doc.texts.Message(9005));
    EXPECT_EQ(doc.Cell(1, kColRxFreq), "145.01250") << "unchanged after a rejected entry";

    CellClicked(doc, 1, kColTxFreq);
    CommitTxFreq(doc, "150", ui);
    EXPECT_EQ(ui.messages.back(), doc.texts.Message(9009) + "\"144 - 145.9950\"");
    CommitTxFreq(doc, "144.9999", ui);
    EXPECT_EQ(doc.Cell(1, kColTxFreq), "145.00000");
    EXPECT_EQ(doc.Cell(1, kColRxFreq), "145.01250") << "the Tx editor leaves Rx alone";
}

TEST(ToneEditors, TwoStageListsOpenOnTheCellsTone) {
    Document doc = LoadedDocument(3);
    EXPECT_EQ(CellClicked(doc, 1, kColRxTone).text, "off");
    EditorView tones = ChooseToneKind(doc, "CTCSS");
    EXPECT_EQ(tones.name, "ComboCTCSS");
    EXPECT_EQ(tones.entries.size(), 50u);
    CommitCtcss(doc, "88.5");
    EXPECT_EQ(doc.Cell(1, kColRxTone), "C:88.5");

    const EditorView kinds = CellClicked(doc, 1, kColRxTone);
    EXPECT_EQ(kinds.text, "CTCSS");
    LeaveToneKind(doc, kinds.text);  // leaving without a choice keeps the tone
    EXPECT_EQ(doc.Cell(1, kColRxTone), "C:88.5");
    EXPECT_EQ(ChooseToneKind(doc, "CTCSS").text, "88.5");

    CellClicked(doc, 1, kColTxTone);
    tones = ChooseToneKind(doc, "DCS");
    EXPECT_EQ(tones.entries.size(), 233u);
    EXPECT_EQ(tones.text, "017N");
    CommitDcs(doc, "023N");
    EXPECT_EQ(doc.Cell(1, kColTxTone), "D:023N");
    CommitDcs(doc, "off");
    EXPECT_EQ(doc.Cell(1, kColTxTone), "off");
    CellClicked(doc, 1, kColRxTone);
    EXPECT_EQ(ChooseToneKind(doc, "off").kind, EditorKind::None);
    LeaveToneKind(doc, "off");
    EXPECT_EQ(doc.Cell(1, kColRxTone), "off");
}

TEST(ListEditors, CommitTheirText) {
    Document doc = LoadedDocument(3);
    CellClicked(doc, 1, kColBandwidth);
    CommitList(doc, doc.texts.narrow);
    EXPECT_EQ(doc.Cell(1, kColBandwidth), "narrow");
    EXPECT_EQ(CellClicked(doc, 1, kColBandwidth).text, "narrow") << "opens on the cell's value";
    CellClicked(doc, 1, kColShift);
    CommitShift(doc, "");
    EXPECT_EQ(doc.Cell(1, kColShift), "off");
    CommitShift(doc, "anything");
    EXPECT_EQ(doc.Cell(1, kColShift), "on");
    CommitShift(doc, "off");
    EXPECT_EQ(doc.Cell(1, kColShift), "off");
}

TEST(PriorityEditor, ListsLiveRowsAndStoresTheRowName) {
    Document doc = WithActiveRows({6, kPlRow});
    doc.Cell(6, kColRxFreq) = "145.0125";
    doc.Cell(kPlRow, kColRxFreq) = "";
    const EditorView view = CellClicked(doc, 1, kColPriority);
    EXPECT_EQ(view.entries,
              (std::vector<std::string>{"off", "00: 145.0000", "05: 145.0125", "PL: 145.0000",
                                        "CAL: 145.0000", "VFO: 145.0000"}));
    EXPECT_EQ(view.text, "off");
    CommitPriority(doc, "PL: 145.0000");
    EXPECT_EQ(doc.Cell(1, kColPriority), "PL");
    EXPECT_EQ(CellClicked(doc, 1, kColPriority).text, "PL: 145.0000");
    CommitPriority(doc, "");
    EXPECT_EQ(doc.Cell(1, kColPriority), "PL");
    CommitPriority(doc, "CAL: 145.0000");
    EXPECT_EQ(doc.Cell(1, kColPriority), "CAL");
    CommitPriority(doc, "off");
    EXPECT_EQ(doc.Cell(1, kColPriority), "off");
}

TEST(OptSignalEditor, CodeListsPerTypePresetToTheRowsCodes) {
    Document doc = LoadedDocument(3);
    doc.Table(1, kColSignalCode) = "3";
    doc.Table(1, kColSignalSubCode) = "1";
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

    doc.Table(1, kColSignalCode) = "";
    EXPECT_EQ(ChooseOptSignal(doc, "DTMF").at(0).text, "C0") << "empty code presets 0";
    LeaveOptSignal(doc, "DTMF");
    EXPECT_EQ(doc.Cell(1, kColOptSignal), "DTMF");
    EXPECT_EQ(doc.Table(1, kColOptSignal), "DTMF");
    EXPECT_EQ(CellClicked(doc, 1, kColOptSignal).text, "DTMF");
    GridScrolled(doc);
    EXPECT_FALSE(doc.codeListsShown);
}

TEST(OptSignalEditor, OnlyTypesTheRadioOffers) {
    Document doc = LoadedDocument(3, FeatureFlags{false, true, false, false});
    doc.Cell(1, kColOptSignal) = "DTMF";  // e.g. from a file made for another radio
    const EditorView view = CellClicked(doc, 1, kColOptSignal);
    EXPECT_EQ(view.entries, (std::vector<std::string>{"None", "2Tone"}));
    EXPECT_EQ(view.text, "None");
}

TEST(KeptRow, RestoringUndoesWhatAnEditorChanged) {
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
        doc.Cell(2, kColRxFreq) = "145.0130";
        CellClicked(doc, 2, kColRxTone);
        const Document before = doc;
        const KeptRow kept = KeepRow(doc, 2);
        edits[i](doc);
        EXPECT_NE(doc, before) << "edit " << i << " changed nothing";
        RestoreRow(doc, kept);
        EXPECT_EQ(doc, before) << "edit " << i;
    }
    Document doc = LoadedDocument(3);
    const Document before = doc;
    RestoreRow(doc, KeepRow(doc, kRowCount + 1));
    EXPECT_EQ(doc, before) << "a row outside the grid keeps nothing";
}

}  // namespace
}  // namespace qx
