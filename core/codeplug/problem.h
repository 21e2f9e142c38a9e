// Why a codeplug cannot be encoded: the row it concerns, the field and a
// message a user understands.
#pragma once

#include <string>
#include <vector>

namespace qx {

struct Problem {
    int row = 0;        // 1..104, 0 when not a channel row
    std::string field;  // "Tx frequency", "Name", "Option record", ...
    std::string message;
    friend bool operator==(const Problem&, const Problem&) = default;
};

using Problems = std::vector<Problem>;

}  // namespace qx
