#include "link/read_back.h"

#include <algorithm>
#include <vector>

#include "files/project_codec.h"
#include "image/memory_image.h"

namespace qx {

ReadBackDifference CompareReadBack(std::span<const std::uint8_t> written, int line,
                                   const LineBytes& readBack) {
    ReadBackDifference result;
    const auto offset = static_cast<std::ptrdiff_t>(line) * static_cast<std::ptrdiff_t>(kLineBytes);
    LineBytes sent;
    std::copy(written.begin() + offset,
              written.begin() + offset + static_cast<std::ptrdiff_t>(kLineBytes),
              sent.bytes.begin());
    result.readBack = readBack.ToHex();
    result.written = sent.ToHex();

    const int row = ChannelRecordRow(line);
    if (row == 0) return result;
    std::vector<std::uint8_t> changed(written.begin(), written.end());
    std::copy(readBack.bytes.begin(), readBack.bytes.end(), changed.begin() + offset);
    const int model = ImageModelIndex(written);
    ImageDecoding before = DecodeImage(written, model);
    ImageDecoding after = DecodeImage(changed, model);
    if (!before.error.empty() || !after.error.empty()) return result;
    const Channel& meant = before.codeplug.Row(row);
    const Channel& got = after.codeplug.Row(row);
    for (int field = kFieldName; field <= kFieldSignalKind; ++field) {
        std::string a = ProjectFieldText(got, field);
        std::string b = ProjectFieldText(meant, field);
        if (a == b) continue;
        if (field == kFieldRxFrequency || field == kFieldTxFrequency) {
            a += " MHz";
            b += " MHz";
        }
        return {row, field, std::move(a), std::move(b)};
    }
    return result;
}

}  // namespace qx
