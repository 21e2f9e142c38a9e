// qxctl csv: channel lists in the peer CSV format.
#include "command.h"

namespace qx::cli {

int RunCsv(const std::vector<std::string>& args, CommandIo& io) {
    static const std::vector<Command> commands = {
        {"export", "PROJECT.qx -o FILE.csv: the memory channels in use as a channel list",
         RunCsvExport},
        {"import",
         "FILE.csv [--into PROJECT.qx | --model N] -o OUT.qx [--strict]: the channel list into "
         "a project (N as \"qxctl models\" counts from 0); the summary goes to stderr",
         RunCsvImport},
    };
    return DispatchGroup("csv", commands, args, io);
}

}  // namespace qx::cli
