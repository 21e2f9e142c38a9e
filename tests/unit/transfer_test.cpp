// The read/write transfer against the simulated radio on a manual clock:
// which lines go out, in what order and when, and how each failure ends.
#include "app/transfer_commands.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/channel_ops.h"
#include "codeplug/defaults.h"
#include "document_builder.h"
#include "document_state.h"
#include "image/memory_image.h"
#include "link/simulated_link.h"
#include "link/simulated_radio.h"
#include "manual_clock.h"
#include "scripted_ui.h"
#include "temp_dir.h"

namespace qx {
namespace {

using test::EnglishTexts;
using test::LoadedDocument;
using test::ManualClock;
using test::ScriptedUi;
using test::StateOf;
using ms = std::chrono::milliseconds;

// A link that passes everything to the simulated one and notes each line
// sent with the time it went out.
class SpyLink final : public SerialLink {
  public:
    SpyLink(SerialLink& inner, const ManualClock& clock) : inner_(inner), clock_(clock) {}
    void SetEvents(SerialEvents* events) override { inner_.SetEvents(events); }
    std::string Open(const std::string& port, const std::string& settings) override {
        ++opens;
        return inner_.Open(port, settings);
    }
    bool IsOpen() const override { return inner_.IsOpen(); }
    void Close() override { inner_.Close(); }
    void DiscardInput() override { inner_.DiscardInput(); }
    void SetReceiveThreshold(std::size_t bytes) override { inner_.SetReceiveThreshold(bytes); }
    std::string Write(std::string_view bytes) override {
        std::string line(bytes);
        if (line.size() >= 2) line.resize(line.size() - 2);  // CR LF
        lines.emplace_back(clock_.Now(), line);
        return inner_.Write(bytes);
    }

    std::vector<std::pair<ms, std::string>> lines;
    int opens = 0;

  private:
    SerialLink& inner_;
    const ManualClock& clock_;
};

int BlockOf(const std::string& line) { return std::stoi(line.substr(4, 4), nullptr, 16) / 16; }

// Blocks of the lines that start with "AL~F" and end in `kind` ('R' or 'W' at 8).
std::vector<int> Blocks(const SpyLink& link, char kind) {
    std::vector<int> blocks;
    for (const auto& [when, line] : link.lines) {
        if (line.size() >= 9 && line.rfind("AL~F", 0) == 0 && line[8] == kind)
            blocks.push_back(BlockOf(line));
    }
    return blocks;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> r;
    for (int b = first; b <= last; ++b) r.push_back(b);
    return r;
}

// A radio holding what writing `source` leaves in it.
SimulatedRadio RadioHolding(const Codeplug& source) {
    return SimulatedRadio(EncodeImage(source, test::kAllFeatures).image);
}

class TransferTest : public ::testing::Test {
  protected:
    TransferTest() { session.portName = kSimPortName; }

    Transfer& Open(TransferMode mode) {
        transfer.reset();
        if (mode == TransferMode::Write) CheckWriteChannels(doc, ui);  // as the menu entry does
        transfer =
            std::make_unique<Transfer>(mode, doc.codeplug(), session, link, clock, ui, texts);
        transfer->Load();
        return *transfer;
    }
    TransferResult Run(TransferMode mode) {
        Open(mode).Start();
        clock.RunUntilIdle();
        return transfer->Result();
    }
    // A write's first lines: the pre-read of blocks 0..4 and the identifier.
    std::vector<std::string> Head(std::size_t n) const {
        std::vector<std::string> head;
        for (std::size_t i = 0; i < n && i < link.lines.size(); ++i)
            head.push_back(link.lines[i].second.substr(0, 9));
        return head;
    }

