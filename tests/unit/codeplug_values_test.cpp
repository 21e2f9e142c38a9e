#include <gtest/gtest.h>

#include <random>

#include "app/document.h"
#include "codeplug/codeplug.h"
#include "codeplug/defaults.h"
#include "codeplug/option_fields.h"
#include "codeplug/step_rounding.h"
#include "codeplug/value_lists.h"

namespace qx {
namespace {

TEST(FrequencyText, ParsesAndWritesTheFileForms) {
    struct Case {
        const char* text;
        std::int64_t hz;
    };
    for (const Case& c :
         {Case{"145.0000", 145'000'000}, Case{"145.01250", 145'012'500}, Case{"27", 27'000'000},
          Case{"0.5", 500'000}, Case{"511.995000", 511'995'000}, Case{"118.00833", 118'008'330}}) {
        const auto f = Frequency::Parse(c.text);
        ASSERT_TRUE(f) << c.text;
        EXPECT_EQ(f->Hz(), c.hz) << c.text;
        EXPECT_EQ(f->ToString(), c.text);  // the decimals are kept
    }
    for (const char* bad :
         {"", "-1", "145.", ".5", "145.0000001", "1,5", " 145", "145.0a", "12345678", "1e3"}) {
        EXPECT_FALSE(Frequency::Parse(bad)) << bad;
    }
}

TEST(FrequencyText, FromHzNeverDropsDigits) {
    EXPECT_EQ(Frequency::FromHz(145'012'550, 4).ToString(), "145.01255");
    EXPECT_EQ(Frequency::FromHz(145'000'000, 4).ToString(), "145.0000");
    EXPECT_EQ(Frequency::FromHz(145'000'001, 4).ToString(), "145.000001");
    EXPECT_EQ(Frequency::FromHz(-5).Hz(), 0);
}

TEST(FrequencyArithmetic, OffsetsAddAndSubtract) {
    const Frequency rx = *Frequency::Parse("145.6000");
    const Frequency tx = rx - Offset{600'000};
    EXPECT_EQ(tx.ToString(), "145.0000");
    EXPECT_EQ(rx - tx, Offset{600'000});
    EXPECT_EQ((tx + Offset{12'500}).ToString(), "145.0125");
}

// The typed rounding is the text rounding the editors have always used.
TEST(FrequencyRounding, AgreesWithTheTextRoundingForEveryStep) {
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t hz = 26'000'000 + static_cast<std::int64_t>(rng() % 486'000'000);
        const Frequency f = Frequency::FromHz(hz / 10 * 10, 5);
        for (int s = 0; s < kStepCount; ++s) {
            const Step step = *StepAt(s);
            ASSERT_EQ(f.RoundedTo(step).ToString(),
                      AdjustRxFreqByStep(f.ToString(), StepText(step)))
                << f.ToString() << " at " << StepText(step);
        }
    }
}

TEST(Steps, ListTextsRoundTrip) {
    ASSERT_EQ(StepList().size(), static_cast<std::size_t>(kStepCount));
    for (int i = 0; i < kStepCount; ++i) {
        EXPECT_EQ(StepText(*StepAt(i)), StepList()[static_cast<std::size_t>(i)]);
        EXPECT_EQ(ParseStep(StepList()[static_cast<std::size_t>(i)]), StepAt(i));
    }
    EXPECT_FALSE(StepAt(10));
    EXPECT_FALSE(ParseStep("12.50"));
}

TEST(Tones, EveryListEntryRoundTrips) {
    for (std::size_t i = 0; i < CtcssList().size(); ++i) {
        const Tone tone = Tone::Ctcss(static_cast<int>(i));
        EXPECT_EQ(tone.ToString(), "C:" + CtcssList()[i]);
        EXPECT_EQ(Tone::Parse(tone.ToString()), tone);
    }
    for (std::size_t i = 0; i < DcsList().size(); ++i) {
        const Tone tone = Tone::Dcs(static_cast<int>(i));
        EXPECT_EQ(tone.ToString(), "D:" + DcsList()[i]);
        EXPECT_EQ(Tone::Parse(tone.ToString()), tone);
    }
    EXPECT_EQ(Tone::Parse("off"), Tone());
    EXPECT_TRUE(Tone::Ctcss(50).IsOff());
    for (const char* bad : {"", "C:", "C:88.6", "D:017X", "X:88.5", "C88.5", "Off"}) {
        EXPECT_FALSE(Tone::Parse(bad)) << bad;
    }
}

TEST(Priorities, TextsNameTheRows) {
    struct Case {
        const char* text;
        int row;
    };
    for (const Case& c :
         {Case{"off", 0}, Case{"00", 1}, Case{"42", 43}, Case{"99", 100}, Case{"PL", kPlRow},
          Case{"PH", kPhRow}, Case{"CAL", kCallRow}, Case{"VFO", kVfoRow}}) {
        const auto priority = Priority::Parse(c.text);
        ASSERT_TRUE(priority) << c.text;
        EXPECT_EQ(priority->Row(), c.row) << c.text;
        EXPECT_EQ(priority->ToString(), c.text);
        if (c.row >= 1 && c.row <= kRowCount) {
            EXPECT_EQ(PriorityName(c.row), c.text);
        }
    }
    for (const char* bad : {"", "5", "100", "-1", "cal", "0A"}) EXPECT_FALSE(Priority::Parse(bad));
}

TEST(SignalKinds, TextsRoundTrip) {
    for (int i = 0; i < kSignalKindCount; ++i) {
        const auto kind = static_cast<SignalKind>(i);
        EXPECT_EQ(ParseSignalKind(SignalKindText(kind)), kind);
    }
    EXPECT_FALSE(ParseSignalKind("none"));
    EXPECT_EQ(ParseBandwidth("narrow"), Bandwidth::Narrow);
    EXPECT_FALSE(ParseBandwidth("Wide"));
}

TEST(Channels, ClearingKeepsTheSignalCodesOnly) {
    Channel channel;
    channel.inUse = true;
    channel.name = "BASE";
    channel.scanSkip = true;
    channel.signal = {SignalKind::FiveTone, 7, 2};
    channel.Clear();
    Channel expected;
    expected.inUse = true;
    expected.blank = true;
    expected.signal.code = 7;
    expected.signal.subCode = 2;
    EXPECT_EQ(channel, expected);
}

TEST(OptionRecords, TheDefaultsAreTheNewDocumentsRecord) {
    EXPECT_EQ(OptionsRecord(RadioOptions{}), kDefaultSetup);
    const OptionsRecordResult parsed = ParseOptionsRecord(kDefaultSetup);
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(*parsed.options, RadioOptions{});
}

TEST(OptionRecords, EveryValueOfEveryFieldRoundTrips) {
    for (int field = 1; field <= kOptionFieldCount; ++field) {
        const int count = field == kOptMrNumber || field == kOptSquelch
                              ? 256
                              : static_cast<int>(OptionValues(field).size());
        for (int index = 0; index < count; ++index) {
            RadioOptions options;
            ASSERT_TRUE(SetOptionIndex(options, field, index)) << field << " " << index;
            EXPECT_EQ(OptionIndex(options, field), index) << field;
            const OptionsRecordResult parsed = ParseOptionsRecord(OptionsRecord(options));
            ASSERT_TRUE(parsed.options) << parsed.error;
            EXPECT_EQ(*parsed.options, options) << field << " " << index;
        }
        RadioOptions options;
        EXPECT_FALSE(SetOptionIndex(options, field, count)) << field;
        EXPECT_FALSE(SetOptionIndex(options, field, -1)) << field;
        EXPECT_EQ(options, RadioOptions{});
    }
}

TEST(OptionRecords, BadRecordsSayWhatIsWrong) {
    EXPECT_EQ(ParseOptionsRecord("setup|Frequency").error, "it has 2 fields where 28 are needed");
    std::string record = kDefaultSetup;
    record.replace(record.find("|Hi|"), 4, "|Max|");
    EXPECT_EQ(ParseOptionsRecord(record).error,
              "field 5 holds \"Max\", which is not one of its values");
    record = kDefaultSetup;
    record.replace(record.find("|0|3|"), 5, "|0|256|");
    EXPECT_FALSE(ParseOptionsRecord(record).options);
    record = kDefaultSetup;
    record.replace(record.find("|VFO|"), 5, "|----------------|");
    EXPECT_FALSE(ParseOptionsRecord(record).options);  // only some fields may be empty
}

TEST(AutoDialerRecords, RoundTripAndCountPieces) {
    AutoDialer dialer;
    dialer.entries[0] = "123#";
    dialer.entries[8] = "ABCD*-";
    EXPECT_EQ(AutoDialerRecord(dialer), "Ad|123#||||||||ABCD*-|");
    EXPECT_EQ(ParseAutoDialerRecord(AutoDialerRecord(dialer)), dialer);
    EXPECT_EQ(AutoDialerRecord(AutoDialer{}), kDefaultAutoDial);
    EXPECT_FALSE(ParseAutoDialerRecord("Ad|1|2"));
}

TEST(CodeplugRows, NamedAccessMatchesTheRowNumbers) {
    Codeplug codeplug;
    codeplug.Memory(0).name = "M0";
    codeplug.Memory(99).name = "M99";
    codeplug.Pl().name = "PL";
    codeplug.Vfo().name = "V";
    EXPECT_EQ(codeplug.Row(1).name, "M0");
    EXPECT_EQ(codeplug.Row(100).name, "M99");
    EXPECT_EQ(codeplug.Row(kPlRow).name, "PL");
    EXPECT_EQ(codeplug.Row(kVfoRow).name, "V");
    EXPECT_THROW(codeplug.Row(0), std::out_of_range);
    EXPECT_THROW(codeplug.Memory(100), std::out_of_range);
    EXPECT_EQ(RowDisplayName(6), "Channel 5");
    EXPECT_EQ(RowDisplayName(kCallRow), "Call channel");
}

}  // namespace
}  // namespace qx

namespace qx {
namespace {

TEST(NewCodeplugs, FollowTheModelTable) {
    const Codeplug model3 = NewCodeplug(3);
    EXPECT_TRUE(model3.Memory(0).inUse);
    EXPECT_EQ(model3.Memory(0).step, Step::k12_5);
    EXPECT_EQ(model3.Memory(0).rx.ToString(), "145.0000");
    EXPECT_EQ(model3.Memory(0).tx.ToString(), "145.0000");
    EXPECT_EQ(model3.Memory(0).signal, ChannelSignal{});
    for (int row = 2; row <= kPhRow; ++row) {
        EXPECT_FALSE(model3.Row(row).inUse) << row;
        EXPECT_TRUE(model3.Row(row).blank) << row;
    }
    EXPECT_EQ(model3.CallChannel().rx.ToString(), "145.0000");
    EXPECT_EQ(model3.options, RadioOptions{});

    // Model 9 leaves channel 0 unused; model 8's default lies outside its band.
    const Codeplug model9 = NewCodeplug(9);
    EXPECT_FALSE(model9.Memory(0).inUse);
    EXPECT_TRUE(model9.Memory(0).blank);
    EXPECT_EQ(model9.Vfo().rx.ToString(), "245.5000");
    EXPECT_EQ(model9.Vfo().step, Step::k5);
    EXPECT_EQ(NewCodeplug(8).CallChannel().tx.ToString(), "223.0000");
}

TEST(NewCodeplugs, ABlankRowTakesTheModelsDefaultsWhenSwitchedOn) {
    Channel channel;
    channel.Clear();
    channel.signal.code = 4;
    PutInUse(channel, 2);
    Channel expected = DefaultChannel(2);
    expected.inUse = true;
    expected.signal.code = 4;
    EXPECT_EQ(channel, expected);
    EXPECT_EQ(channel.step, Step::k12_5);

    channel.name = "KEEP";
    channel.inUse = false;
    PutInUse(channel, 2);  // a row with values keeps them
    EXPECT_EQ(channel.name, "KEEP");
    EXPECT_TRUE(channel.inUse);
}

}  // namespace
}  // namespace qx
