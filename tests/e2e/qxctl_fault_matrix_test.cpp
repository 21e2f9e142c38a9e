// qxctl read, write --no-verify, write and restore against qxsim with one
// fault each, at an early, a middle and the last line of the transfer. Every
// case must end either completed with the radio's data (a read) or with the
// radio holding what was meant (a write), or with a message on stderr and the
// project and backups as they were. The outcome table goes to stdout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/project_file.h"
#include "codeplug/defaults.h"
#include "document_builder.h"
#include "image/hex.h"
#include "image/memory_image.h"
#include "qxctl_fixture.h"
#include "run_program.h"
#include "sim_process.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using qx::test::ProgramRun;
using qx::test::ReadFileText;

constexpr int kModel = 5;
constexpr int kFirstWrittenLine = 16;
// A hung qxctl is ended, and shows up in the table as such, instead of
// hanging the test.
constexpr const char* kHangGuard = "timeout 120 ";
constexpr int kHungExit = 124;

enum class Operation { Read, ReadTwice, WriteNoVerify, Write, Restore };

std::string OperationName(Operation op) {
    switch (op) {
        case Operation::Read:
            return "read";
        case Operation::ReadTwice:
            return "read --double";
        case Operation::WriteNoVerify:
            return "write --no-verify";
        case Operation::Write:
            return "write";
        case Operation::Restore:
            return "restore";
    }
    return "";
}

bool Reads(Operation op) { return op == Operation::Read || op == Operation::ReadTwice; }
bool Writes(Operation op) { return !Reads(op); }
bool Verifies(Operation op) { return op == Operation::Write || op == Operation::Restore; }

Bytes ReadBytes(const fs::path& path) {
    const std::string text = ReadFileText(path);
    return Bytes(text.begin(), text.end());
}

Bytes LineOf(const Bytes& image, int line) {
    const auto from = image.begin() + static_cast<std::ptrdiff_t>(line) * qx::kLineBytes;
    return Bytes(from, from + qx::kLineBytes);
}

// The lines a write of `meant` sends: 16..511, a memory channel's two lines
// only when it is in use (its bit in line 18).
std::vector<int> SentLines(const Bytes& meant) {
    std::vector<int> lines;
    for (int line = kFirstWrittenLine; line < qx::kImageLines; ++line) {
        if (qx::ReadRequestsLine(meant, line)) lines.push_back(line);
    }
    return lines;
}

// One line the program sends, as qxsim's --verbose log names it ("AL~F0100W"
// for a block write, whatever its data).
struct SentLine {
    std::string text;
    char kind;  // 'R' block request, 'W' block write, 'I' identifier, 'E' end line
};

// A read asks for every line in use, `passes` times, then ends.
std::vector<SentLine> ReadSequence(const Bytes& radio, int passes) {
    std::vector<SentLine> lines;
    for (int pass = 0; pass < passes; ++pass) {
        for (int line = 0; line < qx::kImageLines; ++line) {
            if (qx::ReadRequestsLine(radio, line))
                lines.push_back({"AL~F" + qx::LineAddress(line) + "R", 'R'});
        }
    }
    lines.push_back({"AL~E", 'E'});
    return lines;
}

// A write: the identity and password lines 0..4, the identifier, the block
// writes, the end line; with verify, a read session of line 0 and every
// written line, ended by its own end line.
std::vector<SentLine> WriteSequence(const Bytes& meant, bool verify) {
    std::vector<SentLine> lines;
    for (int line = 0; line <= 4; ++line)
        lines.push_back({"AL~F" + qx::LineAddress(line) + "R", 'R'});
    lines.push_back({"PV418", 'I'});
    const std::vector<int> sent = SentLines(meant);
    for (int line : sent) lines.push_back({"AL~F" + qx::LineAddress(line) + "W", 'W'});
    lines.push_back({"AL~E", 'E'});
    if (!verify) return lines;
    lines.push_back({"AL~F" + qx::LineAddress(0) + "R", 'R'});
    for (int line : sent) lines.push_back({"AL~F" + qx::LineAddress(line) + "R", 'R'});
    lines.push_back({"AL~E", 'E'});
    return lines;
}

