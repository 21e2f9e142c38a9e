// The shape of the channel data: row and column numbers, the grid texts
// (MFG) and the ChannelTable, both indexed 1-based exactly as the grid is.
#pragma once

#include <array>
#include <stdexcept>
#include <string>

#include "codeplug/rows.h"

namespace qx {

// Grid and table columns (1..16 in both, 17 and 18 in the table only).
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
    kColSignalCode = 17,
    kColSignalSubCode = 18,
};

inline constexpr int kFirstFieldColumn = kColName;      // the columns rows copy between
inline constexpr int kLastFieldColumn = kColOptSignal;  // grid and table: 2..16

inline constexpr const char* kInactiveCell = "---";

// Grid column widths in twips (1440 to the inch) for the label column 0 and
// columns 1..15; 0 hides the column. The option-signal column, last, takes
// the rest of the row.
inline constexpr std::array<int, kColOptSignal> kGridColumnTwips = {
    300, 800, 960, 800, 1200, 1040, 800, 720, 800, 800, 1200, 1200, 1040, 800, 0, 720};

// A bounds-checked matrix of texts addressed (row, column).
template <int Rows, int Columns>
class TextMatrix {
  public:
    static constexpr int kRows = Rows;
    static constexpr int kColumns = Columns;

    std::string& At(int row, int column) { return cells_.at(Index(row, column)); }
    const std::string& At(int row, int column) const { return cells_.at(Index(row, column)); }
    friend bool operator==(const TextMatrix&, const TextMatrix&) = default;

  private:
    static std::size_t Index(int row, int column) {
        if (row < 0 || row >= Rows || column < 0 || column >= Columns) {
            throw std::out_of_range("cell (" + std::to_string(row) + ", " + std::to_string(column) +
                                    ") outside the table");
        }
        return static_cast<std::size_t>(row) * Columns + static_cast<std::size_t>(column);
    }
    std::array<std::string, static_cast<std::size_t>(Rows) * Columns> cells_{};
};

// MFG: 105 rows x 17 columns; row 0 headings, column 0 row labels.
using GridTexts = TextMatrix<kRowCount + 1, kColOptSignal + 1>;
// ChannelTable: rows 1..104, columns 1..18 (index 0 unused in both).
using ChannelTable = TextMatrix<kRowCount + 1, kColSignalSubCode + 1>;

}  // namespace qx
