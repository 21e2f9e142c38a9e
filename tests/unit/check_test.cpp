// The check before a write: every kind of problem on a codeplug that has only
// that problem, by its exact English line; the decision it makes for a write.
#include "codeplug/check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/channel_ops.h"
#include "app/check_texts.h"
#include "app/transfer_commands.h"
#include "codeplug/defaults.h"
#include "codeplug/option_fields.h"
#include "document_builder.h"
#include "scripted_ui.h"
#include "util/language_texts.h"

namespace qx {
namespace {

constexpr int kDt = 24;  // NORVA_DT: Rx and Tx 400-469.9950, 435.0000 when new
constexpr int kDj = 28;  // NORVA_DJ: Rx 350-511.9950, Tx 400-489.9950

const LanguageTexts& English() {
    static const LanguageTexts texts(QX_LANGUAGE_DIR, "english.ini");
    return texts;
}

Frequency Mhz(const char* text) { return *Frequency::Parse(text); }

// Channel 5 in use on 445.0000 MHz besides channel 0 on 435.0000.
Codeplug WithChannel5(int model = kDt) {
    Codeplug c = NewCodeplug(model);
    c.Memory(5) = DefaultChannel(model);
    c.Memory(5).inUse = true;
    c.Memory(5).rx = c.Memory(5).tx = Mhz("445.0000");
    return c;
}

std::vector<std::string> Lines(const Codeplug& codeplug) {
    std::vector<std::string> lines;
    for (const CheckProblem& p : CheckCodeplug(codeplug))
        lines.push_back(CheckReportLine(p, English()));
    return lines;
}

struct Case {
    const char* what;
    int model;
    std::function<void(Codeplug&)> change;
    std::vector<std::string> lines;
};

TEST(CheckCodeplug, EveryKindOfProblemInWords) {
    const std::vector<Case> cases = {
        // ---- errors
        {"Rx outside the band",
         kDt,
         [](Codeplug& c) { c.Memory(5).rx = Mhz("520.0000"); },
         {"channel 5, Rx frequency: 520.0000 MHz is outside 400–470 MHz"}},
        {"Tx outside the band",
         kDj,
         [](Codeplug& c) { c.Memory(5).tx = Mhz("495.0000"); },
         {"channel 5, Tx frequency: 495.0000 MHz is outside 400–490 MHz"}},
        {"an Rx the record cannot hold, on a scan limit out of use",
         kDt,
         [](Codeplug& c) {
             c.Pl() = DefaultChannel(kDt);
             c.Pl().rx = c.Pl().tx = Mhz("10000.0000");
         },
         {"PL, Rx frequency: 10000.0000 MHz is more than the radio stores (at most 9999.9999 "
          "MHz)"}},
        {"an offset the record cannot hold",
         kDj,
         [](Codeplug& c) {
             c.Memory(5).rx = Mhz("500.0000");
             c.Memory(5).tx = Mhz("400.0000");
         },
         {"channel 5, Tx frequency: Tx is 100.0000 MHz from Rx, more than the radio stores (at "
          "most 99.9999 MHz)"}},
        {"digits below 100 Hz",
         kDt,
         [](Codeplug& c) { c.Memory(5).rx = Mhz("445.01255"); },
         {"channel 5, Rx frequency: 445.01255 MHz cannot be stored exactly; the radio would hold "
          "445.0125 MHz"}},
        {"a Tx off the step grid",
         kDt,
         [](Codeplug& c) {
             c.Memory(5).step = Step::k12_5;
             c.Memory(5).tx = Mhz("445.6100");
         },
         {"channel 5, Tx frequency: 445.6100 MHz cannot be stored exactly; the radio would hold "
          "445.61250 MHz"}},
        {"a name character",
         kDt,
         [](Codeplug& c) { c.Memory(5).name = "ab%Ü"; },
         {"channel 5, name: \"ab%Ü\" holds \"%\", which the radio cannot show"}},
        {"a character beyond ASCII",
         kDt,
         [](Codeplug& c) { c.CallChannel().name = "AÜ"; },
         {"call channel, name: \"AÜ\" holds \"Ü\", which the radio cannot show"}},
        {"a long name",
         kDt,
         [](Codeplug& c) { c.Memory(5).name = "ABCDEFGH"; },
         {"channel 5, name: \"ABCDEFGH\" is longer than the 7 characters the radio shows"}},
        {"a signalling code",
         kDt,
         [](Codeplug& c) {
             c.Memory(5).signal = {SignalKind::TwoTone, 120, 0};
         },
         {"channel 5, option signal: 2Tone code 120 is outside 0–99"}},
        {"a second choice",
         kDt,
         [](Codeplug& c) {
             c.Memory(5).signal = {SignalKind::FiveTone, 3, 7};
         },
         {"channel 5, option signal: 5Tone second setting 7 is outside 0–3"}},
        {"a priority channel out of use",
         kDt,
         [](Codeplug& c) { c.Memory(5).priority = Priority::OfChannel(7); },
         {"channel 5, priority: names channel 7, which is not in use"}},
        {"an emergency call on a channel out of use",
         kDt,
         [](Codeplug& c) {
             c.signalling.fiveTone.codes[12] = {0, 0, 7, 7, "E212345"};
             c.Memory(7) = DefaultChannel(kDt);
             c.Memory(7).signal = {SignalKind::FiveTone, 12, 0};
         },
         {"5-tone, code 12: the emergency call is bound to channel 7, which is not in use"}},
        {"dial characters and length",
         kDt,
         [](Codeplug& c) {
             c.autoDialer.entries[0] = "12345678901234567";
             c.autoDialer.entries[2] = "12X";
         },
         {"auto dialer, memory 1: \"12345678901234567\" is longer than the 16 characters the "
          "radio stores",
          "auto dialer, memory 3: \"12X\" holds \"X\", which cannot be dialled"}},
        {"5-tone codes and self ID",
         kDt,
         [](Codeplug& c) {
             c.signalling.fiveTone.codes[4] = {0, 0, 3, 7, "12G"};
             c.signalling.fiveTone.pttIdEnd = {0, 0, 2, 7, "123"};
             c.signalling.fiveTone.selfId = "12a45";
         },
         {"5-tone, code 4: \"12G\" cannot be stored: up to 22 of the digits 0–9 and A–F",
          "5-tone, PTT ID end: \"123\" cannot be stored: up to 22 of the digits 0–9 and A–F",
          "5-tone, self ID: \"12a45\" cannot be stored: up to 5 of the digits 0–9 and A–F"}},
        {"option numbers beyond their lists",
         kDt,
         [](Codeplug& c) {
             c.options.mrNumber = 150;
             c.options.squelch = 25;
         },
         {"radio options, MR No: 150 is outside 0–99",
          "radio options, squelch level: 25 is outside 0–20"}},
        // ---- warnings
        {"the same name twice",
         kDt,
         [](Codeplug& c) {
             c.Memory(5).name = "HOME";
             c.Memory(0).name = "HOME";
         },
         {"warning: channel 5, name: \"HOME\" is also the name of channel 0"}},
        {"the same Rx frequency twice",
         kDt,
         [](Codeplug& c) { c.Memory(5).rx = Mhz("435.0"); },
         {"warning: channel 5, Rx frequency: 435.0 MHz is also the Rx frequency of channel 0"}},
        {"a Tx tone without an Rx tone",
         kDt,
         [](Codeplug& c) { c.Memory(5).txTone = Tone::Ctcss(8); },
         {"warning: channel 5, Rx tone: Tx tone 88.5 is sent, but no Rx tone is set"}},
        {"a signal without a code",
         kDt,
         [](Codeplug& c) {
             c.Memory(5).signal = {SignalKind::TwoTone, std::nullopt, 0};
         },
         {"warning: channel 5, option signal: 2Tone has no code chosen; code 0 is written"}},
        {"scan limits the wrong way round",
         kDt,
         [](Codeplug& c) {
             for (const int row : {kPlRow, kPhRow}) PutInUse(c.Row(row), kDt);
             c.Pl().rx = c.Pl().tx = Mhz("450.0000");
         },
         {"warning: PL, Rx frequency: the lower scan limit 450.0000 MHz is above the upper limit "
          "435.0000 MHz"}},
        {"the start channel out of use",
         kDt,
         [](Codeplug& c) {
             c.options.startMode = StartMode::Mr;
             c.options.mrNumber = 7;
         },
         {"warning: radio options, MR No: the radio starts on channel 7, which is not in use"}},
        // ---- none
        {"channels out of use are not checked",
         kDt,
         [](Codeplug& c) {
             c.Memory(8) = DefaultChannel(kDt);
             c.Memory(8).rx = Mhz("999.0000");
             c.Memory(8).name = "ab%";
         },
         {}},
        {"the 8.33 kHz grid's fifth decimal",
         kDt,
         [](Codeplug& c) {
             c.Memory(5).step = Step::k8_33;
             c.Memory(5).rx = Mhz("445.00833");
             c.Memory(5).tx = Mhz("445.01666");
         },
         {}},
    };
    for (const Case& c : cases) {
        Codeplug codeplug = WithChannel5(c.model);
        c.change(codeplug);
        EXPECT_EQ(Lines(codeplug), c.lines) << c.what;
    }
}

TEST(CheckCodeplug, ANewCodeplugHasNoProblemsUnlessItsModelStartsOutsideItsBand) {
    // NORVA_BT, _BE and _BED start on 223.0000 or 250.0000 MHz, outside their
    // own bands: channel 0, the call channel and the VFO must be set first.
    const std::vector<int> outside = {8, 10, 11};
    for (int model = 0; model < kModelCount; ++model) {
        const CheckProblems problems = CheckCodeplug(NewCodeplug(model));
        if (std::find(outside.begin(), outside.end(), model) == outside.end()) {
            EXPECT_EQ(problems, CheckProblems{}) << model;
            continue;
        }
        ASSERT_FALSE(problems.empty()) << model;
        for (const CheckProblem& p : problems) {
            EXPECT_TRUE(p.kind == CheckKind::RxOutOfBand || p.kind == CheckKind::TxOutOfBand)
                << testing::PrintToString(p);
        }
    }
}

TEST(CheckCodeplug, ProblemsSayWhereTheyAreAndInTheChosenLanguage) {
    Codeplug c = WithChannel5();
    c.Memory(5).rx = Mhz("520.0000");
    c.Memory(5).txTone = Tone::Ctcss(8);
    const CheckProblems problems = CheckCodeplug(c);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].row, 6);
    EXPECT_EQ(problems[0].field, ChannelField::RxFrequency);
    EXPECT_EQ(problems[0].kind, CheckKind::RxOutOfBand);
    EXPECT_TRUE(problems[0].IsError());
    EXPECT_EQ(problems[1].field, ChannelField::RxTone);
    EXPECT_FALSE(problems[1].IsError());
    EXPECT_TRUE(HasErrors(problems));

