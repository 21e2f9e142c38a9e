// Everything the main window owns: the channel grid and table with their
// defaults, the option and auto-dialer records, the signalling records, and
// the language texts the channel code needs. No toolkit types.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "app/language_texts.h"
#include "channels/channel_table.h"
#include "signalling/signalling_settings.h"

namespace qx {

inline constexpr const char* kDefaultSetup =
    "setup|Frequency|VFO|0|3|Hi|----------------|----------------|----------------|"
    "----------------|----------------|----------------|100ms|60ms|60ms|1750Hz|off|"
    "----------------|off|off|Enable|Timer|High|off|Lock|60W|1|0";
inline constexpr const char* kDefaultAutoDial = "Ad||||||||||";
inline constexpr const char* kNoFileName = "noname.qx";
inline constexpr const char* kCurrentFilePrefix = " Current File: ";  // first status panel
// Pieces of a well-formed strSetup ("setup" and 27 fields) and strAutoDial
// ("Ad", nine memories and the empty piece after the last "|") split at "|".
inline constexpr std::size_t kSetupPieces = 28;
inline constexpr std::size_t kAutoDialPieces = 11;

// The language texts the document uses, captured when the main window loads
// (and again on a language change) as the window keeps its own copies.
struct DocumentTexts {
    std::string active;       // Channel 50015: an active row's status
    std::string inactive;     // Channel 50016
    std::string wide;         // Channel 50019
    std::string narrow;       // Channel 50020
    std::string scanSkipOff;  // Channel 50023, the default scan-skip choice
    std::string scanSkipOn;   // Channel 50024
    std::array<std::string, kColOptSignal + 1> headings;  // grid row 0
    std::array<std::string, 9> messages;                  // MSG 9001..9009
    std::string printQuestion;                            // MSG 900B
    std::string statusPanel1;                             // OTHERS 70007
    std::string statusPanel2;                             // OTHERS 70008

    static DocumentTexts From(const LanguageTexts& texts);
    // MSG 9001 .. 9009 by number.
    const std::string& Message(int number) const { return messages.at(number - 9001); }
    friend bool operator==(const DocumentTexts&, const DocumentTexts&) = default;
};

// Which signalling menu entries the radio's features show.
struct SignallingMenus {
    bool dtmf = false;
    bool twoTone = false;
    bool fiveTone = false;
    friend bool operator==(const SignallingMenus&, const SignallingMenus&) = default;
};

struct Document {
    DocumentTexts texts;

    GridTexts grid;                                               // MFG
    ChannelTable table;                                           // ChannelTable
    std::array<std::string, kColSignalSubCode + 1> DefaultRow{};  // element 1 unused
    std::array<std::string, kRowCount + 1> RowStep{};             // rows 1..104
    std::array<bool, kRowCount + 1> RowActive{};                  // rows 1..104

    std::string strSetup = kDefaultSetup;
    std::string strAutoDial = kDefaultAutoDial;
    bool bModify = false;
    bool BeReadReshow = false;
    int modelIndex = -1;  // -1 until the model selector is filled

    std::string filename = kNoFileName;
    std::string statusText;  // first status-bar panel

    std::vector<std::string> optSignalList = {"None"};  // ComboOptSignal
    SignallingMenus menus;
    SignallingPair signalling;

    // Editing state of the grid: the current cell and whether the option
    // signal's code lists are shown.
    int currentRow = 1;
    int currentColumn = 1;
    bool codeListsShown = false;

    std::string& Cell(int row, int column) { return grid.At(row, column); }
    const std::string& Cell(int row, int column) const { return grid.At(row, column); }
    std::string& Table(int row, int column) { return table.At(row, column); }
    const std::string& Table(int row, int column) const { return table.At(row, column); }

    // A row is in use when its status cell shows the active text.
    bool IsActive(int row) const { return Cell(row, kColStatus) == texts.active; }
    friend bool operator==(const Document&, const Document&) = default;
};

}  // namespace qx
