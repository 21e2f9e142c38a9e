// The radio's end of the cable: a pseudo-terminal whose slave side a program
// opens as its serial port, served by a SimulatedRadio until told to stop.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "link/simulated_radio.h"

namespace qx::sim {

class PseudoTerminal {
  public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens the pair in raw mode (no echo, no line-end translation) and keeps
    // the slave open as well, so the master never hangs up between the
    // sessions of a program that opens and closes the port. "" or what failed.
    std::string Open();

    int Master() const { return master_; }
    int Slave() const { return slave_; }
    const std::string& SlavePath() const { return slavePath_; }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

struct ServeSettings {
    int baud = 0;  // 0: answer at once
    bool once = false;
    bool verbose = false;
    std::optional<std::filesystem::path> imagePath;
};

class RadioServer {
  public:
    // `stopFd` turns readable when the server is to stop (the signal pipe).
    RadioServer(PseudoTerminal& pty, SimulatedRadio& radio, ServeSettings settings, int stopFd,
                std::ostream& log);

    // Serves until `stopFd` is readable or, with `once`, until the first end
    // line has arrived. 0, or 1 when the terminal failed.
    int Run();

    std::uint64_t BytesReceived() const { return bytesReceived_; }
    std::uint64_t BytesSent() const { return bytesSent_; }

  private:
    using Time = std::chrono::nanoseconds;  // on the monotonic clock

    // False once the end line has arrived in `once` mode.
    bool Consume(std::span<const std::uint8_t> bytes, Time readTime);
    void Answer(const std::vector<std::uint8_t>& answer, Time lineEnd);
    void WriteAll(std::span<const std::uint8_t> bytes);
    // False when a written block could not be saved to the image file.
    bool SaveIfWritten();
    bool StopRequested() const;
    void SleepUntil(Time deadline) const;
    void Pause() const;  // a short back-off while the terminal has nothing to give

    PseudoTerminal& pty_;
    SimulatedRadio& radio_;
    ServeSettings settings_;
    int stopFd_;
    std::ostream& log_;
    Time byteTime_{0};
    Time lastArrival_{0};
    Time lastSendEnd_{0};
    std::string lineText_;  // the current line, for the log
    int savedBlocks_ = 0;
    std::uint64_t bytesReceived_ = 0;
    std::uint64_t bytesSent_ = 0;
};

}  // namespace qx::sim
