// Runs a built program as a user runs it from a shell: its standard output,
// standard error and exit code.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qx::test {

struct ProgramRun {
    std::string out;
    std::string err;
    int exitCode = -1;
};

inline std::string ReadFileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// `args` is appended to the program path as shell text. The settings folder
// points into `scratch`, so the user's own settings never take part.
inline ProgramRun RunProgram(const std::string& program, const std::string& args,
                             const std::filesystem::path& scratch) {
    std::filesystem::create_directories(scratch);
    const auto errPath = scratch / "stderr.txt";
    const std::string command = "XDG_CONFIG_HOME='" + (scratch / "config").string() + "' " +
                                "XDG_DATA_HOME='" + (scratch / "data").string() + "' " + program +
                                " " + args + " 2>'" + errPath.string() + "'";
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFileText(errPath);
    return run;
}

}  // namespace qx::test
