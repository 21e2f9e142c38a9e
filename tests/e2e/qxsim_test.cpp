// qxsim over a real pseudo-terminal: exact replies, the image file, --once,
// faults, pacing and its command line.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "run_program.h"
#include "sim_process.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono_literals;
using qx::test::SimProcess;

// The port as a program opens it: raw, 9600 baud, 8 data bits, no flow control.
class Port {
  public:
    explicit Port(const std::string& path)
        : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        termios mode{};
        if (fd_ < 0 || tcgetattr(fd_, &mode) != 0) return;
        cfmakeraw(&mode);
        cfsetispeed(&mode, B9600);
        cfsetospeed(&mode, B9600);
        mode.c_cflag |= CLOCAL | CREAD;
        tcsetattr(fd_, TCSANOW, &mode);
    }
    ~Port() {
        if (fd_ >= 0) close(fd_);
    }
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    bool IsOpen() const { return fd_ >= 0; }

    // Sends `line` and returns what arrives until `expected` bytes are in or
    // nothing comes for five seconds.
    std::string Exchange(const std::string& line, std::size_t expected) {
        if (write(fd_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return "";
        std::string reply;
        while (reply.size() < expected) {
            pollfd ready{fd_, POLLIN, 0};
            if (poll(&ready, 1, 5000) <= 0) break;
            char buffer[256];
            const ssize_t count = read(fd_, buffer, sizeof buffer);
            if (count <= 0) break;
            reply.append(buffer, static_cast<std::size_t>(count));
        }
        return reply;
    }

  private:
    int fd_;
};

const std::string kData = "0123456789ABCDEFFEDCBA9876543210";
const std::string kWrite = "AL~F0050W" + kData + "\r\n";
const std::string kLine0 = "AL~F0000R\r\n\r\n0000:0033AA6600000000000000000000E000\r\n";

TEST(Qxsim, ServesSessionsSavesTheImageAndEndsOnceAsked) {
    const qx::test::TempDir dir;
    const auto image = dir / "radio.bin";
    SimProcess sim(QXSIM_PATH,
                   {"--image", image.string(), "--password", "abc", "--once", "--verbose"},
                   dir / "stderr.txt");
    ASSERT_TRUE(sim.Started()) << sim.Error();
    {
        Port port(sim.Path());
        ASSERT_TRUE(port.IsOpen());
        EXPECT_EQ(port.Exchange("AL~F0000R\r\n", 52), kLine0);
        EXPECT_EQ(port.Exchange("AL~F0040R\r\n", 52),
                  "AL~F0040R\r\n\r\n0040:61626300000000000000000000000000\r\n");
        EXPECT_EQ(port.Exchange(kWrite, 52), kWrite + "\r\nERROR\r\n");
    }
    EXPECT_FALSE(std::filesystem::exists(image));
    // The port is closed and opened again between sessions, as a transfer does.
    Port port(sim.Path());
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Exchange("PV418\r\n", 13), "PV418\r\n\r\nOK\r\n");
    EXPECT_EQ(port.Exchange(kWrite, 49), kWrite + "\r\nOK\r\n");
    const std::string saved = qx::test::ReadBytes(image);
    ASSERT_EQ(saved.size(), 8192U);
    EXPECT_EQ(saved.substr(0x50, 16),
              "\x01\x23\x45\x67\x89\xAB\xCD\xEF\xFE\xDC\xBA\x98\x76\x54\x32\x10");
    EXPECT_EQ(saved.substr(0, 4), std::string("\x00\x33\xAA\x66", 4));
    EXPECT_EQ(saved.substr(0x40, 4), std::string("abc\0", 4));
    EXPECT_FALSE(std::filesystem::exists(dir / "radio.bin.tmp"));
    EXPECT_EQ(port.Exchange("AL~F0050R\r\n", 52), "AL~F0050R\r\n\r\n0050:" + kData + "\r\n");
    EXPECT_EQ(port.Exchange("AL~E\r\n", 0), "");
    EXPECT_EQ(sim.Wait(5s), 0);
    // 11 + 11 + 43 + 7 + 43 + 11 + 6 bytes in; 52 + 52 + 52 + 13 + 49 + 52 out.
    const std::string log = qx::test::ReadBytes(dir / "stderr.txt");
    EXPECT_NE(log.find("qxsim: received 132 bytes, sent 270 bytes\n"), std::string::npos) << log;

    // The saved image is served again; a wrong-sized one is refused.
    SimProcess again(QXSIM_PATH, {"--image", image.string()});
    ASSERT_TRUE(again.Started()) << again.Error();
    Port reopened(again.Path());
    EXPECT_EQ(reopened.Exchange("AL~F0050R\r\n", 52), "AL~F0050R\r\n\r\n0050:" + kData + "\r\n");
    EXPECT_EQ(reopened.Exchange("AL~F0040R\r\n", 52),
              "AL~F0040R\r\n\r\n0040:61626300000000000000000000000000\r\n");
    EXPECT_EQ(again.Stop(), 0);
    qx::test::WriteBytes(dir / "short.bin", std::string(100, '\0'));
    const auto run = qx::test::RunProgram(
        QXSIM_PATH, "--image '" + (dir / "short.bin").string() + "'", dir / "run");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("holds 100 bytes; a memory image has 8192"), std::string::npos)
        << run.err;
}

