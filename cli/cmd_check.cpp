// qxctl check PROJECT.qx [--language FILE]: the check a write runs, one line
// per problem on stdout; exit 1 when there is an error.
#include <ostream>

#include "app/check_texts.h"
#include "workspace.h"

namespace qx::cli {

int RunCheck(const std::vector<std::string>& args, CommandIo& io) {
    bool errors = false;
    const CommandSyntax syntax{
        .program = "qxctl check",
        .synopsis = "PROJECT.qx [--language FILE]",
        .about =
            "Checks a project as a write does first: one line per problem on standard "
            "output, a warning starting with \"warning: \". Exit code 1 when there is an "
            "error (an error stops a write, a warning does not).",
        .arguments = {{"PROJECT.qx", "the project to check"}},
        .options = {kLanguageOption},
    };
    const int code = RunCommand(syntax, args, io, [&](const Arguments& parsed) {
        RequirePositional(parsed, 1);
        auto ws = LoadWorkspace(parsed, io);
        OpenProjectOrThrow(*ws, parsed.positional[0]);
        const CheckProblems problems = CheckCodeplug(ws->doc.codeplug());
        for (const CheckProblem& problem : problems)
            io.out << CheckReportLine(problem, ws->texts) << '\n';
        io.out.flush();
        errors = HasErrors(problems);
    });
    return code == 0 && errors ? 1 : code;
}

}  // namespace qx::cli
