// The plain-text listing of a codeplug: the channel rows, the radio options
// and the auto-dialer memories, printed or written to a text file.
#pragma once

#include <string>
#include <vector>

#include "codeplug/codeplug.h"

namespace qx {

enum class ListingTarget { File, Printer };

// Every line followed by CR LF, so a line ending in "\r\n" leaves an empty line.
std::string ListingFileText(const std::vector<std::string>& lines);

// The display words of the language file the listing uses (Channel 50015,
// 50019, 50020, 50023, 50024).
struct ListingWords {
    std::string active;
    std::string wide;
    std::string narrow;
    std::string scanSkipOff;
    std::string scanSkipOn;
};

// The listing of a codeplug, line for line as the listing of a document
// opened from its project file: rows in use with the language's words, rows
// not in use, the call channel and the VFO with the file's words, blank rows
// with the model's default channel in the language's words.
std::vector<std::string> BuildListing(const Codeplug& codeplug, const ListingWords& words,
                                      ListingTarget target);

}  // namespace qx
