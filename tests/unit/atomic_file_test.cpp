// The all-or-nothing write of a file pair: every step made to fail or cut
// off as a killed process would, and what the next write or recovery makes
// of what was left.
#include "files/atomic_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Every name in the folder with its content (a folder shows as "<folder>").
std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        contents[entry.path().filename().string()] =
            entry.is_directory() ? "<folder>" : ReadBytes(entry.path());
    }
    return contents;
}

fs::perms PermissionsOf(const fs::path& path) {
    return fs::status(path).permissions() & fs::perms::all;
}

const char* StepName(WriteStep step) {
    constexpr const char* kNames[] = {"Journal", "Temporary", "Backup",
                                      "Commit",  "Replace",   "Cleanup"};
    return kNames[static_cast<int>(step)];
}

// A hook that takes `action` at one step of one file and proceeds elsewhere.
WriteStepHook At(WriteStep step, std::size_t file, StepAction action) {
    return [=](WriteStep s, std::size_t f) {
        return s == step && f == file ? action : StepAction::Proceed;
    };
}

class AtomicWrite : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(qx_, "previous project");
        WriteBytes(ton_, "previous signalling");
        fs::permissions(
            qx_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);  // 0640
        fs::permissions(
            ton_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);  // 0604
        previous_ = Contents(dir_.Path());
    }
    std::string Write(const WriteStepHook& hook = {}) { return WriteFilesAtomically(pair_, hook); }
    void ExpectPermissionsKept() {
        EXPECT_EQ(PermissionsOf(qx_),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        EXPECT_EQ(PermissionsOf(ton_),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    }

    TempDir dir_;
    const fs::path qx_ = dir_ / "a.qx";
    const fs::path ton_ = dir_ / "a.ton";
    const std::vector<PendingFile> pair_ = {{qx_, "new project"}, {ton_, "new signalling"}};
    const std::map<std::string, std::string> new_ = {{"a.qx", "new project"},
                                                     {"a.ton", "new signalling"}};
    std::map<std::string, std::string> previous_;
};

struct StepCase {
    WriteStep step;
    std::size_t file;
};
// Every step a write of two files over two files takes.
constexpr StepCase kEveryStep[] = {
    {WriteStep::Journal, 0}, {WriteStep::Temporary, 0}, {WriteStep::Temporary, 1},
    {WriteStep::Backup, 0},  {WriteStep::Backup, 1},    {WriteStep::Commit, 0},
    {WriteStep::Replace, 0}, {WriteStep::Replace, 1},   {WriteStep::Cleanup, 0}};

TEST_F(AtomicWrite, ReplacesBothFilesKeepingTheirPermissionsAndLeavesNothingElse) {
    EXPECT_EQ(Write(), "");
    EXPECT_EQ(Contents(dir_.Path()), new_);
    ExpectPermissionsKept();
}

TEST_F(AtomicWrite, AFailedStepPutsThePreviousFilesBackUnchanged) {
    for (const StepCase& c : kEveryStep) {
        if (c.step == WriteStep::Cleanup) continue;  // the files are in place by then
        SCOPED_TRACE(std::string(StepName(c.step)) + " " + std::to_string(c.file));
        const fs::path named = c.file == 0 ? qx_ : ton_;
        EXPECT_EQ(Write(At(c.step, c.file, StepAction::Fail)),
                  FileErrorText("Cannot save", named,
                                std::make_error_code(std::errc::io_error).message()));
        EXPECT_EQ(Contents(dir_.Path()), previous_);
        ExpectPermissionsKept();
    }
}

TEST_F(AtomicWrite, AWriteCutOffAtAnyStepIsUndoneOrCompletedByTheNextOneAndNothingStays) {
    for (const StepCase& c : kEveryStep) {
        const bool complete = c.step == WriteStep::Replace || c.step == WriteStep::Cleanup;
        for (const bool byRecovery : {true, false}) {
            SCOPED_TRACE(std::string(StepName(c.step)) + " " + std::to_string(c.file) +
                         (byRecovery ? " recovered" : " written over"));
            for (const auto& [name, content] : previous_) WriteBytes(dir_ / name, content);
            const bool stopped = c.step != WriteStep::Cleanup;
            EXPECT_EQ(Write(At(c.step, c.file, StepAction::Stop)),
                      stopped ? "the write was stopped" : "");
            if (c.step != WriteStep::Journal) {
                EXPECT_GT(Contents(dir_.Path()).size(), 2u) << "something is left to finish";
            }
            if (byRecovery) {
                const RecoveryResult recovered = RecoverUnfinishedWrite(qx_);
                const Recovery expected = c.step == WriteStep::Journal ? Recovery::None
                                          : complete                   ? Recovery::Completed
                                                                       : Recovery::Undone;
                EXPECT_EQ(recovered.outcome, expected);
                EXPECT_EQ(recovered.error, "");
                EXPECT_EQ(Contents(dir_.Path()), complete ? new_ : previous_);
                EXPECT_EQ(RecoverUnfinishedWrite(qx_).outcome, Recovery::None);
            } else {
                const std::vector<PendingFile> next = {{qx_, "next"}, {ton_, "next ton"}};
                EXPECT_EQ(WriteFilesAtomically(next), "");
                EXPECT_EQ(Contents(dir_.Path()), (std::map<std::string, std::string>{
                                                     {"a.qx", "next"}, {"a.ton", "next ton"}}));
            }
            ExpectPermissionsKept();
        }
    }
}

TEST_F(AtomicWrite, APairThatWasNotThereIsNotThereAfterAFailure) {
    fs::remove(qx_);
    fs::remove(ton_);
    EXPECT_NE(Write(At(WriteStep::Replace, 1, StepAction::Fail)), "");
    EXPECT_TRUE(Contents(dir_.Path()).empty());

    EXPECT_EQ(Write(At(WriteStep::Replace, 1, StepAction::Stop)), "the write was stopped");
    EXPECT_EQ(RecoverUnfinishedWrite(qx_).outcome, Recovery::Completed);
    EXPECT_EQ(Contents(dir_.Path()), new_);
}

// A real failure of the second rename: the companion's name was taken by a
// folder after the targets were checked.
TEST_F(AtomicWrite, ASecondRenameThatFailsPutsTheFirstFileBack) {
    fs::remove(ton_);
    previous_.erase("a.ton");
    const auto folderAppears = [&](WriteStep step, std::size_t file) {
        if (step == WriteStep::Replace && file == 1) {
            fs::create_directories(ton_ / "inside");
        }
        return StepAction::Proceed;
    };
    const std::string error = Write(folderAppears);
    EXPECT_EQ(error.rfind("Cannot save \"" + ton_.string() + "\": ", 0), 0u) << error;
    previous_["a.ton"] = "<folder>";
    EXPECT_EQ(Contents(dir_.Path()), previous_);
    EXPECT_EQ(ReadBytes(qx_), "previous project");
}

TEST_F(AtomicWrite, ADamagedJournalIsReportedAndNothingIsTouched) {
    const fs::path journal = dir_ / ".a.qx.saving";
    const std::string header = "qxprog write journal 1\nstep replacing\ntoken 0123abcd\n";
    const std::string damaged[] = {
        "",
        "something else\n",
        header,                       // no file
        header + "file 1 a.qx",       // cut off
        header + "file 1 ../a.qx\n",  // outside the folder
        header + "file 1 %41.qx\n",   // an unknown escape
        "qxprog write journal 1\nstep writing\ntoken xyz\nfile 1 a.qx\n",
    };
    WriteBytes(dir_ / ".a.qx.new-0123abcd", "would replace a.qx");
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text);
        WriteBytes(journal, text);
        const std::map<std::string, std::string> before = Contents(dir_.Path());
        const RecoveryResult recovered = RecoverUnfinishedWrite(qx_);
        EXPECT_EQ(recovered.outcome, Recovery::Failed);
        EXPECT_EQ(recovered.error,
                  "the record of it, \"" + journal.string() + "\", cannot be read");
        EXPECT_EQ(Contents(dir_.Path()), before);
        EXPECT_EQ(Write(), "Cannot save \"" + qx_.string() + "\": " + recovered.error + ".");
        EXPECT_EQ(Contents(dir_.Path()), before);
    }
}

TEST_F(AtomicWrite, AnyFileNameSurvivesTheJournal) {
    for (const std::string name : {"a\nb%0A.qx", "100%.qx", "x\r.qx"}) {
        SCOPED_TRACE(name);
        const std::vector<PendingFile> files = {{dir_ / name, "new"}};
        WriteBytes(dir_ / name, "old");
        EXPECT_EQ(WriteFilesAtomically(files, At(WriteStep::Replace, 0, StepAction::Stop)),
                  "the write was stopped");
        EXPECT_EQ(RecoverUnfinishedWrite(dir_ / name).outcome, Recovery::Completed);
        EXPECT_EQ(ReadBytes(dir_ / name), "new");
        fs::remove(dir_ / name);
    }
    fs::remove(qx_);
    fs::remove(ton_);
    EXPECT_TRUE(Contents(dir_.Path()).empty());
}

}  // namespace
}  // namespace qx
