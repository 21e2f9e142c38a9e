// The columns of the channel grid (MFG): their numbers, the fields they
// show and their widths.
#pragma once

#include <array>

#include "codeplug/rows.h"

namespace qx {

// Grid columns: the row label, the status, then the fields of a row.
enum Column : int {
    kColLabel = 0,
    kColStatus = 1,
    kColName = 2,
    kColStep = 3,
    kColRxFreq = 4,
    kColRxTone = 5,
    kColBandwidth = 6,
    kColPacMode = 7,
    kColDcsDetect = 8,
    kColScanSkip = 9,
    kColPriority = 10,
    kColTxFreq = 11,
    kColTxTone = 12,
    kColBcl = 13,
    kColAni = 14,
    kColShift = 15,
    kColOptSignal = 16,
};

inline constexpr int kFirstFieldColumn = kColName;  // the columns of a row's fields: 2..16
inline constexpr int kLastFieldColumn = kColOptSignal;

inline constexpr const char* kInactiveCell = "---";

// The language key (section "Channel") of each column's heading.
inline constexpr std::array<const char*, kColOptSignal + 1> kColumnHeadingKeys = {
    "50000", "50001", "50002", "50003", "50004", "50005", "50006", "50007", "50008",
    "50009", "50010", "50011", "50012", "50013", "50014", "50021", "50022"};

// Grid column widths in twips (1440 to the inch) for the label column 0 and
// columns 1..15; 0 hides the column. The option-signal column, last, takes
// the rest of the row.
inline constexpr std::array<int, kColOptSignal> kGridColumnTwips = {
    300, 800, 960, 800, 1200, 1040, 800, 720, 800, 800, 1200, 1200, 1040, 800, 0, 720};

}  // namespace qx
