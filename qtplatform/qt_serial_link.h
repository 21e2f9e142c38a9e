// The SerialLink over a real serial port (or a pseudo-terminal such as the
// one qxsim opens), through QSerialPort. Events arrive on the thread that
// runs the Qt event loop.
#pragma once

#include <QSerialPort>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "link/port_settings.h"
#include "platform/serial_link.h"

namespace qx {

// "9600,n,8,1": baud, parity (n, e, o), data bits (5..8), stop bits (1, 2).
struct LineSettings {
    qint32 baud = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};
std::optional<LineSettings> ParseLineSettings(std::string_view text);

// What the file system says of the device a port name stands for.
struct DeviceAccess {
    bool exists = true;        // false only when the device is known to be missing
    bool accessible = false;   // the user may read and write it
    std::string group;         // the group that owns it, "" when unknown
    bool groupMayUse = false;  // members of that group may read and write it
};
// A bare name ("ttyUSB0") is looked up in /dev.
DeviceAccess InspectDevice(const std::string& portName);

// Why `portName` would not open, for the user. Qt reports a port that another
// program holds (its lock file, or the device busy) as a permission error;
// when the user may read and write the device, that is what it means.
// Otherwise a missing device is named as missing, and a forbidden one tells
// which group to join.
std::string OpenErrorText(const std::string& portName, QSerialPort::SerialPortError error,
                          const std::string& qtText, const DeviceAccess& device,
                          const PortOpenTexts& texts);

class QtSerialLink final : public SerialLink {
  public:
    explicit QtSerialLink(PortOpenTexts texts = {});
    ~QtSerialLink() override;
    QtSerialLink(const QtSerialLink&) = delete;
    QtSerialLink& operator=(const QtSerialLink&) = delete;

    void SetEvents(SerialEvents* events) override { events_ = events; }
    std::string Open(const std::string& portName, const std::string& settings) override;
    bool IsOpen() const override { return port_.isOpen(); }
    void Close() override;
    void DiscardInput() override;
    void SetReceiveThreshold(std::size_t bytes) override;
    std::string Write(std::string_view bytes) override;

  private:
    void DeliverIfDue();
    void OnError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    PortOpenTexts texts_;
    SerialEvents* events_ = nullptr;
    std::string portName_;
    std::size_t threshold_ = 1;
    bool checkQueued_ = false;
    bool reported_ = false;  // OnLinkError is reported at most once per open
};

}  // namespace qx
