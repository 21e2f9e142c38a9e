#include "port_links.h"

#include <utility>

#include "image/image_codec.h"
#include "link/simulated_link.h"
#include "qt_serial_link.h"

namespace qx {
namespace {

// A fresh document encodes without messages; should one come, the image is
// simply not used.
class QuietUi final : public Ui {
  public:
    void ShowMessage(const std::string&) override {}
    Answer Ask(const std::string&, Buttons) override { return Answer::No; }
    std::optional<std::string> AskPassword() override { return std::nullopt; }
    std::optional<std::string> ChooseOpenFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const std::string&) override { return std::nullopt; }
};

}  // namespace

PortLinks::PortLinks(std::vector<std::uint8_t> simMemory, int simBaud)
    : radio_(std::move(simMemory)), simBaud_(simBaud) {}

std::unique_ptr<SerialLink> PortLinks::LinkFor(const std::string& portName, Timers& timers) {
    if (portName == kSimPortName) return std::make_unique<SimulatedLink>(radio_, timers, simBaud_);
    return std::make_unique<QtSerialLink>();
}

std::vector<std::uint8_t> FreshRadioMemory(const Document& doc) {
    Document copy = doc;
    QuietUi ui;
    auto image = EncodeImage(copy, FeatureFlags{true, true, true, false}, ui);
    return image ? std::move(*image) : std::vector<std::uint8_t>{};
}

}  // namespace qx
