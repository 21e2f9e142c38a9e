// The radio option record: "setup" and 27 value fields joined by
// "|". Values are canonical English words whatever the display language.
#pragma once

#include <string>
#include <vector>

namespace qx {

inline constexpr int kOptionFieldCount = 27;
// Marks a field that does not apply in the current mode.
inline constexpr const char* kOptionPlaceholder = "----------------";

enum OptionField : int {
    kOptIndication = 1,
    kOptStartMode,
    kOptMrNumber,
    kOptSquelch,
    kOptTxPower,
    kOptScanStart,
    kOptPowerChange,
    kOptKeyLockChange,
    kOptMoniKey,
    kOptCtcssDcsChange,
    kOptTbstOutput,
    kOptDtmfBurstDelay,
    kOptDtmfFirstDigit,
    kOptDtmfTxInterval,
    kOptTbstFreq,
    kOptTimeoutTimer,
    kOptTimeoutPenalty,
    kOptKeyLock,
    kOptApo,
    kOptBeep,
    kOptScanningMode,
    kOptLampMode,
    kOptSecurityMode,
    kOptModelLock,
    kOptPowerSelect,
    kOptScrambler,
    kOptAftersound,
};

// The six "permitted" selectors that follow the indication mode.
inline constexpr int kFirstPermissionField = kOptScanStart;
inline constexpr int kLastPermissionField = kOptTbstOutput;

// Fields shown as a check box rather than a list.
bool IsOptionCheckBox(int field);

// The canonical values of a field in list order; for a check box the values
// for checked and for clear.
const std::vector<std::string>& OptionValues(int field);

// "setup" followed by the given 27 fields (index 1..27; index 0 is ignored).
std::string JoinOptionRecord(const std::vector<std::string>& fields);

}  // namespace qx