TEST(Qxsim, FaultsPacingAndCommandLine) {
    SimProcess sim(QXSIM_PATH,
                   {"--baud", "9600", "--fault", "drop:2", "--fault=reject-identifier"});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    Port port(sim.Path());
    ASSERT_TRUE(port.IsOpen());
    // The 11 request bytes and the 52 reply bytes take 10 bit times each at
    // 9600 baud; the first byte is not counted: 62 byte times, 64.6 ms.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.Exchange("AL~F0000R\r\n", 52), kLine0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 64ms);
    // Line 2 gets no answer: the next bytes are the answer to line 3.
    EXPECT_EQ(port.Exchange("AL~F0000R\r\n", 0), "");
    EXPECT_EQ(port.Exchange("PV418\r\n", 16), "PV418\r\n\r\nERROR\r\n");
    EXPECT_EQ(sim.Stop(), 0);

    const auto scratch = std::filesystem::temp_directory_path() / "qxsim_e2e_options";
    for (const std::string args : {"--model 32", "--features XYZ", "--baud -1", "--fault nonsense",
                                   "--bogus", "--image", "--once=yes"}) {
        const auto run = qx::test::RunProgram(QXSIM_PATH, args, scratch);
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_NE(run.err.find("usage: qxsim"), std::string::npos) << args;
    }
    EXPECT_NE(qx::test::RunProgram(QXSIM_PATH, "--fault nonsense", scratch)
                  .err.find("qxsim: unknown fault 'nonsense'; expected drop:N"),
              std::string::npos);
    const auto help = qx::test::RunProgram(QXSIM_PATH, "--help", scratch);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.substr(0, 20), "usage: qxsim [option");
}

// Bad image files and passwords are refused at start; a write the image
// file cannot keep is refused on the line.
TEST(Qxsim, RefusesWhatItCannotHoldOrKeep) {
    const qx::test::TempDir dir;
    std::filesystem::create_directories(dir / "folder.bin");
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"--image '" + (dir / "folder.bin").string() + "'", "folder.bin is a folder"},
        {"--image /dev/zero", "/dev/zero is not a regular file"},
        {"--password 12345678901234567", "has 17 bytes; a radio keeps at most 16"},
    };
    for (const auto& [args, message] : refused) {
        const auto run = qx::test::RunProgram(QXSIM_PATH, args, dir / "run");
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_NE(run.err.find(message), std::string::npos) << args << "\n" << run.err;
    }

    const auto folder = dir / "gone";
    std::filesystem::create_directories(folder);
    SimProcess sim(QXSIM_PATH, {"--image", (folder / "radio.bin").string()});
    ASSERT_TRUE(sim.Started()) << sim.Error();
    std::filesystem::remove_all(folder);
    Port port(sim.Path());
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Exchange("PV418\r\n", 13), "PV418\r\n\r\nOK\r\n");
    EXPECT_EQ(port.Exchange(kWrite, 52), kWrite + "\r\nERROR\r\n") << "not stored, not OK";
    EXPECT_EQ(sim.Stop(), 0);
}

}  // namespace
