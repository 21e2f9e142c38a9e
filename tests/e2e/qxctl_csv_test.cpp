// qxctl csv export/import run as a user runs them: the files they write,
// the summary on stderr and the exit codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/csv_import.h"
#include "app/project_file.h"
#include "codeplug/defaults.h"
#include "document_builder.h"
#include "files/peer_csv.h"
#include "qxctl_fixture.h"
#include "run_program.h"

namespace {

namespace fs = std::filesystem;
using qx::test::ProgramRun;
using qx::test::ReadFileText;

const fs::path kGolden = fs::path(QX_SOURCE_DIR) / "tests" / "data" / "csv" / "import_model3.csv";

class QxctlCsv : public qx::test::QxctlFixture {
  protected:
    qx::Codeplug Open(const std::string& name) {
        qx::Document doc = qx::test::LoadedDocument(3);
        qx::test::ScriptedUi ui;
        EXPECT_EQ(qx::OpenProject(doc, Path(name), ui), qx::OpenOutcome::Opened);
        return doc.codeplug();
    }
};

TEST_F(QxctlCsv, ImportPrintsTheSummaryAndWritesWhatTheCorePlans) {
    const ProgramRun run = Qxctl("csv import " + kGolden.string() + " --model 3 -o " +
                                 Path("out.qx") + " --language english.ini");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const qx::CsvImportPlan plan = qx::PlanCsvImport(qx::NewCodeplug(3), qx::ReadCsvFile(kGolden));
    std::string summary;
    for (const std::string& line : qx::CsvSummaryLines(plan, qx::test::EnglishTexts()))
        summary += line + "\n";
    EXPECT_EQ(run.err, summary);
    EXPECT_NE(run.err.find("Line 29, Mode: skipped, the radio cannot use the mode \"AM\"\n"),
              std::string::npos);
    EXPECT_EQ(Open("out.qx"), plan.result);

    // The project exports to what the core writes for it.
    const ProgramRun exported = Qxctl("csv export " + Path("out.qx") + " -o -");
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out, qx::WriteCsv(plan.result));
    const ProgramRun toFile = Qxctl("csv export " + Path("out.qx") + " -o " + Path("out.csv"));
    ASSERT_EQ(toFile.exitCode, 0) << toFile.err;
    EXPECT_EQ(ReadFileText(Path("out.csv")), exported.out);
}

TEST_F(QxctlCsv, ImportIntoAProjectKeepsItsOtherChannels) {
    qx::Codeplug base = qx::NewCodeplug(3);
    qx::PutInUse(base.Memory(50), 3);
    base.Memory(50).name = "KEEP";
    ASSERT_EQ(qx::WriteProject(base, Path("base.qx")), "");
    qx::test::WriteFileText(Path("in.csv"), "Location,Name,Frequency\r\n1,NEW,146.525\r\n");
    const ProgramRun run = Qxctl("csv import " + Path("in.csv") + " --into " + Path("base.qx") +
                                 " -o " + Path("out.qx") + " --strict --language english.ini");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "1 imported (0 of them changed), 0 skipped\n");
    const qx::Codeplug out = Open("out.qx");
    EXPECT_EQ(out.Memory(50), base.Memory(50));
    EXPECT_EQ(out.Memory(1).name, "NEW");
    EXPECT_TRUE(out.Memory(1).inUse);
}

TEST_F(QxctlCsv, StrictFailsWhenARowIsSkippedAndWritesNothing) {
    const ProgramRun run = Qxctl("csv import " + kGolden.string() + " --model 3 -o " +
                                 Path("out.qx") + " --strict --language english.ini");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("30 imported (7 of them changed), 9 skipped\nqxctl csv import: rows "
                           "were skipped: " +
                           Path("out.qx") + " is not written (--strict)\n"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(Path("out.qx")));
}

TEST_F(QxctlCsv, BadInputAndBadArguments) {
    qx::test::WriteFileText(Path("bin.csv"), std::string("\0\1\2\3", 4));
    qx::test::WriteFileText(Path("ok.csv"), "Frequency\n146.525\n");
    ASSERT_EQ(qx::WriteProject(qx::NewCodeplug(3), Path("p.qx")), "");
    struct Case {
        std::string args;
        int exitCode;
        std::string err;  // the whole of stderr
    };
    const std::string out = " -o " + Path("out.qx") + " --language english.ini";
    const std::vector<Case> cases = {
        {"csv import " + Path("bin.csv") + out, 1,
         "qxctl csv import: " + Path("bin.csv") +
             ": The file is not a text file. Nothing was imported.\n"},
        {"csv import " + Path("p.qx") + out, 1,
         "qxctl csv import: " + Path("p.qx") +
             ": The first line is not a header with a Frequency column. Nothing was imported.\n"},
        {"csv import " + Path("ok.csv") + " --model 3 --into " + Path("p.qx") + out, 2,
         "qxctl csv import: --into and --model exclude each other (usage: qxctl csv import "
         "FILE.csv [--into PROJECT.qx | --model N] -o OUT.qx [--strict] [--language FILE])\n"},
        {"csv import " + Path("ok.csv") + " --model 32" + out, 2,
         "qxctl csv import: --model takes a model number 0..31 as \"qxctl models\" lists them, "
         "not \"32\" (usage: qxctl csv import FILE.csv [--into PROJECT.qx | --model N] -o "
         "OUT.qx [--strict] [--language FILE])\n"},
        {"csv import " + Path("ok.csv") + " -o -", 2,
         "qxctl csv import: a project needs a file name, not \"-\" (usage: qxctl csv import "
         "FILE.csv [--into PROJECT.qx | --model N] -o OUT.qx [--strict] [--language FILE])\n"},
        {"csv export " + Path("p.qx"), 2,
         "qxctl csv export: missing -o OUTPUT (usage: qxctl csv export PROJECT.qx -o FILE.csv "
         "[--language FILE])\n"},
        {"csv frob", 2, "qxctl: unknown command \"csv frob\" (see qxctl csv --help)\n"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Qxctl(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args;
        EXPECT_EQ(run.err, c.err) << c.args;
        EXPECT_FALSE(fs::exists(Path("out.qx"))) << c.args;
    }
    // A missing input names the file.
    const ProgramRun missing = Qxctl("csv import " + Path("none.csv") + out);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("none.csv"), std::string::npos) << missing.err;
    const ProgramRun noProject = Qxctl("csv export " + Path("none.qx") + " -o " + Path("x.csv"));
    EXPECT_EQ(noProject.exitCode, 1);
    EXPECT_NE(noProject.err.find("none.qx"), std::string::npos) << noProject.err;
}

}  // namespace
