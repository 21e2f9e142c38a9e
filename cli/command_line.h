// Command lines described by a table of options: parsed through
// QCommandLineParser, so "--name=value", "-o FILE", "--" and repeated options
// behave alike in qxctl and qxsim, and the help text is made from the same table.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qx::cli {

// Bad arguments: exit code 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct OptionRule {
    std::vector<std::string> names;  // as typed; the first names it in Arguments: {"--quiet", "-q"}
    std::string valueName{};         // "NAME" for an option that takes a value, "" for a flag
    std::string description{};
    bool repeatable = false;  // may be given more than once: every value is kept, in order
};

struct ArgumentRule {
    std::string name;
    std::string description;
};

struct CommandSyntax {
    std::string program{};   // "qxctl read", "qxsim"
    std::string synopsis{};  // what follows the program in the usage line
    std::string about{};     // what the command does
    std::vector<ArgumentRule> arguments{};
    std::vector<OptionRule> options{};
    // Options end at the first positional argument, which starts a subcommand.
    bool stopAtFirstArgument = false;
};

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::vector<std::string>>
        options;  // by first name; a flag's values are ""

    // The value given, when the option was given.
    std::optional<std::string> Option(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const;
    bool Flag(const std::string& name) const { return options.count(name) != 0; }
};

// `args` without the program name. Throws UsageError: an unknown option, a
// missing or unexpected value, an option that is not repeatable given twice.
// A lone "-" is a positional argument (standard input or output).
Arguments ParseCommandLine(const CommandSyntax& syntax, const std::vector<std::string>& args);

// True when `args` hold -h or --help before any "--" (or, for a syntax that
// stops at its first argument, before that), whatever else is wrong with them.
bool AsksForHelp(const CommandSyntax& syntax, const std::vector<std::string>& args);

// "usage: PROGRAM SYNOPSIS", the description, the arguments and options in
// aligned columns.
std::string HelpText(const CommandSyntax& syntax);

// Rows of two columns indented by two blanks; the second column starts two
// blanks after the widest first one and is wrapped at 79 columns.
std::string AlignedColumns(const std::vector<std::pair<std::string, std::string>>& rows);

}  // namespace qx::cli