    const LanguageTexts chinese(QX_LANGUAGE_DIR, "chinese.ini");
    const CheckProblemWords words = DescribeCheckProblem(problems[0], chinese);
    EXPECT_EQ(words.severity, "错误");
    EXPECT_EQ(words.where, "信道 5");
    EXPECT_EQ(words.field, "接收频率");
    EXPECT_EQ(CheckReportLine(problems[0], chinese),
              "信道 5，接收频率：520.0000 MHz 超出 400–470 MHz");
    EXPECT_EQ(CheckReportLine(problems[1], chinese),
              "警告：信道 5，接收亚音：发射亚音 88.5 已设置，但未设置接收亚音");
}

// ---- The check before a write ---------------------------------------------------

TEST(CheckBeforeWrite, ErrorsStopAWriteWarningsAskAndNoProblemsPass) {
    EXPECT_EQ(DecideWrite({}), WriteCheck::Write);
    CheckProblem warning;
    warning.severity = CheckSeverity::Warning;
    CheckProblem error;
    EXPECT_EQ(DecideWrite({warning}), WriteCheck::Ask);
    EXPECT_EQ(DecideWrite({warning, error}), WriteCheck::Stop);

    Document doc = test::LoadedDocument(kDt);
    Session session;
    session.paths.languageDir = QX_LANGUAGE_DIR;
    session.languageFile = "english.ini";
    session.portName = "sim";
    test::ScriptedUi ui;
    std::vector<WriteCheck> reviewed;
    bool goOn = true;
    const ReviewProblems review = [&](const CheckProblems&, WriteCheck decision) {
        reviewed.push_back(decision);
        return goOn;
    };

    // No problems: no review, the notice comes.
    EXPECT_TRUE(PrepareWrite(doc, session, ui, review));
    EXPECT_EQ(reviewed, std::vector<WriteCheck>{});
    EXPECT_EQ(ui.messages, std::vector<std::string>{doc.texts.Message(9007)});

    // Warnings: the review decides.
    doc.Change(StepLabel{}, [](Codeplug& c) { c.Memory(0).txTone = Tone::Ctcss(8); });
    EXPECT_TRUE(PrepareWrite(doc, session, ui, review));
    goOn = false;
    EXPECT_FALSE(PrepareWrite(doc, session, ui, review));
    EXPECT_EQ(ui.messages.size(), 2u) << "no notice for a write that does not go on";

    // Errors: the write never starts, whatever the review answers.
    goOn = true;
    doc.Change(StepLabel{}, [](Codeplug& c) { c.Memory(0).rx = Mhz("520.0000"); });
    EXPECT_FALSE(PrepareWrite(doc, session, ui, review));
    EXPECT_EQ(reviewed,
              (std::vector<WriteCheck>{WriteCheck::Ask, WriteCheck::Ask, WriteCheck::Stop}));

    // Without a review the lines are a message, or a question for warnings.
    ui.messages.clear();
    EXPECT_FALSE(CheckBeforeWrite(doc, session, ui));
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{
                  "channel 0, Rx frequency: 520.0000 MHz is outside 400–470 MHz\n"
                  "warning: channel 0, Rx tone: Tx tone 88.5 is sent, but no Rx tone is set"});
}

}  // namespace
}  // namespace qx
