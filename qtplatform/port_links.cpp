#include "port_links.h"

#include <utility>

#include "image/memory_image.h"
#include "link/simulated_link.h"
#include "qt_serial_link.h"

namespace qx {

PortLinks::PortLinks(std::vector<std::uint8_t> simMemory, int simBaud, const LanguageTexts* texts)
    : radio_(std::move(simMemory)), simBaud_(simBaud), texts_(texts) {}

std::unique_ptr<SerialLink> PortLinks::LinkFor(const std::string& portName, Timers& timers) {
    if (portName == kSimPortName) return std::make_unique<SimulatedLink>(radio_, timers, simBaud_);
    return std::make_unique<QtSerialLink>(texts_ != nullptr ? PortOpenTexts::From(*texts_)
                                                            : PortOpenTexts{});
}

std::string PortLinks::AddSimFaults(const std::string& rules) {
    std::vector<Fault> faults;
    for (std::size_t start = 0;;) {
        const std::size_t comma = rules.find(',', start);
        std::string error;
        const auto rule = ParseFaultRule(rules.substr(start, comma - start), error);
        if (!error.empty()) return error;
        faults.insert(faults.end(), rule.begin(), rule.end());
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    for (const Fault& fault : faults) radio_.AddFault(fault);
    return "";
}

std::vector<std::uint8_t> FreshRadioMemory(const Document& doc) {
    ImageEncoding encoding = EncodeImage(doc.codeplug(), FeatureFlags{true, true, true, false});
    return std::move(encoding.image);
}

}  // namespace qx