// What qxsim --verbose logged as answered, in order: "AL~F0100W" for
// "qxsim: AL~F0100W<data> -> 49 bytes".
std::vector<std::string> AnsweredLines(const std::string& log) {
    std::vector<std::string> answered;
    std::istringstream in(log);
    std::string entry;
    while (std::getline(in, entry)) {
        const auto arrow = entry.find(" -> ");
        if (!entry.starts_with("qxsim: ") || arrow == std::string::npos) continue;
        std::string text = entry.substr(7, arrow - 7);
        if (text.starts_with("AL~F") && text.size() > 9) text.resize(9);
        answered.push_back(text);
    }
    return answered;
}

// A fault and where it strikes: `line` counts the lines the radio received,
// from 1; it is the first line the fault acts on.
struct FaultCase {
    std::string kind;
    std::string position;  // early, middle, last; empty for reject-identifier
    int line = 0;

    std::string Rule() const {
        if (kind == "reject-identifier") return kind;
        // "After N": the line the fault acts on is N + 1.
        if (kind == "silent-after" || kind == "power-loss")
            return kind + ":" + std::to_string(line - 1);
        return kind + ":" + std::to_string(line);
    }
};

// The cases of one operation: each fault at the second, the middle and the
// last of the lines it can act on (replies of any kind; block replies for a
// wrong address; block writes for a refused or a badly stored write).
std::vector<FaultCase> CasesFor(Operation op, const std::vector<SentLine>& sequence) {
    std::vector<int> answered, requests, writes;
    for (std::size_t i = 0; i < sequence.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (sequence[i].kind != 'E') answered.push_back(number);
        if (sequence[i].kind == 'R') requests.push_back(number);
        if (sequence[i].kind == 'W') writes.push_back(number);
    }
    std::vector<FaultCase> cases;
    const auto positions = [&](const std::string& kind, const std::vector<int>& lines) {
        cases.push_back({kind, "early", lines.at(1)});
        cases.push_back({kind, "middle", lines.at(lines.size() / 2)});
        cases.push_back({kind, "last", lines.back()});
    };
    positions("drop", answered);
    positions("corrupt", answered);
    // Damaged data on the identity line (the model code) and, in a read, on
    // line 16 (the options) has nothing a check could doubt, unlike a
    // channel record or the password.
    for (const int line : Writes(op) ? std::vector<int>{0} : std::vector<int>{0, 16}) {
        const std::string request = "AL~F" + qx::LineAddress(line) + "R";
        const auto at = std::find_if(sequence.begin(), sequence.end(),
                                     [&](const SentLine& s) { return s.text == request; });
        cases.push_back({"corrupt", "line " + std::to_string(line),
                         static_cast<int>(at - sequence.begin()) + 1});
    }
    positions("wrong-address", requests);
    if (Writes(op)) {
        positions("error-write", writes);
        positions("store-corrupt", writes);
        cases.push_back({"reject-identifier", "", 0});
    }
    positions("silent-after", answered);
    positions("power-loss", answered);
    return cases;
}

// How one run ended, judged against what it was meant to do.
struct Outcome {
    int exitCode = -1;
    std::string message;             // the last line of stderr when the command failed
    std::vector<std::string> wrong;  // what is not as it must be
};

std::string LastLine(const std::string& text) {
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == '\n') trimmed.pop_back();
    const auto at = trimmed.rfind('\n');
    return at == std::string::npos ? trimmed : trimmed.substr(at + 1);
}

class RadioRuns : public qx::test::QxctlFixture {
  protected:
    void SetUp() override {
        QxctlFixture::SetUp();
        // P: the project a write sends and a read finds in the radio.
        MakeProject("P", {{2, "AB1"}, {5, "RPT"}, {50, "OPT"}, {100, "LAST"}});
        // Q: another one, the backup a restore puts back.
        MakeProject("Q", {{3, "Q3"}, {7, "Q7"}, {60, "Q60"}});
        const qx::ImageEncoding fresh =
            qx::EncodeImage(qx::NewCodeplug(kModel), qx::test::kAllFeatures);
        ASSERT_TRUE(fresh.problems.empty());
        fresh_ = fresh.image;
        // What a read of the radio holding P must give.
        const ProgramRun decode = Qxctl("image decode " + Path("P.bin") + " -o " + Path("D.qx"));
        ASSERT_EQ(decode.exitCode, 0) << decode.err;
    }

