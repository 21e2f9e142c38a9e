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

}  // namespace
}  // namespace qx
