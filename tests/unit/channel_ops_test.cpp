#include "app/channel_ops.h"

#include <gtest/gtest.h>

#include <functional>

#include "channels/cell_editors.h"
#include "codeplug/defaults.h"
#include "document_builder.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ScriptedUi;

void ExpectRowShowsPlaceholders(const Document& doc, int row) {
    for (int c = kFirstFieldColumn; c <= kLastFieldColumn; ++c) {
        EXPECT_EQ(CellText(doc, row, c), "---") << "row " << row << " column " << c;
    }
}

// Puts values into the codeplug as a file or a radio would.
void Set(Document& doc, const std::function<void(Codeplug&)>& change) {
    doc.Change(StepLabel{}, change);
}

TEST(ClearAll, Model3GivesChannelZeroItsDefaultsAndTheRestInactive) {
    const Document doc = LoadedDocument(3);
    EXPECT_EQ(doc.model(), 3);
    EXPECT_EQ(CellText(doc, 1, kColStatus), "Active");
    EXPECT_EQ(CellText(doc, 1, kColStep), "12.5");
    EXPECT_EQ(CellText(doc, 1, kColRxFreq), "145.0000");
    EXPECT_EQ(CellText(doc, 1, kColTxFreq), "145.0000");
    EXPECT_EQ(CellText(doc, 1, kColBandwidth), "wide");
    EXPECT_EQ(CellText(doc, 1, kColScanSkip), "off");
    EXPECT_EQ(CellText(doc, 1, kColOptSignal), "None");
    for (int row = 2; row <= kPhRow; ++row) {
        EXPECT_EQ(CellText(doc, row, kColStatus), "Inactive");
        ExpectRowShowsPlaceholders(doc, row);
        EXPECT_TRUE(doc.codeplug().Row(row).blank) << row;
    }
    for (int row : {kCallRow, kVfoRow}) {
        EXPECT_EQ(CellText(doc, row, kColStatus), "");
        EXPECT_EQ(CellText(doc, row, kColRxFreq), "145.0000");
    }
    EXPECT_EQ(doc.texts.headings[kColName], "Name");
    EXPECT_EQ(CellText(doc, 100, kColLabel), "99");
    EXPECT_EQ(CellText(doc, kPlRow, kColLabel), "PL");
    EXPECT_EQ(CellText(doc, kCallRow, kColLabel), "C");
    EXPECT_EQ(CellText(doc, kVfoRow, kColLabel), "V");
    EXPECT_EQ(OptionsRecord(doc.codeplug().options), kDefaultSetup);
    EXPECT_EQ(AutoDialerRecord(doc.codeplug().autoDialer), "Ad||||||||||");
    EXPECT_EQ(doc.filename, "noname.qx");
    EXPECT_EQ(doc.statusText, " Current File: Noname.qx");
    EXPECT_FALSE(doc.Modified());
}

TEST(ClearAll, DefaultsPerModel) {
    struct Case {
        int model;
        const char* frequency;
        const char* step;
    };
    for (const Case c :
         {Case{0, "27.0000", "5"}, Case{2, "145.0000", "12.5"}, Case{4, "145.0000", "5"},
          Case{8, "223.0000", "5"}, Case{16, "350.0000", "5"}, Case{31, "415.0000", "5"}}) {
        Document doc = LoadedDocument(c.model);
        EXPECT_EQ(CellText(doc, 1, kColRxFreq), c.frequency) << "model " << c.model;
        EXPECT_EQ(CellText(doc, kCallRow, kColTxFreq), c.frequency) << "model " << c.model;
        EXPECT_EQ(DefaultChannel(c.model).rx.ToString(), c.frequency) << "model " << c.model;
        EXPECT_EQ(CellText(doc, 1, kColStep), c.step) << "model " << c.model;
        EXPECT_EQ(CellText(doc, kVfoRow, kColStep), c.step) << "model " << c.model;
        // A blank row switched on gets the same.
        SetRowInUse(doc, 50, true);
        EXPECT_EQ(CellText(doc, 50, kColStep), c.step) << "model " << c.model;
        EXPECT_EQ(CellText(doc, 50, kColRxFreq), c.frequency) << "model " << c.model;
    }
}

TEST(ClearAll, Model9LeavesChannelZeroInactive) {
    const Document doc = LoadedDocument(9);
    EXPECT_EQ(CellText(doc, 1, kColStatus), "Inactive");
    ExpectRowShowsPlaceholders(doc, 1);
    EXPECT_EQ(CellText(doc, kCallRow, kColRxFreq), "245.5000");
    EXPECT_EQ(CellText(doc, kVfoRow, kColRxFreq), "245.5000");
}