    void MakeProject(const std::string& name,
                     const std::vector<std::pair<int, std::string>>& rows) {
        qx::Codeplug c = qx::NewCodeplug(kModel);
        for (const auto& [row, text] : rows) {
            qx::PutInUse(c.Row(row), kModel);
            c.Row(row).name = text;
        }
        c.Row(rows.front().first).rxTone = *qx::Tone::Parse("C:88.5");
        c.Row(rows.back().first).bandwidth = qx::Bandwidth::Narrow;
        ASSERT_EQ(qx::WriteProject(c, Path(name + ".qx")), "");
        const ProgramRun encode = Qxctl("image encode " + Path(name + ".qx") + " -o " +
                                        Path(name + ".bin") + " --features E0");
        ASSERT_EQ(encode.exitCode, 0) << encode.err;
    }

    // What the radio holds when the operation starts, and what it is meant
    // to hold after it (a read leaves it as it is).
    Bytes RadioBefore(Operation op) const {
        return Reads(op) || op == Operation::Restore ? ReadBytes(Path("P.bin")) : fresh_;
    }
    Bytes Meant(Operation op) const {
        if (op == Operation::Restore) return ReadBytes(Path("Q.bin"));
        return ReadBytes(Path("P.bin"));
    }
    std::vector<SentLine> Sequence(Operation op) const {
        if (Reads(op)) return ReadSequence(RadioBefore(op), op == Operation::ReadTwice ? 2 : 1);
        return WriteSequence(Meant(op), Verifies(op));
    }

    std::string Command(Operation op, const std::string& port) {
        switch (op) {
            case Operation::Read:
                return "read --port " + port + " -o " + Path("R.qx");
            case Operation::ReadTwice:
                return "read --double --port " + port + " -o " + Path("R.qx");
            case Operation::WriteNoVerify:
                return "write --port " + port + " " + Path("P.qx") + " --no-verify";
            case Operation::Write:
                return "write --port " + port + " " + Path("P.qx");
            case Operation::Restore:
                return "restore --port " + port + " " + Path("Q.bin");
        }
        return "";
    }

    ProgramRun Guarded(const std::string& args) {
        return qx::test::RunProgram(std::string(kHangGuard) + QXCTL_PATH, args,
                                    fs::path(Path("radio.bin")).parent_path());
    }

    std::vector<fs::path> Backups() {
        std::vector<fs::path> found;
        if (!fs::exists(Path("data/qxprog/backups"))) return found;
        for (const auto& entry : fs::directory_iterator(Path("data/qxprog/backups")))
            found.push_back(entry.path());
        std::sort(found.begin(), found.end());
        return found;
    }

    // What is wrong with the radio after a write that completed: a sent line
    // that differs from the meant one, or a line below 16 that changed
    // (those are never written).
    std::vector<std::string> WriteDifferences(Operation op, const Bytes& radio) const {
        std::vector<std::string> wrong;
        const Bytes meant = Meant(op);
        const Bytes before = RadioBefore(op);
        for (int line : SentLines(meant)) {
            if (LineOf(radio, line) != LineOf(meant, line))
                wrong.push_back("line " + std::to_string(line) + " differs from the one sent");
        }
        for (int line = 0; line < kFirstWrittenLine; ++line) {
            if (LineOf(radio, line) != LineOf(before, line))
                wrong.push_back("line " + std::to_string(line) + " changed");
        }
        return wrong;
    }

