#include "signalling/dtmf_dialog.h"

#include <charconv>
#include <optional>

#include "app/list_control.h"
#include "util/text.h"

namespace qx {
namespace {

std::optional<char> DtmfKey(char32_t key) {
    if (key >= '0' && key <= '9') return static_cast<char>(key);
    if (key == 'A' || key == 'a') return 'A';
    return std::nullopt;
}

}  // namespace

std::string DtmfMemoryText(std::int16_t value) {
    std::array<char, 8> buffer{};
    const auto pattern = static_cast<std::uint16_t>(value);
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), pattern, 16);
    return ToUpperAscii(
        std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())));
}

std::optional<std::int16_t> DtmfMemoryValue(const std::string& text) {
    if (text.empty()) return std::int16_t{0};
    if (text.size() > 4) return std::nullopt;
    unsigned value = 0;
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value, 16);
    if (ec != std::errc() || end != last) return std::nullopt;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

std::string TypeDtmfKey(const std::string& current, char32_t key) {
    return TypeKey(current, key, DtmfKey, kDtmfMemoryMaxLength);
}

DtmfDialog::DtmfDialog(const Document& doc, const LanguageTexts& lang) {
    captions_.window = "DTMF";
    captions_.frame = lang.LanguageText("OPTION", "60089");
    captions_.ok = lang.LanguageText("OPTION", "60024");
    captions_.cancel = lang.LanguageText("OPTION", "60025");
    for (std::size_t i = 0; i < kDtmfMemoryCount; ++i) {
        entries_[i] = DtmfMemoryText(doc.codeplug().signalling.dtmfMemories[i]);
    }
}

void DtmfDialog::SetEntryText(std::size_t index, const std::string& text) {
    if (index < entries_.size()) entries_[index] = text;
}

void DtmfDialog::Ok(Document& doc) const {
    doc.Change(StepLabel{StepKind::Dtmf}, [this](Codeplug& codeplug) {
        auto& memories = codeplug.signalling.dtmfMemories;
        for (std::size_t i = 0; i < kDtmfMemoryCount; ++i) {
            if (const auto value = DtmfMemoryValue(entries_[i])) memories[i] = *value;
        }
    });
}

}  // namespace qx
