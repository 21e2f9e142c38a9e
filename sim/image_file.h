// The memory image file of qxsim: exactly 8192 bytes, replaced atomically.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qx::sim {

struct LoadedImage {
    bool exists = false;
    std::vector<std::uint8_t> memory;
    std::string error;  // set when the file exists but is not a memory image
};

LoadedImage LoadImageFile(const std::filesystem::path& path);

// Writes `memory` to a temporary beside `path`, then renames it over `path`,
// so a reader never sees half an image. "" on success, else what failed.
std::string SaveImageFile(const std::filesystem::path& path,
                          const std::vector<std::uint8_t>& memory);

}  // namespace qx::sim
