// Both shipped language files define every key the program reads, non-empty.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "app/language_keys.h"
#include "util/language_texts.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

// Keys read by literal (section, key) pairs anywhere in the program's sources.
std::set<std::pair<std::string, std::string>> KeysReadInSources() {
    const std::regex call(
        R"re("(Menu|Toolbar|MSG|OTHERS|Channel|OPTION|COMMSET|RW)"\s*,\s*"([0-9A-Za-z]+)")re");
    std::set<std::pair<std::string, std::string>> keys;
    for (const char* folder : {"core", "gui", "cli", "qtplatform", "sim"}) {
        const fs::path dir = fs::path(QX_SOURCE_DIR) / folder;
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            const auto ext = entry.path().extension();
            if (ext != ".h" && ext != ".cpp") continue;
            std::ifstream in(entry.path());
            const std::string text{std::istreambuf_iterator<char>(in), {}};
            for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
                keys.insert({(*it)[1], (*it)[2]});
            }
        }
    }
    return keys;
}

class LanguageFile : public ::testing::TestWithParam<const char*> {};

TEST_P(LanguageFile, DefinesEveryKeyTheProgramReads) {
    const LanguageTexts texts(QX_LANGUAGE_DIR, GetParam());
    for (const auto& k : AllLanguageKeys()) {
        EXPECT_FALSE(texts.LanguageText(k.section, k.key).empty())
            << GetParam() << ": [" << k.section << "] " << k.key << " is missing or empty";
    }
    const auto used = KeysReadInSources();
    EXPECT_GT(used.size(), 5u) << "the source scan found the LanguageText calls";
    for (const auto& [section, key] : used) {
        EXPECT_FALSE(texts.LanguageText(section, key).empty())
            << GetParam() << ": [" << section << "] " << key << " is read in the code but missing";
    }
}

TEST_P(LanguageFile, KeepsTheDistinctionsTheChannelGridNeeds) {
    const LanguageTexts texts(QX_LANGUAGE_DIR, GetParam());
    auto t = [&](const char* key) { return texts.LanguageText("Channel", key); };
    EXPECT_NE(t("50015"), t("50016")) << "active and inactive status";
    EXPECT_NE(t("50019"), t("50020")) << "wide and narrow";
    EXPECT_NE(t("50023"), t("50024")) << "scan-skip choices";
    EXPECT_NE(t("50015"), "---");
    for (const char* key : {"1000M", "10000", "10001", "2000M", "3000M", "4000M"}) {
        EXPECT_NE(texts.LanguageText("Menu", key).find('&'), std::string::npos)
            << GetParam() << ": menu " << key << " has no access key";
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguageFile, ::testing::Values("english.ini", "chinese.ini"));

TEST(LanguageSetup, InstalledSetupSelectsEnglish) {
    const auto data = IniData::Load(fs::path(QX_LANGUAGE_DIR) / "mysetup.ini");
    EXPECT_EQ(data.Value("language", "CurrentLanguage"), "english.ini");
}

}  // namespace
}  // namespace qx
