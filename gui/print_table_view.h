// The printed channel table on paper: laid out with QPainter in pages with
// the header, repeated column headings and "Page N of M"; shown in a print
// preview or written as PDF.
#pragma once

#include <QString>
#include <string>

#include "print/print_table.h"

class QPrinter;
class QWidget;

namespace qx {

// Lays the table out on `printer`, which must not be painting yet; "" or why not.
std::string PaintPrintTable(const PrintTable& table, QPrinter& printer);

// The table as the bytes of a PDF file (landscape A4); "" and `error` set on failure.
std::string PrintTablePdf(const PrintTable& table, std::string& error);

// The print preview dialog over the table, modal; `name` is its window title.
// A failure to print from it is shown through `ui`.
void ShowPrintPreview(const PrintTable& table, const QString& name, Ui& ui, QWidget* parent);

// Today's date as the header shows it, "2026-12-09" whatever the locale.
std::string PrintDate();

}  // namespace qx
