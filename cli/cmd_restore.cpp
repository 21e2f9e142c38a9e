// qxctl restore --port NAME IMAGE.img [--password TEXT] [--backup] [--no-verify]
//               [--sim-fault RULES] [--language FILE]
#include "app/project_file.h"
#include "transfer_run.h"

namespace qx::cli {

int RunRestore(const std::vector<std::string>& args, CommandIo& io) {
    const CommandSyntax syntax{
        .program = "qxctl restore",
        .synopsis =
            "--port NAME IMAGE.img [--password TEXT] [--backup] [--no-verify] "
            "[--sim-fault RULES] [--language FILE]",
        .about =
            "Writes a backup image back into the radio: the lines a write sends, byte for "
            "byte, with the same model check, password and verify. Lines its companion file "
            "(IMAGE.img.unread, stored by a quick read) names were never read and are left "
            "as the radio holds them.",
        .arguments = {{"IMAGE.img", "the backup image (qxctl read names the one it stores)"}},
        .options = WriteOptionRules(),
    };
    return RunCommand(syntax, args, io, [&](const Arguments& parsed) {
        RequirePositional(parsed, 1);
        TransferRequest request = WriteRequest(parsed);
        auto ws = LoadWorkspace(parsed, io);
        TakePassword(parsed, *ws);
        auto image = ReadBackupToRestore(parsed.positional[0], ws->ui);
        if (!image) throw CommandError(ws->ui.Report("cannot open " + parsed.positional[0]));
        // The built-in radio is one of the image's model, as a write of a
        // project finds one of the project's.
        const int model = ImageModelIndex(image->bytes);
        request.simMemory = SimMemoryFor(request.port, parsed, io,
                                         model >= 0 ? std::optional(model) : std::nullopt);
        request.restore = std::move(*image);
        RunTransfer(request, *ws, io);
    });
}

}  // namespace qx::cli
