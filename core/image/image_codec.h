// The memory image codec as the transfer and the command line use it: one
// line encoded on request, one received line decoded, the reply check, the
// choice of lines a read requests and a write sends, and whole images.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/document.h"
#include "app/session.h"
#include "image/channel_codec.h"
#include "image/hex.h"
#include "platform/ui.h"

namespace qx {

// Reading covers the pre-read of a write too; WritingAfterIdentifier is a
// write once the radio has accepted the model identifier.
enum class ReplyCheckMode { Reading, Writing, WritingAfterIdentifier };

// What a read carries from one line to the next.
struct ImageReadState {
    RecordScratch scratch;
    std::array<bool, kRowCount + 1> scanSkip{};  // rows 1..104
    // "setup" and the 27 option fields, filled from line 16 and stored into
    // strSetup after line 17; empty until then.
    std::vector<std::string> optionFields;
    // Auto-dialer memories 1..9, stored into strAutoDial after line 248.
    std::vector<std::string> dialMemories;
    bool checkRead = false;  // the pre-read before a write
    int modelMatch = 0;      // 0 same model, 1 same type other band, 2 other type
    std::string radioPassword;
    bool checkReadDone = false;
};

class ImageDecoder {
  public:
    ImageDecoder(Document& doc, FeatureFlags& features, Ui& ui)
        : doc_(doc), features_(features), ui_(ui) {}

    // The pre-read before a write: line 0 is compared with the selected
    // model, line 4 gives the password and ends the pre-read.
    void SetCheckRead(bool on);
    void DecodeLine(std::span<const std::uint8_t> buffer, std::size_t dataOffset, int line);

    int ModelMatch() const { return state_.modelMatch; }
    const std::string& RadioPassword() const { return state_.radioPassword; }
    bool CheckReadDone() const { return state_.checkReadDone; }

  private:
    Document& doc_;
    FeatureFlags& features_;
    Ui& ui_;
    ImageReadState state_;
};

class ImageEncoder {
  public:
    ImageEncoder(Document& doc, Ui& ui) : doc_(doc), ui_(ui) {}

    void SetNewPassword(std::string password) { newPassword_ = std::move(password); }
    // 32 hex characters, or "error" after a message through the Ui.
    std::string EncodeLine(int line);

  private:
    Document& doc_;
    Ui& ui_;
    std::string newPassword_;
};

// Checks a complete reply for `line`; a good block reply is decoded.
// 0 good, -1 refused or not acknowledged, -2 not in the expected form.
int CheckReplyAndDecode(std::span<const std::uint8_t> buffer, int line, ReplyCheckMode mode,
                        ImageDecoder& decoder, Ui& ui);

// Whether a read requests `line`: not the two lines of a channel row whose
// RowActive flag is clear.
bool ReadRequestsLine(const Document& doc, int line);
// Whether a write sends `line` (16..511): not the lines of a channel row
// whose grid status shows the inactive text or is empty.
bool WriteSendsLine(const Document& doc, int line);

// The image a write leaves in an erased radio: line 0 with the model code
// and feature byte, line 4 empty, the lines a write sends from the encoder,
// zeros elsewhere. Runs UpdateAllArray first. nullopt after the encoder
// reported an error through `ui`.
std::optional<std::vector<std::uint8_t>> EncodeImage(Document& doc, const FeatureFlags& features,
                                                     Ui& ui);

// Decodes a whole image as a read from the radio does: ClearAll, then the
// lines a read requests in order; sets bModify. "" on success, else what
// is wrong with the image.
std::string DecodeImage(std::span<const std::uint8_t> image, Document& doc, FeatureFlags& features,
                        Ui& ui);

}  // namespace qx
