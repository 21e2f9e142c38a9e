// qxctl csv import FILE.csv [--into PROJECT.qx | --model N] -o OUT.qx [--strict] [--language FILE]
#include <ostream>

#include "app/channel_ops.h"
#include "app/csv_import.h"
#include "app/project_file.h"
#include "codeplug/models.h"
#include "util/numbers.h"
#include "workspace.h"

namespace qx::cli {
namespace {

int ModelIndex(const std::string& text) {
    const auto index = ParseInteger(text);
    if (!index || ModelAt(static_cast<int>(*index)) == nullptr ||
        text.find(' ') != std::string::npos) {
        throw UsageError("--model takes a model number 0.." + std::to_string(kModelCount - 1) +
                         " as \"qxctl models\" lists them, not \"" + text + "\"");
    }
    return static_cast<int>(*index);
}

}  // namespace

int RunCsvImport(const std::vector<std::string>& args, CommandIo& io) {
    const CommandSyntax syntax{
        .program = "qxctl csv import",
        .synopsis =
            "FILE.csv [--into PROJECT.qx | --model N] -o OUT.qx [--strict] [--language FILE]",
        .about =
            "Puts each row of a CSV channel list into the channel its Location names (a row "
            "without one into the next free channel), over the project given or a new one. "
            "Standard error gets one line per changed or skipped row, then the totals.",
        .arguments = {{"FILE.csv", "the channel list"}},
        .options =
            {
                {{"--into"}, "PROJECT.qx", "the project the channels go into"},
                {{"--model"}, "N", "a new project of model N, as qxctl models counts them from 0"},
                OutputOption("OUT.qx", "the project to save"),
                {{"--strict"}, "", "fail, and write nothing, when a row is skipped"},
                kLanguageOption,
            },
    };
    return RunCommand(syntax, args, io, [&](const Arguments& parsed) {
        RequireConversionArguments(parsed, 1);
        const std::string output = *parsed.Option("-o");
        if (output == "-") throw UsageError("a project needs a file name, not \"-\"");
        const auto into = parsed.Option("--into");
        const auto model = parsed.Option("--model");
        if (into && model) throw UsageError("--into and --model exclude each other");
        const int modelIndex = model ? ModelIndex(*model) : -1;

        auto ws = LoadWorkspace(parsed, io);
        if (into) {
            OpenProjectOrThrow(*ws, *into);
        } else if (model && modelIndex != ws->doc.model()) {
            ChangeModel(ws->doc, modelIndex, ws->ui, [] { return true; });
        }
        const CsvImportPlan plan =
            PlanCsvImport(ws->doc.codeplug(), ReadCsvFile(parsed.positional[0]));
        const std::vector<std::string> summary = CsvSummaryLines(plan, ws->texts);
        if (plan.fileIssue != CsvFileIssue::None) {
            throw CommandError(parsed.positional[0] + ": " + summary.front());
        }
        // The last line is the totals: information, which --quiet leaves out.
        for (std::size_t i = 0; i < summary.size(); ++i) {
            if (!io.quiet || i + 1 < summary.size()) io.err << summary[i] << '\n';
        }
        if (parsed.Flag("--strict") && plan.skipped > 0) {
            throw CommandError("rows were skipped: " + output + " is not written (--strict)");
        }
        ApplyCsvImport(ws->doc, plan);
        RecoverProjectOrThrow(*ws, output);
        if (const std::string error = WriteProject(ws->doc.codeplug(), output); !error.empty()) {
            throw CommandError(error);
        }
    });
}

}  // namespace qx::cli
