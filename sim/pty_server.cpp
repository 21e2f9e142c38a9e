#include "pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "image_file.h"

namespace qx::sim {
namespace {

// A write acknowledgement turned into the radio's refusal of the line.
std::vector<std::uint8_t> Refused(std::vector<std::uint8_t> answer) {
    static constexpr std::string_view kOk = "\r\nOK\r\n";
    static constexpr std::string_view kError = "\r\nERROR\r\n";
    const std::string_view text(reinterpret_cast<const char*>(answer.data()), answer.size());
    if (!text.ends_with(kOk)) return answer;
    answer.resize(answer.size() - kOk.size());
    answer.insert(answer.end(), kError.begin(), kError.end());
    return answer;
}

constexpr int kBackOffMillis = 100;
// How long an answer may wait for room in the terminal before the unread
// answers of earlier sessions are thrown away.
constexpr int kWriteWaitMillis = 1000;
constexpr std::size_t kMaxLogLine = 64;

std::chrono::nanoseconds MonotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

bool MakeRaw(int fd) {
    termios mode{};
    if (tcgetattr(fd, &mode) != 0) return false;
    cfmakeraw(&mode);
    cfsetispeed(&mode, B9600);
    cfsetospeed(&mode, B9600);
    mode.c_cflag |= CLOCAL | CREAD;
    return tcsetattr(fd, TCSANOW, &mode) == 0;
}

}  // namespace

PseudoTerminal::~PseudoTerminal() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
}

std::string PseudoTerminal::Open() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return SystemError("cannot open a pseudo-terminal");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0)
        return SystemError("cannot unlock the pseudo-terminal");
    const char* name = ptsname(master_);
    if (name == nullptr) return SystemError("cannot name the pseudo-terminal");
    slavePath_ = name;
    // The terminal settings live with the slave; setting them through the
    // master and then on the slave itself leaves no window in which a
    // program could see echo or CR/LF translation.
    if (!MakeRaw(master_)) return SystemError("cannot set the pseudo-terminal to raw mode");
    slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) return SystemError("cannot open " + slavePath_);
    if (!MakeRaw(slave_)) return SystemError("cannot set " + slavePath_ + " to raw mode");
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0)
        return SystemError("cannot make the pseudo-terminal non-blocking");
    return "";
}

RadioServer::RadioServer(PseudoTerminal& pty, SimulatedRadio& radio, ServeSettings settings,
                         int stopFd, std::ostream& log)
    : pty_(pty), radio_(radio), settings_(std::move(settings)), stopFd_(stopFd), log_(log) {
    if (settings_.baud > 0) byteTime_ = std::chrono::nanoseconds(10'000'000'000LL / settings_.baud);
    savedBlocks_ = radio_.BlocksWritten();
}

int RadioServer::Run() {
    std::array<std::uint8_t, 4096> buffer{};
    // Each open of the terminal is a program opening the port: a radio that
    // lost its power comes back then. Without the watch it just stays dead.
    const int opens = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (opens >= 0) inotify_add_watch(opens, pty_.SlavePath().c_str(), IN_OPEN);
    struct Closer {
        int fd;
        ~Closer() {
            if (fd >= 0) close(fd);
        }
    } closeOpens{opens};
    for (;;) {
        std::array<pollfd, 3> fds{pollfd{pty_.Master(), POLLIN, 0}, pollfd{stopFd_, POLLIN, 0},
                                  pollfd{opens, POLLIN, 0}};
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            log_ << "qxsim: " << SystemError("poll") << '\n';
            return 1;
        }
        if (fds[1].revents != 0) return 0;
        if (fds[2].revents != 0) {
            std::array<char, 1024> events{};
            while (read(opens, events.data(), events.size()) > 0) {
            }
            if (radio_.PoweredOff() && settings_.verbose) log_ << "qxsim: the radio is back on\n";
            radio_.PortOpened();
        }
        if ((fds[0].revents & POLLIN) == 0) {
            // A hang-up (nobody holds the slave) or an error: nothing to
            // read yet, so wait a little instead of spinning on it.
            if (fds[0].revents != 0) Pause();
            continue;
        }
        const ssize_t count = read(pty_.Master(), buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
            if (errno == EIO) {
                Pause();
                continue;
            }
            log_ << "qxsim: " << SystemError("read") << '\n';
            return 1;
        }
        if (count == 0) {
            Pause();
            continue;
        }
        bytesReceived_ += static_cast<std::uint64_t>(count);
        if (!Consume(std::span(buffer.data(), static_cast<std::size_t>(count)), MonotonicNow()))
            return 0;
    }
}

