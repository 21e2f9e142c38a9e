#include "app/settings_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "util/ini_file.h"
#include "util/language_texts.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class SettingsFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() /
            ("qx_settings_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "language");
        paths_ = SettingsPaths{root_ / "language", root_ / "config", {}};
    }
    void TearDown() override { fs::remove_all(root_); }

    void WriteBytes(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string ReadBytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path root_;
    SettingsPaths paths_;
};

TEST_F(SettingsFiles, CurrentLanguageComesFromTheUserCopyElseTheInstalledFile) {
    EXPECT_EQ(ReadCurrentLanguage(paths_), "") << "absent file gives the empty text";
    WriteBytes(paths_.languageDir / "mysetup.ini", "[language]\nCurrentLanguage = chinese.ini  \n");
    EXPECT_EQ(ReadCurrentLanguage(paths_), "chinese.ini");
    // A user's copy without a language (only the recent files, say) does
    // not take the installed language away.
    WriteLastFolder(paths_, "/home/u");
    EXPECT_EQ(ReadCurrentLanguage(paths_), "chinese.ini");
    WriteCurrentLanguage(paths_, "english.ini");
    EXPECT_EQ(ReadCurrentLanguage(paths_), "english.ini");
    EXPECT_NE(ReadBytes(paths_.languageDir / "mysetup.ini").find("chinese.ini"), std::string::npos)
        << "the installed file is never written";
}

TEST_F(SettingsFiles, WritingTheLanguageKeepsOtherLinesAndIgnoresFailure) {
    WriteBytes(paths_.configDir / "mysetup.ini",
               "; user notes\n[Other]\nx=1\n[LANGUAGE]\ncurrentlanguage=english.ini\n");
    WriteCurrentLanguage(paths_, "chinese.ini");
    const std::string text = ReadBytes(paths_.configDir / "mysetup.ini");
    EXPECT_NE(text.find("; user notes"), std::string::npos);
    EXPECT_NE(text.find("x=1"), std::string::npos);
    EXPECT_EQ(ReadCurrentLanguage(paths_), "chinese.ini");
    EXPECT_EQ(text.find("english.ini"), std::string::npos) << "the key is replaced, not added";

    // A config folder that cannot be created (its parent is a file): silently ignored.
    WriteBytes(root_ / "blocker", "x");
    SettingsPaths blocked{paths_.languageDir, root_ / "blocker" / "qxprog", {}};
    WriteCurrentLanguage(blocked, "chinese.ini");
    EXPECT_FALSE(fs::exists(root_ / "blocker" / "qxprog"));
}

TEST_F(SettingsFiles, AWrittenValueIsPlacedInItsSection) {
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"", "[language]\nCurrentLanguage=x\n"},
        {"[a]\nk=1\n", "[a]\nk=1\n\n[language]\nCurrentLanguage=x\n"},
        {"[language]\nother=1\n\n[b]\nk=2\n",
         "[language]\nother=1\nCurrentLanguage=x\n\n[b]\nk=2\n"},
        {"[b]\ncurrentlanguage=y\n[Language]\n currentlanguage = y \r\n",
         "[b]\ncurrentlanguage=y\n[Language]\nCurrentLanguage=x\n"},
    };
    const fs::path file = root_ / "w.ini";
    for (const auto& c : cases) {
        fs::remove(file);
        if (*c.before != '\0') WriteBytes(file, c.before);
        ASSERT_TRUE(WriteIniValues(file, "language", {{"CurrentLanguage", "x"}}));
        EXPECT_EQ(ReadBytes(file), c.after) << "from: " << c.before;
        EXPECT_EQ(IniData::Load(file).Value("LANGUAGE", "currentlanguage"), "x");
    }
}

TEST_F(SettingsFiles, SeveralValuesOfASectionAreSetTogether) {
    const fs::path file = root_ / "w.ini";
    WriteBytes(file, "[files]\nRecent2=old\n[x]\nRecent1=other\n");
    ASSERT_TRUE(WriteIniValues(file, "files", {{"Recent1", "a"}, {"Recent2", "b"}}));
    EXPECT_EQ(ReadBytes(file), "[files]\nRecent2=b\nRecent1=a\n[x]\nRecent1=other\n");
}

