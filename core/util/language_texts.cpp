#include "util/language_texts.h"

namespace qx {
namespace {

constexpr std::size_t kMaxTextBytes = 254;

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

LanguageTexts::LanguageTexts(const std::filesystem::path& languageDir,
                             const std::string& fileName) {
    if (!fileName.empty()) data_ = IniData::Load(languageDir / fileName);
}

std::string LanguageTexts::LanguageText(const std::string& section, const std::string& key) const {
    std::string text = data_.Value(section, key).value_or(std::string());
    if (text.size() > kMaxTextBytes) {
        std::size_t cut = kMaxTextBytes;
        while (cut > 0 && IsUtf8Continuation(text[cut])) --cut;
        text.resize(cut);
    }
    return text;
}

}  // namespace qx