    Document doc = LoadedDocument(3);
    Session session;
    ScriptedUi ui;
    ManualClock clock;
    SimulatedRadio radio{3, 0xE0, ""};
    SimulatedLink sim{radio, clock, 9600};  // replies take their time on the wire
    SpyLink link{sim, clock};
    TransferTexts texts = TransferTexts::From(EnglishTexts());
    std::unique_ptr<Transfer> transfer;
};

TEST(TransferLines, AddressesAndProgressAreFormattedExactly) {
    EXPECT_EQ(BlockRequestLine(5), "AL~F0050R\r\n");
    EXPECT_EQ(BlockRequestLine(32), "AL~F0200R\r\n");
    EXPECT_EQ(BlockRequestLine(511), "AL~F1FF0R\r\n");
    EXPECT_EQ(BlockWriteLine(16, "00"), "AL~F0100W00");
    const std::pair<int, const char*> progress[] = {
        {0, "0%"}, {64, "13%"}, {128, "25%"}, {511, "100%"}, {512, "100%"}};
    for (const auto& [block, text] : progress) EXPECT_EQ(ProgressPercent(block), text) << block;
}

TEST_F(TransferTest, ReadSkipsChannelsNotInUseAndLeavesTheImageForTheDocument) {
    Document source = LoadedDocument(3);
    for (int row = 1; row <= kChannelRows; ++row) SetRowInUse(source, row, row == 1 || row == 100);
    source.Change({StepKind::ChannelEdit, 100, ChannelField::Name},
                  [](Codeplug& c) { c.Memory(99).name = "LAST"; });
    radio = RadioHolding(source.codeplug());
    const auto before = StateOf(doc);

    EXPECT_EQ(Run(TransferMode::Read), TransferResult::Completed);
    std::vector<int> expected = Range(0, 33);
    for (int b : Range(230, 511)) expected.push_back(b);
    EXPECT_EQ(Blocks(link, 'R'), expected);
    EXPECT_EQ(link.lines.back().second, "AL~E");
    EXPECT_EQ(ui.messages.back(), texts.done);
    EXPECT_EQ(transfer->Image(), radio.Memory()) << "every line the radio holds";
    EXPECT_EQ(transfer->ProgressValue(), 512);
    EXPECT_TRUE(transfer->Unloaded());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(StateOf(doc), before) << "the transfer never touches the document";

    // Applied when the window has closed: the decoded codeplug, one clean step,
    // and the image as received kept as the one new backup.
    const Document open = doc;
    doc.filename = "old.qx";
    const test::TempDir backups;
    session.paths.backupDir = backups.Path() / "backups";
    const std::filesystem::path backup = FinishTransfer(doc, session, *transfer, ui);
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(session.paths.backupDir),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(backup.parent_path(), session.paths.backupDir);
    EXPECT_TRUE(backup.filename().string().ends_with("-model3-read.img")) << backup;
    const std::string stored = test::ReadBytes(backup);
    EXPECT_EQ(std::vector<std::uint8_t>(stored.begin(), stored.end()), radio.Memory());
    EXPECT_EQ(doc.codeplug(), DecodeImage(radio.Memory(), 7).codeplug);
    EXPECT_TRUE(doc.codeplug().Memory(0).inUse);
    EXPECT_FALSE(doc.codeplug().Memory(1).inUse);
    EXPECT_EQ(doc.codeplug().Memory(99).name, "LAST");
    EXPECT_FALSE(doc.Modified()) << "the document is what the radio holds";
    ASSERT_TRUE(doc.UndoStep().has_value());
    EXPECT_EQ(doc.UndoStep()->kind, StepKind::Read);
    EXPECT_EQ(doc.filename, kNoFileName);
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.codeplug(), open.codeplug()) << "one Undo takes the read back";
    EXPECT_TRUE(doc.Modified());
}

TEST_F(TransferTest, TheSignallingMenusFollowTheFeaturesTheRadioReported) {
    radio = SimulatedRadio(3, 0x20, "");  // DTMF only
    EXPECT_EQ(Run(TransferMode::Read), TransferResult::Completed);
    EXPECT_EQ(session.featureFlags, (FeatureFlags{false, false, true, false}));
    FinishTransfer(doc, session, *transfer, ui);
    EXPECT_EQ(doc.menus, (SignallingMenus{true, false, false}));
    EXPECT_EQ(doc.optSignalList, (std::vector<std::string>{"None", "DTMF", "DTMF-ANI"}));

    // Before a write too, from its pre-read.
    radio = SimulatedRadio(3, 0xC0, "");
    EXPECT_EQ(Run(TransferMode::Write), TransferResult::Completed);
    EXPECT_EQ(session.featureFlags, (FeatureFlags{true, true, false, false}));
    FinishTransfer(doc, session, *transfer, ui);
    EXPECT_EQ(doc.menus, (SignallingMenus{false, true, true}));
}

TEST_F(TransferTest, AReadThatDoesNotCompleteLeavesTheDocumentAndItsHistory) {
    SetRowInUse(doc, 5, true);  // a document with a history to keep
    doc.Change({StepKind::Options}, [](Codeplug& c) { c.options.mrNumber = 9; });
    doc.filename = "mine.qx";
    const auto before = StateOf(doc);
    const test::TempDir backups;
    session.paths.backupDir = backups.Path();
    const auto finishedAsBefore = [&](TransferResult result) {
        EXPECT_EQ(transfer->Result(), result);
        EXPECT_EQ(FinishTransfer(doc, session, *transfer, ui), std::filesystem::path());
        EXPECT_EQ(StateOf(doc), before);
        EXPECT_TRUE(std::filesystem::is_empty(backups.Path())) << "no backup of a partial read";
    };

    radio.AddFault({FaultKind::SilentAfter, 0});
    EXPECT_EQ(Run(TransferMode::Read), TransferResult::NoAnswer);
    finishedAsBefore(TransferResult::NoAnswer);

    radio = SimulatedRadio(3, 0xE0, "");
    std::string error;
    for (const Fault& f : ParseFaultRule("drop:3-5", error)) radio.AddFault(f);
    EXPECT_EQ(Run(TransferMode::Read), TransferResult::ReadFailed);
    finishedAsBefore(TransferResult::ReadFailed);

    radio = SimulatedRadio(3, 0xE0, "");
    Open(TransferMode::Read).Start();
    clock.Advance(ms(300));
    transfer->Start();
    clock.RunUntilIdle();
    finishedAsBefore(TransferResult::Stopped);

    Open(TransferMode::Read).Start();
    clock.Advance(ms(300));
    sim.Disconnect();
    clock.RunUntilIdle();
    finishedAsBefore(TransferResult::PortLost);

    Open(TransferMode::Read).Start();
    clock.Advance(ms(300));
    transfer->Close();
    clock.RunUntilIdle();
    finishedAsBefore(TransferResult::Stopped);
}

TEST_F(TransferTest, WriteWithEveryChannelInUseSends496BlocksAfterThePreReadAndIdentifier) {
    for (int row = 1; row <= kChannelRows; ++row) SetRowInUse(doc, row, true);
    doc.Change({StepKind::ChannelEdit, 42, ChannelField::Name}, [](Codeplug& c) {
        c.Memory(41).name = "CH41";
        c.Memory(41).signal = {SignalKind::TwoTone, std::nullopt, std::nullopt};
    });
    const auto before = StateOf(doc);

    EXPECT_EQ(Run(TransferMode::Write), TransferResult::Completed);
    EXPECT_EQ(Head(6), (std::vector<std::string>{"AL~F0000R", "AL~F0010R", "AL~F0020R", "AL~F0030R",
                                                 "AL~F0040R", "PV418"}));
    EXPECT_EQ(Blocks(link, 'W'), Range(16, 511));
    EXPECT_EQ(link.lines.back().second, "AL~E");
    EXPECT_EQ(ui.messages.back(), texts.done);
    ASSERT_TRUE(doc.Modified());
    FinishTransfer(doc, session, *transfer, ui);
    EXPECT_FALSE(doc.Modified()) << "the radio holds what the document holds";
    doc.MarkClean(NewCodeplug(3));
    EXPECT_EQ(StateOf(doc), before) << "a write never changes the codeplug or its history";
    const Channel written = DecodeImage(radio.Memory(), 3).codeplug.Memory(41);
    EXPECT_EQ(written.name, "CH41");
    EXPECT_EQ(written.signal, (ChannelSignal{SignalKind::TwoTone, 0, 0}))
        << "empty codes are sent as 0 and stay empty in the document";
}

TEST_F(TransferTest, WriteSkipsChannelsNotInUse) {
    for (int row = 1; row <= kChannelRows; ++row) SetRowInUse(doc, row, row == 1 || row == 3);
    EXPECT_EQ(Run(TransferMode::Write), TransferResult::Completed);
    std::vector<int> expected = Range(16, 33);          // row 1: blocks 32, 33
    for (int b : Range(36, 37)) expected.push_back(b);  // row 3
    for (int b : Range(232, 511)) expected.push_back(b);
    EXPECT_EQ(Blocks(link, 'W'), expected);
}

TEST_F(TransferTest, AWriteSendsTheDocumentAsItWasAtStart) {
    SetRowInUse(doc, 2, true);
    Open(TransferMode::Write).Start();
    clock.Advance(ms(300));
    ASSERT_TRUE(transfer->Running());
    doc.Change({StepKind::ChannelEdit, 2, ChannelField::Name},
               [](Codeplug& c) { c.Memory(1).name = "LATE"; });
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::Completed);
    EXPECT_EQ(DecodeImage(radio.Memory(), 3).codeplug.Memory(1).name, "");
    FinishTransfer(doc, session, *transfer, ui);
    EXPECT_TRUE(doc.Modified()) << "the late edit is not in the radio";
    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.Modified());
}

