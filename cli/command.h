// The shared shape of every qxctl subcommand and the dispatch table.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "app/session.h"
#include "command_line.h"

namespace qx::cli {

// What a subcommand may use: the output streams and the session values read
// at start (settings folders, configured language, stored feature flags).
struct CommandIo {
    std::ostream& out;
    std::ostream& err;
    Session session{};
    bool quiet = false;          // --quiet: no progress, no informational lines on err
    bool errIsTerminal = false;  // err is a terminal: progress is one updating line
};

// A subcommand takes the arguments after its name and returns the exit code.
using CommandFn = std::function<int(const std::vector<std::string>& args, CommandIo& io)>;

struct Command {
    std::string name;
    std::string summary;
    CommandFn run;
};

int RunModels(const std::vector<std::string>& args, CommandIo& io);
int RunImage(const std::vector<std::string>& args, CommandIo& io);
int RunImageEncode(const std::vector<std::string>& args, CommandIo& io);
int RunImageDecode(const std::vector<std::string>& args, CommandIo& io);
int RunListing(const std::vector<std::string>& args, CommandIo& io);
int RunPorts(const std::vector<std::string>& args, CommandIo& io);
int RunRead(const std::vector<std::string>& args, CommandIo& io);
int RunWrite(const std::vector<std::string>& args, CommandIo& io);
int RunRestore(const std::vector<std::string>& args, CommandIo& io);
int RunCheck(const std::vector<std::string>& args, CommandIo& io);
int RunCsv(const std::vector<std::string>& args, CommandIo& io);
int RunCsvExport(const std::vector<std::string>& args, CommandIo& io);
int RunCsvImport(const std::vector<std::string>& args, CommandIo& io);

// The options every command takes besides --help.
extern const OptionRule kQuietOption;

// Parses `args` by `syntax` (with --quiet added) and runs `body` with them;
// exceptions become the exit code and one stderr line, "qxctl NAME: what went
// wrong" (UsageError: 2, with the usage; others: 1). With --help anywhere it
// prints the command's help on out instead and returns 0.
int RunCommand(CommandSyntax syntax, const std::vector<std::string>& args, CommandIo& io,
               const std::function<void(const Arguments&)>& body);

// Runs `qxctl ARGS...` (without the program name). Output that could not be
// written (a full disk, a closed pipe) fails the command, whichever it was.
int Dispatch(const std::vector<std::string>& args, CommandIo& io);

// Flushes standard output: `code`, or 1 with a line on stderr when what the
// command wrote did not all reach it.
int CheckOutputWritten(int code, CommandIo& io);

// Runs the subcommand `name` of a command group ("image encode"); `about`
// says what the group is for in its help.
int DispatchGroup(const std::string& group, const std::string& about,
                  const std::vector<Command>& commands, const std::vector<std::string>& args,
                  CommandIo& io);

}  // namespace qx::cli
