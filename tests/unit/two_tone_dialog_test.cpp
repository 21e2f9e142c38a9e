#include "signalling/two_tone_dialog.h"

#include <gtest/gtest.h>

#include "codeplug/defaults.h"
#include "document_builder.h"
#include "signalling/two_tone.h"

namespace qx {

void PrintTo(const ToneDivisor& d, std::ostream* os) {
    *os << int{d.high} << "/" << int{d.low} << "/" << int{d.tenths};
}

namespace {

using test::EnglishTexts;

TEST(ToneDivisor, FrequencyToDivisorAndBack) {
    struct Case {
        int hz;
        ToneUse use;
        ToneDivisor divisor;
    };
    for (const Case c :
         {Case{280, ToneUse::Code, {51, 109, 7}}, Case{3106, ToneUse::Code, {4, 162, 8}},
          Case{2000, ToneUse::OwnPair, {3, 153, 6}}, Case{2000, ToneUse::Code, {7, 51, 2}},
          Case{100, ToneUse::Code, {51, 109, 7}}, Case{5000, ToneUse::OwnPair, {2, 81, 4}}}) {
        EXPECT_EQ(DivisorOfFrequency(c.hz, c.use), c.divisor) << c.hz;
        EXPECT_EQ(FrequencyOfDivisor(c.divisor, c.use), std::clamp(c.hz, 280, 3106)) << c.hz;
    }
    // 3686400 / 1843 = 2000.2, / 3686 = 1000.1, / 32768 = 112.5 exactly (half up).
    EXPECT_EQ(FrequencyOfDivisor({7, 51, 0}, ToneUse::OwnPair), 1000);
    EXPECT_EQ(FrequencyOfDivisor({128, 0, 0}, ToneUse::Code), 113);
    EXPECT_EQ(WholeHzOfDivisor({128, 0, 0}, ToneUse::Code), 112);
    EXPECT_EQ(FrequencyOfDivisor({0, 0, 5}, ToneUse::Code), 0) << "no tone";
    for (int hz = kMinToneHz; hz <= kMaxToneHz; ++hz) {
        const ToneDivisor code = DivisorOfFrequency(hz, ToneUse::Code);
        ASSERT_EQ(FrequencyOfDivisor(code, ToneUse::Code), hz);
        ASSERT_EQ(WholeHzOfDivisor(DivisorOfFrequency(hz, ToneUse::OwnPair), ToneUse::OwnPair), hz);
    }
}

TEST(ToneDivisor, NormaliseToneText) {
    for (const auto& [text, normalised] :
         {std::pair{"", "2000"}, std::pair{"12a", "2000"}, std::pair{"0280", "280"},
          std::pair{"5000", "3106"}, std::pair{"-5", "280"},
          std::pair{"99999999999999999999999", "3106"}}) {
        EXPECT_EQ(NormaliseToneText(text), normalised) << text;
    }
}

// A document opened with this 2-tone record.
Document WithTwoTone(const TwoToneSettings& settings) {
    Codeplug codeplug = NewCodeplug(kStartModel);
    codeplug.signalling.twoTone = settings;
    return Document(codeplug);
}

const TwoToneSettings& Stored(const Document& doc) { return doc.codeplug().signalling.twoTone; }

// Code 0 has both tones, code 1 tone 1 only, code 2 a tone 2 without tone 1.
TwoToneSettings WithCodes() {
    TwoToneSettings settings;
    settings.codes[0] = {7, 51, 4, 162, 2, 8};  // 2000 Hz, 3106 Hz
    settings.codes[1] = {51, 109, 0, 0, 7, 0};  // 280 Hz
    settings.codes[2] = {0, 0, 7, 51, 0, 2};
    return settings;
}

TEST(TwoToneDialog, OpensFromTheStoredRecord) {
    Document doc = WithTwoTone(WithCodes());
    const TwoToneDialog dialog(doc, EnglishTexts());
    EXPECT_EQ(dialog.Captions().toneLabels[3], "Tone-D");
    EXPECT_EQ(dialog.PairList().entries[13], "Long B");
    EXPECT_EQ(dialog.ResponseList().entries[2], "Alert & Transpond");
    const auto& times = dialog.TimeList(0).entries;
    EXPECT_EQ((std::vector<std::string>{times[0], times[5], times[95]}),
              (std::vector<std::string>{"0.5", "1.0", "10.0"}));
    EXPECT_EQ(dialog.TimeList(3).entries.back(), "2000");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dialog.Tone(i).text, "2000") << i;
        EXPECT_EQ(dialog.Tone(i).enabled, i < 2) << i;
    }
    const std::vector<std::array<std::string, 3>> rows = {{"No.", "Tone 1 (Hz)", "Tone 2 (Hz)"},
                                                          {"0", "2000", "3106"},
                                                          {"1", "280", ""},
                                                          {"2", "", ""}};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(dialog.GridText(row, column), rows[row][column]) << row << "," << column;
        }
    }
}