TEST_F(TransferTest, BadRepliesAreRepeatedAndTheThirdFailureEndsTheRead) {
    struct Case {
        const char* name;
        std::vector<const char*> faults;  // lines 1..5 are blocks 0..4
        TransferResult result;
    };
    const Case cases[] = {
        {"two lost replies, then a good one", {"drop:3-4"}, TransferResult::Completed},
        {"wrong address twice", {"wrong-address:3-4"}, TransferResult::Completed},
        {"three lost replies", {"drop:3-5"}, TransferResult::ReadFailed},
        {"lost, wrong, lost", {"drop:3", "wrong-address:4", "drop:5"}, TransferResult::ReadFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        radio = SimulatedRadio(3, 0xE0, "");
        for (const char* rule : c.faults) {
            std::string error;
            for (const Fault& f : ParseFaultRule(rule, error)) radio.AddFault(f);
            ASSERT_EQ(error, "");
        }
        ui.messages.clear();
        link.lines.clear();
        EXPECT_EQ(Run(TransferMode::Read), c.result);
        const std::vector<int> blocks = Blocks(link, 'R');
        ASSERT_GE(blocks.size(), 5u);
        EXPECT_EQ(std::vector<int>(blocks.begin(), blocks.begin() + 5),
                  (std::vector<int>{0, 1, 2, 2, 2}));
        if (c.result == TransferResult::ReadFailed) {
            EXPECT_EQ(blocks.size(), 5u) << "nothing is requested after the failure";
            EXPECT_EQ(ui.messages.back(), texts.readFailed);
        }
    }
}

TEST_F(TransferTest, AnUnansweredRequestIsRepeatedAfter500Ms) {
    radio.AddFault({FaultKind::WrongAddress, 2});
    Open(TransferMode::Read).Start();
    clock.RunUntilIdle();
    ASSERT_GE(link.lines.size(), 3u);
    EXPECT_EQ(link.lines[1].second, "AL~F0010R");
    EXPECT_EQ(link.lines[2].second, "AL~F0010R");
    EXPECT_EQ(link.lines[2].first - link.lines[1].first, ms(500));
}

TEST_F(TransferTest, ARefusedWriteIsSentFourTimesBeforeTheWriteFails) {
    // Lines 1..5 pre-read, 6 identifier, 7 the first block write.
    radio.AddFault({FaultKind::ErrorWrite, 7});
    radio.AddFault({FaultKind::ErrorWrite, 8});
    radio.AddFault({FaultKind::ErrorWrite, 9});
    EXPECT_EQ(Run(TransferMode::Write), TransferResult::Completed) << "three refusals, then OK";

    radio = SimulatedRadio(3, 0xE0, "");
    std::string error;
    for (const Fault& f : ParseFaultRule("error-write:7-10", error)) radio.AddFault(f);
    link.lines.clear();
    EXPECT_EQ(Run(TransferMode::Write), TransferResult::WriteFailed);
    EXPECT_EQ(Blocks(link, 'W'), (std::vector<int>{16, 16, 16, 16}));
    EXPECT_EQ(ui.messages.back(), texts.writeFailed);
    EXPECT_EQ(radio.BlocksWritten(), 0);
}

TEST_F(TransferTest, EachRefusalEndsWithItsMessageAndWritesNothing) {
    struct Case {
        const char* name;
        SimulatedRadio radio;
        TransferResult result;
        std::string message;
    };
    SimulatedRadio rejecting(3, 0xE0, "");
    rejecting.AddFault({FaultKind::RejectIdentifier, 0});
    SimulatedRadio silent(3, 0xE0, "");
    silent.AddFault({FaultKind::SilentAfter, 0});
    const Case cases[] = {
        {"identifier rejected", rejecting, TransferResult::IdentifierRejected,
         texts.identifierRejected},
        {"other model type", SimulatedRadio(8, 0xE0, ""), TransferResult::ModelTypeDiffers,
         texts.otherModelType},
        {"same type, other band", SimulatedRadio(0, 0xE0, ""), TransferResult::BandDiffers,
         texts.otherBand},
        {"no answer at all", silent, TransferResult::NoAnswer, texts.noAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        radio = c.radio;
        ui.messages.clear();
        link.lines.clear();
        EXPECT_EQ(Run(TransferMode::Write), c.result);
        EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
        EXPECT_TRUE(Blocks(link, 'W').empty());
        EXPECT_EQ(radio.BlocksWritten(), 0);
        EXPECT_TRUE(transfer->Unloaded());
    }
}

TEST_F(TransferTest, ThePasswordPromptRepeatsUntilTheRightTextOrCancel) {
    struct Case {
        const char* name;
        std::string radioPassword;
        std::vector<std::optional<std::string>> answers;
        TransferResult result;
        std::size_t prompts;
    };
    const Case cases[] = {
        {"no password: no prompt", "", {}, TransferResult::Completed, 0},
        {"wrong, then right", "Secret", {"secret", "Secret"}, TransferResult::Completed, 2},
        {"cancelled", "Secret", {"x", std::nullopt}, TransferResult::PasswordCancelled, 2},
    };
    for (TransferMode mode : {TransferMode::Read, TransferMode::Write}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) +
                         (mode == TransferMode::Read ? " (read)" : " (write)"));
            doc = LoadedDocument(3);
            radio = SimulatedRadio(3, 0xE0, c.radioPassword);
            ui = ScriptedUi();
            ui.passwords.assign(c.answers.begin(), c.answers.end());
            link.lines.clear();
            EXPECT_EQ(Run(mode), c.result);
            EXPECT_EQ(ui.passwords.size(), c.answers.size() - c.prompts);
            if (c.result == TransferResult::PasswordCancelled) {
                EXPECT_TRUE(ui.messages.empty());
                EXPECT_EQ(Blocks(link, 'R'), Range(0, 4)) << "nothing after the password block";
                EXPECT_TRUE(Blocks(link, 'W').empty());
                EXPECT_TRUE(transfer->Unloaded());
            }
        }
    }
}

