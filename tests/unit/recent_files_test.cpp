// The recent files list: its order, limit and repeats, its menu entries,
// and choosing an entry.
#include "app/recent_files.h"

#include <gtest/gtest.h>

#include "document_builder.h"
#include "project_records.h"
#include "scripted_ui.h"
#include "temp_dir.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using Files = std::vector<std::string>;

TEST(RecentFilesTest, TheLatestComesFirstOnceAndTheListKeepsEight) {
    const Files eight = {"8", "7", "6", "5", "4", "3", "2", "1"};
    struct Case {
        const char* label;
        Files files;
        std::string added;
        Files expected;
    };
    const Case cases[] = {
        {"into an empty list", {}, "a", {"a"}},
        {"on top", {"b", "a"}, "c", {"c", "b", "a"}},
        {"a repeat moves up", {"c", "b", "a"}, "a", {"a", "c", "b"}},
        {"the first again", {"c", "b", "a"}, "c", {"c", "b", "a"}},
        {"the ninth drops the oldest", eight, "9", {"9", "8", "7", "6", "5", "4", "3", "2"}},
        {"a repeat in a full list drops none",
         eight,
         "1",
         {"1", "8", "7", "6", "5", "4", "3", "2"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithRecentFile(c.files, c.added), c.expected) << c.label;
    }
}

TEST(RecentFilesTest, EntriesAreNumberedAndShowTheFileName) {
    EXPECT_EQ(RecentFileEntry(0, "/home/u/dealer1.qx"), "&1 dealer1.qx");
    EXPECT_EQ(RecentFileEntry(7, "/home/u/R&D.qx"), "&8 R&&D.qx");
}

TEST(RecentFilesTest, AFileThatIsGoneIsSaidAndTakenOffTheList) {
    test::TempDir dir;
    const std::string gone = (dir / "gone.qx").string();
    const std::string here = (dir / "here.qx").string();
    test::WriteBytes(here, test::GoldenProject());
    Files files = {"/x/a.qx", gone, here};

    Document doc = test::LoadedDocument(10);
    const Codeplug before = doc.codeplug();
    test::ScriptedUi ui;
    EXPECT_EQ(OpenRecentFile(doc, files, gone, ui), OpenOutcome::Failed);
    EXPECT_EQ(
        ui.messages,
        Files{"\"" + gone + "\" no longer exists. It has been removed from the recent files."});
    EXPECT_EQ(files, (Files{"/x/a.qx", here}));
    EXPECT_EQ(doc.codeplug(), before);

    EXPECT_EQ(OpenRecentFile(doc, files, here, ui), OpenOutcome::Opened);
    EXPECT_EQ(files, (Files{here, "/x/a.qx"}));
    EXPECT_EQ(doc.filename, here);
}

}  // namespace
}  // namespace qx
