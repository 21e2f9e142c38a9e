// Settings in the memory image: identity and features (line 0), password
// (4), radio options (16, 17), auto-dialer memories (240..248), DTMF
// memories (254), 2-tone and 5-tone settings and code tables (256..485).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/document.h"
#include "app/session.h"
#include "image/hex.h"
#include "platform/ui.h"

namespace qx {

struct ImageReadState;

inline constexpr const char* kOptionFormatError = "Error radio option Data Format , please check!";
inline constexpr const char* kAutoDialFormatError = "Error Auto Dialor Data Format , please check!";

// strSetup must split into 28 pieces and strAutoDial into 11; otherwise the
// first fault is shown through `ui` and the result is false.
bool CheckRecordFormats(const Document& doc, Ui& ui);

// The feature byte of line 0: bit 7 5-tone, 6 2-tone, 5 DTMF, 4 the fourth flag.
std::uint8_t FeatureByte(const FeatureFlags& features);
FeatureFlags FeatureFlagsOfByte(std::uint8_t byte);

// Line 0 of a whole image as a radio holds it: the model code of
// `modelIndex` in bytes 1..3 (left as they are for an unknown index), the
// feature byte in byte 14.
void SetImageModel(std::span<std::uint8_t> image, int modelIndex);
void SetImageFeatures(std::span<std::uint8_t> image, std::uint8_t featureByte);

// The 32 hex characters of a settings line (line 4 holds `newPassword`);
// 32 "0" for a line the image leaves empty; "error" after a format message.
std::string EncodeSettingsLine(Document& doc, int line, const std::string& newPassword, Ui& ui);

// Decodes lines 0, 4, 16, 17, 240..248, 254, 256, 257, 272..321 and
// 384..485; other lines are ignored. In a check read only lines 0 and 4 count.
void DecodeSettingsLine(Document& doc, FeatureFlags& features, const HexLine& hex, int line,
                        ImageReadState& state, Ui& ui);

}  // namespace qx
