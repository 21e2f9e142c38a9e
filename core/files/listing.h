// The plain-text listing of a codeplug: the channel rows, the radio options
// and the auto-dialer memories, printed or written to a text file.
#pragma once

#include <string>
#include <vector>

#include "app/document.h"
#include "codeplug/codeplug.h"
#include "platform/printer.h"
#include "platform/ui.h"

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

// The words of the document's language.
ListingWords ListingWordsOf(const DocumentTexts& texts);

inline constexpr const char* kListingFilter = "data files (*.txt)|*.txt|All files (*.*)|*.*";
// Asks for a file name and writes the listing there; true when the whole
// listing was written.
bool PrintToFileCommand(const Document& doc, Ui& ui);
// Asks MSG 900B, then sends the listing to the printer; true when the
// document was ended without error.
bool PrintCommand(const Document& doc, Ui& ui, Printer& printer);

}  // namespace qx
