// qxctl write into several radios at once: qxsim radios on pseudo-terminals,
// paced as 9600-baud lines, written side by side.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "codeplug/defaults.h"
#include "codeplug/models.h"
#include "document_builder.h"
#include "image/memory_image.h"
#include "qxctl_fixture.h"
#include "run_program.h"
#include "sim_process.h"

namespace {

using qx::test::ProgramRun;
using qx::test::ReadFileText;
using qx::test::SimProcess;

constexpr int kModel = 3;

class QxctlFleet : public qx::test::QxctlFixture {
  protected:
    // Channels, and 5-tone codes that carry the self ID (E2, E3) and one that does not.
    std::string Project() {
        qx::Codeplug c = qx::NewCodeplug(kModel);
        for (int row : {1, 2, 9}) qx::PutInUse(c.Row(row), kModel);
        c.Row(2).name = "TAXI";
        qx::FiveToneSettings& f = c.signalling.fiveTone;
        f.selfId = "12345";
        f.codes[0] = qx::test::FiveToneCodeOf("E212345");
        f.codes[1] = qx::test::FiveToneCodeOf("E312345612345");
        f.codes[2] = qx::test::FiveToneCodeOf("471E");
        EXPECT_EQ(qx::WriteProject(c, Path("P.qx")), "");
        return Path("P.qx");
    }

    // Radios of the project's model; `faults` by radio index.
    void StartRadios(std::size_t count, const std::vector<std::string>& extra = {},
                     std::size_t faulty = 99) {
        for (std::size_t i = 0; i < count; ++i) {
            std::vector<std::string> args{
                "--model", std::to_string(kModel), "--image", Image(i), "--baud", "9600"};
            if (i == faulty) args.insert(args.end(), extra.begin(), extra.end());
            sims_.push_back(std::make_unique<SimProcess>(QXSIM_PATH, args));
            ASSERT_TRUE(sims_.back()->Started()) << sims_.back()->Error();
        }
    }
    std::string Ports() const {
        std::string ports;
        for (const auto& sim : sims_) ports += " --port " + sim->Path();
        return ports;
    }
    std::string Image(std::size_t i) { return Path("radio" + std::to_string(i) + ".img"); }
    qx::Codeplug Held(std::size_t i) {
        const std::string bytes = ReadFileText(Image(i));
        return qx::DecodeImage(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), kModel)
            .codeplug;
    }

    std::vector<std::unique_ptr<SimProcess>> sims_;
};

TEST_F(QxctlFleet, FourRadiosGetTheSameChannelsAndSuccessiveSelfIds) {
    const std::string project = Project();
    StartRadios(4);
    const ProgramRun run = Qxctl("write" + Ports() + " --self-id-from 10001 --summary " +
                                 Path("s.csv") + " " + project);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::string summary = ReadFileText(Path("s.csv"));
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string id = "1000" + std::to_string(i + 1);
        const std::string row = "#" + std::to_string(i + 1) + "," + sims_[i]->Path() + "," +
                                qx::ModelAt(kModel)->name + "," + id + ",ok,";
        EXPECT_NE(summary.find(row), std::string::npos) << summary;
        EXPECT_NE(run.out.find(sims_[i]->Path()), std::string::npos) << run.out;

        const qx::Codeplug held = Held(i);
        EXPECT_EQ(held.signalling.fiveTone.selfId, id);
        // The codes that carry the self ID, with a repeated digit as "E".
        EXPECT_EQ(held.signalling.fiveTone.codes[0].code, "E210E0" + id.substr(4));
        EXPECT_EQ(held.signalling.fiveTone.codes[1].code, "E312345610E0" + id.substr(4));
        EXPECT_EQ(held.signalling.fiveTone.codes[2].code, "471E");
        for (int row = 1; row <= qx::kRowCount; ++row)
            EXPECT_EQ(held.Row(row), Held(0).Row(row)) << "radio " << i << " row " << row;
    }
    EXPECT_EQ(Held(3).Row(2).name, "TAXI");
    // Progress went to standard error, one radio a line, with its phase.
    EXPECT_NE(run.err.find("#4  " + sims_[3]->Path()), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("verifying"), std::string::npos) << run.err;
}

TEST_F(QxctlFleet, ASilentRadioFailsWithItsMessageWhileTheOthersAreWritten) {
    const std::string project = Project();
    StartRadios(4, {"--fault", "silent-after:200"}, 2);
    const ProgramRun run = Qxctl("write" + Ports() + " --self-id-from 20001 --summary " +
                                 Path("s.csv") + " " + project);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("1 of 4 radios were not written; write again to #3 (" +
                           sims_[2]->Path() + ")"),
              std::string::npos)
        << run.err;
    const std::string summary = ReadFileText(Path("s.csv"));
    EXPECT_NE(summary.find("#3," + sims_[2]->Path() + "," + qx::ModelAt(kModel)->name +
                           ",20003,\"Write failed"),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("partly written"), std::string::npos) << summary;
    for (std::size_t i : {0u, 1u, 3u}) {
        EXPECT_NE(summary.find("#" + std::to_string(i + 1) + "," + sims_[i]->Path()),
                  std::string::npos);
        EXPECT_EQ(Held(i).signalling.fiveTone.selfId, "2000" + std::to_string(i + 1));
    }
    EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 5) << summary;
}

TEST_F(QxctlFleet, APerRadioFileGivesPortsIdsAndLabels) {
    const std::string project = Project();
    qx::test::WriteFileText(Path("radios.csv"),
                            "name,port,self_id\r\n\"Cab, one\",sim,31000\r\nspare,sim2,\r\n");
    // sim2 is no port: that radio fails, the built-in one is written.
    const ProgramRun run = Qxctl("write --per-radio " + Path("radios.csv") + " " + project);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.out.find("Cab, one  sim "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("31000"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("write again to spare (sim2)"), std::string::npos) << run.err;
}

TEST_F(QxctlFleet, CommandLinesThatDoNotFitAreRefusedBeforeAnyRadioIsTouched) {
    const std::string project = Project();
    qx::test::WriteFileText(Path("radios.csv"), "port\nsim\n");
    qx::test::WriteFileText(Path("ports.txt"), "# bench\nsim\n\nsim\n");
    const std::pair<std::string, std::string> cases[] = {
        {"--port sim --port a --self-id-from 99999", "passes 99999"},
        {"--port sim --port a --self-id-from 123", "five digits"},
        {"--ports-from " + Path("ports.txt"), "the port sim is given twice"},
        {"--ports-from " + Path("none.txt"), "--ports-from"},
        {"--per-radio " + Path("radios.csv") + " --port a", "give no --port"},
        {"--port sim --port a --new-password x", "one radio's password at a time"},
    };
    for (const auto& [args, message] : cases) {
        const ProgramRun run = Qxctl("write " + args + " " + project);
        EXPECT_EQ(run.exitCode, 2) << args << "\n" << run.err;
        EXPECT_NE(run.err.find(message), std::string::npos) << args << "\n" << run.err;
    }
}

}  // namespace