TEST(ClearAll, GivesANewCodeplugAsOneCleanStep) {
    Document doc = LoadedDocument(3);
    Set(doc, [](Codeplug& c) {
        c.Row(5).signal.code = 7;
        c.Row(5).signal.subCode = 2;
        c.signalling.fiveTone.selfId = "99999";
        c.Row(1).name = "OLD";
    });
    const Codeplug before = doc.codeplug();
    doc.filename = "/somewhere/a.qx";
    ClearAll(doc);
    // The signal codes of the previous document are not kept any more.
    EXPECT_EQ(doc.codeplug(), NewCodeplug(3));
    EXPECT_FALSE(doc.codeplug().Row(5).signal.code.has_value());
    EXPECT_EQ(doc.codeplug().signalling.fiveTone.selfId, "12345");
    EXPECT_EQ(doc.filename, "noname.qx");
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.UndoStep(), StepLabel{StepKind::New});
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.codeplug(), before);
    EXPECT_TRUE(doc.Modified());
}

TEST(SetRowInUse, RowsOutsideTheChannelsAndPlPhChangeNothing) {
    Document doc = LoadedDocument(3);
    const Codeplug before = doc.codeplug();
    for (int row : {0, kCallRow, kVfoRow, kRowCount + 1}) {
        SetRowInUse(doc, row, false);
        SetRowInUse(doc, row, true);
        ToggleRowStatus(doc, row);
    }
    EXPECT_EQ(doc.codeplug(), before);
    EXPECT_FALSE(doc.CanUndo());
}

TEST(SetRowInUse, ABlankRowTakesTheModelsDefaultsAndKeepsItsCodes) {
    Document doc = LoadedDocument(3);
    Set(doc, [](Codeplug& c) { c.Row(7).signal = ChannelSignal{SignalKind::None, 4, 1}; });
    SetRowInUse(doc, 7, true);
    Channel expected = DefaultChannel(3);
    expected.inUse = true;
    expected.signal.code = 4;
    expected.signal.subCode = 1;
    EXPECT_EQ(doc.codeplug().Row(7), expected);
    EXPECT_EQ(doc.UndoStep(), (StepLabel{StepKind::ChannelOnOff, 7}));
    SetRowInUse(doc, 7, true);
    EXPECT_EQ(doc.UndoStep(), (StepLabel{StepKind::ChannelOnOff, 7}));
    ASSERT_TRUE(doc.Undo());
    EXPECT_TRUE(doc.codeplug().Row(7).blank) << "switching on a row in use is no step";
}

TEST(ModelChange, ABlankRowTakesTheNewModelsOwnStep) {
    Document doc = LoadedDocument(2);
    ScriptedUi ui;
    ASSERT_TRUE(ChangeModel(doc, 10, ui, [] { return true; }));
    EXPECT_EQ(doc.codeplug().Row(1).step, Step::k5);
    EXPECT_EQ(doc.codeplug().Vfo().step, Step::k5);
    // Model 2's 12.5 kHz is not left over for a row brought back after the change.
    CellClicked(doc, 10, kColStatus);
    EXPECT_EQ(CellText(doc, 10, kColStep), "5");
    EXPECT_EQ(CellText(doc, 10, kColRxFreq), "250.0000");
}

TEST(ModelChange, AsksBeforeDiscardingChanges) {
    struct Case {
        Answer answer;
        bool saveSucceeds;
        bool expectSaved;
        bool expectChanged;
    };
    for (const Case c :
         {Case{Answer::Cancel, true, false, false}, Case{Answer::No, true, false, true},
          Case{Answer::Yes, true, true, true}, Case{Answer::Yes, false, true, false}}) {
        Document doc = LoadedDocument(3);
        CellClicked(doc, 5, kColStatus);  // an edit
        ASSERT_TRUE(doc.Modified());
        const Codeplug edited = doc.codeplug();
        ScriptedUi ui;
        ui.answers = {c.answer};
        bool saved = false;
        EXPECT_EQ(ChangeModel(doc, 24, ui,
                              [&] {
                                  saved = true;
                                  return c.saveSucceeds;
                              }),
                  c.expectChanged);
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.questions[0], doc.texts.Message(9001));
        EXPECT_EQ(ui.buttonsAsked[0], Buttons::YesNoCancel);
        EXPECT_EQ(saved, c.expectSaved);
        if (c.expectChanged) {
            EXPECT_EQ(doc.codeplug(), NewCodeplug(24));
            EXPECT_EQ(CellText(doc, 1, kColRxFreq), "435.0000");
            EXPECT_EQ(doc.UndoStep(), StepLabel{StepKind::Model});
            EXPECT_FALSE(doc.Modified());
            ASSERT_TRUE(doc.Undo());
            EXPECT_EQ(doc.codeplug(), edited) << "the change is one step";
        } else {
            // Cancel (or a save that did not happen) keeps the document and its model.
            EXPECT_EQ(doc.codeplug(), edited);
            EXPECT_EQ(doc.model(), 3);
            EXPECT_TRUE(doc.Modified());
            EXPECT_EQ(doc.UndoStep(), (StepLabel{StepKind::ChannelOnOff, 5}));
        }
    }
}

