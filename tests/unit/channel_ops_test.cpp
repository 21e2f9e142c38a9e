#include "channels/channel_ops.h"

#include <gtest/gtest.h>

#include "channels/cell_editors.h"
#include "document_builder.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ScriptedUi;

void ExpectRowShowsPlaceholders(const Document& doc, int row) {
    for (int c = kFirstFieldColumn; c <= kLastFieldColumn; ++c) {
        EXPECT_EQ(doc.Cell(row, c), "---") << "row " << row << " column " << c;
    }
}

TEST(ClearAll, Model3GivesChannelZeroItsDefaultsAndTheRestInactive) {
    const Document doc = LoadedDocument(3);
    EXPECT_EQ(doc.modelIndex, 3);
    EXPECT_EQ(doc.Cell(1, kColStatus), "Active");
    EXPECT_EQ(doc.Cell(1, kColStep), "12.5");
    EXPECT_EQ(doc.Cell(1, kColRxFreq), "145.0000");
    EXPECT_EQ(doc.Cell(1, kColTxFreq), "145.0000");
    EXPECT_EQ(doc.Cell(1, kColBandwidth), "wide");
    EXPECT_EQ(doc.Cell(1, kColScanSkip), "off");
    EXPECT_EQ(doc.Cell(1, kColOptSignal), "None");
    for (int row = 2; row <= kPhRow; ++row) {
        EXPECT_EQ(doc.Cell(row, kColStatus), "Inactive");
        ExpectRowShowsPlaceholders(doc, row);
        EXPECT_EQ(doc.Table(row, kColRxFreq), "");
    }
    for (int row : {kCallRow, kVfoRow}) {
        EXPECT_EQ(doc.Cell(row, kColStatus), "");
        EXPECT_EQ(doc.Cell(row, kColRxFreq), "145.0000");
    }
    EXPECT_EQ(doc.Cell(0, kColName), "Name");
    EXPECT_EQ(doc.Cell(100, kColLabel), "99");
    EXPECT_EQ(doc.Cell(kPlRow, kColLabel), "PL");
    EXPECT_EQ(doc.Cell(kVfoRow, kColLabel), "V");
    EXPECT_EQ(doc.RowStep[50], "12.5");
    EXPECT_EQ(doc.strSetup, kDefaultSetup);
    EXPECT_EQ(doc.strAutoDial, "Ad||||||||||");
    EXPECT_EQ(doc.filename, "noname.qx");
    EXPECT_EQ(doc.statusText, " Current File: Noname.qx");
    EXPECT_FALSE(doc.bModify);
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
        const Document doc = LoadedDocument(c.model);
        EXPECT_EQ(doc.Cell(1, kColRxFreq), c.frequency) << "model " << c.model;
        EXPECT_EQ(doc.Cell(kCallRow, kColTxFreq), c.frequency) << "model " << c.model;
        EXPECT_EQ(doc.DefaultRow[kColRxFreq], c.frequency) << "model " << c.model;
        EXPECT_EQ(doc.Cell(1, kColStep), c.step) << "model " << c.model;
        EXPECT_EQ(doc.RowStep[1], c.step) << "model " << c.model;
    }
}

TEST(ClearAll, Model9LeavesChannelZeroInactive) {
    const Document doc = LoadedDocument(9);
    EXPECT_EQ(doc.Cell(1, kColStatus), "Inactive");
    ExpectRowShowsPlaceholders(doc, 1);
    EXPECT_EQ(doc.Cell(kCallRow, kColRxFreq), "245.5000");
    EXPECT_EQ(doc.Cell(kVfoRow, kColRxFreq), "245.5000");
}

TEST(ClearAll, KeepsSignalCodesButResetsSignalling) {
    Document doc = LoadedDocument(3);
    doc.Table(5, kColSignalCode) = "7";
    doc.Table(5, kColSignalSubCode) = "2";
    doc.signalling.live.fiveTone.selfId = "99999";
    ClearAll(doc);
    EXPECT_EQ(doc.Table(5, kColSignalCode), "7");
    EXPECT_EQ(doc.Table(5, kColSignalSubCode), "2");
    EXPECT_EQ(doc.signalling.live.fiveTone.selfId, "12345");
}

