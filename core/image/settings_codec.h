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
#include "image/memory_image.h"
#include "platform/ui.h"

namespace qx {

struct ImageReadState;

inline constexpr const char* kOptionFormatError = "Error radio option Data Format , please check!";
inline constexpr const char* kAutoDialFormatError = "Error Auto Dialor Data Format , please check!";

// strSetup must split into 28 pieces and strAutoDial into 11; otherwise the
// first fault is shown through `ui` and the result is false.
bool CheckRecordFormats(const Document& doc, Ui& ui);

// The 32 hex characters of a settings line (line 4 holds `newPassword`);
// 32 "0" for a line the image leaves empty; "error" after a format message.
std::string EncodeSettingsLine(Document& doc, int line, const std::string& newPassword, Ui& ui);

// Decodes lines 0, 4, 16, 17, 240..248, 254, 256, 257, 272..321 and
// 384..485; other lines are ignored. In a check read only lines 0 and 4 count.
void DecodeSettingsLine(Document& doc, FeatureFlags& features, const HexLine& hex, int line,
                        ImageReadState& state, Ui& ui);

}  // namespace qx
