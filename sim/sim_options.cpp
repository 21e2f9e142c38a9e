#include "sim_options.h"

#include <charconv>

#include "codeplug/models.h"
#include "command_line.h"
#include "image/hex.h"

namespace qx::sim {
namespace {

using cli::Arguments;
using cli::CommandSyntax;
using cli::UsageError;

constexpr int kMaxBaud = 4'000'000;

std::optional<int> WholeNumber(const std::string& text, int lowest, int highest) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

std::optional<std::uint8_t> FeatureByte(const std::string& text) {
    if (text.empty() || text.size() > 2) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace

const CommandSyntax& SimCommandLine() {
    static const CommandSyntax syntax{
        .program = "qxsim",
        .synopsis = "[options]",
        .about = "Serves a simulated radio on a pseudo-terminal and prints its path.",
        .options =
            {
                {{"--image"},
                 "FILE",
                 "load the memory from FILE (8192 bytes) if it exists; save it there after "
                 "every accepted block write"},
                {{"--model"}, "INDEX", "model 0..31 of a blank radio (default 3)"},
                {{"--features"}, "HEX", "feature byte (default E0)"},
                {{"--password"}, "TEXT", "radio password, at most 16 bytes (default empty)"},
                {{"--baud"},
                 "N",
                 "pace input and answers as a line at N baud (default 0: no pacing)"},
                {{"--fault"},
                 "RULE",
                 "drop:N, corrupt:N, wrong-address:N, error-write:N, reject-identifier, "
                 "silent-after:N, store-corrupt:N (OK but one byte stored changed) or "
                 "power-loss:N (dead after line N until the port is opened again); N may be "
                 "A-B; repeatable",
                 true},
                {{"--once"}, "", "exit after the first end line"},
                {{"--verbose"}, "", "log each answered line and the byte counts to stderr"},
            },
    };
    return syntax;
}

std::string UsageText() { return HelpText(SimCommandLine()); }

ParsedOptions ParseSimOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    SimOptions& options = parsed.options;
    const auto fail = [&](std::string error) {
        parsed.error = std::move(error);
        return parsed;
    };
    if (cli::AsksForHelp(SimCommandLine(), args)) {
        options.help = true;
        return parsed;
    }
    Arguments given;
    try {
        given = ParseCommandLine(SimCommandLine(), args);
    } catch (const UsageError& e) {
        return fail(e.what());
    }
    if (!given.positional.empty())
        return fail("unexpected argument '" + given.positional.front() + "'");
    options.once = given.Flag("--once");
    options.verbose = given.Flag("--verbose");
    if (const auto value = given.Option("--image")) {
        if (value->empty()) return fail("option --image needs a file name");
        options.imagePath = *value;
    }
    if (const auto value = given.Option("--model")) {
        options.model = WholeNumber(*value, 0, kModelCount - 1);
        if (!options.model) return fail("bad model index '" + *value + "'; expected 0 to 31");
    }
    if (const auto value = given.Option("--features")) {
        options.features = FeatureByte(*value);
        if (!options.features)
            return fail("bad feature byte '" + *value + "'; expected two hex digits");
    }
    if (const auto value = given.Option("--password")) {
        if (value->size() > 16) {
            return fail("the password '" + *value + "' has " + std::to_string(value->size()) +
                        " bytes; a radio keeps at most 16");
        }
        options.password = *value;
    }
    if (const auto value = given.Option("--baud")) {
        const auto baud = WholeNumber(*value, 0, kMaxBaud);
        if (!baud) return fail("bad baud rate '" + *value + "'; expected 0 to 4000000");
        options.baud = *baud;
    }
    for (const std::string& rule : given.Values("--fault")) {
        std::string error;
        const auto faults = ParseFaultRule(rule, error);
        if (!error.empty()) return fail(error);
        options.faults.insert(options.faults.end(), faults.begin(), faults.end());
    }
    return parsed;
}

}  // namespace qx::sim
