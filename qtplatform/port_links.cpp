#include "port_links.h"

#include <utility>

#include "image/image_codec.h"
#include "link/simulated_link.h"
#include "qt_serial_link.h"

namespace qx {

PortLinks::PortLinks(std::vector<std::uint8_t> simMemory, int simBaud)
    : radio_(std::move(simMemory)), simBaud_(simBaud) {}

std::unique_ptr<SerialLink> PortLinks::LinkFor(const std::string& portName, Timers& timers) {
    if (portName == kSimPortName) return std::make_unique<SimulatedLink>(radio_, timers, simBaud_);
    return std::make_unique<QtSerialLink>();
}

std::vector<std::uint8_t> FreshRadioMemory(const Document& doc) {
    Document copy = doc;
    SilentUi ui;  // a fresh document encodes without messages
    auto image = EncodeImage(copy, FeatureFlags{true, true, true, false}, ui);
    return image ? std::move(*image) : std::vector<std::uint8_t>{};
}

}  // namespace qx
