// The shared shape of every qxctl subcommand and the dispatch table.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace qx::cli {

struct CommandIo {
    std::ostream& out;
    std::ostream& err;
};

// A subcommand takes the arguments after its name and returns the exit code.
using CommandFn = std::function<int(const std::vector<std::string>& args, CommandIo& io)>;

struct Command {
    std::string name;
    std::string summary;
    CommandFn run;
};

int RunModels(const std::vector<std::string>& args, CommandIo& io);

// Runs `qxctl ARGS...` (without the program name).
int Dispatch(const std::vector<std::string>& args, CommandIo& io);

}  // namespace qx::cli