    // A read that completed: the project is the radio's, and the one new
    // backup holds the radio's memory. A single read takes a line no field
    // of the program reads as it arrives (the protocol has no checksum and
    // nothing there can be judged): its backup is the radio's in every
    // value and in the identity and password lines, and exact only when
    // read twice.
    std::vector<std::string> ReadDifferences(Operation op,
                                             const std::vector<fs::path>& backupsBefore) {
        std::vector<std::string> wrong;
        if (ReadFileText(Path("R.qx")) != ReadFileText(Path("D.qx")) ||
            ReadFileText(Path("R.ton")) != ReadFileText(Path("D.ton")))
            wrong.push_back("the project read is not the radio's");
        const std::vector<fs::path> backups = Backups();
        if (backups.size() != backupsBefore.size() + 1) {
            wrong.push_back("not exactly one new backup");
        } else {
            std::vector<fs::path> added;
            std::set_difference(backups.begin(), backups.end(), backupsBefore.begin(),
                                backupsBefore.end(), std::back_inserter(added));
            const Bytes radio = RadioBefore(op);
            const Bytes backup = added.size() == 1 ? ReadBytes(added.front()) : Bytes{};
            const bool same = op == Operation::ReadTwice
                                  ? backup == radio
                                  : backup.size() == radio.size() &&
                                        qx::DecodeImage(backup, kModel).codeplug ==
                                            qx::DecodeImage(radio, kModel).codeplug &&
                                        LineOf(backup, 0) == LineOf(radio, 0) &&
                                        LineOf(backup, 4) == LineOf(radio, 4);
            if (!same) wrong.push_back("the backup is not the radio's memory");
        }
        return wrong;
    }

    // Runs `command` and judges it; the radio (qxsim) is left running.
    Outcome RunAndJudge(Operation op, const std::string& command) {
        // The files a failed command must leave as they were: the project a
        // read would replace (an older read), the project or image written.
        fs::copy_file(Path("Q.qx"), Path("R.qx"), fs::copy_options::overwrite_existing);
        fs::copy_file(Path("Q.ton"), Path("R.ton"), fs::copy_options::overwrite_existing);
        const std::vector<std::string> kept = {"R.qx", "R.ton", "P.qx", "P.ton", "Q.bin"};
        std::vector<std::string> keptBefore;
        for (const auto& name : kept) keptBefore.push_back(ReadFileText(Path(name)));
        const std::vector<fs::path> backupsBefore = Backups();
        const Bytes radioBefore = ReadBytes(Path("radio.bin"));

        const ProgramRun run = Guarded(command);
        Outcome outcome;
        outcome.exitCode = run.exitCode;
        if (run.exitCode == kHungExit) {
            outcome.wrong.push_back("qxctl hung");
            return outcome;
        }
        const Bytes radio = ReadBytes(Path("radio.bin"));
        if (run.exitCode == 0) {
            outcome.wrong =
                Writes(op) ? WriteDifferences(op, radio) : ReadDifferences(op, backupsBefore);
            if (!run.err.ends_with("Completed: 100%\n") && Writes(op))
                outcome.wrong.push_back("no 100% at the end");
            return outcome;
        }
        outcome.message = LastLine(run.err);
        const std::string prefix = "qxctl " + command.substr(0, command.find(' ')) + ": ";
        if (!outcome.message.starts_with(prefix) || outcome.message.size() <= prefix.size() + 10)
            outcome.wrong.push_back("no clear message");
        outcome.message.erase(0, std::min(outcome.message.size(), prefix.size()));
        if (run.exitCode != 1) outcome.wrong.push_back("exit code " + std::to_string(run.exitCode));
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (ReadFileText(Path(kept[i])) != keptBefore[i])
                outcome.wrong.push_back(kept[i] + " changed");
        }
        if (!Writes(op)) {
            if (Backups() != backupsBefore) outcome.wrong.push_back("a backup was stored");
            if (radio != radioBefore) outcome.wrong.push_back("a read changed the radio");
        } else if (radio != radioBefore &&
                   outcome.message.find("partly written") == std::string::npos &&
                   !outcome.message.starts_with("Verify failed:")) {
            // A failed write that changed the radio says so.
            outcome.wrong.push_back("the radio changed and the message does not say so");
        }
        return outcome;
    }

    struct CaseRun {
        Outcome first;
        std::optional<Outcome> again;  // power loss: the same command once more
        std::string simLog;
    };

    CaseRun RunCase(Operation op, const std::optional<FaultCase>& fault) {
        const Bytes before = RadioBefore(op);
        qx::test::WriteFileText(Path("radio.bin"), std::string(before.begin(), before.end()));
        std::vector<std::string> args = {"--verbose", "--image", Path("radio.bin")};
        if (fault) args.insert(args.end(), {"--fault", fault->Rule()});
        CaseRun result;
        {
            qx::test::SimProcess sim(QXSIM_PATH, args, Path("sim.log"));
            if (!sim.Started()) {
                result.first.wrong.push_back("qxsim did not start: " + sim.Error());
                return result;
            }
            result.first = RunAndJudge(op, Command(op, sim.Path()));
            // The radio comes back when the port is opened again.
            if (fault && fault->kind == "power-loss" && result.first.exitCode != 0)
                result.again = RunAndJudge(op, Command(op, sim.Path()));
            sim.Stop();
        }
        result.simLog = ReadFileText(Path("sim.log"));
        return result;
    }

  private:
    Bytes fresh_;  // a new radio of the model: what a write finds
};

