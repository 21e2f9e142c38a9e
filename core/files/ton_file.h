// The companion file of a project: the signalling record packed into one
// fixed-length little-endian record of 3295 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "codeplug/signalling_settings.h"

namespace qx {

inline constexpr std::size_t kTonRecordSize = 3295;

// Exactly kTonRecordSize bytes. Texts longer than their field are cut.
std::vector<std::uint8_t> EncodeTonRecord(const SignallingSettings& record);
// Reads the first kTonRecordSize bytes; nullopt when fewer are given. The
// padded texts come back without their trailing spaces.
std::optional<SignallingSettings> DecodeTonRecord(std::span<const std::uint8_t> bytes);

// The project file name without its last two characters, followed by "ton":
// radio1.qx -> radio1.ton, data -> daton. The folder stays the same.
std::filesystem::path CompanionPath(const std::filesystem::path& projectPath);

}  // namespace qx
