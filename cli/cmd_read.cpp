// qxctl read --port NAME -o PROJECT.qx [--password TEXT] [--language FILE]
#include "app/project_file.h"
#include "transfer_run.h"

namespace qx::cli {

int RunRead(const std::vector<std::string>& args, CommandIo& io) {
    return RunGuarded(
        "read", "--port NAME -o PROJECT.qx [--password TEXT] [--language FILE]", io, [&] {
            const Arguments parsed = ParseConversionArguments(args, 0, {"--port", "--password"});
            const std::string output = *parsed.Option("-o");
            if (output == "-") throw UsageError("a project needs a file name, not \"-\"");
            const std::string port = PortArgument(parsed);
            auto ws = LoadWorkspace(parsed, io);
            TakePassword(parsed, *ws);

            RunTransfer({TransferMode::Read, port, SimMemoryFor(port, parsed, io, std::nullopt),
                         std::nullopt},
                        *ws, io);
            if (const std::string error = SaveProject(ws->doc, output); !error.empty()) {
                throw CommandError(error);
            }
        });
}

}  // namespace qx::cli
