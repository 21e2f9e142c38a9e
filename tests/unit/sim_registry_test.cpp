// Running simulators are listed in the runtime folder: a real qxsim adds its
// terminal while it runs and takes it away when it ends; the port list
// offers only the terminals of simulators still running.
#include "sim_registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "../e2e/sim_process.h"
#include "qt_port_directory.h"
#include "temp_dir.h"

namespace qx {
namespace {

using namespace std::chrono_literals;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool Lists(const std::vector<std::string>& ports, const std::string& port) {
    return std::find(ports.begin(), ports.end(), port) != ports.end();
}

// A process ID no process has: a child that has ended and been reaped.
long EndedPid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

// XDG_RUNTIME_DIR pointed at a folder of the test's own while it lives.
class RuntimeDir {
  public:
    explicit RuntimeDir(const std::filesystem::path& dir) {
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        if (const char* old = getenv("XDG_RUNTIME_DIR")) old_ = old;
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    ~RuntimeDir() {
        if (old_.empty()) {
            unsetenv("XDG_RUNTIME_DIR");
        } else {
            setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
        }
    }

  private:
    std::string old_;
};

// Two simulators: the one stopped takes its entry away, the one killed
// leaves it behind for the next list to remove.
TEST(SimRegistry, RunningQxsimsAreListedUntilTheyEnd) {
    const test::TempDir temp;
    const RuntimeDir runtime(temp / "run");
    const std::filesystem::path dir = temp / "run" / "qxsim";
    ASSERT_EQ(SimRegistryDir(), dir);
    test::SimProcess stopped(QXSIM_PATH, {});
    test::SimProcess killed(QXSIM_PATH, {});
    ASSERT_TRUE(stopped.Started() && killed.Started()) << stopped.Error() << killed.Error();
    const std::filesystem::path entry = dir / std::to_string(stopped.Pid());
    EXPECT_EQ(ReadFile(entry), stopped.Path() + "\n");
    std::vector<std::string> both = RegisteredSimPorts(dir);
    std::sort(both.begin(), both.end());
    std::vector<std::string> expected{stopped.Path(), killed.Path()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(both, expected);
    EXPECT_TRUE(Lists(QtPortDirectory().PortNames(), stopped.Path()));

    EXPECT_EQ(stopped.Stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_FALSE(Lists(QtPortDirectory().PortNames(), stopped.Path()));

    killed.Kill();  // no chance to tidy up
    const std::filesystem::path left = dir / std::to_string(killed.Pid());
    EXPECT_TRUE(std::filesystem::exists(left));
    EXPECT_TRUE(RegisteredSimPorts(dir).empty());
    EXPECT_FALSE(std::filesystem::exists(left));
}

TEST(SimRegistry, OnlyLiveProcessesWithAnExistingTerminalCount) {
    const test::TempDir temp;
    const std::filesystem::path dir = temp / "registry";
    std::filesystem::create_directories(dir);
    const std::string device = (temp / "device").string();
    WriteFile(device, "");
    const std::string self = std::to_string(getpid());
    const std::string ended = std::to_string(EndedPid());
    struct Entry {
        std::string name, content;
        bool listed, kept;
    };
    const std::vector<Entry> entries = {
        {self, device + "\n", true, true},
        {ended, device + "\n", false, false},  // the process has ended
        {std::to_string(getppid()), (temp / "gone").string() + "\n", false, true},  // no terminal
        {"notes", device + "\n", false, true},         // not a process ID
        {self + ".part", device + "\n", false, true},  // half written
    };
    for (const Entry& e : entries) WriteFile(dir / e.name, e.content);
    EXPECT_EQ(RegisteredSimPorts(dir), std::vector<std::string>{device});
    for (const Entry& e : entries)
        EXPECT_EQ(std::filesystem::exists(dir / e.name), e.kept) << e.name;
    EXPECT_TRUE(RegisteredSimPorts(temp / "missing").empty());
    EXPECT_TRUE(RegisteredSimPorts({}).empty());
}

TEST(SimRegistry, ARegistrationThatCannotBeWrittenSaysWhy) {
    const test::TempDir temp;
    WriteFile(temp / "file", "");
    for (const std::filesystem::path& dir : {std::filesystem::path(), temp / "file" / "qxsim"}) {
        const SimRegistration registration(dir, 4242, "/dev/pts/77");
        EXPECT_NE(registration.Error(), "") << dir;
        EXPECT_TRUE(registration.Path().empty()) << dir;
    }
}

}  // namespace
}  // namespace qx
