// Argument parsing shared by the subcommands: positional arguments and
// "--name VALUE" / "--name=VALUE" / "-o VALUE" options.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qx::cli {

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // by name as written: "-o", "--language"
    std::string error;                           // empty when the arguments parsed

    std::optional<std::string> Option(const std::string& name) const;
    bool Flag(const std::string& name) const { return options.count(name) != 0; }
};

// `valueOptions` are the options that take a value, `flags` those that take
// none; any other "-" argument is an error. A lone "-" is a positional
// argument (standard input or output).
Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& valueOptions,
                         const std::vector<std::string>& flags = {});

}  // namespace qx::cli
