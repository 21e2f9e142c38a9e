#include "options/option_dialog.h"

#include <gtest/gtest.h>

#include "codeplug/value_lists.h"
#include "document_builder.h"
#include "util/text.h"

namespace qx {
namespace {

using test::EnglishTexts;

std::string FieldOf(const std::string& record, int field) {
    return Split(record, '|').at(static_cast<std::size_t>(field));
}

TEST(OptionDialog, DefaultRecordComesBackWithThePermissionsEnabled) {
    const OptionDialog dialog(kDefaultSetup, EnglishTexts());
    EXPECT_EQ(dialog.Record(),
              "setup|Frequency|VFO|0|3|Hi|Enable|Enable|Enable|Enable|Enable|Enable|100ms|60ms|"
              "60ms|1750Hz|off|off|off|off|Enable|Timer|High|off|Lock|60W|1|0");
    // Frequency mode: the permissions are fixed, the start mode can be chosen.
    for (int field = kFirstPermissionField; field <= kLastPermissionField; ++field) {
        EXPECT_FALSE(dialog.List(field).enabled) << field;
        EXPECT_EQ(dialog.List(field).text, "Enable") << field;
    }
    EXPECT_TRUE(dialog.List(kOptStartMode).enabled);
    EXPECT_EQ(dialog.List(kOptTimeoutPenalty).text, "off");
    EXPECT_FALSE(dialog.List(kOptTimeoutPenalty).enabled);
}

TEST(OptionDialog, IndicationModeDrivesStartModeAndPermissions) {
    OptionDialog dialog(
        "setup|Frequency|MR|5|3|Hi|x|x|x|x|x|x|1s|60ms|60ms|1750Hz|off|off|off|"
        "off|Enable|Timer|High|off|Lock|60W|1|0",
        EnglishTexts());
    dialog.Select(kOptIndication, 1);  // Channel
    EXPECT_EQ(dialog.Field(kOptIndication), "Channel");
    EXPECT_FALSE(dialog.List(kOptStartMode).enabled);
    EXPECT_EQ(dialog.List(kOptStartMode).text, kOptionPlaceholder);
    EXPECT_EQ(dialog.Field(kOptStartMode), "MR");
    for (int field = kFirstPermissionField; field <= kLastPermissionField; ++field) {
        EXPECT_TRUE(dialog.List(field).enabled) << field;
        EXPECT_EQ(FieldOf(dialog.Record(), field), "Disable") << field;
    }

    dialog.Select(kOptScanStart, 1);
    EXPECT_EQ(dialog.Field(kOptScanStart), "Enable");

    dialog.Select(kOptIndication, 0);  // back to Frequency
    EXPECT_TRUE(dialog.List(kOptStartMode).enabled);
    EXPECT_EQ(dialog.List(kOptStartMode).text, "MR");  // the value the record keeps
    EXPECT_EQ(dialog.Field(kOptStartMode), "MR");
    for (int field = kFirstPermissionField; field <= kLastPermissionField; ++field) {
        EXPECT_EQ(dialog.Field(field), "Enable") << field;
    }
}

TEST(OptionDialog, TimeoutTimerDrivesThePenalty) {
    std::string record = kDefaultSetup;
    record.replace(record.find("|off|----------------|"), 22, "|2m30sec|5sec|");
    OptionDialog dialog(record, EnglishTexts());
    EXPECT_EQ(dialog.Field(kOptTimeoutTimer), "2m30sec");
    EXPECT_EQ(dialog.Field(kOptTimeoutPenalty), "5sec");
    EXPECT_TRUE(dialog.List(kOptTimeoutPenalty).enabled);
    EXPECT_EQ(dialog.List(kOptTimeoutPenalty).text, "5sec");

    // Another time keeps the penalty, and the list shows it.
    dialog.Select(kOptTimeoutTimer, 6);
    EXPECT_EQ(dialog.Field(kOptTimeoutTimer), "3m00sec");
    EXPECT_EQ(dialog.List(kOptTimeoutPenalty).text, "5sec");

    dialog.Select(kOptTimeoutTimer, 0);
    EXPECT_EQ(FieldOf(dialog.Record(), kOptTimeoutTimer), "off");
    EXPECT_EQ(FieldOf(dialog.Record(), kOptTimeoutPenalty), "off");
    EXPECT_FALSE(dialog.List(kOptTimeoutPenalty).enabled);
    EXPECT_EQ(dialog.List(kOptTimeoutPenalty).text, kOptionPlaceholder);

    dialog.Select(kOptTimeoutTimer, 15);
    EXPECT_EQ(dialog.Field(kOptTimeoutTimer), "7m30sec");
    EXPECT_EQ(dialog.Field(kOptTimeoutPenalty), "off");
    EXPECT_TRUE(dialog.List(kOptTimeoutPenalty).enabled);
    dialog.Select(kOptTimeoutPenalty, 15);
    EXPECT_EQ(dialog.Field(kOptTimeoutPenalty), "15sec");
}

TEST(OptionDialog, StoredValuesSelectByTheirRules) {
    struct Case {
        int field;
        const char* stored;
        const char* expected;
    };
    for (const Case c : {
             Case{kOptMrNumber, "150", "0"},
             Case{kOptMrNumber, "42", "42"},
             Case{kOptMrNumber, "abc", "0"},
             Case{kOptMrNumber, "-3", "0"},
             Case{kOptSquelch, "20", "20"},
             Case{kOptSquelch, "25", "0"},
             Case{kOptStartMode, "MR", "MR"},
             Case{kOptStartMode, "what", "CALL"},
             Case{kOptTxPower, "Mid", "Mid"},
             Case{kOptTxPower, "Max", "Low"},
             Case{kOptSecurityMode, "Dly", "Dly"},
             Case{kOptSecurityMode, "bogus", "on"},
             Case{kOptTimeoutPenalty, "20sec", "off"},
             Case{kOptTimeoutTimer, "9m00sec", "off"},
             Case{kOptTbstFreq, "1200Hz", "1000Hz"},
             Case{kOptDtmfBurstDelay, "700ms", "700ms"},
             Case{kOptKeyLock, "on", "on"},
             Case{kOptKeyLock, "yes", "on"},
             Case{kOptBeep, "Disable", "Disable"},
             Case{kOptBeep, "x", "Enable"},
             Case{kOptScanningMode, "Busy", "Busy"},
             Case{kOptLampMode, "Dim", "Low"},
             Case{kOptPowerSelect, "25W", "25W"},
             Case{kOptPowerSelect, "5W", "60W"},
             Case{kOptModelLock, "Unlock", "Unlock"},
             Case{kOptModelLock, "?", "Lock"},
             Case{kOptScrambler, "yes", "0"},
             Case{kOptAftersound, "1", "1"},
         }) {
        std::vector<std::string> pieces = Split(kDefaultSetup, '|');
        pieces[static_cast<std::size_t>(c.field)] = c.stored;
        std::string record = pieces[0];
        for (std::size_t i = 1; i < pieces.size(); ++i) record += "|" + pieces[i];
        if (c.field == kOptTimeoutPenalty) record.replace(record.find("|off|"), 5, "|1m00sec|");

        const OptionDialog dialog(record, EnglishTexts());
        EXPECT_EQ(dialog.Field(c.field), c.expected) << c.field << " " << c.stored;
        if (!IsOptionCheckBox(c.field) && c.field != kOptStartMode) {
            EXPECT_EQ(dialog.List(c.field).selected, ListIndexOf(OptionValues(c.field), c.expected))
                << c.field << " " << c.stored;
        }
    }
}

TEST(OptionDialog, EmptyAndShortRecordsStartFromTheInitialState) {
    const OptionDialog empty("", EnglishTexts());
    EXPECT_EQ(empty.Record(),
              "setup|Frequency|MR|0|0|Hi|Disable|Disable|Disable|Disable|Disable|Disable|1s|60ms|"
              "60ms|1000Hz|off|off|off|off|Disable|Timer|High|off|Unlock|25W|1|0");
    EXPECT_FALSE(empty.Checked(kOptModelLock));
    EXPECT_TRUE(empty.Checked(kOptScrambler));
    EXPECT_EQ(empty.List(kOptScanStart).text, kOptionPlaceholder);

    // A damaged record: the fields it has apply, the rest start as above.
    const OptionDialog shortRecord("setup|Channel|CALL", EnglishTexts());
    EXPECT_EQ(shortRecord.Field(kOptIndication), "Channel");
    EXPECT_EQ(shortRecord.Field(kOptStartMode), "CALL");
    EXPECT_EQ(shortRecord.Field(kOptPowerSelect), "25W");
    EXPECT_EQ(Split(shortRecord.Record(), '|').size(), 28u);
}

TEST(OptionDialog, ListsShowLanguageTextsWhileTheRecordKeepsCanonicalWords) {
    const LanguageTexts chinese(QX_LANGUAGE_DIR, "chinese.ini");
    OptionDialog dialog(kDefaultSetup, chinese);
    const ListControl& indication = dialog.List(kOptIndication);
    EXPECT_EQ(indication.entries.at(1), chinese.LanguageText("OPTION", "60027"));
    EXPECT_NE(indication.entries.at(1), "Channel");
    dialog.Select(kOptIndication, 1);
    dialog.Select(kOptSecurityMode, 2);
    dialog.SetChecked(kOptAftersound, true);
    EXPECT_EQ(dialog.Field(kOptIndication), "Channel");
    EXPECT_EQ(dialog.Field(kOptSecurityMode), "Dly");
    EXPECT_EQ(dialog.Field(kOptAftersound), "1");
    EXPECT_EQ(dialog.List(kOptTimeoutTimer).entries.at(1), "0m30sec");
    EXPECT_EQ(dialog.List(kOptTimeoutTimer).entries.size(), 16u);
    EXPECT_EQ(dialog.List(kOptTimeoutTimer).entries.back(), "7m30sec");
    EXPECT_EQ(dialog.Label(kOptPowerSelect), chinese.LanguageText("OPTION", "60093"));
}

TEST(OptionDialog, OpensOnTypedOptionsAsOnTheirRecord) {
    RadioOptions options;
    options.indication = IndicationMode::Channel;
    options.scanStart = false;
    options.timeoutTimer = 5;
    options.timeoutPenalty = 7;
    options.securityMode = SecurityMode::Delay;
    options.modelLock = false;
    const OptionDialog typed(options, EnglishTexts());
    EXPECT_EQ(typed.Record(), OptionDialog(OptionsRecord(options), EnglishTexts()).Record());
    EXPECT_EQ(typed.Field(kOptTimeoutPenalty), "7sec");
    EXPECT_EQ(typed.Field(kOptSecurityMode), "Dly");
    EXPECT_FALSE(typed.Checked(kOptModelLock));
}

TEST(OptionDialog, OkStoresTheOptionsAsOneStepAndCancelLeavesThem) {
    Document doc = test::LoadedDocument();
    const Codeplug opened = doc.codeplug();
    OptionDialog cancelled(doc.codeplug().options, EnglishTexts());
    cancelled.Select(kOptTxPower, 2);  // edited, then cancelled: nothing is stored
    EXPECT_EQ(doc.codeplug(), opened);
    EXPECT_FALSE(doc.Modified());
    EXPECT_FALSE(doc.CanUndo());

    OptionDialog dialog(doc.codeplug().options, EnglishTexts());
    dialog.Select(kOptSquelch, 9);
    dialog.Select(kOptIndication, 1);
    dialog.Select(kOptScanStart, 1);
    dialog.Ok(doc);
    const RadioOptions& stored = doc.codeplug().options;
    EXPECT_EQ(stored.squelch, 9);
    EXPECT_EQ(stored.indication, IndicationMode::Channel);
    EXPECT_EQ(stored.scanStart, true);
    EXPECT_EQ(stored.powerChange, false);
    EXPECT_EQ(stored.timeoutPenalty, 0) << "what the dialog shows is stored";
    EXPECT_EQ(OptionsRecord(stored), dialog.Record());
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.UndoStep(), StepLabel{StepKind::Options});
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.codeplug(), opened) << "one step";
    ASSERT_TRUE(doc.Redo());

    // OK without a change adds no step.
    doc.MarkClean();
    OptionDialog(doc.codeplug().options, EnglishTexts()).Ok(doc);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.UndoStep(), StepLabel{StepKind::Options});
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.codeplug(), opened);
}

}  // namespace
}  // namespace qx
