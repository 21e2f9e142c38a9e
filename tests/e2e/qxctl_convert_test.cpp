// qxctl image encode/decode and listing, run as a user runs them, checked
// against the core they are shells over.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
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

class QxctlConvert : public qx::test::QxctlFixture {
  protected:
    // A model-5 project with more than the defaults: a second channel in use
    // with a name, tones, an offset and an option signal, and a changed option.
    qx::Codeplug SaveSample(const std::string& name) {
        qx::Codeplug c = qx::NewCodeplug(5);
        qx::Channel& ch = c.Memory(2);
        qx::PutInUse(ch, 5);
        ch.name = "ab-1";
        ch.rxTone = *qx::Tone::Parse("C:88.5");
        ch.txTone = *qx::Tone::Parse("D:023N");
        ch.tx = *qx::Frequency::Parse("146.0000");
        ch.signal = {qx::SignalKind::Dtmf, 3, std::nullopt};
        c.options.indication = qx::IndicationMode::Channel;
        EXPECT_EQ(qx::WriteProject(c, Path(name)), "");
        return c;
    }
};

TEST_F(QxctlConvert, EncodeWritesWhatTheCoreEncodesAndDecodeReadsItBack) {
    const qx::Codeplug codeplug = SaveSample("a.qx");
    const ProgramRun encode =
        Qxctl("image encode " + Path("a.qx") + " -o " + Path("a.bin") + " --features E0");
    ASSERT_EQ(encode.exitCode, 0) << encode.err;
    EXPECT_EQ(encode.err, "");

    const qx::ImageEncoding expected = qx::EncodeImage(codeplug, qx::test::kAllFeatures);
    ASSERT_TRUE(expected.problems.empty());
    const std::string image = ReadFileText(Path("a.bin"));
    EXPECT_EQ(image, std::string(expected.image.begin(), expected.image.end()));

    const ProgramRun decode =
        Qxctl("image decode " + Path("a.bin") + " -o " + Path("b.qx") + " --language english.ini");
    ASSERT_EQ(decode.exitCode, 0) << decode.err;

    EXPECT_TRUE(fs::exists(Path("b.ton")));
    // The decoded project encodes to the same image: nothing the radio holds was lost.
    const ProgramRun again =
        Qxctl("image encode " + Path("b.qx") + " -o " + Path("b.bin") + " --features E0");
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(ReadFileText(Path("b.bin")), image);
}

TEST_F(QxctlConvert, EncodeAndDecodeNeedNoLanguageFile) {
    SaveSample("a.qx");
    // A copy of qxctl in a folder of its own: no language folder beside it,
    // none in ../share/qxprog.
    const fs::path bare = Path("bare/qxctl");
    fs::create_directories(bare.parent_path());
    fs::copy_file(QXCTL_PATH, bare);
    ASSERT_FALSE(fs::exists(bare.parent_path() / "language"));
    ASSERT_FALSE(fs::exists(bare.parent_path().parent_path() / "share"));
    const auto run = [&](const std::string& program, const std::string& prefix) {
        for (const std::string& args :
             {"image encode " + Path("a.qx") + " -o " + Path(prefix + ".bin") + " --features E0",
              "image decode " + Path(prefix + ".bin") + " -o " + Path(prefix + ".qx")}) {
            const ProgramRun done = qx::test::RunProgram(program, args, Path(prefix + "-run"));
            EXPECT_EQ(done.exitCode, 0) << program << " " << args << "\n" << done.err;
            EXPECT_EQ(done.err, "") << program << " " << args;
            EXPECT_EQ(done.out, "") << program << " " << args;
        }
    };
    run(QXCTL_PATH, "with");
    run(bare.string(), "bare");
    for (const char* suffix : {".bin", ".qx", ".ton"}) {
        EXPECT_FALSE(ReadFileText(Path(std::string("with") + suffix)).empty()) << suffix;
        EXPECT_EQ(ReadFileText(Path(std::string("bare") + suffix)),
                  ReadFileText(Path(std::string("with") + suffix)))
            << suffix;
    }
}

TEST_F(QxctlConvert, ListingGoesToAFileOrStandardOutput) {
    SaveSample("a.qx");
    qx::Document doc = qx::test::LoadedDocument(3);
    qx::test::ScriptedUi ui;
    ASSERT_EQ(qx::OpenProject(doc, Path("a.qx"), ui), qx::OpenOutcome::Opened);
    const std::string expected = qx::ListingFileText(
        qx::BuildListing(doc.codeplug(), qx::ListingWordsOf(doc.texts), qx::ListingTarget::File));

    const ProgramRun toStdout = Qxctl("listing " + Path("a.qx") + " -o - --language english.ini");
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, expected);
    EXPECT_NE(toStdout.out.find("ab-1"), std::string::npos);

    const ProgramRun toFile = Qxctl("listing " + Path("a.qx") + " -o " + Path("a.txt"));
    ASSERT_EQ(toFile.exitCode, 0) << toFile.err;
    EXPECT_EQ(ReadFileText(Path("a.txt")), expected);
}

