// Everything a document holds that an operation could change, its undo
// history included, so a test can check that a failed operation left it
// exactly as it was.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/document.h"

namespace qx::test {

struct DocumentState {
    // The current codeplug, then the one each Undo reaches, then each Redo
    // from there; with the step each Undo or Redo would take and whether the
    // document is modified there.
    std::vector<Codeplug> codeplugs;
    std::vector<std::optional<StepLabel>> undoSteps;
    std::vector<std::optional<StepLabel>> redoSteps;
    std::vector<bool> modified;
    std::string filename;
    std::string statusText;
    friend bool operator==(const DocumentState&, const DocumentState&) = default;
};

inline DocumentState StateOf(const Document& doc) {
    DocumentState state;
    state.filename = doc.filename;
    state.statusText = doc.statusText;
    const auto record = [&state](const Document& d) {
        state.codeplugs.push_back(d.codeplug());
        state.undoSteps.push_back(d.UndoStep());
        state.redoSteps.push_back(d.RedoStep());
        state.modified.push_back(d.Modified());
    };
    Document walked = doc;
    record(walked);
    while (walked.Undo()) record(walked);
    walked = doc;
    while (walked.Redo()) record(walked);
    return state;
}

inline void PrintTo(const DocumentState& state, std::ostream* os) {
    *os << state.codeplugs.size() << " codeplugs along the history, file \"" << state.filename
        << "\"";
}

}  // namespace qx::test