TEST(InitialSingleLine, RowsOutsideTheTableChangeNothing) {
    Document doc = LoadedDocument(3);
    const GridTexts before = doc.grid;
    InitialSingleLine(doc, 0);
    InitialSingleLine(doc, 105);
    EXPECT_EQ(doc.grid, before);
}

TEST(ModelChange, StepDefaultSurvivesASwitchToAModelWithoutOne) {
    Document doc = LoadedDocument(2);
    ScriptedUi ui;
    ChangeModel(doc, 10, ui, [] { return true; });
    EXPECT_EQ(doc.DefaultRow[kColStep], "12.5");
    EXPECT_EQ(doc.RowStep[1], "5");
    EXPECT_EQ(doc.RowStep[104], "5");
    // A channel brought back with an empty stored step shows the kept default.
    CellClicked(doc, 10, kColStep);
    EXPECT_EQ(doc.Cell(10, kColStep), "12.5");
    EXPECT_EQ(doc.Cell(10, kColRxFreq), "250.0000");
}

TEST(ModelChange, AsksBeforeDiscardingChanges) {
    struct Case {
        Answer answer;
        bool saveSucceeds;
        bool expectSaved;
        bool expectCleared;
    };
    for (const Case c :
         {Case{Answer::Cancel, true, false, false}, Case{Answer::No, true, false, true},
          Case{Answer::Yes, true, true, true}, Case{Answer::Yes, false, true, false}}) {
        Document doc = LoadedDocument(3);
        CellClicked(doc, 5, kColStatus);  // an edit
        ASSERT_TRUE(doc.bModify);
        ScriptedUi ui;
        ui.answers = {c.answer};
        bool saved = false;
        ChangeModel(doc, 24, ui, [&] {
            saved = true;
            return c.saveSucceeds;
        });
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.questions[0], doc.texts.Message(9001));
        EXPECT_EQ(ui.buttonsAsked[0], Buttons::YesNoCancel);
        EXPECT_EQ(saved, c.expectSaved);
        EXPECT_EQ(doc.modelIndex, 24) << "the selector keeps the new model";
        EXPECT_EQ(doc.IsActive(5), !c.expectCleared);
        EXPECT_EQ(doc.Cell(1, kColRxFreq), c.expectCleared ? "435.0000" : "145.0000");
    }
}

TEST(ModelChange, FirstSelectionOnlyInitialisesDefaults) {
    Document doc;
    doc.texts = DocumentTexts::From(test::EnglishTexts());
    BuildGrid(doc);
    doc.BeReadReshow = false;
    doc.Cell(1, kColName) = "KEEP";
    ScriptedUi ui;
    ChangeModel(doc, 8, ui, [] { return true; });
    EXPECT_EQ(doc.Cell(1, kColName), "KEEP");
    EXPECT_EQ(doc.DefaultRow[kColRxFreq], "223.0000");
    EXPECT_TRUE(doc.BeReadReshow);
}

TEST(UpdateAllArray, CopiesLiveRowsWithCanonicalBandwidth) {
    Document doc = LoadedDocument(3);
    CellClicked(doc, 3, kColStatus);  // channel 2 on
    doc.Cell(3, kColBandwidth) = doc.texts.narrow;
    doc.Cell(3, kColName) = "CH2";
    UpdateAllArray(doc);
    EXPECT_EQ(doc.Table(3, kColBandwidth), "narrow");
    EXPECT_EQ(doc.Table(1, kColBandwidth), "wide");
    EXPECT_EQ(doc.Table(3, kColName), "CH2");
    EXPECT_EQ(doc.Table(3, kColStatus), "Active");
    EXPECT_EQ(doc.Table(kVfoRow, kColStatus), "Active") << "empty status counts as live";
    EXPECT_EQ(doc.Table(4, kColRxFreq), "") << "inactive rows keep their stored values";
    EXPECT_NE(doc.Table(4, kColStatus), "Active");
}

