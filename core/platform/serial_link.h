// The serial port as the transfer needs it: open a named port, write lines,
// and hear back once at least the receive threshold of bytes is waiting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qx {

// What a link reports to its owner. Both arrive on the owner's thread.
class SerialEvents {
  public:
    virtual ~SerialEvents() = default;
    // All bytes waiting at the port, delivered once at least the receive
    // threshold is waiting. The waiting input is empty afterwards.
    virtual void OnBytes(std::span<const std::uint8_t> bytes) = 0;
    // The open port failed (cable pulled, device gone); the link is closed.
    virtual void OnLinkError(const std::string& text) = 0;
};

class SerialLink {
  public:
    virtual ~SerialLink() = default;
    // nullptr stops the reports.
    virtual void SetEvents(SerialEvents* events) = 0;
    // Opens `portName` with `settings` ("9600,n,8,1"), no handshaking.
    // "" on success, else the port's error text.
    virtual std::string Open(const std::string& portName, const std::string& settings) = 0;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    virtual void DiscardInput() = 0;
    virtual void SetReceiveThreshold(std::size_t bytes) = 0;
    // "" when the bytes were handed to the port, else the error text.
    virtual std::string Write(std::string_view bytes) = 0;
};

}  // namespace qx