TEST_F(SettingsFiles, FeatureBytesMapInOrderAndBadFilesGiveZero) {
    WriteBytes(paths_.languageDir / "Setting.ini", std::string("\x01\x00\x01\x00", 4));
    const FeatureFlags flags = FeatureFlagsFromBytes(ReadFeatureBytes(paths_));
    EXPECT_TRUE(flags.fiveTone);
    EXPECT_FALSE(flags.twoTone);
    EXPECT_TRUE(flags.dtmf);
    EXPECT_FALSE(flags.fourth);

    WriteBytes(paths_.languageDir / "Setting.ini", std::string("\x01\x01\x01", 3));
    EXPECT_EQ(ReadFeatureBytes(paths_), (std::array<std::uint8_t, 4>{})) << "short file";
    fs::remove(paths_.languageDir / "Setting.ini");
    EXPECT_EQ(ReadFeatureBytes(paths_), (std::array<std::uint8_t, 4>{})) << "missing file";
    fs::create_directories(paths_.languageDir / "Setting.ini");
    EXPECT_EQ(ReadFeatureBytes(paths_), (std::array<std::uint8_t, 4>{})) << "unreadable";
}

TEST_F(SettingsFiles, StoredFeatureBytesAreSticky) {
    WriteBytes(paths_.languageDir / "Setting.ini", std::string("\x01\x00\x00\x00", 4));
    Session session = StartSession(paths_, OsVersion{}, "");
    session.featureFlags = FeatureFlags{false, true, false, false};  // radio: 2-tone only
    StoreFeatureFlags(session);
    EXPECT_EQ(ReadBytes(paths_.configDir / "Setting.ini"), std::string("\x01\x01\x00\x00", 4));
    session.featureFlags = FeatureFlags{false, false, true, false};
    StoreFeatureFlags(session);
    EXPECT_EQ(ReadBytes(paths_.configDir / "Setting.ini"), std::string("\x01\x01\x01\x00", 4));
    // The next start reads the user's copy.
    EXPECT_EQ(StartSession(paths_, OsVersion{}, "").featureFlags,
              (FeatureFlags{true, true, true, false}));
}

TEST_F(SettingsFiles, StoringIntoAnUnwritableFolderIsSilent) {
    WriteBytes(root_ / "blocker", "x");
    Session session;
    session.paths = SettingsPaths{paths_.languageDir, root_ / "blocker" / "qxprog", {}};
    session.featureFlags.dtmf = true;
    EXPECT_NO_THROW(StoreFeatureFlags(session));
    EXPECT_EQ(session.storedFeatureBytes[2], 1) << "kept for this run all the same";
}

TEST_F(SettingsFiles, StartSessionChoosesThePort) {
    EXPECT_FALSE(FixedPortListFor(OsVersion{false, 6}));
    EXPECT_FALSE(FixedPortListFor(OsVersion{true, 10}));
    EXPECT_TRUE(FixedPortListFor(OsVersion{true, 6}));
    EXPECT_EQ(StartSession(paths_, OsVersion{true, 6}, "/dev/ttyUSB0").portName, "COM1");
    const Session s = StartSession(paths_, OsVersion{}, "/dev/ttyUSB0");
    EXPECT_EQ(s.portName, "/dev/ttyUSB0");
    EXPECT_EQ(s.portSettings, "9600,n,8,1");
    EXPECT_TRUE(s.radioPassword.empty());
    EXPECT_EQ(StartSession(paths_, OsVersion{}, "").portName, "") << "no port";
}

