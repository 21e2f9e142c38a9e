// Bad input and interrupted work, run as a user meets them: each case with
// its exact messages, its exit code and the files on disk before and after.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/listing_commands.h"
#include "app/project_file.h"
#include "codeplug/defaults.h"
#include "document_builder.h"
#include "image/memory_image.h"
#include "qxctl_fixture.h"
#include "run_program.h"

namespace {

namespace fs = std::filesystem;
using qx::test::ProgramRun;
using qx::test::ReadFileText;
using qx::test::WriteFileText;

// What a folder holds, without opening anything that is not a regular file
// and without reading a large one: "0640 content", "folder", "fifo",
// "link to /dev/zero", "1073741824 bytes".
using Snapshot = std::map<std::string, std::string>;

Snapshot SnapshotOf(const fs::path& folder) {
    Snapshot snapshot;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const fs::file_status status = entry.symlink_status();
        std::string& shown = snapshot[entry.path().filename().string()];
        if (fs::is_symlink(status)) {
            shown = "link to " + fs::read_symlink(entry.path()).string();
        } else if (fs::is_directory(status)) {
            shown = "folder";
        } else if (fs::is_fifo(status)) {
            shown = "fifo";
        } else if (fs::file_size(entry.path()) > (1 << 20)) {
            shown = std::to_string(fs::file_size(entry.path())) + " bytes";
        } else {
            const auto mode = static_cast<unsigned>(status.permissions() & fs::perms::all);
            shown = "0" + std::to_string(mode >> 6) + std::to_string((mode >> 3) & 7) +
                    std::to_string(mode & 7) + " " + ReadFileText(entry.path());
        }
    }
    return snapshot;
}

std::string Shown(const std::string& content, const char* mode = "0644") {
    return std::string(mode) + " " + content;
}

qx::Codeplug Sample(int model, const std::string& name) {
    qx::Codeplug c = qx::NewCodeplug(model);
    qx::PutInUse(c.Memory(3), model);
    c.Memory(3).name = name;
    return c;
}

// The listing qxctl prints for a project, as the core builds it.
std::string ListingOf(const qx::Codeplug& codeplug) {
    const qx::Document doc = qx::test::LoadedDocument();
    return qx::ListingFileText(
        qx::BuildListing(codeplug, qx::ListingWordsOf(doc.texts), qx::ListingTarget::File));
}

// The project pair as the core writes it, for comparing with what qxctl wrote.
std::pair<std::string, std::string> PairOf(const qx::Codeplug& codeplug) {
    const qx::ProjectFiles files = qx::EncodeProject(codeplug).files;
    return {files.qx, std::string(files.ton.begin(), files.ton.end())};
}

// A write of `codeplug` over `path` cut off before `step` of file `file`, as
// a killed program leaves it.
void CutOffSave(const qx::Codeplug& codeplug, const fs::path& path, qx::WriteStep step,
                std::size_t file) {
    const auto hook = [=](qx::WriteStep s, std::size_t f) {
        return s == step && f == file ? qx::StepAction::Stop : qx::StepAction::Proceed;
    };
    ASSERT_EQ(qx::WriteProject(codeplug, path, hook), "the write was stopped");
}

struct Expected {
    std::string args;  // qxctl's arguments, relative paths inside the case's folder
    int exitCode = 0;
    std::string out;
    std::string err;
    std::optional<Snapshot> after;  // nullopt: as before
};

struct Case {
    std::string name;
    // Makes the case's files in `files` (the configuration folder beside it)
    // and says what qxctl should make of them.
    std::function<Expected(const fs::path& files)> prepare;
};

using BadInput = qx::test::QxctlFixture;