TEST_F(TransferTest, ANewPasswordIsWrittenRightAfterTheIdentifier) {
    radio = SimulatedRadio(3, 0xE0, "old");
    ui.passwords = {"old"};
    Open(TransferMode::Write);
    transfer->SetPasswordModify(true);
    // Counted as the radio counts: one byte a character, Latin-1 only.
    for (const auto& [text, message] :
         {std::pair<std::string, std::string>{"new-password-longer", "takes 19 bytes"},
          {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9",
           ""},  // nine "é": 18 bytes of UTF-8, 9 in the radio
          {"ab\xE4\xB8\xAD", "cannot store \"\xE4\xB8\xAD\""}}) {
        const std::string problem = NewPasswordProblem(text, texts);
        if (message.empty()) {
            EXPECT_EQ(problem, "") << text;
        } else {
            EXPECT_NE(problem.find(message), std::string::npos) << problem;
        }
    }
    transfer->SetNewPasswordText("new-password-longer");
    transfer->Start();
    EXPECT_EQ(transfer->Result(), TransferResult::BadNewPassword);
    EXPECT_EQ(ui.messages.back(),
              "The new password takes 19 bytes in the radio; at most 16 fit (one byte for each "
              "letter, digit or sign).");
    EXPECT_TRUE(link.lines.empty()) << "nothing is sent";
    transfer->SetNewPasswordText("new-password-lon");
    transfer->Start();
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::Completed);
    ASSERT_GE(link.lines.size(), 8u);
    EXPECT_EQ(link.lines[5].second, "PV418");
    EXPECT_EQ(link.lines[6].second.substr(0, 9), "AL~F0040W");
    EXPECT_EQ(link.lines[7].second.substr(0, 9), "AL~F0100W");
    const std::string stored(radio.Memory().begin() + 64, radio.Memory().begin() + 80);
    EXPECT_EQ(stored, "new-password-lon");
}

TEST_F(TransferTest, ASecondStartStopsAndALaterStartBeginsAnew) {
    Open(TransferMode::Read).Start();
    clock.Advance(ms(150));
    ASSERT_TRUE(transfer->Running());
    transfer->Start();
    EXPECT_EQ(transfer->Result(), TransferResult::Stopped);
    EXPECT_EQ(transfer->StartCaption(), texts.start);
    EXPECT_FALSE(link.IsOpen());
    const std::size_t sent = link.lines.size();
    clock.RunUntilIdle();
    EXPECT_EQ(link.lines.size(), sent) << "nothing is sent after a stop";

    transfer->Start();
    EXPECT_EQ(link.lines.back().second, "AL~F0000R");
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::Completed);
}

