// qxctl image encode PROJECT.qx -o IMAGE.bin [--language FILE] [--features HEX]
#include <charconv>

#include "image/memory_image.h"
#include "workspace.h"

namespace qx::cli {
namespace {

// The feature byte as line 0 holds it.
FeatureFlags ParseFeatureByte(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, 16);
    if (text.empty() || ec != std::errc{} || ptr != end || value > 0xFF) {
        throw UsageError("--features takes a hex byte such as E0, not \"" + text + "\"");
    }
    return FeatureFlagsOfByte(static_cast<std::uint8_t>(value));
}

}  // namespace

int RunImageEncode(const std::vector<std::string>& args, CommandIo& io) {
    const CommandSyntax syntax{
        .program = "qxctl image encode",
        .synopsis = "PROJECT.qx -o IMAGE.bin [--language FILE] [--features HEX]",
        .about =
            "Writes the 8192-byte memory image a write of the project would leave in the "
            "radio.",
        .arguments = {{"PROJECT.qx", "the project"}},
        .options = {OutputOption("IMAGE.bin", "the image to write; \"-\" for standard output"),
                    kLanguageOption,
                    {{"--features"},
                     "HEX",
                     "the radio's feature byte (E0: DTMF, 2-tone and 5-tone); default: the "
                     "features seen last"}},
    };
    return RunCommand(syntax, args, io, [&](const Arguments& parsed) {
        RequireConversionArguments(parsed, 1);
        auto ws = LoadWorkspace(parsed, io);
        if (const auto features = parsed.Option("--features")) {
            ws->features = ParseFeatureByte(*features);
        }
        OpenProjectOrThrow(*ws, parsed.positional[0]);
        const ImageEncoding encoding = EncodeImage(ws->doc.codeplug(), ws->features);
        if (!encoding.problems.empty()) {
            std::string report;
            for (const Problem& problem : encoding.problems) {
                report += (report.empty() ? "" : " ") + problem.message;
            }
            throw CommandError(report);
        }
        WriteOutput(*parsed.Option("-o"), std::string(encoding.image.begin(), encoding.image.end()),
                    io);
    });
}

}  // namespace qx::cli
