// The plain-text listing of a document: the channel rows, the radio options
// and the auto-dialer memories, printed or written to a text file.
#pragma once

#include <string>
#include <vector>

#include "app/document.h"
#include "platform/printer.h"
#include "platform/ui.h"

namespace qx {

enum class ListingTarget { File, Printer };

struct Listing {
    std::vector<std::string> lines;  // in order; a line built with "\r\n" keeps it
    int failedMessage = 0;           // 9003 or 9004 when the dialer/option record is malformed
};

// One line generator for both targets; the document is not changed.
Listing BuildListing(const Document& doc, ListingTarget target);
// Every line followed by CR LF, so a line ending in "\r\n" leaves an empty line.
std::string ListingFileText(const Listing& listing);

inline constexpr const char* kListingFilter = "data files (*.txt)|*.txt|All files (*.*)|*.*";
// Asks for a file name and writes the listing there; true when the whole
// listing was written. A malformed record leaves the lines before it in the file.
bool PrintToFileCommand(Document& doc, Ui& ui);
// Asks MSG 900B, then sends the listing to the printer; true when the
// document was ended without error.
bool PrintCommand(Document& doc, Ui& ui, Printer& printer);

}  // namespace qx
