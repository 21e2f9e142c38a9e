#include "workspace.h"

#include <ostream>
#include <sstream>

#include "app/channel_ops.h"
#include "app/project_file.h"
#include "files/atomic_file.h"
#include "util/language_texts.h"
#include "util/text.h"

namespace qx::cli {
namespace {

constexpr const char* kFallbackLanguage = "english.ini";

std::string ChooseLanguage(const Arguments& args, const CommandIo& io) {
    const std::filesystem::path& dir = io.session.paths.languageDir;
    if (const auto named = args.Option("--language")) {
        const std::filesystem::path name(*named);
        if (name.empty() || name.has_parent_path() ||
            !std::filesystem::is_regular_file(dir / name)) {
            throw UsageError("no language file \"" + *named + "\" in " + dir.string());
        }
        return *named;
    }
    const std::string& configured = io.session.languageFile;
    if (!configured.empty() && std::filesystem::is_regular_file(dir / configured))
        return configured;
    return kFallbackLanguage;
}

}  // namespace

std::unique_ptr<Workspace> LoadWorkspace(const Arguments& args, const CommandIo& io) {
    auto ws = std::make_unique<Workspace>();
    const std::string language = ChooseLanguage(args, io);
    ws->features = io.session.featureFlags;
    ws->texts = LanguageTexts(io.session.paths.languageDir, language);
    ws->notes = io.quiet ? nullptr : &io.err;
    LoadMainWindow(ws->doc, ws->texts, ws->features, ws->ui);
    ws->ui.messages.clear();
    return ws;
}

void RecoverProjectOrThrow(Workspace& ws, const std::filesystem::path& path) {
    ws.ui.messages.clear();
    if (!RecoverProjectSave(ws.doc.texts, path, ws.ui)) throw CommandError(ws.ui.Report(""));
    for (const std::string& note : ws.ui.messages) {
        if (ws.notes != nullptr) *ws.notes << "qxctl: " << OneLine(note) << '\n';
    }
    ws.ui.messages.clear();
}

void OpenProjectOrThrow(Workspace& ws, const std::filesystem::path& path) {
    RecoverProjectOrThrow(ws, path);
    const OpenOutcome outcome = OpenProject(ws.doc, path, ws.ui);
    if (outcome != OpenOutcome::Opened || !ws.ui.messages.empty()) {
        throw CommandError(ws.ui.Report("cannot open " + path.string()));
    }
}

void WriteOutput(const std::string& path, std::string_view bytes, CommandIo& io) {
    if (path == "-") {
        io.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        io.out.flush();
        if (!io.out) throw CommandError("cannot write to standard output");
        return;
    }
    const PendingFile file{path, std::string(bytes)};
    if (std::string error = WriteFilesAtomically({&file, 1}); !error.empty()) {
        throw CommandError(error);
    }
}

const OptionRule kLanguageOption{
    {"--language"},
    "FILE",
    "the language the project's texts are read and written in: english.ini or chinese.ini of "
    "the language folder (default: the language chosen in qxprog)"};

OptionRule OutputOption(std::string valueName, std::string description) {
    return {{"-o"}, std::move(valueName), std::move(description)};
}

void RequirePositional(const Arguments& parsed, std::size_t count) {
    if (parsed.positional.size() != count) throw UsageError("wrong number of arguments");
}

void RequireConversionArguments(const Arguments& parsed, std::size_t positionalCount) {
    RequirePositional(parsed, positionalCount);
    if (!parsed.Option("-o")) throw UsageError("missing -o OUTPUT");
}

}  // namespace qx::cli