TEST(TwoToneDialog, OutOfRangeIndexesShowAndSaveTheFallbackEntries) {
    Document doc = WithTwoTone(
        {.pairIndex = 15, .responseMode = 3, .time1 = 4, .time2 = 101, .time3 = 0, .time4 = 21});
    TwoToneDialog dialog(doc, EnglishTexts());
    EXPECT_EQ(dialog.PairList().text, "A-B");
    EXPECT_EQ(dialog.ResponseList().text, "None");
    const std::array<const char*, 4> shown = {"0.5", "0.5", "1.0", "1000"};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(dialog.TimeList(k).text, shown[k]) << k;
    dialog.Ok();
    const TwoToneSettings& s = Stored(doc);
    EXPECT_EQ((std::array{s.pairIndex, s.responseMode, s.time1, s.time2, s.time3, s.time4}),
              (std::array<std::uint8_t, 6>{0, 0, 5, 5, 10, 10}));
}

TEST(TwoToneDialog, MissingOwnTonesShowAbout1000Hz) {
    TwoToneSettings s;
    s.pairIndex = 10;  // "D-B"
    s.tone1High = s.tone1Low = s.tone2High = s.tone2Low = 0;
    Document doc = WithTwoTone(s);
    const TwoToneDialog dialog(doc, EnglishTexts());
    EXPECT_EQ(dialog.Tone(3).text, "1000");
    EXPECT_EQ(dialog.Tone(1).text, "1000");
}

TEST(TwoToneDialog, ChoosingAPairEnablesItsToneFields) {
    Document doc;
    TwoToneDialog dialog(doc, EnglishTexts());
    for (const auto& [pair, enabled] : std::vector<std::pair<int, std::array<bool, 4>>>{
             {8, {false, false, true, true}},
             {9, {true, false, false, true}},
             {14, {false, false, true, false}},
             {15, {false, false, true, false}}}) {  // ignored
        dialog.ChoosePair(pair);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(dialog.Tone(i).enabled, enabled[i]) << pair;
    }
}

TEST(TwoToneDialog, OkStoresTheOwnPairAndOptionsAsOneStep) {
    Document doc;
    const Codeplug opened = doc.codeplug();
    TwoToneDialog dialog(doc, EnglishTexts());
    dialog.ChoosePair(13);  // "Long B"
    dialog.SetToneText(1, "1500");
    dialog.SetToneText(0, "");
    dialog.SelectResponse(2);
    dialog.SelectTime(0, 95);
    dialog.SelectTime(2, 0);
    dialog.Ok();
    const TwoToneSettings& s = Stored(doc);
    EXPECT_EQ(s.pairIndex, 13);
    EXPECT_EQ((ToneDivisor{s.tone1High, s.tone1Low, s.tone1Tenths}),
              DivisorOfFrequency(1500, ToneUse::OwnPair));
    EXPECT_EQ((ToneDivisor{s.tone2High, s.tone2Low, s.tone2Tenths}), ToneDivisor{});
    EXPECT_EQ((std::array{s.responseMode, s.time1, s.time3}),
              (std::array<std::uint8_t, 3>{2, 100, 5}));
    EXPECT_EQ(dialog.Tone(0).text, "2000") << "every field is normalised";
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.UndoStep(), StepLabel{StepKind::TwoTone});
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.codeplug(), opened) << "one step";
}

TEST(TwoToneDialog, CancelLeavesTheRecordAndOkWithoutChangesAddsNoStep) {
    TwoToneSettings s = WithCodes();
    // 3089 Hz stores a divisor that gives 3089.6 Hz back; it must not drift to 3090.
    const ToneDivisor stored = DivisorOfFrequency(3089, ToneUse::OwnPair);
    std::tie(s.tone2High, s.tone2Low, s.tone2Tenths) =
        std::tie(stored.high, stored.low, stored.tenths);
    Document doc = WithTwoTone(s);
    const Codeplug opened = doc.codeplug();
    {
        TwoToneDialog dialog(doc, EnglishTexts());
        dialog.ChoosePair(12);
        dialog.EnterCell(5, 1);
        dialog.SetEditorText("1200");
        dialog.GridScrolled();
        dialog.Cancel();
    }
    EXPECT_EQ(doc.codeplug(), opened);
    TwoToneDialog dialog(doc, EnglishTexts());
    EXPECT_EQ(dialog.Tone(1).text, "3089");
    EXPECT_EQ(dialog.GridText(5, 1), "");
    dialog.EnterCell(1, 1);
    dialog.EnterCell(1, 2);
    dialog.Ok();
    EXPECT_EQ(doc.codeplug(), opened);
    EXPECT_FALSE(doc.Modified());
    EXPECT_FALSE(doc.CanUndo());
}

