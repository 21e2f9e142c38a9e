#include "qt_serial_link.h"

#include <QByteArray>
#include <QMetaObject>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>
#include <vector>

#include "util/text.h"

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace qx {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Errors after which the open port is of no further use: the device went
// away (a pulled cable, the far end of a pseudo-terminal closed) or refuses
// I/O. A pseudo-terminal whose other end closed reads as end of file, which
// Qt reports as a ReadError over and over for as long as the port stays open.
bool EndsTheLink(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
        case QSerialPort::PermissionError:
        case QSerialPort::ResourceError:
        case QSerialPort::ReadError:
        case QSerialPort::WriteError:
            return true;
        default:
            return false;
    }
}

}  // namespace

DeviceAccess InspectDevice(const std::string& portName) {
    DeviceAccess device;
#ifdef Q_OS_UNIX
    const std::string path = portName.starts_with('/') ? portName : "/dev/" + portName;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        device.exists = errno != ENOENT && errno != ENOTDIR;
        return device;
    }
    device.accessible = ::access(path.c_str(), R_OK | W_OK) == 0;
    device.groupMayUse = (info.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    // getgrgid_r: the buffer is this call's own, so no other thread's lookup interferes.
    std::vector<char> buffer(16384);
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->gr_name != nullptr) {
        device.group = found->gr_name;
    }
#else
    // A COM port has no permissions of its own: it is refused only while
    // another program holds it.
    (void)portName;
    device.accessible = true;
#endif
    return device;
}

std::string OpenErrorText(const std::string& portName, QSerialPort::SerialPortError error,
                          const std::string& qtText, const DeviceAccess& device,
                          const PortOpenTexts& texts) {
    if (error == QSerialPort::DeviceNotFoundError || !device.exists) {
        return FillPlaceholders(texts.missing, {portName});
    }
    if (error == QSerialPort::PermissionError) {
        if (device.accessible) return portName + ": the port is in use by another program";
        // Joining the superuser's group is no advice to give.
        if (!device.group.empty() && device.group != "root" && device.groupMayUse) {
            return FillPlaceholders(texts.noPermissionGroup, {portName, device.group});
        }
        return FillPlaceholders(texts.noPermission, {portName});
    }
    return portName + ": " + qtText;
}

std::optional<LineSettings> ParseLineSettings(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto comma = text.find(',', start);
        fields.push_back(Trimmed(text.substr(start, comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (fields.size() != 4) return std::nullopt;

    LineSettings settings;
    const auto baud = WholeNumber(fields[0]);
    if (!baud || *baud <= 0) return std::nullopt;
    settings.baud = *baud;

    if (fields[1].size() != 1) return std::nullopt;
    switch (fields[1][0]) {
        case 'n':
        case 'N':
            settings.parity = QSerialPort::NoParity;
            break;
        case 'e':
        case 'E':
            settings.parity = QSerialPort::EvenParity;
            break;
        case 'o':
        case 'O':
            settings.parity = QSerialPort::OddParity;
            break;
        default:
            return std::nullopt;
    }

    const auto dataBits = WholeNumber(fields[2]);
    if (!dataBits || *dataBits < 5 || *dataBits > 8) return std::nullopt;
    settings.dataBits = static_cast<QSerialPort::DataBits>(*dataBits);

    const auto stopBits = WholeNumber(fields[3]);
    if (!stopBits || (*stopBits != 1 && *stopBits != 2)) return std::nullopt;
    settings.stopBits = *stopBits == 1 ? QSerialPort::OneStop : QSerialPort::TwoStop;
    return settings;
}

QtSerialLink::QtSerialLink(PortOpenTexts texts) : texts_(std::move(texts)) {
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { DeliverIfDue(); });
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { OnError(error); });
}

QtSerialLink::~QtSerialLink() {
    events_ = nullptr;
    port_.close();
}

std::string QtSerialLink::Open(const std::string& portName, const std::string& settings) {
    Close();
    const auto line = ParseLineSettings(settings);
    if (!line) return portName + ": invalid port settings \"" + settings + "\"";
    if (portName.empty()) return "no serial port chosen";

    // A full path ("/dev/pts/5") is taken as it is; a bare name is looked up in /dev.
    port_.setPortName(QString::fromStdString(portName));
    port_.setBaudRate(line->baud);
    port_.setParity(line->parity);
    port_.setDataBits(line->dataBits);
    port_.setStopBits(line->stopBits);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.setReadBufferSize(1024);
    if (!port_.open(QIODevice::ReadWrite)) {
        const std::string error =
            OpenErrorText(portName, port_.error(), port_.errorString().toStdString(),
                          InspectDevice(portName), texts_);
        port_.clearError();
        return error;
    }
    portName_ = portName;
    reported_ = false;
    return {};
}

void QtSerialLink::Close() {
    if (port_.isOpen()) port_.close();
}

void QtSerialLink::DiscardInput() {
    if (!port_.isOpen()) return;
    port_.clear(QSerialPort::Input);
    port_.readAll();
}

void QtSerialLink::SetReceiveThreshold(std::size_t bytes) {
    threshold_ = std::max<std::size_t>(bytes, 1);
    // Bytes already waiting would otherwise wait for the next readyRead, which
    // may never come. They are delivered from the event loop, never from
    // inside this call, so the caller's state is settled first.
    if (checkQueued_ || !port_.isOpen() ||
        port_.bytesAvailable() < static_cast<qint64>(threshold_)) {
        return;
    }
    checkQueued_ = true;
    QMetaObject::invokeMethod(
        &port_,
        [this] {
            checkQueued_ = false;
            DeliverIfDue();
        },
        Qt::QueuedConnection);
}

std::string QtSerialLink::Write(std::string_view bytes) {
    if (!port_.isOpen()) return "the serial port is not open";
    const qint64 size = static_cast<qint64>(bytes.size());
    if (port_.write(bytes.data(), size) != size) {
        return portName_ + ": " + port_.errorString().toStdString() + ".";
    }
    // Hands the bytes to the device now rather than on the next event-loop turn.
    port_.flush();
    return {};
}

void QtSerialLink::DeliverIfDue() {
    if (!port_.isOpen() || port_.bytesAvailable() < static_cast<qint64>(threshold_)) return;
    const QByteArray data = port_.readAll();
    if (data.isEmpty() || events_ == nullptr) return;
    const std::vector<std::uint8_t> bytes(data.begin(), data.end());
    events_->OnBytes(bytes);
}

void QtSerialLink::OnError(QSerialPort::SerialPortError error) {
    if (!EndsTheLink(error) || !port_.isOpen() || reported_) return;
    reported_ = true;
    // After an end of file Qt's error text is whatever errno last held.
    const std::string text =
        portName_ + ": " +
        (error == QSerialPort::ReadError ? std::string("the port can no longer be read")
                                         : port_.errorString().toStdString()) +
        ".";
    port_.close();
    if (events_ != nullptr) events_->OnLinkError(text);
}

}  // namespace qx
