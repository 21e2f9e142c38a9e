#include "qt_printer.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace qx {
namespace {

const char* const kNoPrinter =
    "No printer is set up on this computer. Install a printer, or use Print to File.";

}  // namespace

std::string QtPrinter::PrintLine(std::string_view line) {
    // Refuse at the first line, before the listing is built up for nothing.
    if (lines_.isEmpty() && QPrinterInfo::defaultPrinter().isNull()) return kNoPrinter;
    lines_ << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    return {};
}

std::string QtPrinter::EndDocument() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return kNoPrinter;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("qxprog listing"));
    QPainter painter;
    if (!painter.begin(&printer)) {
        return "The printer " + info.printerName().toStdString() +
               " could not start the document. Check that it is ready and try again.";
    }
    // A fixed-pitch font keeps the listing's columns aligned.
    painter.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const int lineHeight = painter.fontMetrics().lineSpacing();
    const QRect page = painter.viewport();
    int y = lineHeight;
    for (const QString& line : lines_) {
        if (y > page.height()) {
            if (!printer.newPage()) {
                painter.end();
                return "The printer " + info.printerName().toStdString() +
                       " stopped in the middle of the listing.";
            }
            y = lineHeight;
        }
        painter.drawText(0, y, line);
        y += lineHeight;
    }
    lines_.clear();
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return "The printer " + info.printerName().toStdString() + " reported an error.";
    }
    return {};
}

}  // namespace qx
