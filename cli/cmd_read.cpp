// qxctl read --port NAME -o PROJECT.qx [--password TEXT] [--double] [--quick]
//            [--sim-fault RULES] [--language FILE]
#include "app/project_file.h"
#include "transfer_run.h"

namespace qx::cli {
namespace {

CommandSyntax Syntax() {
    CommandSyntax syntax{
        .program = "qxctl read",
        .synopsis =
            "--port NAME -o PROJECT.qx [--password TEXT] [--double] [--quick] "
            "[--sim-fault RULES] [--language FILE]",
        .about =
            "Reads the radio's memory into a project. What was read is also kept as a "
            "backup image, whose name is printed at the end.",
        .options = TransferOptionRules(),
    };
    syntax.options.push_back(OutputOption("PROJECT.qx", "the project to save"));
    syntax.options.push_back(
        {{"--double"}, "", "read everything twice and use only what both reads agree on"});
    syntax.options.push_back(
        {{"--quick"},
         "",
         "leave out the memory lines this program never uses (the project comes out the "
         "same); the backup names them in its companion file, and a restore of it leaves "
         "them alone"});
    return syntax;
}

}  // namespace

int RunRead(const std::vector<std::string>& args, CommandIo& io) {
    return RunCommand(Syntax(), args, io, [&](const Arguments& parsed) {
        RequireConversionArguments(parsed, 0);
        const std::string output = *parsed.Option("-o");
        if (output == "-") throw UsageError("a project needs a file name, not \"-\"");
        const std::string port = PortArgument(parsed);
        auto ws = LoadWorkspace(parsed, io);
        TakePassword(parsed, *ws);
        RecoverProjectOrThrow(*ws, output);

        TransferRequest request;
        request.port = port;
        request.simMemory = SimMemoryFor(port, parsed, io, std::nullopt);
        request.options.readTwice = parsed.Flag("--double");
        request.options.quickRead = parsed.Flag("--quick");
        request.simFaults = SimFaults(parsed);
        RunTransfer(request, *ws, io);
        if (const std::string error = SaveProject(ws->doc, output); !error.empty()) {
            throw CommandError(error);
        }
    });
}

}  // namespace qx::cli
