// qxctl csv: channel lists in the peer CSV format.
#include "command.h"

namespace qx::cli {

int RunCsv(const std::vector<std::string>& args, CommandIo& io) {
    static const std::vector<Command> commands = {
        {"export", "write the memory channels in use as a CSV channel list", RunCsvExport},
        {"import", "put the channels of a CSV channel list into a project", RunCsvImport},
    };
    return DispatchGroup(
        "csv",
        "Converts between a project and a channel list in the peer CSV format that spreadsheets "
        "and repeater directories use.",
        commands, args, io);
}

}  // namespace qx::cli
