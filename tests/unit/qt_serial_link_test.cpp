// The serial link over a pseudo-terminal: the test holds the far end (the
// master side) and plays the radio.
#include "qt_serial_link.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "qt_app_environment.h"

namespace {

using namespace std::chrono_literals;
using qx::test::RunEventsFor;
using qx::test::RunEventsUntil;

const auto* const kQtApp = ::testing::AddGlobalTestEnvironment(new qx::test::QtAppEnvironment);

class Pty {
  public:
    Pty() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        if (const char* name = ptsname(master_)) slavePath_ = name;
    }
    ~Pty() { CloseMaster(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    const std::string& SlavePath() const { return slavePath_; }

    void Send(const std::string& bytes) {
        ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // What the link wrote, once `count` bytes have come (or 10 s passed).
    std::string Receive(std::size_t count) {
        std::string got;
        while (got.size() < count) {
            pollfd fd{master_, POLLIN, 0};
            if (poll(&fd, 1, 10'000) <= 0) break;
            char buffer[256];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }
    void CloseMaster() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }

  private:
    int master_ = -1;
    std::string slavePath_;
};

class Recorder final : public qx::SerialEvents {
  public:
    std::vector<std::string> chunks;
    std::vector<std::string> errors;
    std::function<void()> onBytes;

    void OnBytes(std::span<const std::uint8_t> bytes) override {
        chunks.emplace_back(bytes.begin(), bytes.end());
        if (onBytes) onBytes();
    }
    void OnLinkError(const std::string& text) override { errors.push_back(text); }
};

class QtSerialLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(pty_.SlavePath().empty()) << "no pseudo-terminal";
        link_.SetEvents(&events_);
        ASSERT_EQ(link_.Open(pty_.SlavePath(), "9600,n,8,1"), "");
        ASSERT_TRUE(link_.IsOpen());
    }

    Pty pty_;
    Recorder events_;
    qx::QtSerialLink link_;
};

TEST_F(QtSerialLinkTest, WritesReachTheFarEnd) {
    EXPECT_EQ(link_.Write("PV418\r\n"), "");
    EXPECT_EQ(link_.Write("AL~E\r\n"), "");
    EXPECT_EQ(pty_.Receive(13), "PV418\r\nAL~E\r\n");
}

TEST_F(QtSerialLinkTest, DeliversEverythingWaitingOnceTheThresholdIsReached) {
    link_.SetReceiveThreshold(5);
    pty_.Send("123");
    RunEventsFor(100ms);
    EXPECT_TRUE(events_.chunks.empty());
    pty_.Send("4567");
    ASSERT_TRUE(RunEventsUntil([&] { return !events_.chunks.empty(); }));
    EXPECT_EQ(events_.chunks, std::vector<std::string>{"1234567"});

    // The waiting input is empty afterwards: the next delivery starts afresh.
    link_.SetReceiveThreshold(2);
    pty_.Send("ab");
    ASSERT_TRUE(RunEventsUntil([&] { return events_.chunks.size() == 2; }));
    EXPECT_EQ(events_.chunks.back(), "ab");
}

TEST_F(QtSerialLinkTest, LoweringTheThresholdDeliversWhatWaitsFromTheEventLoop) {
    link_.SetReceiveThreshold(10);
    pty_.Send("OK\r\n");
    RunEventsFor(100ms);
    ASSERT_TRUE(events_.chunks.empty());

    link_.SetReceiveThreshold(4);
    EXPECT_TRUE(events_.chunks.empty()) << "delivered inside SetReceiveThreshold";
    ASSERT_TRUE(RunEventsUntil([&] { return !events_.chunks.empty(); }));
    EXPECT_EQ(events_.chunks, std::vector<std::string>{"OK\r\n"});
}

TEST_F(QtSerialLinkTest, DiscardInputDropsWhatWaits) {
    link_.SetReceiveThreshold(100);
    pty_.Send("stale echo");
    RunEventsFor(100ms);
    link_.DiscardInput();
    link_.SetReceiveThreshold(5);
    pty_.Send("fresh");
    ASSERT_TRUE(RunEventsUntil([&] { return !events_.chunks.empty(); }));
    EXPECT_EQ(events_.chunks, std::vector<std::string>{"fresh"});
}

TEST_F(QtSerialLinkTest, ClosingInsideOnBytesIsSafeAndStopsDelivery) {
    events_.onBytes = [&] { link_.Close(); };
    pty_.Send("x");
    ASSERT_TRUE(RunEventsUntil([&] { return !events_.chunks.empty(); }));
    EXPECT_FALSE(link_.IsOpen());
    EXPECT_NE(link_.Write("x"), "");
    EXPECT_TRUE(events_.errors.empty());
}

TEST_F(QtSerialLinkTest, FarEndGoneIsReportedOnceAndClosesTheLink) {
    pty_.CloseMaster();
    ASSERT_TRUE(RunEventsUntil([&] { return !events_.errors.empty(); }));
    RunEventsFor(100ms);
    ASSERT_EQ(events_.errors.size(), 1u);
    EXPECT_NE(events_.errors[0].find(pty_.SlavePath()), std::string::npos) << events_.errors[0];
    EXPECT_FALSE(link_.IsOpen());
    // The port can be opened again (here it fails: the terminal is gone).
    EXPECT_NE(link_.Open(pty_.SlavePath(), "9600,n,8,1"), "");
}

TEST(QtSerialLink, OpenFailuresNameThePortOrTheSettings) {
    Pty pty;
    ASSERT_FALSE(pty.SlavePath().empty());
    struct Case {
        std::string port, settings, inError;
    };
    const std::vector<Case> cases = {
        {"/dev/qx-no-such-port", "9600,n,8,1", "/dev/qx-no-such-port"},
        {pty.SlavePath(), "9600,n,8", "9600,n,8"},
        {pty.SlavePath(), "fast,n,8,1", "fast,n,8,1"},
        {pty.SlavePath(), "9600,x,8,1", "9600,x,8,1"},
        {"", "9600,n,8,1", "port"},
    };
    for (const auto& c : cases) {
        qx::QtSerialLink link;
        const std::string error = link.Open(c.port, c.settings);
        EXPECT_NE(error.find(c.inError), std::string::npos)
            << c.port << " " << c.settings << ": " << error;
        EXPECT_FALSE(link.IsOpen());
    }
    qx::QtSerialLink closed;
    EXPECT_NE(closed.Write("x"), "");
}

TEST(QtSerialLink, APortAnotherProgramHoldsIsNamedAsInUse) {
    Pty pty;
    ASSERT_FALSE(pty.SlavePath().empty());
    qx::QtSerialLink holder;
    ASSERT_EQ(holder.Open(pty.SlavePath(), "9600,n,8,1"), "");
    qx::QtSerialLink second;
    EXPECT_EQ(second.Open(pty.SlavePath(), "9600,n,8,1"),
              pty.SlavePath() + ": the port is in use by another program");
    EXPECT_FALSE(second.IsOpen());
    holder.Close();
    EXPECT_EQ(second.Open(pty.SlavePath(), "9600,n,8,1"), "");
}

TEST(QtSerialLink, OpenErrorTextsTellABusyPortFromAForbiddenOrMissingOne) {
    struct Case {
        QSerialPort::SerialPortError error;
        qx::DeviceAccess device;
        std::string text;
    };
    const Case cases[] = {
        {QSerialPort::PermissionError,
         {true, true, "dialout", true},
         "ttyUSB0: the port is in use by another program"},
        {QSerialPort::PermissionError,
         {true, false, "dialout", true},
         "No permission to open ttyUSB0. Add yourself to the group \"dialout\" (sudo usermod -aG "
         "dialout $USER), then log out and in again."},
        {QSerialPort::PermissionError,
         {true, false, "root", true},
         "No permission to open ttyUSB0. Ask the administrator of this computer for access to it."},
        {QSerialPort::PermissionError,
         {true, false, "dialout", false},
         "No permission to open ttyUSB0. Ask the administrator of this computer for access to it."},
        {QSerialPort::DeviceNotFoundError,
         {true, true, "", false},
         "The port ttyUSB0 does not exist. Check that the cable is plugged in, then choose the "
         "port again."},
        {QSerialPort::OpenError,
         {false, false, "", false},
         "The port ttyUSB0 does not exist. "
         "Check that the cable is plugged in, then choose the port again."},
        {QSerialPort::OpenError, {true, true, "dialout", true}, "ttyUSB0: Device busy"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qx::OpenErrorText("ttyUSB0", c.error, "Device busy", c.device, {}), c.text);
    }
    qx::PortOpenTexts texts;
    texts.noPermissionGroup = "%1|%2|%2";
    EXPECT_EQ(
        qx::OpenErrorText("p", QSerialPort::PermissionError, "", {true, false, "g", true}, texts),
        "p|g|g");
}

std::string GroupHint(const std::string& port, const std::string& group) {
    return "No permission to open " + port + ". Add yourself to the group \"" + group +
           "\" (sudo usermod -aG " + group + " $USER), then log out and in again.";
}

// A device the user may not open names the group that owns it. The superuser
// may open anything, so as root the device is given to a group "nobody" is
// not in and this test runs again as "nobody" (the QX_FORBIDDEN_PORT run).
TEST(QtSerialLink, APortWithoutPermissionNamesTheGroupToJoin) {
    if (const char* port = std::getenv("QX_FORBIDDEN_PORT")) {
        const char* group = std::getenv("QX_FORBIDDEN_GROUP");
        ASSERT_NE(group, nullptr);
        qx::QtSerialLink link;
        EXPECT_EQ(link.Open(port, "9600,n,8,1"), GroupHint(port, group));
        EXPECT_FALSE(link.IsOpen());
        return;
    }
    Pty pty;
    const std::string port = pty.SlavePath();
    ASSERT_FALSE(port.empty());
    if (::geteuid() != 0) {
        // The owner may not, the group may: the group is the one to join.
        ASSERT_EQ(::chmod(port.c_str(), 0060), 0);
        struct stat info {};
        ASSERT_EQ(::stat(port.c_str(), &info), 0);
        const struct group* owner = ::getgrgid(info.st_gid);
        ASSERT_NE(owner, nullptr);
        qx::QtSerialLink link;
        EXPECT_EQ(link.Open(port, "9600,n,8,1"), GroupHint(port, owner->gr_name));
        return;
    }
    const struct group* dialout = ::getgrnam("dialout");
    if (dialout == nullptr || ::access("/usr/bin/setpriv", X_OK) != 0) {
        GTEST_SKIP() << "running as root without a \"dialout\" group or setpriv: the permission "
                        "check needs an unprivileged user";
    }
    ASSERT_EQ(::chown(port.c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(port.c_str(), 0660), 0);
    char self[4096] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(length, 0);
    const std::string command =
        "QX_FORBIDDEN_PORT='" + port +
        "' QX_FORBIDDEN_GROUP=dialout "
        "setpriv --reuid=nobody --regid=nogroup --clear-groups '" +
        std::string(self) +
        "' --gtest_filter=QtSerialLink.APortWithoutPermissionNamesTheGroupToJoin 2>&1";
    FILE* run = ::popen(command.c_str(), "r");
    ASSERT_NE(run, nullptr);
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, run) != nullptr) output += buffer;
    const int status = ::pclose(run);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

TEST(QtSerialLink, ParsesLineSettings) {
    struct Case {
        std::string text;
        bool valid;
        qint32 baud;
        QSerialPort::Parity parity;
        QSerialPort::DataBits dataBits;
        QSerialPort::StopBits stopBits;
    };
    const std::vector<Case> cases = {
        {"9600,n,8,1", true, 9600, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop},
        {"19200,E,7,2", true, 19200, QSerialPort::EvenParity, QSerialPort::Data7,
         QSerialPort::TwoStop},
        {" 4800 , o , 5 , 1 ", true, 4800, QSerialPort::OddParity, QSerialPort::Data5,
         QSerialPort::OneStop},
        {"", false, {}, {}, {}, {}},
        {"9600,n,8", false, {}, {}, {}, {}},
        {"9600,n,8,1,1", false, {}, {}, {}, {}},
        {"0,n,8,1", false, {}, {}, {}, {}},
        {"-9600,n,8,1", false, {}, {}, {}, {}},
        {"96OO,n,8,1", false, {}, {}, {}, {}},
        {"9600,no,8,1", false, {}, {}, {}, {}},
        {"9600,m,8,1", false, {}, {}, {}, {}},
        {"9600,n,4,1", false, {}, {}, {}, {}},
        {"9600,n,9,1", false, {}, {}, {}, {}},
        {"9600,n,8,0", false, {}, {}, {}, {}},
        {"9600,n,8,1.5", false, {}, {}, {}, {}},
    };
    for (const auto& c : cases) {
        const auto parsed = qx::ParseLineSettings(c.text);
        ASSERT_EQ(parsed.has_value(), c.valid) << c.text;
        if (!parsed) continue;
        EXPECT_EQ(parsed->baud, c.baud) << c.text;
        EXPECT_EQ(parsed->parity, c.parity) << c.text;
        EXPECT_EQ(parsed->dataBits, c.dataBits) << c.text;
        EXPECT_EQ(parsed->stopBits, c.stopBits) << c.text;
    }
}

}  // namespace