TEST_F(TransferTest, PortFailuresAreReportedAndNeverHang) {
    sim.FailNextOpen("No such port");
    Open(TransferMode::Read);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"No such port"})
        << "tried when the window opens";

    sim.FailNextOpen("Permission denied");
    transfer->Start();
    EXPECT_EQ(transfer->Result(), TransferResult::PortError);
    EXPECT_FALSE(transfer->Running());
    EXPECT_TRUE(link.lines.empty());
    EXPECT_FALSE(transfer->Closing()) << "the window stays for another try";

    transfer->Start();
    clock.Advance(ms(150));
    sim.Disconnect();
    EXPECT_EQ(transfer->Result(), TransferResult::PortLost);
    EXPECT_NE(ui.messages.back().find("The simulated cable was disconnected."), std::string::npos);
    clock.RunUntilIdle();
    EXPECT_TRUE(transfer->Unloaded());
}

TEST_F(TransferTest, ACodeplugTheRadioCannotHoldIsRefusedBeforeAnythingIsSent) {
    SetRowInUse(doc, 6, true);
    doc.Change({StepKind::ChannelEdit, 6, ChannelField::TxFrequency},
               [](Codeplug& c) { c.Memory(5).tx = *Frequency::Parse("245.0000"); });
    const auto before = StateOf(doc);
    EXPECT_EQ(Run(TransferMode::Write), TransferResult::LengthError);
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"Channel 5: the Tx offset 100.0000 MHz is too large for "
                                        "the radio (at most 99.9999 MHz).",
                                        texts.lengthError}));
    EXPECT_TRUE(link.lines.empty()) << "not even the pre-read";
    EXPECT_EQ(radio.BlocksWritten(), 0);
    EXPECT_FALSE(transfer->Running());
    EXPECT_FALSE(transfer->Closing()) << "the window stays until the user closes it";
    FinishTransfer(doc, session, *transfer, ui);
    EXPECT_EQ(StateOf(doc), before);
}

TEST_F(TransferTest, TheWindowShowsItsPortAndUnloads200MsAfterClose) {
    Open(TransferMode::Write);
    EXPECT_EQ(transfer->Title(), texts.writeTitle + "  (COMM Port:sim)");
    EXPECT_EQ(link.opens, 1) << "the port is tried once on opening";
    transfer->Close();
    clock.Advance(ms(199));
    EXPECT_FALSE(transfer->Unloaded());
    clock.Advance(ms(1));
    EXPECT_TRUE(transfer->Unloaded());
}

TEST_F(TransferTest, AVerifiedWriteReadsBackEveryLineItWrote) {
    Open(TransferMode::Write).SetOptions({.verify = true});
    transfer->Start();
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::Completed);
    EXPECT_EQ(ui.messages.back(), texts.done);
    const std::vector<int> written = Blocks(link, 'W');
    // After the end line: a read session of its own, from line 0, of every line written.
    const auto end = std::find_if(link.lines.begin(), link.lines.end(),
                                  [](const auto& l) { return l.second == "AL~E"; });
    ASSERT_NE(end, link.lines.end());
    std::vector<int> readBack;
    for (auto it = end + 1; it != link.lines.end(); ++it) {
        if (it->second.size() >= 9 && it->second[8] == 'R') readBack.push_back(BlockOf(it->second));
    }
    std::vector<int> expected = {0};
    expected.insert(expected.end(), written.begin(), written.end());
    EXPECT_EQ(readBack, expected);
    EXPECT_EQ(link.lines.back().second, "AL~E");
    EXPECT_EQ(transfer->ProgressValue(), 512);
}

// A radio that acknowledges a line but stores something else: only the
// verify tells, wherever the line is.
TEST_F(TransferTest, VerifyCatchesALineStoredOtherThanAcknowledged) {
    Run(TransferMode::Write);
    const std::vector<int> written = Blocks(link, 'W');
    const std::vector<std::uint8_t> clean = radio.Memory();
    for (const int block : {written.front(), written[written.size() / 2], written.back()}) {
        for (const bool verify : {false, true}) {
            radio = SimulatedRadio(3, 0xE0, "");
            Open(TransferMode::Write).SetOptions({.verify = verify});
            transfer->Start();
            // The fault is placed on the line that writes `block`.
            const int n = 6 +
                          static_cast<int>(std::find(written.begin(), written.end(), block) -
                                           written.begin()) +
                          1;
            radio.AddFault({FaultKind::StoreCorrupt, n});
            clock.RunUntilIdle();
            EXPECT_NE(radio.Memory(), clean) << block;
            if (!verify) {
                EXPECT_EQ(transfer->Result(), TransferResult::Completed)
                    << "without verify the damage goes unseen, block " << block;
                continue;
            }
            EXPECT_EQ(transfer->Result(), TransferResult::VerifyFailed) << block;
            EXPECT_TRUE(ui.messages.back().starts_with("Verify failed: ")) << ui.messages.back();
            EXPECT_TRUE(transfer->PartlyWritten());
            EXPECT_FALSE(transfer->Closing()) << "the window stays for another try";
            EXPECT_FALSE(link.IsOpen());
        }
    }
}

TEST_F(TransferTest, AVerifyFailureNamesTheValueThatDiffers) {
    session.lastBackup = "/backups/20261208-143015-model3-read.img";
    SetUpTransfer(Open(TransferMode::Write), session);
    transfer->SetOptions({.verify = true});
    transfer->Start();
    // Channel 0's first record line is line 32; its first byte holds the flags.
    radio.AddFault({FaultKind::StoreCorrupt, 6 + 17});  // line 16 + 16 = line 32
    clock.RunUntilIdle();
    ASSERT_EQ(transfer->Result(), TransferResult::VerifyFailed);
    EXPECT_EQ(ui.messages.back(),
              "Verify failed: channel 0 Priority reads back 00; off was written.\n"
              "Restore the backup /backups/20261208-143015-model3-read.img to put back what it "
              "held before.");
}

