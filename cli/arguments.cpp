#include "arguments.h"

#include <algorithm>

namespace qx::cli {

std::optional<std::string> Arguments::Option(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& valueOptions,
                         const std::vector<std::string>& flags) {
    Arguments parsed;
    const auto takesValue = [&](const std::string& name) {
        return std::find(valueOptions.begin(), valueOptions.end(), name) != valueOptions.end();
    };
    const auto isFlag = [&](const std::string& name) {
        return std::find(flags.begin(), flags.end(), name) != flags.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            parsed.positional.push_back(arg);
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        if (!value && isFlag(name)) {
            if (parsed.options.count(name) != 0) {
                parsed.error = "option \"" + name + "\" given twice";
                return parsed;
            }
            parsed.options[name] = "";
            continue;
        }
        if (!takesValue(name)) {
            parsed.error = "unknown option \"" + name + "\"";
            return parsed;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                parsed.error = "option \"" + name + "\" needs a value";
                return parsed;
            }
            value = args[++i];
        }
        if (parsed.options.count(name) != 0) {
            parsed.error = "option \"" + name + "\" given twice";
            return parsed;
        }
        parsed.options[name] = *value;
    }
    return parsed;
}

}  // namespace qx::cli
