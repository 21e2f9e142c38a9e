// Any bytes as a project file (and as its companion): opening must report or
// apply, never crash, hang or read out of bounds.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/project_file.h"
#include "fuzz_document.h"

namespace {

std::filesystem::path ScratchFolder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("qx_fuzz_project_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

void WriteBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    const std::string bytes(data, data + size);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path project = ScratchFolder() / "input.qx";
    // The first half also serves as the companion file, so short and long
    // companions are both met.
    WriteBytes(project, data, size);
    WriteBytes(ScratchFolder() / "input.ton", data, size / 2);

    qx::Document doc = qx::fuzz::StartDocument();
    qx::test::SilentUi ui;
    qx::OpenProject(doc, project, ui);
    return 0;
}
