// qxctl run as a user runs it: output and exit codes.
#include <gtest/gtest.h>

#include <string>

#include "codeplug/models.h"
#include "run_program.h"

namespace {

using qx::test::ProgramRun;

ProgramRun RunQxctl(const std::string& args) {
    return qx::test::RunProgram(QXCTL_PATH, args,
                                std::filesystem::temp_directory_path() / "qxctl_e2e_basic");
}

TEST(Qxctl, ModelsPrintsTheDisplayTextsInTableOrder) {
    std::string expected;
    for (const auto& model : qx::ModelTable()) expected += model.displayText + "\n";
    const ProgramRun run = RunQxctl("models");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.out.substr(0, 40), "NORVA_AT:Rx(26-45.9950) Tx(26-45.9950)\nN");
}

TEST(Qxctl, VersionAndBadUsage) {
    const ProgramRun version = RunQxctl("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("qxctl ") + QX_VERSION_TEXT + "\n");
    EXPECT_EQ(RunQxctl("frobnicate").exitCode, 2);
    EXPECT_EQ(RunQxctl("").exitCode, 2);
    EXPECT_EQ(RunQxctl("models extra").exitCode, 2);
}

}  // namespace
