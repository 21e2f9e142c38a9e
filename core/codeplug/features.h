// What the radio offers, as its memory image reports it.
#pragma once

namespace qx {

struct FeatureFlags {
    bool fiveTone = false;
    bool twoTone = false;
    bool dtmf = false;
    bool fourth = false;  // only stored and restored with the others
    friend bool operator==(const FeatureFlags&, const FeatureFlags&) = default;
};

}  // namespace qx
