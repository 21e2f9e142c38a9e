// qxctl check, and the check qxctl write runs first, on projects with
// problems of every kind.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "codeplug/defaults.h"
#include "qxctl_fixture.h"
#include "run_program.h"

namespace {

using qx::test::ProgramRun;

constexpr int kDt = 24;  // NORVA_DT: 400-469.9950 MHz, 435.0000 when new

qx::Frequency Mhz(const char* text) { return *qx::Frequency::Parse(text); }

qx::Channel& On(qx::Codeplug& c, int channel, const char* mhz) {
    qx::Channel& ch = c.Memory(channel);
    qx::PutInUse(ch, c.model);
    ch.rx = ch.tx = Mhz(mhz);
    return ch;
}

// A problem of every kind the project file can carry, each on its own row.
void EveryKind(qx::Codeplug& c) {
    On(c, 1, "520.0000").tx = Mhz("430.0000");
    On(c, 2, "401.0000").tx = Mhz("480.0000");
    On(c, 3, "402.0000").tx = Mhz("502.0000");
    On(c, 4, "403.01255").tx = Mhz("403.0000");
    On(c, 5, "404.0000").name = "ab%";
    On(c, 6, "405.0000").name = "ABCDEFGH";
    On(c, 7, "406.0000").signal = {qx::SignalKind::FiveTone, 120, 7};
    On(c, 8, "407.0000").priority = qx::Priority::OfChannel(50);
    c.signalling.fiveTone.codes[12] = {0, 0, 7, 7, "E212345"};
    c.Memory(51) = qx::DefaultChannel(c.model);
    c.Memory(51).signal = {qx::SignalKind::FiveTone, 12, 0};
    c.autoDialer.entries[2] = "12X";
    c.options.squelch = 25;
    On(c, 9, "408.0000").name = "HOME";
    On(c, 10, "409.0000").name = "HOME";
    On(c, 11, "435.0000");
    On(c, 12, "410.0000").txTone = qx::Tone::Ctcss(8);
    On(c, 13, "411.0000").signal = {qx::SignalKind::TwoTone, std::nullopt, std::nullopt};
}

class QxctlCheck : public qx::test::QxctlFixture {
  protected:
    std::string Save(const std::string& name, const std::function<void(qx::Codeplug&)>& change) {
        qx::Codeplug c = qx::NewCodeplug(kDt);
        change(c);
        EXPECT_EQ(qx::WriteProject(c, Path(name)), "");
        return Path(name);
    }
};

TEST_F(QxctlCheck, PrintsALinePerProblemAndFailsOnAnError) {
    struct Case {
        const char* what;
        std::function<void(qx::Codeplug&)> change;
        const char* language;
        std::string out;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {"none", [](qx::Codeplug&) {}, "english.ini", "", 0},
        {"warnings only", [](qx::Codeplug& c) { On(c, 5, "435.0000"); }, "english.ini",
         "warning: channel 5, Rx frequency: 435.0000 MHz is also the Rx frequency of channel 0\n",
         0},
        {"every kind", EveryKind, "english.ini",
         "channel 1, Rx frequency: 520.0000 MHz is outside 400–470 MHz\n"
         "channel 2, Tx frequency: 480.0000 MHz is outside 400–470 MHz\n"
         "channel 3, Tx frequency: Tx is 100.0000 MHz from Rx, more than the radio stores (at "
         "most 99.9999 MHz)\n"
         "channel 3, Tx frequency: 502.0000 MHz is outside 400–470 MHz\n"
         "channel 4, Rx frequency: 403.01255 MHz cannot be stored exactly; the radio would hold "
         "403.0125 MHz\n"
         "channel 5, name: \"ab%\" holds \"%\", which the radio cannot show\n"
         "channel 6, name: \"ABCDEFGH\" is longer than the 7 characters the radio shows\n"
         "channel 7, option signal: 5Tone code 120 is outside 0–99\n"
         "channel 7, option signal: 5Tone second setting 7 is outside 0–3\n"
         "channel 8, priority: names channel 50, which is not in use\n"
         "warning: channel 10, name: \"HOME\" is also the name of channel 9\n"
         "warning: channel 11, Rx frequency: 435.0000 MHz is also the Rx frequency of channel 0\n"
         "warning: channel 12, Rx tone: Tx tone 88.5 is sent, but no Rx tone is set\n"
         "warning: channel 13, option signal: 2Tone has no code chosen; code 0 is written\n"
         "radio options, squelch level: 25 is outside 0–20\n"
         "auto dialer, memory 3: \"12X\" holds \"X\", which cannot be dialled\n"
         "5-tone, code 12: the emergency call is bound to channel 51, which is not in use\n",
         1},
        {"in Chinese", [](qx::Codeplug& c) { On(c, 1, "520.0000").tx = Mhz("430.0000"); },
         "chinese.ini", "信道 1，接收频率：520.0000 MHz 超出 400–470 MHz\n", 1},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string project = Save("p" + std::to_string(n++) + ".qx", c.change);
        const ProgramRun run = Qxctl("check " + project + " --language " + std::string(c.language));
        EXPECT_EQ(run.out, c.out) << c.what;
        EXPECT_EQ(run.err, "") << c.what;
        EXPECT_EQ(run.exitCode, c.exitCode) << c.what;
    }
}

TEST_F(QxctlCheck, UsageAndInputErrors) {
    const std::string project = Save("p.qx", [](qx::Codeplug&) {});
    const std::vector<std::pair<std::string, int>> cases = {
        {"check", 2},
        {"check " + project + " extra", 2},
        {"check " + project + " --bogus x", 2},
        {"check " + project + " --language klingon.ini", 2},
        {"check " + Path("missing.qx"), 1}};
    for (const auto& [args, exitCode] : cases) {
        const ProgramRun run = Qxctl(args);
        EXPECT_EQ(run.exitCode, exitCode) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_TRUE(run.err.starts_with("qxctl check: ")) << run.err;
    }
}

// A port that does not exist shows whether the write got as far as opening it.
TEST_F(QxctlCheck, AWriteStopsAtAnErrorAndGoesOnPastWarnings) {
    const std::string port = " --port /dev/qx-no-such-port ";
    const ProgramRun refused = Qxctl("write" + port + Save("e.qx", [](qx::Codeplug& c) {
                                         On(c, 1, "520.0000").tx = Mhz("430.0000");
                                     }));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "channel 1, Rx frequency: 520.0000 MHz is outside 400–470 MHz\n"
              "qxctl write: the check found errors; nothing was written\n");

    const ProgramRun warned =
        Qxctl("write" + port + Save("w.qx", [](qx::Codeplug& c) { On(c, 1, "435.0000"); }));
    EXPECT_EQ(warned.exitCode, 1);
    EXPECT_TRUE(
        warned.err.starts_with("warning: channel 1, Rx frequency: 435.0000 MHz is also "
                               "the Rx frequency of channel 0\n"))
        << warned.err;
    EXPECT_NE(warned.err.find("/dev/qx-no-such-port"), std::string::npos) << warned.err;
}

}  // namespace
