// The links behind port names: one simulated radio shared by every "sim"
// link of a run, a real serial link for any other name.
#include "port_links.h"

#include <gtest/gtest.h>

#include "document_builder.h"
#include "image/image_codec.h"
#include "link/simulated_link.h"
#include "link/transfer.h"
#include "manual_clock.h"
#include "qt_serial_link.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ManualClock;
using test::ScriptedUi;

TransferResult RunTransfer(TransferMode mode, Document& doc, PortLinks& links, ManualClock& clock) {
    Session session;
    session.ComPort = kSimPortName;
    ScriptedUi ui;
    const auto link = links.LinkFor(kSimPortName, clock);
    Transfer t(mode, doc, session, *link, clock, ui, TransferTexts{});
    t.Load();
    t.Start();
    clock.RunUntilIdle();
    EXPECT_TRUE(t.Unloaded());
    return t.Result();
}

TEST(PortLinks, TheSimulatedRadioKeepsWhatAnEarlierLinkWrote) {
    const Document fresh = LoadedDocument(3);
    PortLinks links(FreshRadioMemory(fresh));
    ManualClock clock;

    Document written = LoadedDocument(3);
    for (int row : {2, 7, 100}) {
        written.Cell(row, kColStatus) = written.texts.active;
        ReadBuffer(written, row);
        written.Cell(row, kColName) = "R" + std::to_string(row);
    }
    ScriptedUi ui;
    ASSERT_TRUE(CheckWriteChannels(written, ui));
    ASSERT_EQ(RunTransfer(TransferMode::Write, written, links, clock), TransferResult::Completed);

    Document read = LoadedDocument(3);
    ASSERT_EQ(RunTransfer(TransferMode::Read, read, links, clock), TransferResult::Completed);
    for (int row : {2, 7, 100}) {
        EXPECT_TRUE(read.IsActive(row)) << row;
        EXPECT_EQ(read.Cell(row, kColName), "R" + std::to_string(row));
    }
    EXPECT_FALSE(read.IsActive(3));
}

TEST(PortLinks, OtherNamesGetASerialPort) {
    PortLinks links({});
    ManualClock clock;
    EXPECT_NE(dynamic_cast<SimulatedLink*>(links.LinkFor("sim", clock).get()), nullptr);
    for (const char* name : {"/dev/ttyUSB0", "COM3", "Sim", ""}) {
        const auto link = links.LinkFor(name, clock);
        EXPECT_NE(dynamic_cast<QtSerialLink*>(link.get()), nullptr) << name;
        EXPECT_FALSE(link->IsOpen());
    }
}

TEST(PortLinks, AFreshRadioHoldsTheDocumentsChannelList) {
    for (int model : {3, 5}) {
        Document doc = LoadedDocument(model);
        doc.Cell(4, kColStatus) = doc.texts.active;
        ReadBuffer(doc, 4);
        const std::vector<std::uint8_t> memory = FreshRadioMemory(doc);
        ASSERT_EQ(memory.size(), kImageSize);

        Document read = LoadedDocument(model);
        FeatureFlags features;
        ScriptedUi ui;
        ASSERT_EQ(DecodeImage(memory, read, features, ui), "") << model;
        EXPECT_EQ(read.modelIndex, model);
        EXPECT_EQ(features, test::kAllFeatures);
        for (int row = 1; row <= kRowCount; ++row) {
            EXPECT_EQ(read.IsActive(row), doc.IsActive(row)) << model << " row " << row;
        }
        // The caller's document is left as it was.
        EXPECT_FALSE(doc.bModify);
    }
}

}  // namespace
}  // namespace qx
