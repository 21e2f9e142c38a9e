#include "command.h"

#include <cerrno>
#include <ostream>
#include <system_error>

namespace qx::cli {
namespace {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"models", "print the display texts of the supported radio models", RunModels},
        {"image", "convert between a project and a radio memory image (encode, decode)", RunImage},
        {"listing", "write the text listing of a project", RunListing},
        {"ports", "list the serial ports a transfer can use (\"sim\" is the built-in radio)",
         RunPorts},
        {"read", "read a radio's memory into a project", RunRead},
        {"write", "write a project into a radio (after the check; errors stop it) and verify it",
         RunWrite},
        {"restore", "write a backup image back into a radio and verify it", RunRestore},
        {"check",
         "check a project as a write does: one line per problem, a warning starting with "
         "\"warning: \"; exit 1 when there is an error",
         RunCheck},
        {"csv", "convert between a project and a peer CSV channel list (export, import)", RunCsv},
    };
    return commands;
}

void PrintUsage(const std::string& group, const std::vector<Command>& commands, std::ostream& out) {
    out << "usage: qxctl " << (group.empty() ? "[--version] [--help] " : group + " ")
        << "COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& c : commands) out << "  " << c.name << "  " << c.summary << '\n';
}

}  // namespace

int DispatchGroup(const std::string& group, const std::vector<Command>& commands,
                  const std::vector<std::string>& args, CommandIo& io) {
    if (args.empty()) {
        PrintUsage(group, commands, io.err);
        return 2;
    }
    const std::string& name = args.front();
    if (name == "--help" || name == "-h") {
        PrintUsage(group, commands, io.out);
        return 0;
    }
    for (const auto& c : commands) {
        if (c.name == name) return c.run({args.begin() + 1, args.end()}, io);
    }
    const std::string full = group.empty() ? name : group + " " + name;
    io.err << "qxctl: unknown command \"" << full << "\" (see qxctl " << group
           << (group.empty() ? "" : " ") << "--help)\n";
    return 2;
}

int Dispatch(const std::vector<std::string>& args, CommandIo& io) {
    int code = 0;
    if (!args.empty() && args.front() == "--version") {
        io.out << "qxctl " << QX_VERSION_TEXT << '\n';
    } else {
        code = DispatchGroup("", Commands(), args, io);
    }
    return CheckOutputWritten(code, io);
}

int CheckOutputWritten(int code, CommandIo& io) {
    errno = 0;
    io.out.flush();
    if (io.out) return code;
    const int error = errno;
    io.err << "qxctl: cannot write to standard output"
           << (error != 0 ? ": " + std::generic_category().message(error) : std::string()) << '\n';
    return code != 0 ? code : 1;
}

}  // namespace qx::cli
