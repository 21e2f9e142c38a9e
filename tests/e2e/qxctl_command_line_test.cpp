// The command-line conventions of qxctl and qxsim: help for every command,
// --quiet, repeated options and "--name=value".
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/csv_import.h"
#include "codeplug/defaults.h"
#include "document_builder.h"
#include "qxctl_fixture.h"
#include "run_program.h"

namespace {

namespace fs = std::filesystem;
using qx::test::ProgramRun;

// The names in the "commands:" list of a group's help.
std::vector<std::string> CommandsListed(const std::string& help) {
    std::vector<std::string> names;
    std::istringstream lines(help.substr(help.find("\ncommands:\n") + 11));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with("  ") && line[2] != ' ')
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    return names;
}

// Each block of two-column rows starts its second column at one place.
void ExpectAlignedColumns(const std::string& help, const std::string& command) {
    std::istringstream lines(help);
    std::string line;
    std::size_t column = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line.ends_with(':')) {
            column = 0;  // a new block
            continue;
        }
        if (!line.starts_with("  ")) continue;
        const std::size_t text = line.find_first_not_of(' ');
        const std::size_t gap = line.find("  ", text);
        const std::size_t second =
            text > 2 ? text : (gap == std::string::npos ? 0 : line.find_first_not_of(' ', gap));
        if (column == 0) column = second;
        EXPECT_EQ(second, column) << command << ": " << line;
        EXPECT_LE(line.size(), 79u) << command << ": " << line;
    }
}

using CommandLine = qx::test::QxctlFixture;

TEST_F(CommandLine, EveryCommandAnswersHelpAndHelpCommandGivesTheSameText) {
    const ProgramRun top = Qxctl("--help");
    ASSERT_EQ(top.exitCode, 0);
    EXPECT_EQ(Qxctl("help").out, top.out);
    EXPECT_EQ(Qxctl("-h").out, top.out);
    std::vector<std::string> commands;
    for (const std::string& name : CommandsListed(top.out)) {
        commands.push_back(name);
        if (name == "image" || name == "csv") {
            for (const std::string& sub : CommandsListed(Qxctl(name + " --help").out))
                commands.push_back(name + " " + sub);
        }
    }
    EXPECT_EQ(commands,
              (std::vector<std::string>{"models", "image", "image encode", "image decode",
                                        "listing", "ports", "read", "write", "restore", "check",
                                        "csv", "csv export", "csv import", "help"}));
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const ProgramRun help = Qxctl(command + " --help");
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_EQ(help.err, "");
        // "help --help" is the list of commands.
        EXPECT_TRUE(help.out.starts_with(command == "help" ? top.out : "usage: qxctl " + command));
        EXPECT_NE(help.out.find("\noptions:\n"), std::string::npos);
        ExpectAlignedColumns(help.out, command);
        const ProgramRun viaHelp = Qxctl("help " + command);
        EXPECT_EQ(viaHelp.exitCode, 0);
        EXPECT_EQ(viaHelp.out, help.out);
        // Help wins over what else is wrong with the command line.
        if (command != "help") {
            EXPECT_EQ(Qxctl(command + " --bogus -h").out, help.out);
        }
    }
    const ProgramRun unknown = Qxctl("help frob");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "qxctl: unknown command \"frob\" (see qxctl --help)\n");

    const ProgramRun sim = qx::test::RunProgram(QXSIM_PATH, "--help", Path("sim"));
    EXPECT_EQ(sim.exitCode, 0);
    EXPECT_TRUE(sim.out.starts_with("usage: qxsim [options]\n"));
    ExpectAlignedColumns(sim.out, "qxsim");
}

