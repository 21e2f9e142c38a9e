// The main window's Print and Print to File commands over the listing.
#pragma once

#include "app/document.h"
#include "files/listing.h"
#include "platform/printer.h"
#include "platform/ui.h"

namespace qx {

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
