// The machine's serial ports as QSerialPortInfo finds them, named as a user
// types them: "/dev/ttyUSB0" on Unix, "COM3" on Windows; with them the
// terminals of the qxsim simulators running now.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/port_directory.h"
#include "sim_registry.h"

namespace qx {

class QtPortDirectory final : public PortDirectory {
  public:
    // `simRegistry`: where running simulators name their terminals.
    explicit QtPortDirectory(std::filesystem::path simRegistry = SimRegistryDir())
        : simRegistry_(std::move(simRegistry)) {}
    std::vector<std::string> PortNames() const override;

  private:
    std::filesystem::path simRegistry_;
};

// Orders names with their digit runs compared as numbers, so "ttyS2" comes
// before "ttyS10" and "COM9" before "COM10".
bool NaturalLess(std::string_view a, std::string_view b);

// Sorted naturally, each name once.
std::vector<std::string> SortedPortNames(std::vector<std::string> names);

}  // namespace qx
