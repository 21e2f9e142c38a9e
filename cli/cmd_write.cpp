// qxctl write --port NAME PROJECT.qx [--password TEXT] [--new-password TEXT] [--backup]
//             [--no-verify] [--sim-fault RULES] [--language FILE]
#include <ostream>

#include "app/check_texts.h"
#include "transfer_run.h"

namespace qx::cli {

int RunWrite(const std::vector<std::string>& args, CommandIo& io) {
    return RunGuarded(
        "write",
        "--port NAME PROJECT.qx [--password TEXT] [--new-password TEXT] [--backup] [--no-verify] "
        "[--sim-fault RULES] [--language FILE]",
        io, [&] {
            const Arguments parsed = ParseWriteArguments(args, {"--new-password"});
            TransferRequest request = WriteRequest(parsed);
            const auto newPassword = parsed.Option("--new-password");
            auto ws = LoadWorkspace(parsed, io);
            if (newPassword) {
                const std::string problem =
                    NewPasswordProblem(*newPassword, TransferTexts::From(ws->texts));
                if (!problem.empty()) throw UsageError("--new-password: " + problem);
            }
            TakePassword(parsed, *ws);
            OpenProjectOrThrow(*ws, parsed.positional[0]);
            // The check's lines go to stderr; warnings let the write go on.
            const auto review = [&](const CheckProblems& problems, WriteCheck) {
                for (const CheckProblem& problem : problems)
                    io.err << CheckReportLine(problem, ws->texts) << '\n';
                return true;
            };
            if (!CheckBeforeWrite(ws->doc, io.session, ws->ui, review))
                throw CommandError("the check found errors; nothing was written");
            if (!CheckWriteChannels(ws->doc, ws->ui)) {
                throw CommandError(ws->ui.Report("no active channel to write"));
            }
            request.simMemory = SimMemoryFor(request.port, parsed, io, ws->doc.model());
            request.newPassword = newPassword;
            RunTransfer(request, *ws, io);
        });
}

}  // namespace qx::cli
