// The listing's printer: the lines are collected, then laid out in pages on
// the system's default printer when the document ends.
#pragma once

#include <QStringList>

#include "platform/printer.h"

namespace qx {

class QtPrinter final : public Printer {
  public:
    [[nodiscard]] std::string PrintLine(std::string_view line) override;
    [[nodiscard]] std::string EndDocument() override;

  private:
    QStringList lines_;
};

}  // namespace qx
