// The printer the listing is sent to. The desktop app implements it over the
// system's default printer; tests record the lines.
#pragma once

#include <string>
#include <string_view>

namespace qx {

class Printer {
  public:
    virtual ~Printer() = default;
    // Each call prints one line of text (no line-break characters). Returns an
    // error description, or an empty text when the line was accepted.
    [[nodiscard]] virtual std::string PrintLine(std::string_view line) = 0;
    // Ends the document and sends it to the printer; an error description or "".
    [[nodiscard]] virtual std::string EndDocument() = 0;
};

}  // namespace qx
