// The 32 radio models: display texts, Rx/Tx bands and model codes, and the
// band checks of the frequency editors.
#pragma once

#include <string>
#include <vector>

#include "codeplug/frequency.h"
#include "util/numbers.h"

namespace qx {

struct Band {
    std::string lowText;   // as written in the display text: "136", "26"
    std::string highText;  // "173.9950"
    ScaledDecimal low;
    ScaledDecimal high;
    // Inclusive at both ends.
    bool Contains(const ScaledDecimal& value) const { return low <= value && value <= high; }
    // The band as messages show it: "136 - 173.9950" in double quotes.
    std::string RangeText() const { return "\"" + lowText + " - " + highText + "\""; }
};

struct ModelInfo {
    std::string name;         // "NORVA_AE"
    std::string displayText;  // "NORVA_AE:Rx(136-173.9950) Tx(144-145.9950)"
    std::string modelCode;    // six hex digits as the radio stores them: "335566"
    Band rx;
    Band tx;
    // What a new or cleared channel of this model holds.
    Frequency defaultFrequency;  // Rx and Tx, with four decimals
    Step defaultStep = Step::k5;
    // False where a new document leaves channel 0 unused and blank.
    bool channelZeroInUse = true;
};

inline constexpr int kModelCount = 32;
inline constexpr int kStartModelIndex = 3;

// All models in selector order; the row index is the selector's list index.
const std::vector<ModelInfo>& ModelTable();

// The model at `index`, or nullptr when the index is outside 0..31.
const ModelInfo* ModelAt(int index);

// Default Rx/Tx frequency of a model; empty for an index outside 0..31.
std::string DefaultFrequency(int modelIndex);

}  // namespace qx
