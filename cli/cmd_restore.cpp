// qxctl restore --port NAME IMAGE.img [--password TEXT] [--new-password TEXT] [--backup]
//               [--no-verify] [--sim-fault RULES] [--language FILE]
#include "app/project_file.h"
#include "transfer_run.h"

namespace qx::cli {

int RunRestore(const std::vector<std::string>& args, CommandIo& io) {
    return RunGuarded(
        "restore",
        "--port NAME IMAGE.img [--password TEXT] [--backup] [--no-verify] [--sim-fault RULES] "
        "[--language FILE]",
        io, [&] {
            std::vector<std::string> options = kTransferOptions;
            options.push_back("--language");
            const Arguments parsed = ParseArguments(args, options, {"--backup", "--no-verify"});
            if (!parsed.error.empty()) throw UsageError(parsed.error);
            if (parsed.positional.size() != 1) throw UsageError("wrong number of arguments");
            const std::string port = PortArgument(parsed);
            auto ws = LoadWorkspace(parsed, io);
            TakePassword(parsed, *ws);
            auto image = ReadBackupImage(parsed.positional[0], ws->ui);
            if (!image) throw CommandError(ws->ui.Report("cannot open " + parsed.positional[0]));
            // The built-in radio is one of the image's model, as a write of a
            // project finds one of the project's.
            const int model = ImageModelIndex(*image);
            TransferRequest request;
            request.mode = TransferMode::Write;
            request.port = port;
            request.simMemory =
                SimMemoryFor(port, parsed, io, model >= 0 ? std::optional(model) : std::nullopt);
            request.options = {.verify = !parsed.Flag("--no-verify"),
                               .backupFirst = parsed.Flag("--backup")};
            request.restoreImage = std::move(*image);
            request.simFaults = parsed.Option("--sim-fault");
            RunTransfer(request, *ws, io);
        });
}

}  // namespace qx::cli
