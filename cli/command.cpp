#include "command.h"

#include <ostream>

namespace qx::cli {
namespace {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"models", "print the display texts of the supported radio models", RunModels},
    };
    return commands;
}

void PrintUsage(std::ostream& out) {
    out << "usage: qxctl [--version] [--help] COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& c : Commands()) out << "  " << c.name << "  " << c.summary << '\n';
}

}  // namespace

int Dispatch(const std::vector<std::string>& args, CommandIo& io) {
    if (args.empty()) {
        PrintUsage(io.err);
        return 2;
    }
    const std::string& name = args.front();
    if (name == "--version") {
        io.out << "qxctl " << QX_VERSION_TEXT << '\n';
        return 0;
    }
    if (name == "--help" || name == "-h") {
        PrintUsage(io.out);
        return 0;
    }
    for (const auto& c : Commands()) {
        if (c.name == name) return c.run({args.begin() + 1, args.end()}, io);
    }
    io.err << "qxctl: unknown command \"" << name << "\" (see qxctl --help)\n";
    return 2;
}

}  // namespace qx::cli
