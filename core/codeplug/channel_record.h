// What a channel record of the memory image can hold and what the radio
// makes of it: frequencies in whole 100 Hz units, Tx as an offset from Rx
// that the radio puts back on the step grid, and the range of each option
// signal's codes. The image codec and the write check share these rules.
#pragma once

#include <cstdint>
#include <string>

#include "codeplug/channel.h"
#include "codeplug/frequency.h"

namespace qx {

inline constexpr std::int64_t kRecordHzPerUnit = 100;
inline constexpr std::int64_t kRecordUnitsPerMhz = 10000;
// Rx has 8 decimal digits of 100 Hz, the offset 6: both limits are excluded.
inline constexpr std::int64_t kRecordRxLimitUnits = 10000 * kRecordUnitsPerMhz;
inline constexpr std::int64_t kRecordOffsetLimitUnits = 100 * kRecordUnitsPerMhz;

// A count of record units as MHz with four decimals ("99.9999").
std::string RecordMhzText(std::int64_t units);

// A frequency in the record's units; what lies below 100 Hz is dropped.
inline std::int64_t RecordUnits(const Frequency& frequency) {
    return frequency.Hz() / kRecordHzPerUnit;
}
// The distance of Tx from Rx as the record stores it.
std::int64_t RecordOffsetUnits(const Frequency& rx, const Frequency& tx);
bool RecordHoldsRx(const Frequency& rx);
bool RecordHoldsOffset(const Frequency& rx, const Frequency& tx);

// The Rx a record of `rx` gives back (four decimals).
Frequency RecordRx(std::int64_t rxUnits);
// The Tx the radio shows for a record: Rx moved by the offset in single
// precision, written with seven significant digits, then put on the step
// grid (a read repeats the radio's own arithmetic). Below 0 MHz it is 0.
// Should that arithmetic leave the offset the record can hold, the exact
// sum stands instead, so that what a read gives is always writable again.
Frequency RecordTx(const Frequency& rx, std::int64_t offsetUnits, bool below, Step step);
// What a read shows after `channel` was written: its Rx and Tx as above.
Frequency ReadBackRx(const Channel& channel);
Frequency ReadBackTx(const Channel& channel);

// The highest code and second choice each option signal stores; -1 where
// the signal keeps none.
int SignalCodeLimit(SignalKind kind);
int SignalSubCodeLimit(SignalKind kind);

}  // namespace qx
