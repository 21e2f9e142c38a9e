// The serial port named "sim": a SerialLink to an in-process SimulatedRadio.
// Replies arrive through the timers, never inside Write, after the wire time
// of the line and its reply when a baud rate is set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/simulated_radio.h"
#include "platform/serial_link.h"
#include "platform/timers.h"

namespace qx {

inline constexpr const char* kSimPortName = "sim";

class SimulatedLink final : public SerialLink {
  public:
    // baud 0: replies arrive at once (on the next timer tick).
    SimulatedLink(SimulatedRadio& radio, Timers& timers, int baud = 0);
    ~SimulatedLink() override;

    void SetEvents(SerialEvents* events) override { events_ = events; }
    std::string Open(const std::string& portName, const std::string& settings) override;
    bool IsOpen() const override { return open_; }
    void Close() override;
    void DiscardInput() override { waiting_.clear(); }
    void SetReceiveThreshold(std::size_t bytes) override { threshold_ = bytes; }
    std::string Write(std::string_view bytes) override;

    // Test hooks: the next Open fails with `text`; the cable is pulled now.
    void FailNextOpen(std::string text) { openError_ = std::move(text); }
    void Disconnect();

    std::size_t BytesWritten() const { return bytesWritten_; }
    std::size_t BytesDelivered() const { return bytesDelivered_; }

  private:
    void Arrive(std::vector<std::uint8_t> bytes);

    SimulatedRadio& radio_;
    Timers& timers_;
    int baud_;
    SerialEvents* events_ = nullptr;
    bool open_ = false;
    std::string openError_;
    std::size_t threshold_ = 1;
    std::vector<std::uint8_t> waiting_;
    std::vector<Timers::TimerId> pending_;
    std::size_t bytesWritten_ = 0;
    std::size_t bytesDelivered_ = 0;
};

}  // namespace qx