struct MatrixShard {
    Operation op;
    std::string kind;  // a fault kind, or "none" for the clean run
};

void PrintTo(const MatrixShard& shard, std::ostream* out) {
    *out << OperationName(shard.op) << " / " << shard.kind;
}

class FaultMatrix : public RadioRuns, public ::testing::WithParamInterface<MatrixShard> {};

std::string Describe(const Outcome& outcome) {
    std::string text = outcome.exitCode == 0 ? "completed" : "message: " + outcome.message;
    for (const auto& wrong : outcome.wrong) text += " [WRONG: " + wrong + "]";
    return text;
}

TEST_P(FaultMatrix, EveryCaseCompletesRightOrEndsWithItsMessage) {
    const auto& [op, kind] = GetParam();
    const std::vector<SentLine> sequence = Sequence(op);

    if (kind == "none") {
        // The clean run completes, and the radio answers exactly the lines
        // the fault positions are computed from.
        const CaseRun clean = RunCase(op, std::nullopt);
        EXPECT_EQ(clean.first.exitCode, 0) << Describe(clean.first);
        EXPECT_TRUE(clean.first.wrong.empty()) << Describe(clean.first);
        std::vector<std::string> expected;
        for (const auto& line : sequence) {
            if (line.kind != 'E') expected.push_back(line.text);
        }
        EXPECT_EQ(AnsweredLines(clean.simLog), expected);
        std::printf("\n| operation | fault | position (line) | outcome |\n|---|---|---|---|\n");
        std::printf("| %s | none | - | %s |\n", OperationName(op).c_str(),
                    Describe(clean.first).c_str());
        return;
    }

    for (const FaultCase& fault : CasesFor(op, sequence)) {
        if (fault.kind != kind) continue;
        SCOPED_TRACE(OperationName(op) + " --fault " + fault.Rule());
        const CaseRun run = RunCase(op, fault);
        const std::string where =
            fault.position.empty()
                ? "-"
                : fault.position + " (" + std::to_string(fault.line) + ": " +
                      sequence.at(static_cast<std::size_t>(fault.line - 1)).text + ")";
        std::string outcome = Describe(run.first);
        if (run.again) outcome += "; run again: " + Describe(*run.again);
        std::printf("| %s | %s | %s | %s |\n", OperationName(op).c_str(), fault.kind.c_str(),
                    where.c_str(), outcome.c_str());
        std::fflush(stdout);

        if (fault.kind == "store-corrupt" && op == Operation::WriteNoVerify) {
            // Nothing reads the line back: the write reports success while
            // the radio holds another byte. This is why writes verify.
            EXPECT_EQ(run.first.exitCode, 0) << Describe(run.first);
            EXPECT_FALSE(run.first.wrong.empty()) << Describe(run.first);
            continue;
        }
        EXPECT_TRUE(run.first.wrong.empty()) << Describe(run.first);
        if (fault.kind == "store-corrupt") {
            EXPECT_NE(run.first.exitCode, 0);
            EXPECT_TRUE(run.first.message.starts_with("Verify failed:")) << run.first.message;
        }
        if (fault.kind == "power-loss") {
            // The radio comes back when the port is opened again.
            ASSERT_TRUE(run.again.has_value()) << Describe(run.first);
            EXPECT_EQ(run.again->exitCode, 0) << Describe(*run.again);
            EXPECT_TRUE(run.again->wrong.empty()) << Describe(*run.again);
        }
    }
}

