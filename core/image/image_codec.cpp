#include "image/image_codec.h"

#include <algorithm>

#include "channels/channel_ops.h"
#include "channels/models.h"
#include "image/settings_codec.h"

namespace qx {
namespace {

constexpr std::uint8_t kAcknowledgement[] = {'\r', '\n', 'O', 'K', '\r', '\n'};
constexpr std::uint8_t kRefusal[] = {'E', 'R', 'R', 'O', 'R'};
// A read reply: the 11-byte echo of the request, then CR LF, the address and ":".
constexpr int kReadHeaderOffset = 11;
constexpr std::size_t kReadHeaderLength = 7;
constexpr std::size_t kMinReadReply = 52;
// A write reply: the acknowledgement right after the 43-byte echo of the write.
constexpr int kWriteAckOffset = 43;

constexpr int kFirstWrittenLine = 16;
constexpr int kFirstChannelLine = 32;
constexpr int kLastChannelLine = 231;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

int ChannelRowOfLine(int line) {
    return line >= kFirstChannelLine && line <= kLastChannelLine ? RecordRowOfLine(line) : 0;
}

}  // namespace

void ImageDecoder::SetCheckRead(bool on) {
    state_.checkRead = on;
    if (on) {
        state_.modelMatch = 0;
        state_.checkReadDone = false;
    }
}

void ImageDecoder::DecodeLine(std::span<const std::uint8_t> buffer, std::size_t dataOffset,
                              int line) {
    const HexLine hex(buffer, dataOffset);
    const bool bitmap = line == kActiveBitmapLine || line == kScanSkipBitmapLine;
    if (bitmap || RecordRowOfLine(line) != 0) {
        if (state_.checkRead) return;
        if (bitmap) {
            DecodeRowBitmaps(doc_, hex, line, state_);
        } else {
            DecodeChannelLine(doc_, hex, line, state_);
        }
        return;
    }
    DecodeSettingsLine(doc_, features_, hex, line, state_, ui_);
}

std::string ImageEncoder::EncodeLine(int line) {
    if (!CheckRecordFormats(doc_, ui_)) return "error";
    if (line == kActiveBitmapLine || line == kScanSkipBitmapLine) {
        return EncodeRowBitmaps(doc_, line);
    }
    if (RecordRowOfLine(line) != 0) return EncodeChannelLine(doc_, line, ui_);
    return EncodeSettingsLine(doc_, line, newPassword_, ui_);
}

int CheckReplyAndDecode(std::span<const std::uint8_t> buffer, int line, ReplyCheckMode mode,
                        ImageDecoder& decoder, Ui& ui) {
    if (line >= kImageLines) {
        ui.ShowMessage("Exceed Length!");
        return 0;
    }
    if (mode != ReplyCheckMode::Reading) {
        const int ack = FindPattern(buffer, kAcknowledgement);
        if (ack < 0 || CountPattern(buffer, kRefusal) > 0) return -1;
        if (mode == ReplyCheckMode::WritingAfterIdentifier && ack != kWriteAckOffset) return -2;
        return 0;
    }
    if (line < 0) return -2;
    const auto header = Bytes("\r\n" + LineAddress(line) + ":");
    if (FindPattern(buffer, header) != kReadHeaderOffset || buffer.size() < kMinReadReply)
        return -2;
    decoder.DecodeLine(buffer, kReadHeaderOffset + kReadHeaderLength, line);
    return 0;
}

bool ReadRequestsLine(const Document& doc, int line) {
    if (line < 0 || line >= kImageLines) return false;
    const int row = ChannelRowOfLine(line);
    return row == 0 || doc.RowActive.at(static_cast<std::size_t>(row));
}

bool WriteSendsLine(const Document& doc, int line) {
    if (line < kFirstWrittenLine || line >= kImageLines) return false;
    const int row = ChannelRowOfLine(line);
    if (row == 0) return true;
    const std::string& status = doc.Cell(row, kColStatus);
    return !status.empty() && status != doc.texts.inactive;
}

std::optional<std::vector<std::uint8_t>> EncodeImage(Document& doc, const FeatureFlags& features,
                                                     Ui& ui) {
    UpdateAllArray(doc);
    std::vector<std::uint8_t> image(kImageSize, 0);
    ByteWriter out(image);
    SetImageModel(image, doc.modelIndex);
    SetImageFeatures(image, FeatureByte(features));

    ImageEncoder encoder(doc, ui);
    for (int line = kFirstWrittenLine; line < kImageLines; ++line) {
        if (!WriteSendsLine(doc, line)) continue;
        const std::string hex = encoder.EncodeLine(line);
        if (hex.size() != kLineHexChars) return std::nullopt;
        const std::size_t base = static_cast<std::size_t>(line) * kLineBytes;
        for (std::size_t b = 0; b < kLineBytes; ++b) {
            out.U8(base + b, HexPairToByte(hex[2 * b], hex[2 * b + 1]));
        }
    }
    return image;
}

std::string DecodeImage(std::span<const std::uint8_t> image, Document& doc, FeatureFlags& features,
                        Ui& ui) {
    if (image.size() != kImageSize) {
        return "A memory image has " + std::to_string(kImageSize) + " bytes; this one has " +
               std::to_string(image.size()) + ".";
    }
    ClearAll(doc);
    const ByteReader reader(image);
    ImageDecoder decoder(doc, features, ui);
    for (int line = 0; line < kImageLines; ++line) {
        if (!ReadRequestsLine(doc, line)) continue;
        LineBytes bytes;
        const auto source = reader.Sub(static_cast<std::size_t>(line) * kLineBytes, kLineBytes);
        std::copy(source.begin(), source.end(), bytes.bytes.begin());
        decoder.DecodeLine(Bytes(bytes.ToHex()), 0, line);
    }
    doc.bModify = true;
    return "";
}

}  // namespace qx
