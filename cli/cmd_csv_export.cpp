// qxctl csv export PROJECT.qx -o FILE.csv [--language FILE]
#include "files/peer_csv.h"
#include "workspace.h"

namespace qx::cli {

int RunCsvExport(const std::vector<std::string>& args, CommandIo& io) {
    return RunGuarded("csv export", "PROJECT.qx -o FILE.csv [--language FILE]", io, [&] {
        const Arguments parsed = ParseConversionArguments(args, 1);
        auto ws = LoadWorkspace(parsed, io);
        OpenProjectOrThrow(*ws, parsed.positional[0]);
        WriteOutput(*parsed.Option("-o"), WriteCsv(ws->doc.codeplug()), io);
    });
}

}  // namespace qx::cli
