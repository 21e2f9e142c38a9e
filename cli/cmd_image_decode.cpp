// qxctl image decode IMAGE.bin -o PROJECT.qx [--language FILE]
#include "app/project_file.h"
#include "files/atomic_file.h"
#include "image/memory_image.h"
#include "workspace.h"

namespace qx::cli {

int RunImageDecode(const std::vector<std::string>& args, CommandIo& io) {
    const CommandSyntax syntax{
        .program = "qxctl image decode",
        .synopsis = "IMAGE.bin -o PROJECT.qx [--language FILE]",
        .about =
            "Reads an 8192-byte memory image as from the radio (a backup, for one) and "
            "saves it as a project with its .ton companion.",
        .arguments = {{"IMAGE.bin", "the memory image"}},
        .options = {OutputOption("PROJECT.qx", "the project to save"), kLanguageOption},
    };
    return RunCommand(syntax, args, io, [&](const Arguments& parsed) {
        RequireConversionArguments(parsed, 1);
        const std::string output = *parsed.Option("-o");
        if (output == "-") throw UsageError("a project needs a file name, not \"-\"");
        auto ws = LoadWorkspace(parsed, io);
        // One byte more than an image, so a longer file is refused rather than cut.
        const FileBytes file = ReadFileBytes(parsed.positional[0], kImageSize + 1);
        if (!file.error.empty()) throw CommandError(file.error);
        const ImageDecoding decoded = DecodeImage(file.bytes, ws->doc.model());
        if (!decoded.error.empty()) {
            // The size on disk, not the part read.
            const std::string reason =
                file.size != file.bytes.size() ? ImageSizeError(file.size) : decoded.error;
            throw CommandError(parsed.positional[0] + ": " + reason);
        }
        RecoverProjectOrThrow(*ws, output);
        if (const std::string error = WriteProject(decoded.codeplug, output); !error.empty()) {
            throw CommandError(error);
        }
    });
}

}  // namespace qx::cli
