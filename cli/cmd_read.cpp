// qxctl read --port NAME -o PROJECT.qx [--password TEXT] [--double] [--sim-fault RULES]
//            [--language FILE]
#include "app/project_file.h"
#include "transfer_run.h"

namespace qx::cli {

int RunRead(const std::vector<std::string>& args, CommandIo& io) {
    return RunGuarded("read",
                      "--port NAME -o PROJECT.qx [--password TEXT] [--double] [--sim-fault RULES] "
                      "[--language FILE]",
                      io, [&] {
                          const Arguments parsed =
                              ParseConversionArguments(args, 0, kTransferOptions, {"--double"});
                          const std::string output = *parsed.Option("-o");
                          if (output == "-")
                              throw UsageError("a project needs a file name, not \"-\"");
                          const std::string port = PortArgument(parsed);
                          auto ws = LoadWorkspace(parsed, io);
                          TakePassword(parsed, *ws);
                          RecoverProjectOrThrow(*ws, output);

                          TransferRequest request;
                          request.port = port;
                          request.simMemory = SimMemoryFor(port, parsed, io, std::nullopt);
                          request.options.readTwice = parsed.Flag("--double");
                          request.simFaults = parsed.Option("--sim-fault");
                          RunTransfer(request, *ws, io);
                          if (const std::string error = SaveProject(ws->doc, output);
                              !error.empty()) {
                              throw CommandError(error);
                          }
                      });
}

}  // namespace qx::cli