TEST_F(TransferTest, ARadioRestartingAfterTheEndLineIsWaitedForAFewSeconds) {
    Run(TransferMode::Write);
    const int endLine = static_cast<int>(link.lines.size());
    for (const auto& [drops, result] :
         {std::pair{5, TransferResult::Completed}, std::pair{8, TransferResult::VerifyFailed}}) {
        radio = SimulatedRadio(3, 0xE0, "");
        std::string error;
        // The end line gets no answer anyway; the requests after it do not either.
        for (const Fault& f : ParseFaultRule(
                 "drop:" + std::to_string(endLine + 1) + "-" + std::to_string(endLine + drops),
                 error))
            radio.AddFault(f);
        Open(TransferMode::Write).SetOptions({.verify = true});
        transfer->Start();
        clock.RunUntilIdle();
        EXPECT_EQ(transfer->Result(), result) << drops << " unanswered requests";
    }
    EXPECT_EQ(ui.messages.back(), texts.verifyNoAnswer + "\n" + texts.noBackupHint);
}

TEST_F(TransferTest, AWriteThatStopsPartwaySaysSoAndCanBeTriedAgain) {
    session.lastBackup = "/b/last.img";
    SetUpTransfer(Open(TransferMode::Write), session);
    transfer->Start();
    radio.AddFault({FaultKind::PowerLoss, 40});
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::WriteFailed);
    EXPECT_EQ(ui.messages.back(), texts.writeFailed + "\n" + texts.partlyWritten +
                                      " Restore the backup /b/last.img to put back what it held "
                                      "before.");
    EXPECT_TRUE(transfer->PartlyWritten());
    EXPECT_TRUE(transfer->Over());
    EXPECT_FALSE(transfer->Closing());
    EXPECT_TRUE(radio.PoweredOff());

    // The next Start opens the port again: the radio is back and takes it all.
    transfer->Start();
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::Completed);
    EXPECT_EQ(radio.Memory(),
              SimulatedRadio(EncodeImage(doc.codeplug(), test::kAllFeatures).image).Memory());

    // Stopped after a line went out: partly written too.
    radio = SimulatedRadio(3, 0xE0, "");
    link.lines.clear();
    Open(TransferMode::Write).Start();
    while (Blocks(link, 'W').empty()) clock.Advance(ms(10));
    transfer->Start();
    EXPECT_EQ(transfer->Result(), TransferResult::Stopped);
    EXPECT_TRUE(transfer->PartlyWritten());
    EXPECT_EQ(ui.messages.back(), texts.partlyWritten + " " + texts.noBackupHint);
}

TEST_F(TransferTest, ABackupComesBeforeTheFirstLineIsWritten) {
    radio = RadioHolding(LoadedDocument(3).codeplug());
    radio.SetPassword("");
    const std::vector<std::uint8_t> before = radio.Memory();
    std::vector<std::uint8_t> stored;
    std::size_t linesAtBackup = 0;
    Open(TransferMode::Write).SetOptions({.verify = true, .backupFirst = true});
    transfer->SetBackupStore([&](std::span<const std::uint8_t> image) {
        stored.assign(image.begin(), image.end());
        linesAtBackup = link.lines.size();
        return StoredBackup{"/b/x-before-write.img", ""};
    });
    transfer->Start();
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::Completed);
    EXPECT_EQ(stored, before) << "the whole radio as it was";
    EXPECT_EQ(Blocks(link, 'W').front(), 16);
    for (std::size_t i = 0; i < linesAtBackup; ++i) EXPECT_NE(link.lines[i].second[8], 'W');
    EXPECT_EQ(transfer->BackupPath(), "/b/x-before-write.img");
    EXPECT_EQ(FinishTransfer(doc, session, *transfer, ui), "/b/x-before-write.img");
    EXPECT_EQ(session.lastBackup, "/b/x-before-write.img");

    // A backup that cannot be stored writes nothing.
    radio = SimulatedRadio(before);
    Open(TransferMode::Write).SetOptions({.backupFirst = true});
    transfer->SetBackupStore([](std::span<const std::uint8_t>) {
        return StoredBackup{"", "Disk full."};
    });
    transfer->Start();
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::BackupFailed);
    EXPECT_EQ(ui.messages.back(),
              "The radio could not be backed up, so nothing was written. Disk full.");
    EXPECT_EQ(radio.BlocksWritten(), 0);
}

TEST_F(TransferTest, ARestoreWritesTheImageBytesAsTheyAre) {
    std::vector<std::uint8_t> image = EncodeImage(doc.codeplug(), test::kAllFeatures).image;
    image[300 * kLineBytes + 7] = 0x5A;  // a byte no field of this program holds
    image[4 * kLineBytes] = 'x';         // the password line is not written back
    radio = SimulatedRadio(3, 0xE0, "");
    Open(TransferMode::Write).SetRestoreImage(image);
    transfer->SetOptions({.verify = true});
    EXPECT_EQ(transfer->Title(), texts.restoreTitle + "  (COMM Port:sim)");
    transfer->Start();
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::Completed);
    for (int line = 16; line < kImageLines; ++line) {
        if (!ReadRequestsLine(image, line)) continue;
        EXPECT_TRUE(std::equal(image.begin() + line * 16, image.begin() + line * 16 + 16,
                               radio.Memory().begin() + line * 16))
            << "line " << line;
    }
    EXPECT_EQ(radio.Memory()[300 * kLineBytes + 7], 0x5A);
    EXPECT_EQ(radio.Memory()[4 * kLineBytes], 0) << "the radio keeps its password";
    const auto state = StateOf(doc);
    FinishTransfer(doc, session, *transfer, ui);
    EXPECT_EQ(StateOf(doc), state) << "a restore leaves the document alone";

    // Of another model: nothing is written.
    SetImageModel(image, 7);  // the same type, another band
    radio = SimulatedRadio(3, 0xE0, "");
    Open(TransferMode::Write).SetRestoreImage(image);
    transfer->Start();
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::BandDiffers);
    EXPECT_EQ(radio.BlocksWritten(), 0);
}

