// The link behind a port name: the built-in simulated radio for "sim", a
// real serial port for any other name. The simulated radio lives as long as
// this object, so what one transfer writes to it the next one reads back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/document.h"
#include "link/simulated_radio.h"
#include "platform/serial_link.h"
#include "platform/timers.h"
#include "util/language_texts.h"

namespace qx {

class PortLinks {
  public:
    // `simMemory`: what the simulated radio holds at first. `simBaud` paces
    // its replies as on a line of that speed; 0 answers at once. `texts`,
    // when given, words a port's open failure in the current language; it
    // must outlive this object.
    explicit PortLinks(std::vector<std::uint8_t> simMemory, int simBaud = 0,
                       const LanguageTexts* texts = nullptr);

    // A closed link for `portName`; the caller opens it.
    std::unique_ptr<SerialLink> LinkFor(const std::string& portName, Timers& timers);

    SimulatedRadio& SimRadio() { return radio_; }
    // Fault rules for the simulated radio, separated by ","; the first rule
    // not understood is refused with the reason (nothing is added then).
    std::string AddSimFaults(const std::string& rules);

  private:
    SimulatedRadio radio_;
    int simBaud_;
    const LanguageTexts* texts_;
};

// The memory of a radio that holds `doc` (a fresh document gives the default
// channel list), with every feature but the fourth. Empty (a blank radio)
// should the document not encode.
std::vector<std::uint8_t> FreshRadioMemory(const Document& doc);

}  // namespace qx