TEST(ModelChange, TheLoadLeavesACleanDocumentWithNothingToUndo) {
    for (int model : {3, 8}) {
        Document doc;
        ScriptedUi ui;
        LoadMainWindow(doc, test::EnglishTexts(), test::kAllFeatures, ui);
        if (model != doc.model()) ChangeModel(doc, model, ui, [] { return true; });
        EXPECT_TRUE(ui.questions.empty());
        EXPECT_EQ(doc.codeplug(), NewCodeplug(model));
        EXPECT_EQ(DefaultChannel(model).rx.ToString(), model == 8 ? "223.0000" : "145.0000");
        EXPECT_FALSE(doc.Modified());
        EXPECT_EQ(doc.CanUndo(), model != 3) << "the load's own model selection is no step";
    }
}

TEST(Bandwidth, EditorAndGridUseTheWordsOfEitherLanguage) {
    for (const char* file : {"english.ini", "chinese.ini"}) {
        Document doc;
        ScriptedUi ui;
        LoadMainWindow(doc, LanguageTexts(QX_LANGUAGE_DIR, file), test::kAllFeatures, ui);
        ASSERT_NE(doc.texts.wide, doc.texts.narrow) << file;
        CellClicked(doc, 1, kColBandwidth);
        CommitList(doc, doc.texts.narrow);
        EndCellEdit(doc);
        EXPECT_EQ(doc.codeplug().Row(1).bandwidth, Bandwidth::Narrow) << file;
        EXPECT_EQ(CellText(doc, 1, kColBandwidth), doc.texts.narrow) << file;
        CellClicked(doc, 1, kColBandwidth);
        CommitList(doc, doc.texts.wide);
        EndCellEdit(doc);
        EXPECT_EQ(doc.codeplug().Row(1).bandwidth, Bandwidth::Wide) << file;
        EXPECT_EQ(CellText(doc, 1, kColBandwidth), doc.texts.wide) << file;
        // The call channel and the VFO show the language's word too; a
        // channel named "wide" keeps its name.
        Set(doc, [](Codeplug& c) {
            c.CallChannel().bandwidth = Bandwidth::Narrow;
            c.Row(1).name = "wide";
        });
        EXPECT_EQ(CellText(doc, kCallRow, kColBandwidth), doc.texts.narrow) << file;
        EXPECT_EQ(CellText(doc, kVfoRow, kColBandwidth), doc.texts.wide) << file;
        EXPECT_EQ(CellText(doc, 1, kColName), "wide") << file;
    }
}

TEST(BandCheck, GivesTheRangeTextOfTheModel) {
    EXPECT_TRUE(CheckRxFreq(2, "136").inBand);
    EXPECT_TRUE(CheckRxFreq(2, "173.9950").inBand);
    EXPECT_FALSE(CheckRxFreq(2, "173.9951").inBand);
    EXPECT_EQ(CheckRxFreq(2, "1").rangeText, "\"136 - 173.9950\"");
    EXPECT_EQ(CheckTxFreq(2, "1").rangeText, "\"144 - 145.9950\"");
    EXPECT_FALSE(CheckTxFreq(2, "146").inBand);
    EXPECT_FALSE(CheckRxFreq(2, "abc").inBand);
    EXPECT_FALSE(CheckRxFreq(kNoModel, "145").inBand);
}

TEST(ShowRadioFeatures, ListsOnlyWhatTheRadioOffers) {
    Document doc;
    ShowRadioFeatures(doc, FeatureFlags{true, false, true, false});
    EXPECT_EQ(doc.optSignalList, (std::vector<std::string>{"None", "DTMF", "DTMF-ANI", "5Tone"}));
    EXPECT_TRUE(doc.menus.dtmf);
    EXPECT_FALSE(doc.menus.twoTone);
    EXPECT_TRUE(doc.menus.fiveTone);
    ShowRadioFeatures(doc, FeatureFlags{});
    EXPECT_EQ(doc.optSignalList, (std::vector<std::string>{"None"}));
    ShowRadioFeatures(doc, test::kAllFeatures);
    EXPECT_EQ(doc.optSignalList,
              (std::vector<std::string>{"None", "DTMF", "DTMF-ANI", "2Tone", "5Tone"}));
}

TEST(LoadMainWindow, WorksWithoutALanguageFile) {
    Document doc;
    ScriptedUi ui;
    LoadMainWindow(doc, LanguageTexts(), FeatureFlags{}, ui);
    EXPECT_EQ(doc.texts.headings[kColName], "");
    EXPECT_EQ(CellText(doc, 1, kColRxFreq), "145.0000");
    EXPECT_EQ(doc.model(), 3);
    // The status words are empty, yet a row not in use still hides its
    // values and keeps them.
    Set(doc, [](Codeplug& c) {
        c.Row(5) = DefaultChannel(3);
        c.Row(5).name = "KEEP";
    });
    EXPECT_EQ(CellText(doc, 5, kColStatus), "");
    EXPECT_EQ(CellText(doc, 5, kColName), "---");
    SetRowInUse(doc, 5, true);
    EXPECT_EQ(CellText(doc, 5, kColName), "KEEP");
}

}  // namespace
}  // namespace qx
