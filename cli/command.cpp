#include "command.h"

#include <cerrno>
#include <ostream>
#include <system_error>

#include "util/text.h"

namespace qx::cli {
namespace {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"models", "print the display texts of the supported radio models", RunModels},
        {"image", "convert between a project and a radio memory image (encode, decode)", RunImage},
        {"listing", "write the text listing of a project", RunListing},
        {"ports", "list the serial ports a transfer can use (\"sim\" is the built-in radio)",
         RunPorts},
        {"read", "read a radio's memory into a project", RunRead},
        {"write", "write a project into a radio (after the check; errors stop it) and verify it",
         RunWrite},
        {"restore", "write a backup image back into a radio and verify it", RunRestore},
        {"check",
         "check a project as a write does: one line per problem, a warning starting with "
         "\"warning: \"; exit 1 when there is an error",
         RunCheck},
        {"csv", "convert between a project and a peer CSV channel list (export, import)", RunCsv},
        {"help", "show the help of a command: qxctl help COMMAND", nullptr},
    };
    return commands;
}

const OptionRule kVersionOption{{"--version"}, "", "print the version and end"};

// The options a command group takes before its subcommand.
CommandSyntax GroupSyntax(const std::string& group, const std::string& about) {
    CommandSyntax syntax{.program = group.empty() ? "qxctl" : "qxctl " + group,
                         .synopsis = "[OPTIONS] COMMAND [ARGS...]",
                         .about = about,
                         .options = {kQuietOption},
                         .stopAtFirstArgument = true};
    if (group.empty()) syntax.options.push_back(kVersionOption);
    syntax.arguments.push_back({"COMMAND", "one of the commands below; \"qxctl " +
                                               (group.empty() ? "" : group + " ") +
                                               "COMMAND --help\" shows its help"});
    return syntax;
}

std::string GroupHelp(const CommandSyntax& syntax, const std::vector<Command>& commands) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const Command& c : commands) rows.emplace_back(c.name, c.summary);
    return HelpText(syntax) + "\ncommands:\n" + AlignedColumns(rows);
}

std::string Joined(const std::string& group, const std::string& name) {
    return group.empty() ? name : group + " " + name;
}

int UnknownCommand(const std::string& group, const std::string& name, CommandIo& io) {
    io.err << "qxctl: unknown command \"" << Joined(group, name) << "\" (see qxctl " << group
           << (group.empty() ? "" : " ") << "--help)\n";
    return 2;
}

}  // namespace

const OptionRule kQuietOption{
    {"--quiet", "-q"},
    "",
    "no progress and no informational lines on standard error; errors and warnings still go there"};

int RunCommand(CommandSyntax syntax, const std::vector<std::string>& args, CommandIo& io,
               const std::function<void(const Arguments&)>& body) {
    syntax.options.push_back(kQuietOption);
    const std::string name = syntax.program.substr(syntax.program.find(' ') + 1);
    if (AsksForHelp(syntax, args)) {
        io.out << HelpText(syntax);
        return 0;
    }
    try {
        const Arguments parsed = ParseCommandLine(syntax, args);
        if (parsed.Flag("--quiet")) io.quiet = true;
        body(parsed);
        return 0;
    } catch (const UsageError& e) {
        io.err << "qxctl " << name << ": " << OneLine(e.what()) << " (usage: " << syntax.program
               << (syntax.synopsis.empty() ? "" : " " + syntax.synopsis) << ")\n";
        return 2;
    } catch (const std::exception& e) {
        io.err << "qxctl " << name << ": " << OneLine(e.what()) << '\n';
        return 1;
    }
}

int DispatchGroup(const std::string& group, const std::string& about,
                  const std::vector<Command>& commands, const std::vector<std::string>& args,
                  CommandIo& io) {
    const CommandSyntax syntax = GroupSyntax(group, about);
    if (AsksForHelp(syntax, args)) {
        io.out << GroupHelp(syntax, commands);
        return 0;
    }
    Arguments parsed;
    try {
        parsed = ParseCommandLine(syntax, args);
    } catch (const UsageError& e) {
        io.err << "qxctl" << (group.empty() ? "" : " " + group) << ": " << e.what() << " (see "
               << syntax.program << " --help)\n";
        return 2;
    }
    if (parsed.Flag("--quiet")) io.quiet = true;
    if (parsed.Flag("--version")) {
        io.out << "qxctl " << QX_VERSION_TEXT << '\n';
        return 0;
    }
    if (parsed.positional.empty()) {
        io.err << GroupHelp(syntax, commands);
        return 2;
    }
    const std::string& name = parsed.positional.front();
    std::vector<std::string> rest(parsed.positional.begin() + 1, parsed.positional.end());
    if (group.empty() && name == "help") {
        // "qxctl help image encode" is "qxctl image encode --help".
        std::erase_if(rest, [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
        if (rest.empty() || rest.front() == "help") {
            io.out << GroupHelp(syntax, commands);
            return 0;
        }
        for (const std::string& arg : rest) {
            if (arg.starts_with('-')) return UnknownCommand("", "help " + arg, io);
        }
        rest.push_back("--help");
        return DispatchGroup("", about, commands, rest, io);
    }
    for (const auto& c : commands) {
        if (c.name == name && c.run) return c.run(rest, io);
    }
    return UnknownCommand(group, name, io);
}

int Dispatch(const std::vector<std::string>& args, CommandIo& io) {
    return CheckOutputWritten(
        DispatchGroup("",
                      "The command-line tool of qxprog: converts projects, checks them, and "
                      "reads and writes radios from scripts.",
                      Commands(), args, io),
        io);
}

int CheckOutputWritten(int code, CommandIo& io) {
    errno = 0;
    io.out.flush();
    if (io.out) return code;
    const int error = errno;
    io.err << "qxctl: cannot write to standard output"
           << (error != 0 ? ": " + std::generic_category().message(error) : std::string()) << '\n';
    return code != 0 ? code : 1;
}

}  // namespace qx::cli
