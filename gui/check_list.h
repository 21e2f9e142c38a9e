// The check's problem list (CheckList): severity, where, field and message of
// each problem. Opened from the Transfer menu, or before a write that the
// check stopped (errors) or that waits for an answer (warnings only).
#pragma once

#include <QDialog>
#include <optional>

#include "codeplug/check.h"
#include "util/language_texts.h"

class QTableWidget;

namespace qx {

class CheckList final : public QDialog {
    Q_OBJECT
  public:
    // `offerWrite`: the list stands before a write that may go on; its OK
    // button (CommandOK, "Write anyway") accepts, Cancel rejects.
    CheckList(const CheckProblems& problems, bool offerWrite, const LanguageTexts& texts,
              QWidget* parent = nullptr);

    // The problem double-clicked to go to it; the list closed (rejected) then.
    const std::optional<CheckProblem>& chosen() const { return chosen_; }

  private:
    CheckProblems problems_;
    QTableWidget* table_ = nullptr;
    std::optional<CheckProblem> chosen_;
};

}  // namespace qx