TEST_F(SettingsFiles, Folders) {
    EXPECT_EQ(UserConfigDir("/x/cfg", "/home/u"), fs::path("/x/cfg/qxprog"));
    EXPECT_EQ(UserConfigDir("", "/home/u"), fs::path("/home/u/.config/qxprog"));
    EXPECT_EQ(UserConfigDir(nullptr, nullptr), fs::path());
    EXPECT_EQ(UserBackupDir("/x/data", "/home/u"), fs::path("/x/data/qxprog/backups"));
    EXPECT_EQ(UserBackupDir("", "/home/u"), fs::path("/home/u/.local/share/qxprog/backups"));
    EXPECT_EQ(UserBackupDir(nullptr, nullptr), fs::path());
    EXPECT_EQ(FindLanguageDir(root_), root_ / "language");
    EXPECT_EQ(FindLanguageDir(root_ / "bin"),
              root_ / "bin" / ".." / "share" / "qxprog" / "language");
}

TEST_F(SettingsFiles, LanguageTextsLookUpCaseInsensitivelyAndTrim) {
    WriteBytes(paths_.languageDir / "test.ini",
               "\xEF\xBB\xBF[Channel]\n50015 =  Active  \r\n50015=second\n[msg]\n900b=Print?\n"
               "long=" +
                   std::string(300, 'x') + "\n");
    const LanguageTexts texts(paths_.languageDir, "test.ini");
    EXPECT_EQ(texts.LanguageText("Channel", "50015"), "Active") << "first occurrence, trimmed";
    EXPECT_EQ(texts.LanguageText("MSG", "900B"), "Print?");
    EXPECT_EQ(texts.LanguageText("MSG", "9001"), "");
    EXPECT_EQ(texts.LanguageText("Nope", "50015"), "");
    EXPECT_EQ(texts.LanguageText("msg", "long").size(), 254u);
    EXPECT_EQ(LanguageTexts(paths_.languageDir, "").LanguageText("Channel", "50015"), "");
    EXPECT_EQ(LanguageTexts(paths_.languageDir, "absent.ini").LanguageText("Channel", "50015"), "");
}

TEST_F(SettingsFiles, RecentFilesLastFolderAndWindowGeometryAreKeptInTheUserCopy) {
    using Files = std::vector<std::string>;
    const SettingsPaths& paths = paths_;
    EXPECT_EQ(ReadRecentFiles(paths), Files{});
    EXPECT_EQ(ReadLastFolder(paths), "");

    WriteRecentFiles(paths, {"/a/1.qx", "/b/2.qx", "/c/3.qx"});
    WriteRecentFiles(paths, {"/b/2.qx", "/a/1.qx"});  // a shorter list clears the rest
    EXPECT_EQ(ReadRecentFiles(paths), (Files{"/b/2.qx", "/a/1.qx"}));
    WriteLastFolder(paths, "/home/u/radios");
    EXPECT_EQ(ReadLastFolder(paths), "/home/u/radios");
    WriteWindowGeometry(paths, "AdnQywADAAA=");
    EXPECT_EQ(ReadWindowGeometry(paths), "AdnQywADAAA=");
    const Session session = StartSession(paths, {}, "");
    EXPECT_EQ(session.recentFiles, (Files{"/b/2.qx", "/a/1.qx"}));
    EXPECT_EQ(session.lastFolder, "/home/u/radios");

    // A hand-edited file: repeats once, at most eight; a name with a line
    // break is not written, as it would start a line of its own.
    std::string text = "[files]\n";
    for (int i = 1; i <= 9; ++i) {
        text += "Recent" + std::to_string(i) + "=/f/" + std::to_string(i % 3) + ".qx\n";
    }
    WriteBytes(root_ / "config" / "mysetup.ini", text);
    EXPECT_EQ(ReadRecentFiles(paths), (Files{"/f/1.qx", "/f/2.qx", "/f/0.qx"}));
    WriteLastFolder(paths, "/a\n[language]\nCurrentLanguage=x");
    EXPECT_EQ(ReadLastFolder(paths), "");
    EXPECT_EQ(ReadCurrentLanguage(paths), "");
}

}  // namespace
}  // namespace qx
