// What the conversion commands share: a document loaded as the desktop app
// loads it in the chosen language, a Ui that collects messages, and the
// error handling that turns a failure into one line on stderr.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/collecting_ui.h"
#include "app/document.h"
#include "app/session.h"
#include "command.h"
#include "command_line.h"
#include "platform/ui.h"
#include "util/language_texts.h"

namespace qx::cli {

// Bad input or a failed operation: exit code 1.
struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Messages are collected for the command to report; questions are declined.
using CliUi = CollectingUi;

struct Workspace {
    CliUi ui;
    std::ostream* notes = nullptr;  // where what the user should know but is no failure goes
    Document doc;
    FeatureFlags features;
    LanguageTexts texts;  // the language the document was loaded in
};

// Loads a document in the language named by --language (a file of the
// language folder) or else the configured one, with the stored features.
std::unique_ptr<Workspace> LoadWorkspace(const Arguments& args, const CommandIo& io);

// Completes or undoes an interrupted earlier save of the project at `path`
// and notes which on stderr; throws CommandError when it cannot be finished.
void RecoverProjectOrThrow(Workspace& ws, const std::filesystem::path& path);

// Opens a project into the workspace (RecoverProjectOrThrow first); any
// message of the open is an error.
void OpenProjectOrThrow(Workspace& ws, const std::filesystem::path& path);

// Writes `path` atomically, or standard output for "-"; throws CommandError on failure.
void WriteOutput(const std::string& path, std::string_view bytes, CommandIo& io);

// --language FILE, which every command that reads or writes a project takes.
extern const OptionRule kLanguageOption;
// -o VALUE_NAME: where a conversion writes.
OptionRule OutputOption(std::string valueName, std::string description);

// Throws UsageError unless there are `count` positional arguments.
void RequirePositional(const Arguments& parsed, std::size_t count);
// The same, and -o given.
void RequireConversionArguments(const Arguments& parsed, std::size_t positionalCount);

}  // namespace qx::cli
