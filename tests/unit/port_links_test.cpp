// The built-in simulated radio lives as long as the port links: what one
// "sim" link writes, the next one reads back.
#include "port_links.h"

#include <gtest/gtest.h>

#include "app/channel_ops.h"
#include "app/transfer_commands.h"
#include "document_builder.h"
#include "link/simulated_link.h"
#include "manual_clock.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ManualClock;
using test::ScriptedUi;

TransferResult RunTransfer(TransferMode mode, Document& doc, PortLinks& links, ManualClock& clock) {
    Session session;
    session.portName = kSimPortName;
    ScriptedUi ui;
    const auto link = links.LinkFor(kSimPortName, clock);
    Transfer t(mode, doc.codeplug(), session, *link, clock, ui, TransferTexts{});
    t.Load();
    t.Start();
    clock.RunUntilIdle();
    EXPECT_TRUE(t.Unloaded());
    FinishTransfer(doc, session, t, ui);
    return t.Result();
}

TEST(PortLinks, TheSimulatedRadioKeepsWhatAnEarlierLinkWrote) {
    const Document fresh = LoadedDocument(3);
    PortLinks links(FreshRadioMemory(fresh));
    ManualClock clock;

    Document written = LoadedDocument(3);
    for (int row : {2, 7, 100}) {
        SetRowInUse(written, row, true);
        written.Change({StepKind::ChannelEdit, row, ChannelField::Name},
                       [row](Codeplug& c) { c.Row(row).name = "R" + std::to_string(row); });
    }
    ScriptedUi ui;
    ASSERT_TRUE(CheckWriteChannels(written, ui));
    ASSERT_EQ(RunTransfer(TransferMode::Write, written, links, clock), TransferResult::Completed);

    Document read = LoadedDocument(3);
    ASSERT_EQ(RunTransfer(TransferMode::Read, read, links, clock), TransferResult::Completed);
    for (int row : {2, 7, 100}) {
        EXPECT_TRUE(read.codeplug().Row(row).inUse) << row;
        EXPECT_EQ(read.codeplug().Row(row).name, "R" + std::to_string(row));
    }
    EXPECT_FALSE(read.codeplug().Row(3).inUse);
}

// "--sim-fault" rules for the built-in radio: all of them or none.
TEST(PortLinks, SimFaultsAreAddedAllOrNone) {
    const Document doc = LoadedDocument(3);
    PortLinks links(FreshRadioMemory(doc));
    EXPECT_NE(links.AddSimFaults("drop:2,bogus"), "");
    EXPECT_NE(links.AddSimFaults(""), "");
    ManualClock clock;
    Document read = LoadedDocument(3);
    EXPECT_EQ(RunTransfer(TransferMode::Read, read, links, clock), TransferResult::Completed)
        << "the refused rules added nothing";
    EXPECT_EQ(links.AddSimFaults("store-corrupt:20,power-loss:1000"), "");
    EXPECT_EQ(links.AddSimFaults("silent-after:0"), "");
    EXPECT_EQ(RunTransfer(TransferMode::Read, read, links, clock), TransferResult::NoAnswer);
}

}  // namespace
}  // namespace qx