TEST_F(CommandLine, QuietLeavesOnlyErrorsAndWarnings) {
    for (const std::string args :
         {"read --port sim --quiet -o ", "--quiet read --port sim -o ", "read -q --port sim -o "}) {
        const ProgramRun read = Qxctl(args + Path("r.qx"));
        EXPECT_EQ(read.exitCode, 0) << args;
        EXPECT_EQ(read.err, "") << args;
        EXPECT_TRUE(fs::exists(Path("r.qx"))) << args;
        fs::remove(Path("r.qx"));
    }
    // Without --quiet the same read shows its progress and its backup.
    const ProgramRun loud = Qxctl("read --port sim -o " + Path("r.qx"));
    EXPECT_NE(loud.err.find("Completed: 100%\nBackup: "), std::string::npos) << loud.err;

    const ProgramRun failed =
        Qxctl("read --quiet --port sim --sim-fault silent-after:3 -o " + Path("f.qx"));
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.starts_with("qxctl read: ")) << failed.err;
    EXPECT_EQ(failed.err.find("Completed"), std::string::npos) << failed.err;

    // A CSV import keeps its lines about changed and skipped rows, not the totals.
    const fs::path csv = fs::path(QX_SOURCE_DIR) / "tests/data/csv/import_model3.csv";
    const ProgramRun import = Qxctl("csv import " + csv.string() + " --model 3 -o " + Path("c.qx") +
                                    " --language english.ini --quiet");
    ASSERT_EQ(import.exitCode, 0) << import.err;
    const std::vector<std::string> summary = qx::CsvSummaryLines(
        qx::PlanCsvImport(qx::NewCodeplug(3), qx::ReadCsvFile(csv)), qx::test::EnglishTexts());
    std::string rows;
    for (std::size_t i = 0; i + 1 < summary.size(); ++i) rows += summary[i] + "\n";
    EXPECT_EQ(import.err, rows);
}

TEST_F(CommandLine, RepeatedOptionsAndValuesAfterAnEqualsSign) {
    const std::string usage =
        " (usage: qxctl read --port NAME -o PROJECT.qx [--password TEXT] [--double] [--quick] "
        "[--sim-fault RULES] [--language FILE])\n";
    struct Case {
        std::string args;
        int exitCode;
        std::string err;  // the start of stderr
    };
    const std::vector<Case> cases = {
        {"read --port=sim -o=" + Path("a.qx") + " --language=english.ini --quiet", 0, ""},
        {"read --port sim -o" + Path("b.qx") + " -q", 0, ""},
        {"read --port sim --port=sim -o " + Path("x.qx"), 2,
         "qxctl read: option \"--port\" given twice" + usage},
        {"read --port sim -q --quiet -o " + Path("x.qx"), 2,
         "qxctl read: option \"--quiet\" given twice" + usage},
        {"read --port sim --quiet=yes -o " + Path("x.qx"), 2,
         "qxctl read: unexpected value after '--quiet'" + usage},
        {"read --port sim -o " + Path("x.qx") + " --port", 2,
         "qxctl read: missing value after '--port'" + usage},
        {"read --port sim --bogus -o " + Path("x.qx"), 2,
         "qxctl read: unknown option \"--bogus\"" + usage},
        // --sim-fault may be repeated: every rule given counts, in order.
        {"read --port sim --sim-fault drop:2 --sim-fault=nonsense -o " + Path("x.qx"), 2,
         "qxctl read: --sim-fault: unknown fault 'nonsense'"},
        {"read --port sim --sim-fault nonsense --sim-fault=drop:2 -o " + Path("x.qx"), 2,
         "qxctl read: --sim-fault: unknown fault 'nonsense'"},
        // "--" ends the options: what follows is an argument even with a dash.
        {"listing -o - -- -p.qx", 1, "qxctl listing: "},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Qxctl(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args << "\n" << run.err;
        EXPECT_TRUE(run.err.starts_with(c.err)) << c.args << "\n" << run.err;
    }
    EXPECT_TRUE(fs::exists(Path("a.qx")));
    EXPECT_TRUE(fs::exists(Path("b.qx")));
    EXPECT_FALSE(fs::exists(Path("x.qx")));

    // qxsim: the same rules.
    for (const std::string args : {"--model 3 --model=4", "--fault drop:1 --fault=nonsense"}) {
        const ProgramRun run = qx::test::RunProgram(QXSIM_PATH, args, Path("sim"));
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_TRUE(run.err.starts_with(args.starts_with("--model")
                                            ? "qxsim: option \"--model\" given twice\n"
                                            : "qxsim: unknown fault 'nonsense'"))
            << args << "\n"
            << run.err;
    }
}

// On a terminal, a transfer's progress is one line redrawn after carriage
// returns and cleared at the end; elsewhere it is a line per percentage.
// Runs `command` (shell text) with its standard error on a pseudo-terminal:
// the exit status and everything the terminal was sent.
std::pair<int, std::string> RunWithErrOnTerminal(const std::string& command) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return {-1, "no pty"};
    const std::string slavePath = ptsname(master);
    // Raw, so the bytes arrive as written; held open so the master never hangs up.
    const int slave = open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) return {-1, "no pty"};
    termios mode{};
    tcgetattr(slave, &mode);
    cfmakeraw(&mode);
    tcsetattr(slave, TCSANOW, &mode);

    std::string shown;
    std::atomic<bool> ended{false};
    std::thread reader([&] {
        char buffer[4096];
        for (;;) {
            pollfd ready{master, POLLIN, 0};
            if (poll(&ready, 1, 50) > 0) {
                const ssize_t n = read(master, buffer, sizeof buffer);
                if (n > 0) shown.append(buffer, static_cast<std::size_t>(n));
            } else if (ended) {
                return;
            }
        }
    });
    FILE* pipe = popen((command + " 2>" + slavePath).c_str(), "r");
    // Standard output is read to its end, so that the program never finds it closed.
    char out[4096];
    while (pipe != nullptr && std::fread(out, 1, sizeof out, pipe) > 0) {
    }
    const int status = pipe == nullptr ? -1 : pclose(pipe);
    ended = true;
    reader.join();
    close(slave);
    close(master);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, shown};
}