TEST(TwoToneDialog, CancelDropsTheWorkingCopyAndEscapeDropsTheCellEdit) {
    Document doc = WithTwoTone(WithCodes());
    const Codeplug opened = doc.codeplug();
    TwoToneDialog dialog(doc, EnglishTexts());
    dialog.EnterCell(1, 1);
    dialog.SetEditorText("1000");
    dialog.CancelCell();
    EXPECT_FALSE(dialog.Editor().visible);
    EXPECT_EQ(dialog.Editor().text, "2000");
    dialog.EnterCell(1, 1);
    EXPECT_EQ(dialog.Editor().text, "2000") << "the dropped text is not committed";
    dialog.SetEditorText("1000");
    dialog.EnterCell(2, 1);
    EXPECT_EQ(dialog.GridText(1, 1), "1000");
    dialog.Cancel();
    EXPECT_EQ(doc.codeplug(), opened);
    EXPECT_FALSE(doc.CanUndo());
    dialog.Ok();  // the committed code went with the working copy
    EXPECT_EQ(doc.codeplug(), opened);
}

TEST(TwoToneDialog, GridCellsAreLimitedAndStoredAsCodeDivisors) {
    Document doc;
    TwoToneDialog dialog(doc, EnglishTexts());
    for (const auto& [typed, shown] :
         std::vector<std::pair<const char*, int>>{{"5000", 3106}, {"100", 280}, {"1750", 1750}}) {
        dialog.EnterCell(10, 1);
        dialog.SetEditorText(typed);
        dialog.GridScrolled();
        EXPECT_EQ(dialog.GridText(10, 1), std::to_string(shown));
        EXPECT_FALSE(dialog.Editor().visible);
        dialog.Ok();
        const TwoToneCode& code = Stored(doc).codes[9];
        EXPECT_EQ((ToneDivisor{code.tone1High, code.tone1Low, code.tone1Tenths}),
                  DivisorOfFrequency(shown, ToneUse::Code));
    }
}

TEST(TwoToneDialog, ClearingToneOneEmptiesTheCodeClearingToneTwoKeepsToneOne) {
    Document doc = WithTwoTone(WithCodes());
    TwoToneDialog dialog(doc, EnglishTexts());
    dialog.EnterCell(1, 2);
    dialog.SetEditorText("");
    dialog.EnterCell(1, 1);
    EXPECT_EQ(dialog.GridText(1, 2), "");
    dialog.EnterCell(2, 1);
    dialog.SetEditorText("x");
    dialog.GridScrolled();
    dialog.Ok();
    EXPECT_EQ((TwoToneCode{7, 51, 0, 0, 2, 8}), Stored(doc).codes[0]);
    EXPECT_EQ(TwoToneCode{}, Stored(doc).codes[1]);

    dialog.EnterCell(1, 2);
    dialog.SetEditorText("1000");
    dialog.EnterCell(1, 1);
    dialog.SetEditorText("");
    dialog.Ok();
    EXPECT_EQ(TwoToneCode{}, Stored(doc).codes[0]) << "OK commits the edit";
    EXPECT_EQ(dialog.GridText(1, 2), "") << "tone 2 is blanked with its code";
}

TEST(TwoToneDialog, EnteringCells) {
    TwoToneSettings s;
    s.codes[0] = {7, 51, 4, 162, 9, 9};  // 1999.2 Hz, 3105.9 Hz
    Document doc = WithTwoTone(s);
    TwoToneDialog dialog(doc, EnglishTexts());
    EXPECT_EQ(dialog.EnterCell(5, 2), (GridCell{5, 1})) << "tone 1 first";
    EXPECT_EQ(dialog.EnterCell(5, 0), (GridCell{5, 1})) << "numbers are not edited";
    dialog.SetEditorText("1200");
    EXPECT_EQ(dialog.EnterCell(5, 2), (GridCell{5, 2})) << "the typed tone 1 counts";
    EXPECT_EQ(dialog.GridText(5, 1), "1200");

    EXPECT_EQ(dialog.EnterCell(1, 2), (GridCell{1, 2}));
    EXPECT_EQ(dialog.Editor().text, "3106");
    dialog.EnterCell(1, 1);
    dialog.GridScrolled();
    dialog.EnterCell(1, 1);
    EXPECT_TRUE(dialog.Editor().visible) << "the scrolled-away editor comes back";
    dialog.Ok();
    EXPECT_EQ(Stored(doc).codes[0], (TwoToneCode{7, 51, 4, 162, 9, 9}))
        << "visiting cells keeps the stored divisors";
}

}  // namespace
}  // namespace qx