TEST(GridAndTable, WideAndNarrowRoundTripInBothLanguages) {
    for (const char* file : {"english.ini", "chinese.ini"}) {
        Document doc;
        ScriptedUi ui;
        LoadMainWindow(doc, LanguageTexts(QX_LANGUAGE_DIR, file), test::kAllFeatures, ui);
        doc.Cell(1, kColBandwidth) = doc.texts.narrow;
        WriteBuffer(doc, 1);
        EXPECT_EQ(doc.Table(1, kColBandwidth), "narrow") << file;
        ReadBuffer(doc, 1);
        EXPECT_EQ(doc.Cell(1, kColBandwidth), doc.texts.narrow) << file;
        doc.Table(1, kColBandwidth) = "wide";
        ReadBuffer(doc, 1);
        EXPECT_EQ(doc.Cell(1, kColBandwidth), doc.texts.wide) << file;
    }
}

TEST(GridAndTable, SameWideAndNarrowTextsSaveAsWide) {
    Document doc = LoadedDocument(3);
    doc.texts.narrow = doc.texts.wide;
    WriteBuffer(doc, 1);
    EXPECT_EQ(doc.Table(1, kColBandwidth), "wide");
}

TEST(GridAndTable, ReadBufferFillsEmptyValuesFromTheDefaultRow) {
    Document doc = LoadedDocument(3);
    doc.Table(7, kColName) = "ABC";
    doc.Table(7, kColStep) = "6.25";
    ReadBuffer(doc, 7);
    EXPECT_EQ(doc.Cell(7, kColName), "ABC");
    EXPECT_EQ(doc.Cell(7, kColRxFreq), "145.0000");
    EXPECT_EQ(doc.Cell(7, kColRxTone), "off");
    EXPECT_EQ(doc.Cell(7, kColOptSignal), "None");
    EXPECT_EQ(doc.RowStep[7], "6.25") << "frequencies are rounded to the step the row shows";
}

TEST(BandCheck, GivesTheRangeTextOfTheModel) {
    Document doc = LoadedDocument(2);
    EXPECT_TRUE(CheckRxFreq(doc, "136").inBand);
    EXPECT_TRUE(CheckRxFreq(doc, "173.9950").inBand);
    EXPECT_FALSE(CheckRxFreq(doc, "173.9951").inBand);
    EXPECT_EQ(CheckRxFreq(doc, "1").rangeText, "\"136 - 173.9950\"");
    EXPECT_EQ(CheckTxFreq(doc, "1").rangeText, "\"144 - 145.9950\"");
    EXPECT_FALSE(CheckRxFreq(doc, "abc").inBand);
    doc.modelIndex = -1;
    EXPECT_FALSE(CheckRxFreq(doc, "145").inBand);
}

TEST(ReShowFunByRadio, ListsOnlyWhatTheRadioOffers) {
    Document doc;
    ReShowFunByRadio(doc, FeatureFlags{true, false, true, false});
    EXPECT_EQ(doc.optSignalList, (std::vector<std::string>{"None", "DTMF", "DTMF-ANI", "5Tone"}));
    EXPECT_TRUE(doc.menus.dtmf);
    EXPECT_FALSE(doc.menus.twoTone);
    EXPECT_TRUE(doc.menus.fiveTone);
    ReShowFunByRadio(doc, FeatureFlags{});
    EXPECT_EQ(doc.optSignalList, (std::vector<std::string>{"None"}));
    ReShowFunByRadio(doc, test::kAllFeatures);
    EXPECT_EQ(doc.optSignalList,
              (std::vector<std::string>{"None", "DTMF", "DTMF-ANI", "2Tone", "5Tone"}));
}

TEST(LoadMainWindow, WorksWithoutALanguageFile) {
    Document doc;
    ScriptedUi ui;
    LoadMainWindow(doc, LanguageTexts(), FeatureFlags{}, ui);
    EXPECT_EQ(doc.Cell(0, kColName), "");
    EXPECT_EQ(doc.Cell(1, kColRxFreq), "145.0000");
    EXPECT_EQ(doc.modelIndex, 3);
    // Status texts are empty, so every row counts as active, but placeholders
    // are never copied over stored values.
    doc.Table(5, kColName) = "KEEP";
    UpdateAllArray(doc);
    EXPECT_EQ(doc.Table(5, kColName), "KEEP");
}

}  // namespace
}  // namespace qx
