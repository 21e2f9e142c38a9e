// qxctl listing PROJECT.qx -o LISTING.txt [--language FILE]; "-o -" writes to standard output.
#include "app/listing_commands.h"
#include "workspace.h"

namespace qx::cli {

int RunListing(const std::vector<std::string>& args, CommandIo& io) {
    const CommandSyntax syntax{
        .program = "qxctl listing",
        .synopsis = "PROJECT.qx -o LISTING.txt|- [--language FILE]",
        .about = "Writes the text listing of a project, as qxprog prints it.",
        .arguments = {{"PROJECT.qx", "the project"}},
        .options = {OutputOption("LISTING.txt", "the listing to write; \"-\" for standard output"),
                    kLanguageOption},
    };
    return RunCommand(syntax, args, io, [&](const Arguments& parsed) {
        RequireConversionArguments(parsed, 1);
        auto ws = LoadWorkspace(parsed, io);
        OpenProjectOrThrow(*ws, parsed.positional[0]);
        const std::vector<std::string> lines =
            BuildListing(ws->doc.codeplug(), ListingWordsOf(ws->doc.texts), ListingTarget::File);
        WriteOutput(*parsed.Option("-o"), ListingFileText(lines), io);
    });
}

}  // namespace qx::cli
