// qxctl: the command-line tool.
#include <iostream>

#include "command.h"

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    qx::cli::CommandIo io{std::cout, std::cerr};
    return qx::cli::Dispatch(args, io);
}
