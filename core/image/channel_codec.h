// Channel rows in the memory image: each of the 104 table rows is a 32-byte
// record over two lines, plus one bit in the in-use and scan-skip bitmaps.
#pragma once

#include <string>

#include "app/document.h"
#include "image/hex.h"
#include "platform/ui.h"

namespace qx {

struct ImageReadState;

// What the decoder keeps from a record's first line until its second line.
struct RecordScratch {
    std::string step;
    std::string rxFreq;
    std::string rxTone;
    std::string bandwidth;  // "wide" or "narrow"
    std::string txFreq;
    std::string txTone;
    std::string bcl;
    std::string ani;
    int shiftPac = 0;  // bit 1 Shift, bit 0 PacMode
    bool priority = false;

    void Clear() { *this = RecordScratch{}; }
};

inline constexpr int kActiveBitmapLine = 18;
inline constexpr int kScanSkipBitmapLine = 19;

// The table row a record line belongs to (lines 20..27 and 32..231), else 0.
int RecordRowOfLine(int line);
// True for the first of a record's two lines.
bool IsFirstRecordLine(int line);

// The 32 hex characters of a record line, read from the ChannelTable (after
// UpdateAllArray). A signal code that one byte cannot hold is set to "0" in
// the table first. A Tx frequency that the record cannot hold is shown
// through `ui`, naming the row, and gives the text "error".
std::string EncodeChannelLine(Document& doc, int line, Ui& ui);
// Lines 18 (rows in use, from the grid status) and 19 (scan skip).
std::string EncodeRowBitmaps(const Document& doc, int line);

// A record's first line fills the scratch; its second line completes the
// row in the grid and the table.
void DecodeChannelLine(Document& doc, const HexLine& hex, int line, ImageReadState& state);
// Line 18 sets RowActive (and, in a normal read, empties every channel row
// the radio does not use); line 19 the scan-skip flags.
void DecodeRowBitmaps(Document& doc, const HexLine& hex, int line, ImageReadState& state);

}  // namespace qx