TEST_F(CommandLine, OnATerminalProgressIsOneLineRedrawnInPlace) {
    const auto [status, shown] = RunWithErrOnTerminal(
        "XDG_CONFIG_HOME='" + Path("config") + "' XDG_DATA_HOME='" + Path("data") + "' " +
        QXCTL_PATH + " read --port sim -o '" + Path("r.qx") + "'");
    EXPECT_EQ(status, 0) << shown;
    const std::size_t backup = shown.find("Backup: ");
    ASSERT_NE(backup, std::string::npos) << shown;
    const std::string bar = shown.substr(0, backup);
    EXPECT_EQ(bar.find('\n'), std::string::npos) << "no line ends before the backup";
    EXPECT_TRUE(bar.starts_with("\rCompleted:   0% [------------------------------]")) << bar;
    EXPECT_NE(bar.find("\rCompleted:  50% [#"), std::string::npos) << bar;
    // The last line still to come: never "100%" before the end.
    EXPECT_NE(bar.find("\rCompleted:  99% [#############################-]"), std::string::npos)
        << bar;
    EXPECT_EQ(bar.find("100%"), std::string::npos) << bar;
    // Cleared: the last drawing is blanks only.
    const std::size_t lastDrawing = bar.rfind('\r', bar.size() - 2);
    EXPECT_EQ(bar.substr(lastDrawing + 1, bar.size() - lastDrawing - 2).find_first_not_of(' '),
              std::string::npos)
        << bar;
    EXPECT_TRUE(bar.ends_with(" \r"));
}

TEST_F(CommandLine, OnATerminalSeveralRadiosHaveALineEachRedrawnInPlace) {
    const std::string env =
        "XDG_CONFIG_HOME='" + Path("config") + "' XDG_DATA_HOME='" + Path("data") + "' ";
    ASSERT_EQ(Qxctl("read --port sim -o '" + Path("p.qx") + "'").exitCode, 0);
    const auto [status, shown] = RunWithErrOnTerminal(
        env + QXCTL_PATH + " write --port sim --port /dev/qx-none '" + Path("p.qx") + "'");
    EXPECT_EQ(status, 1) << shown;
    // Drawn once, then each time from two lines up, every line cleared to its end.
    EXPECT_TRUE(shown.starts_with("\r#1  sim           0%    ")) << shown;
    EXPECT_NE(shown.find("\x1b[2A\r#1  sim           100%  done\x1b[K\n"
                         "\r#2  /dev/qx-none  0%    failed\x1b[K\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("write again to #2 (/dev/qx-none)"), std::string::npos) << shown;
}

}  // namespace
