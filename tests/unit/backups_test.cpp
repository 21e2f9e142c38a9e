#include "files/backups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "temp_dir.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string NameAt(std::time_t when, int model, const char* cause) {
    return BackupFileName(*std::localtime(&when), model, cause);
}

TEST(Backups, AreNamedByTimeModelAndCause) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = 14;
    when.tm_min = 30;
    when.tm_sec = 15;
    EXPECT_EQ(BackupFileName(when, 5, "read"), "20261208-143015-model5-read.img");
    EXPECT_EQ(BackupFileName(when, 31, "before-write"), "20261208-143015-model31-before-write.img");
}

TEST(Backups, AreStoredWholeInAFolderMadeForThem) {
    const TempDir dir;
    const fs::path folder = dir.Path() / "data" / "qxprog" / "backups";
    const std::vector<std::uint8_t> image(8192, 0xA5);
    const std::time_t when = 1'800'000'000;
    const BackupResult first = StoreBackup(folder, image, 3, "read", when);
    ASSERT_EQ(first.error, "");
    EXPECT_EQ(first.path, folder / NameAt(when, 3, "read"));
    EXPECT_EQ(ReadBytes(first.path), std::string(8192, '\xA5'));

    // The same second again: a name of its own, the first one kept.
    const BackupResult second = StoreBackup(folder, image, 3, "read", when);
    ASSERT_EQ(second.error, "");
    EXPECT_NE(second.path, first.path);
    EXPECT_EQ(NamesIn(folder).size(), 2u);
}

TEST(Backups, KeepTheNewestAndNeverTouchOtherFiles) {
    const TempDir dir;
    WriteBytes(dir.Path() / "notes.txt", "mine");
    WriteBytes(dir.Path() / "radio.img", "mine too");
    const std::vector<std::uint8_t> image(8192, 0);
    const std::time_t start = 1'800'000'000;
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(StoreBackup(dir.Path(), image, 3, "read", start + i * 60, 4).error, "");
    }
    std::vector<std::string> expected = {"notes.txt", "radio.img"};
    for (int i = 2; i < 6; ++i) expected.push_back(NameAt(start + i * 60, 3, "read"));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(NamesIn(dir.Path()), expected);

    // A clock set back: the new backup is kept even though it sorts first.
    const BackupResult early = StoreBackup(dir.Path(), image, 3, "read", start - 3600, 4);
    ASSERT_EQ(early.error, "");
    EXPECT_TRUE(fs::exists(early.path));
    EXPECT_EQ(NamesIn(dir.Path()).size(), 6u);
}

TEST(Backups, AFolderThatCannotBeMadeIsReported) {
    const TempDir dir;
    WriteBytes(dir.Path() / "blocker", "x");
    const BackupResult result =
        StoreBackup(dir.Path() / "blocker" / "backups", std::vector<std::uint8_t>(8192), 3, "read",
                    1'800'000'000);
    EXPECT_TRUE(result.path.empty());
    EXPECT_TRUE(result.error.starts_with("Cannot save \"")) << result.error;
}

TEST(UnreadLinesFile, NamesRunsOfLinesByTheirAddresses) {
    const std::vector<int> lines = {1, 2, 3, 15, 232, 233, 511};
    const std::string text = UnreadLinesText(lines);
    EXPECT_TRUE(text.ends_with("\n0010-0030\n00F0\n0E80-0E90\n1FF0\n")) << text;
    const UnreadLines parsed = ParseUnreadLines(text);
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.lines, lines);
    EXPECT_EQ(ParseUnreadLines("\r\n  0040 \r\n0010-0020\n0020\n").lines,
              (std::vector<int>{1, 2, 4}));
    for (const char* bad : {"0011", "2000", "0030-0010", "0010-", "0010 0020"}) {
        const UnreadLines wrong = ParseUnreadLines(std::string("# ok\n0000\n") + bad + "\n");
        EXPECT_TRUE(wrong.lines.empty()) << bad;
        EXPECT_TRUE(wrong.error.starts_with("its line 3, \"" + std::string(bad) + "\","))
            << wrong.error;
    }
}

TEST(UnreadLinesFile, ComesAndGoesWithItsBackup) {
    const TempDir dir;
    const std::vector<std::uint8_t> image(8192, 0);
    const std::time_t start = 1'800'000'000;
    const std::vector<int> unread = {5, 6};
    const BackupResult quick = StoreBackup(dir.Path(), image, 3, "quick-read", start, 2, unread);
    ASSERT_EQ(quick.error, "");
    EXPECT_EQ(UnreadLinesPath(quick.path).string(), quick.path.string() + ".unread");
    EXPECT_EQ(ReadUnreadLines(quick.path).lines, unread);

    const BackupResult full = StoreBackup(dir.Path(), image, 3, "read", start + 60, 2);
    ASSERT_EQ(full.error, "");
    const UnreadLines none = ReadUnreadLines(full.path);
    EXPECT_TRUE(none.lines.empty() && none.error.empty());
    EXPECT_EQ(NamesIn(dir.Path()).size(), 3u) << "companions do not count as backups";

    ASSERT_EQ(StoreBackup(dir.Path(), image, 3, "read", start + 120, 2).error, "");
    EXPECT_FALSE(fs::exists(quick.path));
    EXPECT_FALSE(fs::exists(UnreadLinesPath(quick.path))) << "pruned with its image";

    // A companion left behind by a removed image is never taken for a new backup's.
    fs::remove(full.path);
    WriteBytes(UnreadLinesPath(full.path), "0050\n");
    const BackupResult again = StoreBackup(dir.Path(), image, 3, "read", start + 60, 5);
    ASSERT_EQ(again.error, "");
    EXPECT_NE(again.path, full.path);
    EXPECT_TRUE(ReadUnreadLines(again.path).lines.empty());
}

}  // namespace
}  // namespace qx
