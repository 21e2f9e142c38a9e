// The serial ports of the machine, by name ("/dev/ttyUSB0", "COM3").
#pragma once

#include <string>
#include <vector>

namespace qx {

class PortDirectory {
  public:
    virtual ~PortDirectory() = default;
    virtual std::vector<std::string> PortNames() const = 0;
};

}  // namespace qx
