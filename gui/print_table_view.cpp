#include "print_table_view.h"

#include <QDate>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "platform_info.h"

namespace qx {
namespace {

constexpr qreal kFontPoints = 8.0;
constexpr qreal kMinFontPoints = 5.0;

// Fonts and measures in the printer's device units.
class Layout {
  public:
    Layout(const PrintTable& table, QPaintDevice& device, const QRectF& page)
        : table_(table), device_(device), page_(page) {
        body_.setPointSizeF(kFontPoints);
        // Without shaping there are no ligatures, so "off" stays three
        // letters a PDF reader can find and copy.
        body_.setStyleStrategy(QFont::PreferNoShaping);
        for (std::size_t s = 0; s < table.sections.size(); ++s) FitSection(s);
        // Above the rows: the title, the header fields, the section title and
        // the headings; below them the page number: 6.5 lines in all.
        line_ = page.height() / (static_cast<qreal>(kPrintRowsPerPage) + 6.5);
        line_ = std::min(line_, QFontMetricsF(body_, &device_).height() * 1.4);
        pages_ = PaginatePrintTable(table);
    }

    const std::vector<PrintPage>& Pages() const { return pages_; }

    void Paint(QPainter& painter, std::size_t pageIndex) const {
        const PrintPage& slice = pages_[pageIndex];
        const PrintSection& section = table_.sections[slice.section];
        const QFont font = SectionFont(slice.section);
        QFont bold = font;
        bold.setBold(true);
        QFont title = body_;
        title.setBold(true);
        title.setPointSizeF(kFontPoints * 1.5);
        const qreal line = line_;
        qreal y = page_.top();

        painter.setFont(title);
        painter.drawText(QRectF(page_.left(), y, page_.width(), line * 1.5),
                         Qt::AlignLeft | Qt::AlignVCenter, ToQString(table_.title));
        y += line * 1.5;
        painter.setFont(body_);
        QStringList fields;
        for (const auto& [label, value] : table_.header) {
            fields << ToQString(label) + QLatin1Char(' ') + ToQString(value);
        }
        painter.drawText(QRectF(page_.left(), y, page_.width(), line),
                         Qt::AlignLeft | Qt::AlignVCenter, fields.join(QStringLiteral("    ")));
        y += line * 1.5;

        painter.setFont(bold);
        painter.drawText(QRectF(page_.left(), y, page_.width(), line),
                         Qt::AlignLeft | Qt::AlignVCenter, ToQString(section.title));
        y += line * 1.2;

        const std::vector<qreal>& widths = widths_[slice.section];
        DrawRow(painter, section.headings, widths, y, line);
        y += line;
        painter.drawLine(QPointF(page_.left(), y), QPointF(page_.left() + TotalWidth(widths), y));
        painter.setFont(font);
        for (std::size_t r = 0; r < slice.rowCount; ++r) {
            DrawRow(painter, section.rows[slice.firstRow + r], widths, y, line);
            y += line;
        }

        painter.setFont(body_);
        const QString number = ToQString(
            PageText(table_, static_cast<int>(pageIndex) + 1, static_cast<int>(pages_.size())));
        painter.drawText(QRectF(page_.left(), page_.bottom() - line, page_.width(), line),
                         Qt::AlignHCenter | Qt::AlignVCenter, number);
    }

  private:
    QFont SectionFont(std::size_t section) const {
        QFont font = body_;
        font.setPointSizeF(points_[section]);
        return font;
    }

    static qreal TotalWidth(const std::vector<qreal>& widths) {
        qreal total = 0;
        for (const qreal w : widths) total += w;
        return total;
    }

    // Each column as wide as its widest cell; a table wider than the page
    // is set in a smaller font until it fits.
    void FitSection(std::size_t s) {
        const PrintSection& section = table_.sections[s];
        qreal points = kFontPoints;
        std::vector<qreal> widths;
        for (;;) {
            QFont font = body_;
            font.setPointSizeF(points);
            QFont bold = font;
            bold.setBold(true);
            const QFontMetricsF metrics(font, &device_);
            const QFontMetricsF boldMetrics(bold, &device_);
            const qreal gap = metrics.horizontalAdvance(QStringLiteral("  "));
            widths.assign(section.headings.size(), 0);
            for (std::size_t c = 0; c < section.headings.size(); ++c) {
                widths[c] = boldMetrics.horizontalAdvance(ToQString(section.headings[c])) + gap;
            }
            for (const auto& row : section.rows) {
                for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c) {
                    widths[c] =
                        std::max(widths[c], metrics.horizontalAdvance(ToQString(row[c])) + gap);
                }
            }
            if (TotalWidth(widths) <= page_.width() || points <= kMinFontPoints) break;
            points -= 0.5;
        }
        points_.push_back(points);
        widths_.push_back(std::move(widths));
    }

    void DrawRow(QPainter& painter, const std::vector<std::string>& cells,
                 const std::vector<qreal>& widths, qreal y, qreal line) const {
        qreal x = page_.left();
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            painter.drawText(QRectF(x, y, widths[c], line), Qt::AlignLeft | Qt::AlignVCenter,
                             ToQString(cells[c]));
            x += widths[c];
        }
    }

    const PrintTable& table_;
    QPaintDevice& device_;
    QRectF page_;
    QFont body_;
    std::vector<qreal> points_;
    std::vector<std::vector<qreal>> widths_;
    qreal line_ = 1;
    std::vector<PrintPage> pages_;
};

}  // namespace

std::string PaintPrintTable(const PrintTable& table, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return "the printer could not start the document";
    const QRectF page =
        printer.pageLayout()
            .paintRectPixels(printer.resolution())
            .translated(-printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
    const Layout layout(table, printer, page);
    for (std::size_t p = 0; p < layout.Pages().size(); ++p) {
        if (p > 0 && !printer.newPage()) {
            painter.end();
            return "the printer stopped in the middle of the document";
        }
        layout.Paint(painter, p);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return "the printer reported an error";
    }
    return {};
}

std::string PrintTablePdf(const PrintTable& table, std::string& error) {
    QTemporaryDir folder;
    if (!folder.isValid()) {
        error = "no temporary folder: " + ToStdString(folder.errorString());
        return {};
    }
    const QString path = folder.filePath(QStringLiteral("table.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setDocName(ToQString(table.title));
        error = PaintPrintTable(table, printer);
        if (!error.empty()) return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = ToStdString(file.errorString());
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) error = "the PDF came out empty";
    return bytes.toStdString();
}

void ShowPrintPreview(const PrintTable& table, const QString& name, Ui& ui, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(ToQString(table.title));
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(name);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&table, &ui](QPrinter* target) {
                         if (std::string error = PaintPrintTable(table, *target); !error.empty()) {
                             ui.ShowError(error);
                         }
                     });
    preview.exec();
}

std::string PrintDate() { return ToStdString(QDate::currentDate().toString(Qt::ISODate)); }

}  // namespace qx
