// qxctl csv export PROJECT.qx -o FILE.csv [--language FILE]
#include "files/peer_csv.h"
#include "workspace.h"

namespace qx::cli {

int RunCsvExport(const std::vector<std::string>& args, CommandIo& io) {
    const CommandSyntax syntax{
        .program = "qxctl csv export",
        .synopsis = "PROJECT.qx -o FILE.csv [--language FILE]",
        .about = "Writes the memory channels in use as a CSV channel list under the full header.",
        .arguments = {{"PROJECT.qx", "the project"}},
        .options = {OutputOption("FILE.csv",
                                 "the channel list to write; \"-\" for standard output"),
                    kLanguageOption},
    };
    return RunCommand(syntax, args, io, [&](const Arguments& parsed) {
        RequireConversionArguments(parsed, 1);
        auto ws = LoadWorkspace(parsed, io);
        OpenProjectOrThrow(*ws, parsed.positional[0]);
        WriteOutput(*parsed.Option("-o"), WriteCsv(ws->doc.codeplug()), io);
    });
}

}  // namespace qx::cli
