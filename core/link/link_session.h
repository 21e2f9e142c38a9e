// The values the link to the radio needs: the port and its line settings,
// and what the radio reported about itself. Part of the program's Session.
#pragma once

#include <string>

#include "codeplug/features.h"

namespace qx {

struct LinkSession {
    inline static const std::string kPortSettings = "9600,n,8,1";

    std::string portName;  // empty means no port
    std::string portSettings = kPortSettings;
    bool fixedPortList = false;  // COM1..COM256 instead of the ports found
    FeatureFlags featureFlags;
    std::string radioPassword;  // the password the radio reported in its last read
};

}  // namespace qx
