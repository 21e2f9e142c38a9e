// The radio's 512×16-byte memory image <-> Codeplug: whole images, the lines
// a write sends one by one, the lines a read requests, and the identity and
// password a transfer checks before it writes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/codeplug.h"
#include "codeplug/features.h"
#include "codeplug/problem.h"
#include "image/hex.h"

namespace qx {

// What a write leaves in an erased radio: line 0 with the model code (bytes
// 1..3) and the feature byte (14), every line a write sends from line 16 on,
// zeros elsewhere. The image is empty when there are problems.
struct ImageEncoding {
    std::vector<std::uint8_t> image;
    Problems problems;
};
[[nodiscard]] ImageEncoding EncodeImage(const Codeplug& codeplug, const FeatureFlags& features);

// One line as a write sends it; line 4 holds `newPassword`. Lines the image
// leaves empty are zeros. The bytes are zeros when there are problems.
struct LineEncoding {
    LineBytes bytes;
    Problems problems;
};
[[nodiscard]] LineEncoding EncodeImageLine(const Codeplug& codeplug, int line,
                                           std::string_view newPassword);

// Lines 16..511, the two lines of a memory channel only when it is in use.
bool WriteSendsLine(const Codeplug& codeplug, int line);
// Lines 0..511, the two lines of a memory channel only when its bit is set
// in line 18 of what has arrived so far (bytes not yet there count as 0).
bool ReadRequestsLine(std::span<const std::uint8_t> imageSoFar, int line);
// The lines whose bytes decoding, the password check or the model check
// look at; what the other lines hold never changes what the program shows,
// saves or writes, so a quick read leaves them out.
bool ProgramUsesLine(int line);
// The lines 0..511 no program rule looks at, in order.
std::vector<int> UnusedLines();

// Why line `line` of an image cannot be what a radio holds (a BCD digit
// above 9, an index beyond its list, an empty record for a channel in use,
// a password with control bytes), judged from the image as far as it has
// arrived; empty when it can be. A read asks again for such a line.
std::string LineContentProblem(std::span<const std::uint8_t> image, int line);
// Lines 32..231: the two lines of each memory channel's record.
bool IsMemoryChannelLine(int line);
// The row 1..104 whose record line `line` is part of; 0 for other lines.
int ChannelRecordRow(int line);
// The line that holds the memory channels' in-use bits.
inline constexpr int kInUseBitmapLine = 18;

// A whole image as a read leaves it. The codeplug starts as a new one for
// the image's model, or for `fallbackModel` when the model code is unknown.
// `error` tells why an image cannot be decoded; the rest is then unset.
struct ImageDecoding {
    Codeplug codeplug;
    FeatureFlags features;
    std::string radioPassword;
    std::string error;
};
[[nodiscard]] ImageDecoding DecodeImage(std::span<const std::uint8_t> image, int fallbackModel);
// Why a file of `size` bytes is no memory image: "A memory image has 8192
// bytes; this one has 9000."
std::string ImageSizeError(std::uintmax_t size);

// The identity line and the password, read from the start of an image (or
// of what has arrived so far; missing bytes count as 0).
// The model index of line 0's model code; -1 when no model has it.
int ImageModelIndex(std::span<const std::uint8_t> image);
FeatureFlags ImageFeatures(std::span<const std::uint8_t> image);
// Line 4 up to its first NUL (0xFF counts as NUL), blanks trimmed, as UTF-8.
std::string ImagePassword(std::span<const std::uint8_t> image);
// How line 0's model code compares with `model`: 0 the same model, 1 the
// same first two hex digits, 2 any other code (or no model).
int CompareModel(int model, std::span<const std::uint8_t> image);

// The feature byte of line 0: bit 7 5-tone, 6 2-tone, 5 DTMF, 4 the fourth flag.
std::uint8_t FeatureByte(const FeatureFlags& features);
FeatureFlags FeatureFlagsOfByte(std::uint8_t byte);

// Line 0 of a whole image as a radio holds it: the model code of
// `modelIndex` in bytes 1..3 (left as they are for an unknown index), the
// feature byte in byte 14.
void SetImageModel(std::span<std::uint8_t> image, int modelIndex);
void SetImageFeatures(std::span<std::uint8_t> image, std::uint8_t featureByte);

}  // namespace qx
