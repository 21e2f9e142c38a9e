// The whole-document channel operations of the main window: the start-up
// load, New, the model change, switching rows on and off, and the band
// checks of the frequency editors.
#pragma once

#include <functional>
#include <string>

#include "app/document.h"
#include "app/session.h"
#include "platform/ui.h"

namespace qx {

// The new-document operation for the document's model: one step, clean.
void ClearAll(Document& doc);

// The main window's load: language texts, feature menus, then a new
// document of the start model.
void LoadMainWindow(Document& doc, const LanguageTexts& lang, const FeatureFlags& flags, Ui& ui);

// Rebuilds the option-signal list and the signalling menus from the features.
void ShowRadioFeatures(Document& doc, const FeatureFlags& flags);

// Selecting a model in the selector. With unsaved changes it asks MSG 9001
// (Yes/No/Cancel); Yes runs `save` first (it returns false when nothing was
// saved, which stops the change like Cancel). The change clears the
// document for the new model as one step. False when the model stays.
bool ChangeModel(Document& doc, int modelIndex, Ui& ui, const std::function<bool()>& save);

// Switches a channel row (1..102) on or off as one step. Switching it on
// gives a blank row the model's defaults; switching it off clears every
// priority that names it, and a row without option signal keeps code 0.
void SetRowInUse(Document& doc, int row, bool inUse);

struct BandCheck {
    bool inBand = false;
    std::string rangeText;  // the model's band in quotes: "136 - 173.9950"
};
BandCheck CheckRxFreq(int model, const std::string& text);
BandCheck CheckTxFreq(int model, const std::string& text);

}  // namespace qx
