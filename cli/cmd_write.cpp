// qxctl write --port NAME PROJECT.qx [--password TEXT] [--new-password TEXT] [--backup]
//             [--no-verify] [--sim-fault RULES] [--language FILE]
// and into several radios at once: --port A --port B ..., --ports-from FILE or
// --per-radio FILE, with --self-id-from ID and --summary FILE.csv.
#include <algorithm>
#include <ostream>

#include "app/check_texts.h"
#include "fleet_run.h"
#include "transfer_run.h"

namespace qx::cli {
namespace {

CommandSyntax Syntax() {
    CommandSyntax syntax{
        .program = "qxctl write",
        .synopsis =
            "--port NAME [--port NAME...] PROJECT.qx [--password TEXT] [--new-password TEXT] "
            "[--backup] [--no-verify] [--ports-from FILE] [--per-radio FILE] [--self-id-from "
            "ID] [--summary FILE.csv] [--sim-fault RULES] [--language FILE]",
        .about =
            "Writes a project into the radio and reads every written line back to compare. "
            "The check runs first: its lines go to standard error, an error stops the "
            "write, warnings let it go on. Given several radios, it writes them all at "
            "once, each with its own progress line, and prints a summary table on standard "
            "output; the exit code is 0 only when every radio was written.",
        .arguments = {{"PROJECT.qx", "the project to write"}},
        .options = WriteOptionRules(),
    };
    syntax.options.push_back({{"--new-password"},
                              "TEXT",
                              "change the radio's password to TEXT (at most 16 bytes as the radio "
                              "stores it: one byte for each letter, digit or sign); one radio "
                              "only"});
    // --port may name several radios.
    for (OptionRule& option : syntax.options) {
        if (option.names.front() == "--port") {
            option.repeatable = true;
            option.description += "; repeat it to write into several radios at once";
        }
    }
    for (OptionRule& option : FleetOptionRules()) syntax.options.push_back(std::move(option));
    return syntax;
}

}  // namespace

int RunWrite(const std::vector<std::string>& args, CommandIo& io) {
    return RunCommand(Syntax(), args, io, [&](const Arguments& parsed) {
        RequirePositional(parsed, 1);
        const bool fleet = WantsFleet(parsed);
        std::vector<FleetRadio> radios;
        if (fleet) radios = FleetRadios(parsed);
        TransferRequest request = WriteRequest(parsed, !fleet);
        const auto newPassword = parsed.Option("--new-password");
        if (fleet && newPassword)
            throw UsageError("--new-password changes one radio's password at a time");
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
        if (fleet) {
            RunFleetWrite(parsed, std::move(radios), request, *ws, io);
            return;
        }
        request.simMemory = SimMemoryFor(request.port, parsed, io, ws->doc.model());
        request.newPassword = newPassword;
        RunTransfer(request, *ws, io);
    });
}

}  // namespace qx::cli
