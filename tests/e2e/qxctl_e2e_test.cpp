// qxctl run as a user runs it: output and exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <string>

#include "channels/models.h"

namespace {

struct ProgramRun {
    std::string out;
    int exitCode = -1;
};

ProgramRun RunQxctl(const std::string& args) {
    ProgramRun run;
    const std::string command = std::string(QXCTL_PATH) + " " + args + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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
