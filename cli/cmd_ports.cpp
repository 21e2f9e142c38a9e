// qxctl ports: the serial ports a transfer can use, the simulated radio last.
#include <ostream>

#include "link/port_settings.h"
#include "qt_port_directory.h"
#include "workspace.h"

namespace qx::cli {

int RunPorts(const std::vector<std::string>& args, CommandIo& io) {
    const CommandSyntax syntax{
        .program = "qxctl ports",
        .about =
            "Lists the serial ports a transfer can use, one a line; the last is \"sim\", "
            "the built-in simulated radio.",
    };
    return RunCommand(syntax, args, io, [&](const Arguments& parsed) {
        if (!parsed.positional.empty()) throw UsageError("no arguments expected");
        for (const std::string& port : PortList(io.session, QtPortDirectory{})) {
            io.out << port << '\n';
        }
    });
}

}  // namespace qx::cli
