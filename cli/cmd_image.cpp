// qxctl image: the memory-image conversions.
#include "command.h"

namespace qx::cli {

int RunImage(const std::vector<std::string>& args, CommandIo& io) {
    static const std::vector<Command> commands = {
        {"encode", "PROJECT.qx -o IMAGE.bin: the 8192-byte image a write leaves in the radio",
         RunImageEncode},
        {"decode", "IMAGE.bin -o PROJECT.qx: read an image as from the radio, save the project",
         RunImageDecode},
    };
    return DispatchGroup("image", commands, args, io);
}

}  // namespace qx::cli
