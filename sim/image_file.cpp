#include "image_file.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "link/simulated_radio.h"

namespace qx::sim {

LoadedImage LoadImageFile(const std::filesystem::path& path) {
    LoadedImage image;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return image;
    image.exists = true;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        image.error = "cannot read " + path.string();
        return image;
    }
    image.memory.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        image.error = "cannot read " + path.string();
    } else if (image.memory.size() != SimulatedRadio::kMemorySize) {
        image.error = path.string() + " holds " + std::to_string(image.memory.size()) +
                      " bytes; a memory image has 8192";
    }
    return image;
}

std::string SaveImageFile(const std::filesystem::path& path,
                          const std::vector<std::uint8_t>& memory) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        const std::string bytes(memory.begin(), memory.end());
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return "cannot write " + temporary.string();
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) return "cannot replace " + path.string() + ": " + ec.message();
    return "";
}

}  // namespace qx::sim
