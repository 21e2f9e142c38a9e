// The words of the Edit menu: what an undo step did, in the chosen language
// ("channel 5 Rx Freq", "radio options").
#pragma once

#include <optional>
#include <string>

#include "app/history.h"
#include "util/language_texts.h"

namespace qx {

// A row in words: "channel 5", "call channel", "PL", "PH", "VFO".
std::string RowWords(int row, const LanguageTexts& texts);

// A step in words: a channel edit names the row and the field's grid heading.
std::string DescribeStep(const StepLabel& step, const LanguageTexts& texts);

// The Undo and Redo entries: "&Undo: channel 5 Rx Freq", or the plain "&Undo"
// when there is nothing to undo.
std::string UndoEntryText(const std::optional<StepLabel>& step, const LanguageTexts& texts);
std::string RedoEntryText(const std::optional<StepLabel>& step, const LanguageTexts& texts);

}  // namespace qx