TEST_F(BadInput, EachCaseWithItsMessagesAndTheFilesBeforeAndAfter) {
    // New files are 0644 here and in qxctl, whatever the runner's mask.
    const mode_t runnersMask = umask(022);
    const qx::Codeplug saved = Sample(5, "SAVED");
    const qx::Codeplug cutOff = Sample(5, "CUTOFF");
    const qx::Codeplug inImage = Sample(3, "IMAGE");
    const std::vector<std::uint8_t> imageBytes =
        qx::EncodeImage(inImage, qx::test::kAllFeatures).image;
    const std::string image(imageBytes.begin(), imageBytes.end());
    const auto [decodedQx, decodedTon] =
        PairOf(qx::DecodeImage(imageBytes, qx::test::LoadedDocument().model()).codeplug);
    const auto [savedQx, savedTon] = PairOf(saved);
    const auto [cutOffQx, cutOffTon] = PairOf(cutOff);
    // The system's own words for the error, as the "C" locale gives them.
    const std::string noSpace = "qxctl: cannot write to standard output: No space left on device\n";
    const auto note = [](const fs::path& project, const std::string& what) {
        return "qxctl: The last save of \"" + project.string() + "\" was interrupted. " + what +
               "\n";
    };
    const std::string completed = "It has now been completed.";
    const std::string undone = "It has been undone: the files are as they were before it.";

    const std::vector<Case> cases = {
        {"models to a full disk",
         [&](const fs::path&) {
             return Expected{"models >/dev/full", 1, "", noSpace, {}};
         }},
        {"ports to a full disk",
         [&](const fs::path&) {
             return Expected{"ports >/dev/full", 1, "", noSpace, {}};
         }},
        {"help to a full disk",
         [&](const fs::path&) {
             return Expected{"--help >/dev/full", 1, "", noSpace, {}};
         }},
        {"the companion file's name is taken by a folder",
         [&](const fs::path& files) {
             EXPECT_EQ(qx::WriteProject(saved, files / "a.qx"), "");
             fs::remove(files / "a.ton");
             fs::create_directories(files / "a.ton" / "inside");
             WriteFileText(files / "image.bin", image);
             return Expected{"image decode image.bin -o a.qx",
                             1,
                             "",
                             "qxctl image decode: Cannot save \"a.ton\": it is a folder.\n",
                             {}};
         }},
        {"killed between the renames, then opened",
         [&](const fs::path& files) {
             EXPECT_EQ(qx::WriteProject(saved, files / "a.qx"), "");
             CutOffSave(cutOff, files / "a.qx", qx::WriteStep::Replace, 1);
             EXPECT_EQ(ReadFileText(files / "a.qx"), cutOffQx) << "a mixed pair";
             EXPECT_EQ(ReadFileText(files / "a.ton"), savedTon);
             return Expected{"listing a.qx -o -", 0, ListingOf(cutOff), note("a.qx", completed),
                             Snapshot{{"a.qx", Shown(cutOffQx)}, {"a.ton", Shown(cutOffTon)}}};
         }},
        {"killed between the renames, then saved over",
         [&](const fs::path& files) {
             EXPECT_EQ(qx::WriteProject(saved, files / "a.qx"), "");
             CutOffSave(cutOff, files / "a.qx", qx::WriteStep::Replace, 1);
             WriteFileText(files / "image.bin", image);
             return Expected{"image decode image.bin -o a.qx", 0, "", note("a.qx", completed),
                             Snapshot{{"a.qx", Shown(decodedQx)},
                                      {"a.ton", Shown(decodedTon)},
                                      {"image.bin", Shown(image)}}};
         }},
        {"killed before the renames, then opened",
         [&](const fs::path& files) {
             EXPECT_EQ(qx::WriteProject(saved, files / "a.qx"), "");
             CutOffSave(cutOff, files / "a.qx", qx::WriteStep::Backup, 1);
             return Expected{"listing a.qx -o -", 0, ListingOf(saved), note("a.qx", undone),
                             Snapshot{{"a.qx", Shown(savedQx)}, {"a.ton", Shown(savedTon)}}};
         }},
        {"a save keeps both files' permissions",
         [&](const fs::path& files) {
             EXPECT_EQ(qx::WriteProject(saved, files / "a.qx"), "");
             fs::permissions(files / "a.qx", fs::perms(0640));
             fs::permissions(files / "a.ton", fs::perms(0600));
             WriteFileText(files / "image.bin", image);
             return Expected{"image decode image.bin -o a.qx", 0, "", "",
                             Snapshot{{"a.qx", Shown(decodedQx, "0640")},
                                      {"a.ton", Shown(decodedTon, "0600")},
                                      {"image.bin", Shown(image)}}};
         }},
        {"an image that is a pipe",
         [&](const fs::path& files) {
             EXPECT_EQ(mkfifo((files / "pipe.bin").c_str(), 0644), 0);
             return Expected{"image decode pipe.bin -o x.qx",
                             1,
                             "",
                             "qxctl image decode: Cannot open \"pipe.bin\": it is not a regular "
                             "file.\n",
                             {}};
         }},
        {"a sparse image of 1 GB",
         [&](const fs::path& files) {
             WriteFileText(files / "big.bin", "");
             fs::resize_file(files / "big.bin", std::uintmax_t{1} << 30);
             return Expected{"image decode big.bin -o x.qx",
                             1,
                             "",
                             "qxctl image decode: big.bin: A memory image has 8192 bytes; this one "
                             "has 1073741824.\n",
                             {}};
         }},
        {"mysetup.ini is a pipe",
         [&](const fs::path& files) {
             EXPECT_EQ(qx::WriteProject(saved, files / "a.qx"), "");
             fs::create_directories(files / "../config/qxprog");
             EXPECT_EQ(mkfifo((files / "../config/qxprog/mysetup.ini").c_str(), 0644), 0);
             return Expected{"listing a.qx -o -", 0, ListingOf(saved), "", {}};
         }},
        {"mysetup.ini is linked to /dev/zero",
         [&](const fs::path& files) {
             EXPECT_EQ(qx::WriteProject(saved, files / "a.qx"), "");
             fs::create_directories(files / "../config/qxprog");
             fs::create_symlink("/dev/zero", files / "../config/qxprog/mysetup.ini");
             return Expected{"listing a.qx -o -", 0, ListingOf(saved), "", {}};
         }},
    };

    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        const fs::path folder = Path("case" + std::to_string(i));
        const fs::path files = folder / "files";
        fs::create_directories(files);
        const Expected expected = c.prepare(files);
        const Snapshot before = SnapshotOf(files);
        // From inside the case's folder, so that names stay as typed.
        const ProgramRun run = qx::test::RunProgram(
            "timeout 60 env -C '" + files.string() + "' LC_ALL=C " + QXCTL_PATH, expected.args,
            folder);
        EXPECT_EQ(run.exitCode, expected.exitCode) << run.err;
        EXPECT_EQ(run.out, expected.out);
        EXPECT_EQ(run.err, expected.err);
        EXPECT_EQ(SnapshotOf(files), expected.after.value_or(before));
    }
    umask(runnersMask);
}

// The failure no command can force: the companion's rename fails after the
// project file's succeeded. The pair is put back as it was.
TEST_F(BadInput, ACompanionThatCannotBeReplacedLeavesThePreviousPair) {
    const fs::path project = Path("a.qx");
    ASSERT_EQ(qx::WriteProject(Sample(5, "SAVED"), project), "");
    fs::permissions(project, fs::perms(0640));
    const Snapshot before = SnapshotOf(project.parent_path());
    const auto failing = [](qx::WriteStep step, std::size_t file) {
        return step == qx::WriteStep::Replace && file == 1 ? qx::StepAction::Fail
                                                           : qx::StepAction::Proceed;
    };
    EXPECT_EQ(qx::WriteProject(Sample(5, "NEW"), project, failing),
              "Cannot save \"" + Path("a.ton") +
                  "\": " + std::make_error_code(std::errc::io_error).message() + ".");
    EXPECT_EQ(SnapshotOf(project.parent_path()), before);
}

}  // namespace