bool RadioServer::Consume(std::span<const std::uint8_t> bytes, Time readTime) {
    for (const std::uint8_t byte : bytes) {
        // Like a UART: bytes read together still arrive one byte time apart.
        Time arrival = readTime;
        if (settings_.baud > 0) {
            arrival = std::max(readTime, lastArrival_ + byteTime_);
            lastArrival_ = arrival;
        }
        if (byte != '\r' && byte != '\n' && lineText_.size() < kMaxLogLine)
            lineText_.push_back(static_cast<char>(byte));
        std::vector<std::uint8_t> answer = radio_.Receive(std::span(&byte, 1));
        // Saved before the answer goes out: a program that has seen OK finds
        // the block in the file, and a block that could not be stored is
        // refused, so no writer believes a write that is not kept.
        if (!SaveIfWritten()) answer = Refused(answer);
        if (!answer.empty()) Answer(answer, arrival);
        if (byte == '\n') lineText_.clear();
        if (settings_.once && radio_.EndReceived()) return false;
    }
    return true;
}

void RadioServer::Answer(const std::vector<std::uint8_t>& answer, Time lineEnd) {
    if (settings_.baud > 0) {
        // The answer leaves once the line is in and, after any earlier
        // answer, takes its own time on the wire.
        const Time done =
            std::max(lineEnd, lastSendEnd_) + byteTime_ * static_cast<std::int64_t>(answer.size());
        SleepUntil(done);
        lastSendEnd_ = done;
    }
    WriteAll(answer);
    if (settings_.verbose)
        log_ << "qxsim: " << lineText_ << " -> " << answer.size() << " bytes" << std::endl;
}

void RadioServer::WriteAll(std::span<const std::uint8_t> bytes) {
    bool flushed = false;
    while (!bytes.empty()) {
        const ssize_t count = write(pty_.Master(), bytes.data(), bytes.size());
        if (count > 0) {
            bytesSent_ += static_cast<std::uint64_t>(count);
            bytes = bytes.subspan(static_cast<std::size_t>(count));
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd out{pty_.Master(), POLLOUT, 0};
            const int ready = poll(&out, 1, kWriteWaitMillis);
            if (ready > 0 || (ready < 0 && errno == EINTR)) continue;
            if (ready == 0 && !flushed) {
                // Nobody reads: drop what earlier sessions left unread, as
                // a line with no listener loses it.
                tcflush(pty_.Slave(), TCIFLUSH);
                flushed = true;
                continue;
            }
        }
        if (settings_.verbose) log_ << "qxsim: an answer was lost: nobody reads the port\n";
        return;
    }
}

bool RadioServer::SaveIfWritten() {
    if (radio_.BlocksWritten() == savedBlocks_ || !settings_.imagePath) return true;
    const std::string error = SaveImageFile(*settings_.imagePath, radio_.Memory());
    if (!error.empty()) {
        log_ << "qxsim: " << error << '\n';
        return false;
    }
    savedBlocks_ = radio_.BlocksWritten();
    return true;
}

bool RadioServer::StopRequested() const {
    pollfd stop{stopFd_, POLLIN, 0};
    return poll(&stop, 1, 0) > 0;
}

void RadioServer::SleepUntil(Time deadline) const {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(deadline);
    const timespec until{static_cast<time_t>(seconds.count()),
                         static_cast<long>((deadline - seconds).count())};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
        if (StopRequested()) return;
    }
}

void RadioServer::Pause() const {
    pollfd stop{stopFd_, POLLIN, 0};
    poll(&stop, 1, kBackOffMillis);
}

}  // namespace qx::sim
