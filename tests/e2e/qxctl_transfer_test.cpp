// qxctl read and write against qxsim over a real pseudo-terminal, and the
// built-in "sim" port, run as a user runs them.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/project_file.h"
#include "codeplug/defaults.h"
#include "document_builder.h"
#include "image/memory_image.h"
#include "qxctl_fixture.h"
#include "run_program.h"
#include "sim_process.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using qx::test::ProgramRun;
using qx::test::ReadFileText;

constexpr int kModel = 5;
const std::string kNoPassword = "The radio is protected by a password; give it with --password.";
const std::string kWrongPassword =
    "The password given with --password is not the radio's password.";

class QxctlTransfer : public qx::test::QxctlFixture {
  protected:
    // The memory of a new radio of the test's model, as qxsim's --image file.
    std::string FreshImage(const std::string& name) {
        const qx::ImageEncoding image =
            qx::EncodeImage(qx::NewCodeplug(kModel), qx::test::kAllFeatures);
        EXPECT_TRUE(image.problems.empty());
        qx::test::WriteFileText(Path(name), std::string(image.image.begin(), image.image.end()));
        return Path(name);
    }

    // A project as a read gives it back: several varied channels put into an
    // image by qxctl and decoded again, so every field is in its read form.
    std::string NormalisedProject(const std::string& name) {
        qx::Codeplug c = qx::NewCodeplug(kModel);
        const auto use = [&](int row, const std::string& name) -> qx::Channel& {
            qx::PutInUse(c.Row(row), kModel);
            c.Row(row).name = name;
            return c.Row(row);
        };
        use(2, "ab-1").rxTone = *qx::Tone::Parse("C:88.5");
        c.Row(2).txTone = *qx::Tone::Parse("D:023N");
        use(5, "rpt").tx = *qx::Frequency::Parse("146.0000");
        use(50, "opt").signal = {qx::SignalKind::Dtmf, 3, std::nullopt};
        use(100, "last").bandwidth = qx::Bandwidth::Narrow;
        EXPECT_EQ(qx::WriteProject(c, Path("source.qx")), "");
        const ProgramRun encode = Qxctl("image encode " + Path("source.qx") + " -o " +
                                        Path("source.bin") + " --features E0");
        EXPECT_EQ(encode.exitCode, 0) << encode.err;
        const ProgramRun decode = Qxctl("image decode " + Path("source.bin") + " -o " + Path(name));
        EXPECT_EQ(decode.exitCode, 0) << decode.err;
        return Path(name);
    }

    void ExpectSameProject(const std::string& a, const std::string& b) {
        const auto companion = [](std::string path) {
            return path.replace(path.size() - 2, 2, "ton");
        };
        EXPECT_EQ(ReadFileText(a), ReadFileText(b)) << a << " " << b;
        EXPECT_EQ(ReadFileText(companion(a)), ReadFileText(companion(b))) << a << " " << b;
        EXPECT_FALSE(ReadFileText(a).empty());
    }
};

