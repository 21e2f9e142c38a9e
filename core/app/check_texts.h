// The check's problems in words of the chosen language ([Check] of the
// language file): "channel 5, Rx frequency: 520.0000 MHz is outside
// 400–470 MHz".
#pragma once

#include <string>

#include "codeplug/check.h"
#include "util/language_texts.h"

namespace qx {

// The parts a problem list shows in its columns.
struct CheckProblemWords {
    std::string severity;  // "error", "warning"
    std::string where;     // "channel 5", "PL", "radio options", "5-tone"
    std::string field;     // "Rx frequency", "MR No", "code 12"
    std::string message;   // "520.0000 MHz is outside 400–470 MHz"
};
CheckProblemWords DescribeCheckProblem(const CheckProblem& problem, const LanguageTexts& texts);

// "where, field: message".
std::string CheckProblemLine(const CheckProblem& problem, const LanguageTexts& texts);
// The line as a report prints it: a warning marked "warning: ", an error as it is.
std::string CheckReportLine(const CheckProblem& problem, const LanguageTexts& texts);

}  // namespace qx
