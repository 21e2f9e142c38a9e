// qxctl listing PROJECT.qx -o LISTING.txt [--language FILE]; "-o -" writes to standard output.
#include "app/listing_commands.h"
#include "workspace.h"

namespace qx::cli {

int RunListing(const std::vector<std::string>& args, CommandIo& io) {
    return RunGuarded("listing", "PROJECT.qx -o LISTING.txt|- [--language FILE]", io, [&] {
        const Arguments parsed = ParseConversionArguments(args, 1);
        auto ws = LoadWorkspace(parsed, io);
        OpenProjectOrThrow(*ws, parsed.positional[0]);
        const std::vector<std::string> lines =
            BuildListing(ws->doc.codeplug(), ListingWordsOf(ws->doc.texts), ListingTarget::File);
        WriteOutput(*parsed.Option("-o"), ListingFileText(lines), io);
    });
}

}  // namespace qx::cli
