// The summary an import of channels shows before anything changes: the
// totals, what was changed to fit the radio and what is left out, with OK
// (import) and Cancel (change nothing).
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "util/language_texts.h"

namespace qx {

class CsvSummaryDialog final : public QDialog {
    Q_OBJECT
  public:
    // `summary` as CsvSummaryLines gives it: the notes, then the totals;
    // `replaced`: the channels in use the import overwrites.
    CsvSummaryDialog(const std::vector<std::string>& summary, const std::vector<int>& replaced,
                     const LanguageTexts& texts, QWidget* parent = nullptr);
};

}  // namespace qx
