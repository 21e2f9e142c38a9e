// The channel list as a printed table: the header fields, the channels in use
// with the grid's words, and the options and signalling settings. A renderer
// lays it out in pages; nothing here knows about paper or fonts.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/document.h"
#include "platform/ui.h"
#include "util/language_texts.h"

namespace qx {

struct PrintSection {
    std::string title;
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;  // each as many cells as headings
};

struct PrintTable {
    std::string title;
    // Label and value of the fields every page's header shows.
    std::vector<std::pair<std::string, std::string>> header;
    std::string pageText;  // "Page %1 of %2"
    std::vector<PrintSection> sections;
};

// Every page holds at most this many rows of one section, under the header
// and the section's column headings, so the page count does not depend on fonts.
inline constexpr std::size_t kPrintRowsPerPage = 30;

// One page: a run of rows of one section. Each section starts a page.
struct PrintPage {
    std::size_t section = 0;
    std::size_t firstRow = 0;
    std::size_t rowCount = 0;
    friend bool operator==(const PrintPage&, const PrintPage&) = default;
};
std::vector<PrintPage> PaginatePrintTable(const PrintTable& table);

// The grid columns the table shows, in order (the hidden ANI column left out).
std::vector<int> PrintedColumns();

// `date` is shown as given ("2026-12-09"), so the caller decides the clock.
PrintTable BuildPrintTable(const Document& doc, const LanguageTexts& lang, const std::string& date);

// "Page %1 of %2" filled in.
std::string PageText(const PrintTable& table, int page, int pages);

inline constexpr const char* kPdfFilter = "PDF files (*.pdf)|*.pdf|All files (*.*)|*.*";

// Writes the table as PDF bytes; "" and `error` set when it could not.
using PdfRenderer = std::function<std::string(const PrintTable& table, std::string& error)>;

// File > Export PDF: asks for a file name (".pdf" added to a name without
// extension), renders the table and writes the file whole or not at all.
// True when the file was written; a failure is shown as an error.
bool ExportPdfCommand(const Document& doc, const LanguageTexts& lang, const std::string& date,
                      Ui& ui, const PdfRenderer& render);

}  // namespace qx
