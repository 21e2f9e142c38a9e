// qxctl image encode/decode and listing, run as a user runs them, checked
// against the core they are shells over.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "document_builder.h"
#include "files/listing.h"
#include "files/project_file.h"
#include "image/image_codec.h"
#include "qxctl_fixture.h"
#include "run_program.h"

namespace {

namespace fs = std::filesystem;
using qx::test::ProgramRun;
using qx::test::ReadFileText;

class QxctlConvert : public qx::test::QxctlFixture {
  protected:
    // A model-5 project with more than the defaults: a second active channel
    // with a name, tones, an offset and an option signal, and a changed option record.
    qx::Document WriteProject(const std::string& name) {
        qx::Document doc = qx::test::LoadedDocument(5);
        doc.Cell(3, qx::kColStatus) = doc.texts.active;
        qx::ReadBuffer(doc, 3);
        doc.Cell(3, qx::kColName) = "ab-1";
        doc.Cell(3, qx::kColRxTone) = "C:88.5";
        doc.Cell(3, qx::kColTxTone) = "D:023N";
        doc.Cell(3, qx::kColTxFreq) = "146.0000";
        doc.Cell(3, qx::kColOptSignal) = "DTMF";
        doc.Table(3, qx::kColSignalCode) = "3";
        doc.strSetup.replace(doc.strSetup.find("|Frequency|"), 11, "|Channel|");
        EXPECT_EQ(qx::SaveProject(doc, Path(name)), "");
        return doc;
    }
};

TEST_F(QxctlConvert, EncodeWritesWhatTheCoreEncodesAndDecodeReadsItBack) {
    qx::Document doc = WriteProject("a.qx");
    const ProgramRun encode =
        Qxctl("image encode " + Path("a.qx") + " -o " + Path("a.bin") + " --features E0");
    ASSERT_EQ(encode.exitCode, 0) << encode.err;
    EXPECT_EQ(encode.err, "");

    qx::test::ScriptedUi ui;
    const auto expected = qx::EncodeImage(doc, qx::test::kAllFeatures, ui);
    ASSERT_TRUE(expected.has_value());
    const std::string image = ReadFileText(Path("a.bin"));
    EXPECT_EQ(image, std::string(expected->begin(), expected->end()));

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

TEST_F(QxctlConvert, ListingGoesToAFileOrStandardOutput) {
    qx::Document doc = WriteProject("a.qx");
    qx::test::ScriptedUi ui;
    ASSERT_EQ(qx::OpenProject(doc, Path("a.qx"), ui), qx::OpenOutcome::Opened);
    const std::string expected =
        qx::ListingFileText(qx::BuildListing(doc, qx::ListingTarget::File));

    const ProgramRun toStdout = Qxctl("listing " + Path("a.qx") + " -o - --language english.ini");
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, expected);
    EXPECT_NE(toStdout.out.find("ab-1"), std::string::npos);

    const ProgramRun toFile = Qxctl("listing " + Path("a.qx") + " -o " + Path("a.txt"));
    ASSERT_EQ(toFile.exitCode, 0) << toFile.err;
    EXPECT_EQ(ReadFileText(Path("a.txt")), expected);
}

TEST_F(QxctlConvert, BadInputFailsWithOneClearLine) {
    WriteProject("good.qx");
    qx::test::WriteFileText(Path("short.bin"), std::string(100, '\0'));
    qx::test::WriteFileText(Path("broken.qx"), "0|Active|only a few fields|\r\r\n");
    std::string badSetup = ReadFileText(Path("good.qx"));
    const auto setupAt = badSetup.find("setup|");
    badSetup.replace(setupAt, badSetup.find('\r', setupAt) - setupAt, "setup|too|short");
    qx::test::WriteFileText(Path("setup.qx"), badSetup);

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

}  // namespace
