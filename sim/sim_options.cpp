#include "sim_options.h"

#include <charconv>

#include "codeplug/models.h"
#include "image/hex.h"

namespace qx::sim {
namespace {

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

std::string UsageText() {
    return "usage: qxsim [options]\n"
           "Serves a simulated radio on a pseudo-terminal and prints its path.\n"
           "  --image FILE     load the memory from FILE (8192 bytes) if it exists;\n"
           "                   save it there after every accepted block write\n"
           "  --model INDEX    model 0..31 of a blank radio (default 3)\n"
           "  --features HEX   feature byte (default E0)\n"
           "  --password TEXT  radio password, at most 16 bytes (default empty)\n"
           "  --baud N         pace input and answers as a line at N baud (default 0: no pacing)\n"
           "  --fault RULE     drop:N, corrupt:N, wrong-address:N, error-write:N,\n"
           "                   reject-identifier, silent-after:N, store-corrupt:N (OK but one\n"
           "                   byte stored changed) or power-loss:N (dead after line N until\n"
           "                   the port is opened again); N may be A-B; repeatable\n"
           "  --once           exit after the first end line\n"
           "  --verbose        log each answered line and the byte counts to stderr\n"
           "  --help           show this text\n";
}

ParsedOptions ParseSimOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    SimOptions& options = parsed.options;
    const auto fail = [&](std::string error) {
        parsed.error = std::move(error);
        return parsed;
    };
    for (std::size_t k = 0; k < args.size(); ++k) {
        std::string name = args[k];
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = name.find('=');
            name.starts_with("--") && equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name.erase(equals);
        }
        if (name == "--once" || name == "--verbose" || name == "--help") {
            if (inlineValue) return fail("option " + name + " takes no value");
            if (name == "--once") options.once = true;
            if (name == "--verbose") options.verbose = true;
            if (name == "--help") options.help = true;
            continue;
        }
        if (name != "--image" && name != "--model" && name != "--features" &&
            name != "--password" && name != "--baud" && name != "--fault") {
            return fail("unknown option '" + args[k] + "'");
        }
        if (!inlineValue && k + 1 >= args.size()) return fail("option " + name + " needs a value");
        const std::string value = inlineValue ? *inlineValue : args[++k];

        if (name == "--image") {
            if (value.empty()) return fail("option --image needs a file name");
            options.imagePath = value;
        } else if (name == "--model") {
            options.model = WholeNumber(value, 0, kModelCount - 1);
            if (!options.model) return fail("bad model index '" + value + "'; expected 0 to 31");
        } else if (name == "--features") {
            options.features = FeatureByte(value);
            if (!options.features)
                return fail("bad feature byte '" + value + "'; expected two hex digits");
        } else if (name == "--password") {
            if (value.size() > 16) {
                return fail("the password '" + value + "' has " + std::to_string(value.size()) +
                            " bytes; a radio keeps at most 16");
            }
            options.password = value;
        } else if (name == "--baud") {
            const auto baud = WholeNumber(value, 0, kMaxBaud);
            if (!baud) return fail("bad baud rate '" + value + "'; expected 0 to 4000000");
            options.baud = *baud;
        } else {
            std::string error;
            const auto faults = ParseFaultRule(value, error);
            if (!error.empty()) return fail(error);
            options.faults.insert(options.faults.end(), faults.begin(), faults.end());
        }
    }
    return parsed;
}

}  // namespace qx::sim