TEST_F(QxctlTransfer, WhatIsWrittenIsReadBackByteForByteEvenOverFaults) {
    const std::string project = NormalisedProject("P.qx");
    struct Case {
        bool write;  // else the radio holds the project already
        std::vector<std::string> faults;
        std::vector<std::string> retried;  // lines the radio answers twice
    };
    // Each fault costs one retry. A write: a dropped and a misaddressed reply
    // in the pre-read, a damaged acknowledgement, a refused block write. A
    // read: a dropped and a misaddressed block reply. (Damaged block data
    // cannot be told from good data on this line, so a read is not given any.)
    const std::vector<Case> cases = {
        {true, {}, {}},
        {true,
         {"--fault", "drop:2", "--fault", "wrong-address:4", "--fault", "corrupt:12", "--fault",
          "error-write:15"},
         {"AL~F0020R", "AL~F0130W", "AL~F0150W"}},
        {false, {"--fault", "drop:3", "--fault", "wrong-address:7"}, {"AL~F0050R"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.faults.empty() ? "no faults" : c.faults[1]);
        if (c.write) {
            FreshImage("radio.bin");
        } else {
            fs::copy_file(Path("source.bin"), Path("radio.bin"),
                          fs::copy_options::overwrite_existing);
        }
        std::vector<std::string> args = {"--verbose", "--image", Path("radio.bin")};
        args.insert(args.end(), c.faults.begin(), c.faults.end());
        qx::test::SimProcess sim(QXSIM_PATH, args, Path("sim.log"));
        ASSERT_TRUE(sim.Started()) << sim.Error();

        // The faults did happen in the first transfer: the radio logs each line it answers.
        const auto expectRetried = [&] {
            const std::string log = ReadFileText(Path("sim.log"));
            for (const auto& line : c.retried) {
                std::size_t count = 0;
                for (auto at = log.find("qxsim: " + line); at != std::string::npos;
                     at = log.find("qxsim: " + line, at + 1)) {
                    ++count;
                }
                EXPECT_EQ(count, 2u) << line;
            }
        };
        if (c.write) {
            const ProgramRun write = Qxctl("write --port " + sim.Path() + " " + project);
            ASSERT_EQ(write.exitCode, 0) << write.err;
            EXPECT_TRUE(write.err.ends_with("Completed: 100%\n")) << write.err;
            expectRetried();
        }
        const ProgramRun read = Qxctl("read --port " + sim.Path() + " -o " + Path("R.qx"));
        ASSERT_EQ(read.exitCode, 0) << read.err;
        if (!c.write) expectRetried();
        ExpectSameProject(Path("R.qx"), project);
        fs::remove(Path("R.qx"));
    }
}

TEST_F(QxctlTransfer, BuiltInSimPortReadsAFreshRadio) {
    // What a read of a new radio gives: the default document, as an image decode gives it.
    const qx::ImageEncoding image =
        qx::EncodeImage(qx::NewCodeplug(qx::kStartModel), qx::test::kAllFeatures);
    ASSERT_TRUE(image.problems.empty());
    qx::test::WriteFileText(Path("fresh.bin"), std::string(image.image.begin(), image.image.end()));
    ASSERT_EQ(Qxctl("image decode " + Path("fresh.bin") + " -o " + Path("expected.qx")).exitCode,
              0);

    const ProgramRun read = Qxctl("read --port sim -o " + Path("S.qx"));
    ASSERT_EQ(read.exitCode, 0) << read.err;
    ExpectSameProject(Path("S.qx"), Path("expected.qx"));
    // The read left exactly one backup: the radio's memory as received.
    const fs::path backups = Path("data/qxprog/backups");
    std::vector<fs::path> stored;
    for (const auto& entry : fs::directory_iterator(backups)) stored.push_back(entry.path());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_TRUE(stored[0].filename().string().ends_with("-model3-read.img")) << stored[0];
    EXPECT_EQ(ReadFileText(stored[0].string()),
              std::string(image.image.begin(), image.image.end()));
    EXPECT_TRUE(read.err.ends_with("Backup: " + stored[0].string() + "\n")) << read.err;
    // One progress line per new percentage, rising to 100%, then the backup.
    std::istringstream lines(read.err);
    std::string line;
    int last = 0;
    while (std::getline(lines, line)) {
        if (line.starts_with("Backup: ")) break;
        ASSERT_TRUE(line.starts_with("Completed: ") && line.ends_with("%")) << line;
        const int percent = std::stoi(line.substr(11));
        EXPECT_GT(percent, last) << line;
        last = percent;
    }
    EXPECT_EQ(last, 100);
    EXPECT_EQ(read.out, "");
}

// A quick read gives the project a full read gives, from a radio holding
// bytes in every line it leaves out, and its backup's companion names them.
TEST_F(QxctlTransfer, AQuickReadGivesWhatAFullReadGives) {
    qx::Codeplug c = qx::NewCodeplug(kModel);
    for (const int row : {1, 2, 40, 100}) {
        qx::PutInUse(c.Row(row), kModel);
        c.Row(row).name = "CH" + std::to_string(row);
    }
    c.Row(40).signal = {qx::SignalKind::TwoTone, 42, std::nullopt};
    c.signalling.twoTone.codes[42] = {1, 2, 3, 4, 5, 6};
    c.signalling.fiveTone.codes[7] = {0, 3, 4, 2, "9AB0"};
    c.signalling.dtmfMemories[3] = -2;
    c.autoDialer.entries[0] = "12*#A";
    qx::ImageEncoding image = qx::EncodeImage(c, qx::test::kAllFeatures);
    ASSERT_TRUE(image.problems.empty());
    for (const int line : qx::UnusedLines()) {
        for (std::size_t b = 0; b < qx::kLineBytes; ++b)
            image.image[static_cast<std::size_t>(line) * qx::kLineBytes + b] =
                static_cast<std::uint8_t>(line + b + 1);
    }
    qx::test::WriteFileText(Path("radio.bin"), std::string(image.image.begin(), image.image.end()));

    const auto readWith = [&](const std::string& name, const std::string& options) {
        qx::test::SimProcess sim(QXSIM_PATH, {"--image", Path("radio.bin")});
        EXPECT_TRUE(sim.Started()) << sim.Error();
        const ProgramRun read =
            Qxctl("read --port " + sim.Path() + " -o " + Path(name + ".qx") + options);
        EXPECT_EQ(read.exitCode, 0) << read.err;
        const auto backup = read.err.rfind("Backup: ");
        if (backup == std::string::npos) {
            ADD_FAILURE() << read.err;
            return std::string();
        }
        return read.err.substr(backup + 8, read.err.find('\n', backup) - backup - 8);
    };
    const std::string full = readWith("F", "");
    const std::string quick = readWith("Q", " --quick");
    ExpectSameProject(Path("F.qx"), Path("Q.qx"));
    EXPECT_TRUE(full.ends_with("-model5-read.img")) << full;
    EXPECT_FALSE(fs::exists(full + ".unread"));
    EXPECT_TRUE(quick.ends_with("-model5-quick-read.img")) << quick;

    const std::string unread = ReadFileText(quick + ".unread");
    EXPECT_NE(unread.find("\n0010-0030\n0050-00F0\n"), std::string::npos) << unread;
    EXPECT_TRUE(unread.ends_with("\n1E60-1FF0\n")) << unread;
}

TEST_F(QxctlTransfer, APasswordIsAskedForAndCanBeChanged) {
    const std::string project = NormalisedProject("P.qx");
    qx::test::SimProcess sim(QXSIM_PATH, {"--image", FreshImage("radio.bin"), "--password", "abc"});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    const std::string port = "--port " + sim.Path();

    struct Case {
        std::string args;
        int exitCode;
        std::string lastLine;
    };
    const std::vector<Case> cases = {
        {"read " + port + " -o " + Path("R.qx"), 1, "qxctl read: " + kNoPassword},
        {"read " + port + " -o " + Path("R.qx") + " --password abd", 1,
         "qxctl read: " + kWrongPassword},
        {"write " + port + " " + project, 1, "qxctl write: " + kNoPassword},
        {"read " + port + " -o " + Path("R.qx") + " --password abc", 0, "Completed: 100%"},
        {"write " + port + " " + project + " --password abc --new-password xyz", 0,
         "Completed: 100%"},
        {"read " + port + " -o " + Path("R.qx") + " --password abc", 1,
         "qxctl read: " + kWrongPassword},
        {"read " + port + " -o " + Path("R.qx") + " --password xyz", 0, "Completed: 100%"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = Qxctl(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args << "\n" << run.err;
        // A completed read names its backup last.
        std::string err = run.err;
        if (const auto backup = err.rfind("Backup: "); backup != std::string::npos) {
            err.erase(backup);
        }
        EXPECT_TRUE(err.ends_with(c.lastLine + "\n")) << c.args << "\n" << run.err;
    }
    ExpectSameProject(Path("R.qx"), project);
}

TEST_F(QxctlTransfer, ARadioGoneMidTransferEndsTheCommandWithAnError) {
    qx::test::SimProcess sim(QXSIM_PATH, {"--baud", "9600"});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    auto read = std::async(std::launch::async, [&] {
        return Qxctl("read --port " + sim.Path() + " -o " + Path("R.qx"));
    });
    std::this_thread::sleep_for(1s);
    sim.Kill();
    // A generous bound: a hang never ends, an error report takes well under a second.
    ASSERT_EQ(read.wait_for(15s), std::future_status::ready) << "qxctl read still running";
    const ProgramRun run = read.get();
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("qxctl read: The connection to the radio was lost: " + sim.Path()),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(Path("R.qx")));
}

TEST_F(QxctlTransfer, BadPortsAndArguments) {
    const std::string project = NormalisedProject("P.qx");
    struct Case {
        std::string args;
        int exitCode;
        std::string inError;
    };
    const std::vector<Case> cases = {
        {"read --port /dev/qx-no-such-port -o " + Path("R.qx"), 1,
         "qxctl read: The port /dev/qx-no-such-port does not exist."},
        {"write --port /dev/qx-no-such-port " + project, 1, "/dev/qx-no-such-port"},
        {"read -o " + Path("R.qx"), 2, "--port"},
        {"read --port sim", 2, "-o"},
        {"read --port sim -o -", 2, "file name"},
        {"read --port sim -o " + Path("R.qx") + " extra", 2, "arguments"},
        {"write --port sim", 2, "arguments"},
        {"write " + project, 2, "--port"},
        {"write --port sim " + project + " --new-password 12345678901234567", 2, "16"},
        {"write --port sim " + Path("missing.qx"), 1, "missing.qx"},
        {"ports extra", 2, "arguments"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = Qxctl(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.inError), std::string::npos) << c.args << "\n" << run.err;
    }
    EXPECT_FALSE(fs::exists(Path("R.qx")));

    const ProgramRun ports = Qxctl("ports");
    EXPECT_EQ(ports.exitCode, 0);
    EXPECT_TRUE(ports.out.ends_with("sim\n")) << ports.out;
}

}  // namespace
