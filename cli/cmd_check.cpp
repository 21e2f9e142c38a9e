// qxctl check PROJECT.qx [--language FILE]: the check a write runs, one line
// per problem on stdout; exit 1 when there is an error.
#include <ostream>

#include "app/check_texts.h"
#include "workspace.h"

namespace qx::cli {

int RunCheck(const std::vector<std::string>& args, CommandIo& io) {
    bool errors = false;
    const int code = RunGuarded("check", "PROJECT.qx [--language FILE]", io, [&] {
        const Arguments parsed = ParseArguments(args, {"--language"});
        if (!parsed.error.empty()) throw UsageError(parsed.error);
        if (parsed.positional.size() != 1) throw UsageError("wrong number of arguments");
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