// Damage the protocol cannot see (there is no checksum): content no radio
// holds is asked for again; content that comes back the same is taken.
TEST_F(TransferTest, AReadAsksAgainForImpossibleContent) {
    Document source = LoadedDocument(3);
    for (int row = 1; row <= kChannelRows; ++row) SetRowInUse(source, row, row <= 2);
    radio = RadioHolding(source.codeplug());
    const std::vector<std::uint8_t> memory = radio.Memory();
    struct Case {
        const char* name;
        std::string faults;
        std::vector<int> requests;  // of the lines from 18 on
    };
    const std::vector<Case> cases = {
        // Line 19 carries block 18, the in-use bits: all set, every unused
        // channel's empty record sends the read back to the bits.
        {"damaged in-use bits", "corrupt:19", {18, 19, 20}},
        // Line 33 carries channel 0's first record line, digits above 9.
        {"damaged record", "corrupt:33", {18, 19, 20}},
    };
    for (const Case& c : cases) {
        radio = SimulatedRadio(memory);
        std::string error;
        for (const Fault& f : ParseFaultRule(c.faults, error)) radio.AddFault(f);
        link.lines.clear();
        EXPECT_EQ(Run(TransferMode::Read), TransferResult::Completed) << c.name;
        EXPECT_EQ(DecodeImage(transfer->Image(), 3).codeplug, DecodeImage(memory, 3).codeplug)
            << c.name;
    }

    // An in-use channel whose record is empty in the radio itself: asked for
    // once more with its bits, then taken as it is.
    std::vector<std::uint8_t> empty = memory;
    std::fill(empty.begin() + 34 * 16, empty.begin() + 36 * 16, std::uint8_t{0});
    radio = SimulatedRadio(empty);
    link.lines.clear();
    EXPECT_EQ(Run(TransferMode::Read), TransferResult::Completed);
    EXPECT_EQ(transfer->Image(), empty);
    const std::vector<int> blocks = Blocks(link, 'R');
    EXPECT_EQ(std::count(blocks.begin(), blocks.end(), 34), 2);
    EXPECT_EQ(std::count(blocks.begin(), blocks.end(), 18), 2);

    // A password with control bytes, twice the same: it cannot be checked.
    std::vector<std::uint8_t> badPassword = memory;
    badPassword[4 * 16] = 0x07;
    radio = SimulatedRadio(badPassword);
    EXPECT_EQ(Run(TransferMode::Read), TransferResult::ReadFailed);
    EXPECT_EQ(ui.messages.back(), texts.passwordDamaged);
}

TEST_F(TransferTest, ReadingTwiceTakesOnlyWhatBothReadsAgreeOn) {
    radio = RadioHolding(doc.codeplug());
    const std::vector<std::uint8_t> memory = radio.Memory();
    Run(TransferMode::Read);
    const int lines = static_cast<int>(link.lines.size()) - 1;  // without the end line
    // Damage in the second read: the line is asked for until two reads agree.
    radio = SimulatedRadio(memory);
    radio.AddFault({FaultKind::CorruptReply, lines + 300});
    link.lines.clear();
    Open(TransferMode::Read).SetOptions({.readTwice = true});
    transfer->Start();
    clock.RunUntilIdle();
    EXPECT_EQ(transfer->Result(), TransferResult::Completed);
    EXPECT_EQ(transfer->Image(), memory);
    EXPECT_EQ(static_cast<int>(link.lines.size()), 2 * lines + 1 + 1) << "one more request";
}

// A memory with three channels in use and a byte set in every line the
// program never uses.
std::vector<std::uint8_t> MemoryWithUnusedBytes() {
    Document source = LoadedDocument(3);
    for (int row = 1; row <= kChannelRows; ++row) SetRowInUse(source, row, row <= 3);
    std::vector<std::uint8_t> memory = EncodeImage(source.codeplug(), test::kAllFeatures).image;
    for (const int line : UnusedLines()) memory[static_cast<std::size_t>(line) * 16 + 5] = 0xA7;
    return memory;
}

