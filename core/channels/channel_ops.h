// The whole-document channel operations: defaults per model, clearing, the
// grid build, copying rows between grid and table, the model change and the
// band checks.
#pragma once

#include <functional>
#include <string>

#include "app/document.h"
#include "app/session.h"
#include "platform/ui.h"

namespace qx {

// Re-derives DefaultRow's frequencies and step and every RowStep from the model.
void InitDefaultFres(Document& doc);

// Puts the grid cells of one row (1..104) into their default state; the
// status cell and the table are left alone. Model 9 gives channel 0 no defaults.
void InitialSingleLine(Document& doc, int row);

// The new-document operation.
void ClearAll(Document& doc);

// Builds the grid at window load; `texts` must already be set. Ends without
// selecting a model: the caller selects the start model through ChangeModel.
void BuildGrid(Document& doc);

// The main window's load: feature menus, signalling defaults, language texts,
// the grid, then the start model (which clears the document).
void LoadMainWindow(Document& doc, const LanguageTexts& lang, const FeatureFlags& flags, Ui& ui);

// Rebuilds the option-signal list and the signalling menus from the features.
void ReShowFunByRadio(Document& doc, const FeatureFlags& flags);

// Copies grid columns 2..16 of a row into the table and shows "---". The
// row's signalling codes (table columns 17, 18) are its own and stay as they are.
void WriteBuffer(Document& doc, int row);
// Copies the table row back into the grid; empty values take DefaultRow.
void ReadBuffer(Document& doc, int row);
// Copies every live row (active status or empty status) into the table.
void UpdateAllArray(Document& doc);

// Selecting a model in the selector. With unsaved changes it asks MSG 9001
// (Yes/No/Cancel); Yes runs `save` first (it returns false when nothing was
// saved, which stops the change like Cancel); Cancel keeps the new model but
// leaves the table as it is.
void ChangeModel(Document& doc, int modelIndex, Ui& ui, const std::function<bool()>& save);

struct BandCheck {
    bool inBand = false;
    std::string rangeText;  // the model's band in quotes: "136 - 173.9950"
};
BandCheck CheckRxFreq(const Document& doc, const std::string& sFreq);
BandCheck CheckTxFreq(const Document& doc, const std::string& sFreq);

// Rounds to the current row's step.
std::string AdjustRxFreq(const Document& doc, const std::string& sFreq);

}  // namespace qx