TEST_F(QxctlConvert, BadInputFailsWithOneClearLine) {
    SaveSample("good.qx");
    qx::test::WriteFileText(Path("short.bin"), std::string(100, '\0'));
    qx::test::WriteFileText(Path("broken.qx"), "0|Active|only a few fields|\r\r\n");
    std::string badSetup = ReadFileText(Path("good.qx"));
    const auto setupAt = badSetup.find("setup|");
    badSetup.replace(setupAt, badSetup.find('\r', setupAt) - setupAt, "setup|too|short");
    qx::test::WriteFileText(Path("setup.qx"), badSetup);
    // A codeplug the radio cannot hold: a Tx offset of 100 MHz.
    qx::Codeplug offset = qx::NewCodeplug(5);
    offset.Memory(0).tx = *qx::Frequency::Parse("245.0000");
    ASSERT_EQ(qx::WriteProject(offset, Path("offset.qx")), "");

    struct Case {
        std::string args;
        int exitCode;
        std::string inMessage;
    };
    const std::vector<Case> cases = {
        {"image encode " + Path("missing.qx") + " -o " + Path("x.bin"), 1, "missing.qx"},
        {"image encode " + Path("broken.qx") + " -o " + Path("x.bin"), 1, "broken.qx"},
        {"image encode " + Path("setup.qx") + " -o " + Path("x.bin"), 1,
         "Radio option data format error"},
        {"image encode " + Path("offset.qx") + " -o " + Path("x.bin"), 1,
         "Channel 0: the Tx offset 100.0000 MHz is too large"},
        {"image decode " + Path("short.bin") + " -o " + Path("x.qx"), 1, "8192"},
        {"image decode " + Path("missing.bin") + " -o " + Path("x.qx"), 1, "missing.bin"},
        {"image encode " + Path("good.qx") + " -o " + Path("no/such/folder/x.bin"), 1, "x.bin"},
        {"image encode " + Path("good.qx"), 2, "-o"},
        {"image encode " + Path("good.qx") + " -o " + Path("x.bin") + " --language none.ini", 2,
         "none.ini"},
        {"image encode " + Path("good.qx") + " -o " + Path("x.bin") + " --language ../x.ini", 2,
         "../x.ini"},
        {"image encode " + Path("good.qx") + " -o " + Path("x.bin") + " --features ZZ", 2, "ZZ"},
        {"image encode " + Path("good.qx") + " -o " + Path("x.bin") + " --bogus", 2, "--bogus"},
        {"image decode a b -o " + Path("x.qx"), 2, "arguments"},
        {"image frob", 2, "image frob"},
        {"listing " + Path("broken.qx") + " -o -", 1, "broken.qx"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = Qxctl(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.inMessage), std::string::npos) << c.args << "\n" << run.err;
        // Exactly one line, and nothing half-written where the output was to go.
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.args << "\n" << run.err;
        EXPECT_EQ(run.out, "") << c.args;
    }
    EXPECT_FALSE(fs::exists(Path("x.bin")));
    EXPECT_FALSE(fs::exists(Path("x.qx")));
}

// Pipes, folders and oversized files are refused at once with what they
// are: nothing waits for a writer or reads without end.
TEST_F(QxctlConvert, OnlyRegularFilesAreRead) {
    SaveSample("good.qx");
    ASSERT_EQ(mkfifo(Path("pipe.bin").c_str(), 0600), 0);
    fs::create_directories(Path("folder.bin"));
    qx::test::WriteFileText(Path("big.bin"), std::string(9000, '\0'));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"pipe.bin", "Cannot open \"" + Path("pipe.bin") + "\": it is not a regular file."},
        {"folder.bin", "Cannot open \"" + Path("folder.bin") + "\": it is a folder."},
        {"big.bin", Path("big.bin") + ": A memory image has 8192 bytes; this one has 9000."},
    };
    for (const auto& [name, message] : cases) {
        const ProgramRun run = Qxctl("image decode " + Path(name) + " -o " + Path("x.qx"));
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_EQ(run.err, "qxctl image decode: " + message + "\n") << name;
    }

    // A companion file or a settings file that is a pipe counts as missing.
    fs::copy_file(Path("good.qx"), Path("piped.qx"));
    ASSERT_EQ(mkfifo(Path("piped.ton").c_str(), 0600), 0);
    fs::create_directories(Path("config/qxprog"));
    ASSERT_EQ(mkfifo(Path("config/qxprog/mysetup.ini").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(Path("config/qxprog/Setting.ini").c_str(), 0600), 0);
    const ProgramRun run = Qxctl("image encode " + Path("piped.qx") + " -o " + Path("x.bin"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(fs::file_size(Path("x.bin")), qx::kImageSize);
}

}  // namespace
