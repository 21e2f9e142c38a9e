#include "app/collecting_ui.h"

#include "util/text.h"

namespace qx {

std::string CollectingUi::Report(const std::string& fallback) const {
    std::string joined;
    for (const auto& message : messages) joined += (joined.empty() ? "" : " ") + message;
    return OneLine(joined.empty() ? fallback : joined);
}

}  // namespace qx
