// The port list, the settings dialog's choice and the "&COM Port" entry's checks.
#include "link/port_settings.h"

#include <gtest/gtest.h>

#include "app/session.h"
#include "scripted_ui.h"

namespace qx {
namespace {

class FakeDirectory final : public PortDirectory {
  public:
    explicit FakeDirectory(std::vector<std::string> names) : names_(std::move(names)) {}
    std::vector<std::string> PortNames() const override { return names_; }

  private:
    std::vector<std::string> names_;
};

TEST(PortSettings, TheListIsTheDirectoryOrTheFixedListWithTheSimulatorLast) {
    const FakeDirectory usb({"/dev/ttyUSB0", "/dev/ttyUSB1"});
    Session session;
    EXPECT_EQ(PortList(session, usb),
              (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1", "sim"}));
    EXPECT_EQ(FirstPortName(usb), "/dev/ttyUSB0");
    EXPECT_EQ(FirstPortName(FakeDirectory({})), "");

    session.fixedPortList = true;
    const std::vector<std::string> fixed = PortList(session, usb);
    ASSERT_EQ(fixed.size(), 257u);
    EXPECT_EQ(fixed.front(), "COM1");
    EXPECT_EQ(fixed[255], "COM256");
    EXPECT_EQ(fixed.back(), "sim");
}

TEST(PortSettings, TheDialogShowsTheCurrentOrTypedPortOrTheFirstAndOkTakesTheSelection) {
    const FakeDirectory ports({"COM3", "COM12"});
    Session session;
    session.portName = "COM12";
    session.portSettings = "1200,e,7,2";
    test::ScriptedUi ui;

    PortDialog shown(session, ports);
    EXPECT_EQ(shown.Selected(), "COM12");

    session.portName = "COM7";
    PortDialog missing(session, ports);
    EXPECT_EQ(missing.Selected(), "COM7") << "a port not in the list was typed and stays";
    missing.Select("sim");
    EXPECT_TRUE(missing.Ok(ui));
    EXPECT_EQ(session.portName, "sim");
    EXPECT_EQ(session.portSettings, "9600,n,8,1");
    EXPECT_TRUE(ui.messages.empty());

    missing.Select("  ");
    EXPECT_FALSE(missing.Ok(ui));
    EXPECT_EQ(session.portName, "sim") << "an empty choice keeps the port";
    ASSERT_EQ(ui.problems.size(), 1u);
    EXPECT_EQ(ui.problems[0].first, Severity::Warning);
}

TEST(PortSettings, TheMenuEntrySearchesOnceAndNeedsAPort) {
    test::ScriptedUi ui;
    Session session;
    EXPECT_FALSE(PreparePortDialog(session, FakeDirectory({}), ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"No Com Port!"});

    EXPECT_TRUE(PreparePortDialog(session, FakeDirectory({"/dev/ttyS0"}), ui));
    EXPECT_EQ(session.portName, "/dev/ttyS0");
    EXPECT_TRUE(PreparePortDialog(session, FakeDirectory({"/dev/ttyS1"}), ui));
    EXPECT_EQ(session.portName, "/dev/ttyS0") << "a chosen port is kept";
}

}  // namespace
}  // namespace qx
