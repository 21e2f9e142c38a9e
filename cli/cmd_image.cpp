// qxctl image: the memory-image conversions.
#include "command.h"

namespace qx::cli {

int RunImage(const std::vector<std::string>& args, CommandIo& io) {
    static const std::vector<Command> commands = {
        {"encode", "write the 8192-byte memory image a write would leave in the radio",
         RunImageEncode},
        {"decode", "read an image as from the radio (a backup, for one) and save the project",
         RunImageDecode},
    };
    return DispatchGroup("image", "Converts between a project and a radio memory image.", commands,
                         args, io);
}

}  // namespace qx::cli
