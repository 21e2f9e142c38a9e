// A text stored as the cells in which it differs from a similar text, for
// the behaviour corpus: a Chinese listing beside its English one, a decoded
// image's project beside the project it came from.
//
// Both texts are cut into lines at LF (every other byte, CR included, stays
// in its line) and each line into cells at a separator. The delta has one
// line "<line> <cell> <text>" per differing cell, lines counted from 1 and
// cells from 0; a line whose cells do not pair up is given whole, with "-"
// for the cell.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qx::test {

inline std::vector<std::string> CutAt(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) break;
        pieces.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}

inline std::string JoinWith(const std::vector<std::string>& pieces, std::string_view separator) {
    std::string text;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) text += separator;
        text += pieces[i];
    }
    return text;
}

// The delta that turns `base` into `target`; both must have as many lines.
inline std::string MakeDelta(const std::string& base, const std::string& target,
                             std::string_view separator) {
    const std::vector<std::string> baseLines = CutAt(base, "\n");
    const std::vector<std::string> targetLines = CutAt(target, "\n");
    if (baseLines.size() != targetLines.size()) {
        throw std::invalid_argument("the texts have different numbers of lines");
    }
    std::string delta;
    for (std::size_t n = 0; n < baseLines.size(); ++n) {
        if (baseLines[n] == targetLines[n]) continue;
        const std::string line = std::to_string(n + 1) + " ";
        const std::vector<std::string> from = CutAt(baseLines[n], separator);
        const std::vector<std::string> to = CutAt(targetLines[n], separator);
        if (from.size() != to.size()) {
            delta += line + "- " + targetLines[n] + "\n";
            continue;
        }
        for (std::size_t c = 0; c < to.size(); ++c) {
            if (from[c] != to[c]) delta += line + std::to_string(c) + " " + to[c] + "\n";
        }
    }
    return delta;
}

// `base` with the delta applied.
inline std::string ApplyDelta(const std::string& base, const std::string& delta,
                              std::string_view separator) {
    std::vector<std::string> lines = CutAt(base, "\n");
    std::vector<std::string> entries = CutAt(delta, "\n");
    entries.pop_back();  // after the last LF
    for (const std::string& entry : entries) {
        const std::size_t first = entry.find(' ');
        const std::size_t second = entry.find(' ', first + 1);
        if (first == std::string::npos || second == std::string::npos) {
            throw std::invalid_argument("malformed delta line: " + entry);
        }
        std::string& line = lines.at(std::stoul(entry.substr(0, first)) - 1);
        const std::string cell = entry.substr(first + 1, second - first - 1);
        const std::string text = entry.substr(second + 1);
        if (cell == "-") {
            line = text;
            continue;
        }
        std::vector<std::string> cells = CutAt(line, separator);
        cells.at(std::stoul(cell)) = text;
        line = JoinWith(cells, separator);
    }
    return JoinWith(lines, "\n");
}

}  // namespace qx::test