// A quick read asks only for the lines the program uses, and still checks
// the password once, right after line 4, before any other line.
TEST_F(TransferTest, AQuickReadLeavesOutTheUnusedLinesButNotThePasswordCheck) {
    const std::vector<std::uint8_t> memory = MemoryWithUnusedBytes();
    std::vector<int> used;
    for (int line = 0; line < kImageLines; ++line)
        if (ProgramUsesLine(line) && ReadRequestsLine(memory, line)) used.push_back(line);
    struct Case {
        const char* name;
        bool readTwice;
        std::string password;
        std::vector<std::optional<std::string>> answers;
        TransferResult result;
    };
    const Case cases[] = {
        {"no password", false, "", {}, TransferResult::Completed},
        {"password", false, "Secret", {"Secret"}, TransferResult::Completed},
        {"password, read twice", true, "Secret", {"Secret"}, TransferResult::Completed},
        {"password cancelled", false, "Secret", {std::nullopt}, TransferResult::PasswordCancelled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        radio = SimulatedRadio(memory);
        radio.SetPassword(c.password);
        ui = ScriptedUi();
        ui.passwords.assign(c.answers.begin(), c.answers.end());
        link.lines.clear();
        Open(TransferMode::Read).SetOptions({.readTwice = c.readTwice, .quickRead = true});
        transfer->Start();
        clock.RunUntilIdle();
        ASSERT_EQ(transfer->Result(), c.result);
        EXPECT_TRUE(ui.passwords.empty()) << "one prompt, however many passes";
        if (c.result != TransferResult::Completed) {
            EXPECT_EQ(Blocks(link, 'R'), (std::vector<int>{0, 4}))
                << "nothing after the password block";
            continue;
        }
        std::vector<int> expected = used;
        if (c.readTwice) expected.insert(expected.end(), used.begin(), used.end());
        EXPECT_EQ(Blocks(link, 'R'), expected);
        EXPECT_EQ(transfer->UnreadLines(), UnusedLines());
        EXPECT_EQ(DecodeImage(transfer->Image(), 3).codeplug,
                  DecodeImage(radio.Memory(), 3).codeplug);
        for (const int line : UnusedLines())
            EXPECT_EQ(transfer->Image()[static_cast<std::size_t>(line) * 16 + 5], 0) << line;
    }

    radio = SimulatedRadio(memory);
    EXPECT_EQ(Run(TransferMode::Read), TransferResult::Completed);
    EXPECT_TRUE(transfer->UnreadLines().empty()) << "a full read reads every line";
}

// A quick read's backup says which lines were not read; a restore of it
// leaves them, and its verify does not read them back.
TEST_F(TransferTest, AQuickReadsBackupIsRestoredWithoutTheLinesItDidNotRead) {
    const std::vector<std::uint8_t> held = MemoryWithUnusedBytes();
    radio = SimulatedRadio(held);
    radio.SetPassword("");
    Open(TransferMode::Read).SetOptions({.quickRead = true});
    transfer->Start();
    clock.RunUntilIdle();
    ASSERT_EQ(transfer->Result(), TransferResult::Completed);
    const test::TempDir backups;
    session.paths.backupDir = backups.Path();
    const std::filesystem::path backup = FinishTransfer(doc, session, *transfer, ui);
    EXPECT_TRUE(backup.filename().string().ends_with("-model3-quick-read.img")) << backup;
    const auto chosen = ReadBackupToRestore(backup, ui);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->bytes, transfer->Image());
    EXPECT_EQ(chosen->unreadLines, UnusedLines());

    for (const bool knowsUnread : {true, false}) {
        SCOPED_TRACE(knowsUnread ? "with its companion" : "without");
        radio = SimulatedRadio(held);
        radio.SetPassword("");
        link.lines.clear();
        Open(TransferMode::Write)
            .SetRestoreImage(chosen->bytes, knowsUnread ? chosen->unreadLines : std::vector<int>{});
        transfer->SetOptions({.verify = true});
        transfer->Start();
        clock.RunUntilIdle();
        ASSERT_EQ(transfer->Result(), TransferResult::Completed);
        const std::size_t unusedByte = 350 * 16 + 5;  // line 350 is unused
        EXPECT_EQ(radio.Memory()[unusedByte], knowsUnread ? 0xA7 : 0)
            << "zeros never read from the radio overwrite what it holds";
        if (!knowsUnread) continue;
        EXPECT_EQ(radio.Memory(), held);
        for (const int block : Blocks(link, 'W')) EXPECT_TRUE(ProgramUsesLine(block)) << block;
        for (const int block : Blocks(link, 'R'))  // the pre-read of lines 0..4 reads all
            EXPECT_TRUE(block < 16 || ProgramUsesLine(block)) << block;
    }

    // A companion that cannot be read stops the restore before it starts.
    test::WriteBytes(UnreadLinesPath(backup), "0010-zz\n");
    ui.messages.clear();
    EXPECT_FALSE(ReadBackupToRestore(backup, ui).has_value());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("0010-zz"), std::string::npos) << ui.messages[0];
}

TEST(TransferMenus, ReadAndWriteNeedAPortAndAWriteAChannelInUse) {
    Document doc = LoadedDocument(3);
    Session session;
    ScriptedUi ui;
    EXPECT_FALSE(PrepareRead(doc, session, ui));
    EXPECT_FALSE(PrepareWrite(doc, session, ui));
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"Please Set Com Port!", "Please Set Com Port!"}));

    session.portName = "/dev/ttyUSB0";
    ui.messages.clear();
    doc.filename = "old.qx";
    const auto before = StateOf(doc);
    EXPECT_TRUE(PrepareRead(doc, session, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{doc.texts.Message(9007)});
    EXPECT_EQ(StateOf(doc), before) << "a read no longer clears the document first";
    for (int row = 1; row <= kChannelRows; ++row) SetRowInUse(doc, row, false);
    EXPECT_FALSE(PrepareWrite(doc, session, ui));
    EXPECT_EQ(ui.messages.back(), "please active one channel in 0 to 99.");
    SetRowInUse(doc, kPlRow, true);
    EXPECT_FALSE(PrepareWrite(doc, session, ui)) << "PL is no memory channel";
    SetRowInUse(doc, 100, true);
    EXPECT_TRUE(PrepareWrite(doc, session, ui));
    EXPECT_EQ(ui.messages.back(), doc.texts.Message(9007));
}

}  // namespace
}  // namespace qx