// One test per operation and fault kind, so that ctest runs them side by
// side; run the program itself for the whole table in order.
std::vector<MatrixShard> Shards() {
    std::vector<MatrixShard> shards;
    for (const Operation op : {Operation::Read, Operation::ReadTwice, Operation::WriteNoVerify,
                               Operation::Write, Operation::Restore}) {
        for (const char* kind :
             {"none", "drop", "corrupt", "wrong-address", "error-write", "store-corrupt",
              "reject-identifier", "silent-after", "power-loss"}) {
            const std::string k = kind;
            const bool writeOnly =
                k == "error-write" || k == "store-corrupt" || k == "reject-identifier";
            if (!writeOnly || Writes(op)) shards.push_back({op, k});
        }
    }
    return shards;
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultMatrix, ::testing::ValuesIn(Shards()),
                         [](const ::testing::TestParamInfo<MatrixShard>& info) {
                             std::string name;
                             for (const char c :
                                  OperationName(info.param.op) + " " + info.param.kind) {
                                 if (std::isalnum(static_cast<unsigned char>(c)))
                                     name += c;
                                 else if (!name.empty() && name.back() != '_')
                                     name += '_';
                             }
                             return name;
                         });

// A read stores the radio's memory as a backup; restoring it into a radio
// changed since puts back every line a write sends. Lines 0..15 are never
// written (line 4, the password, only with a new password), nor are the
// records of channels the backup has not in use: those keep what the changed
// radio held, and the in-use bits restored make them unused again.
TEST_F(RadioRuns, ARestoredReadBackupGivesBackTheRadiosMemory) {
    const Bytes original = ReadBytes(Path("P.bin"));
    qx::test::WriteFileText(Path("radio.bin"), std::string(original.begin(), original.end()));
    qx::test::SimProcess sim(QXSIM_PATH, {"--image", Path("radio.bin")});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    const std::string port = " --port " + sim.Path() + " ";

    const ProgramRun read = Qxctl("read" + port + "-o " + Path("R.qx"));
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const std::vector<fs::path> backups = Backups();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ReadBytes(backups[0]), original);
    EXPECT_TRUE(read.err.ends_with("Backup: " + backups[0].string() + "\n")) << read.err;

    const ProgramRun change = Qxctl("write" + port + Path("Q.qx"));
    ASSERT_EQ(change.exitCode, 0) << change.err;
    const Bytes changed = ReadBytes(Path("radio.bin"));
    ASSERT_NE(changed, original);

    const ProgramRun restore = Qxctl("restore" + port + backups[0].string());
    ASSERT_EQ(restore.exitCode, 0) << restore.err;
    const Bytes restored = ReadBytes(Path("radio.bin"));
    const std::vector<int> sent = SentLines(original);
    for (int line = 0; line < qx::kImageLines; ++line) {
        const bool wasSent = std::find(sent.begin(), sent.end(), line) != sent.end();
        EXPECT_EQ(LineOf(restored, line), LineOf(wasSent ? original : changed, line))
            << "line " << line << (wasSent ? " (sent)" : " (not sent)");
    }
    // Neither the write nor the restore stored a backup of its own.
    EXPECT_EQ(Backups(), backups);

    // Read again, the radio gives the project first read.
    const ProgramRun again = Qxctl("read" + port + "-o " + Path("R2.qx"));
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(ReadFileText(Path("R2.qx")), ReadFileText(Path("R.qx")));
    EXPECT_EQ(ReadFileText(Path("R2.ton")), ReadFileText(Path("R.ton")));
    EXPECT_FALSE(ReadFileText(Path("R.qx")).empty());
}

}  // namespace
