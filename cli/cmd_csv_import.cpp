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
    return RunGuarded(
        "csv import",
        "FILE.csv [--into PROJECT.qx | --model N] -o OUT.qx [--strict] [--language FILE]", io, [&] {
            const Arguments parsed =
                ParseConversionArguments(args, 1, {"--into", "--model"}, {"--strict"});
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
            for (const std::string& line : summary) io.err << line << '\n';
            if (parsed.Flag("--strict") && plan.skipped > 0) {
                throw CommandError("rows were skipped: " + output + " is not written (--strict)");
            }
            ApplyCsvImport(ws->doc, plan);
            RecoverProjectOrThrow(*ws, output);
            if (const std::string error = WriteProject(ws->doc.codeplug(), output);
                !error.empty()) {
                throw CommandError(error);
            }
        });
}

}  // namespace qx::cli
