#include "render.h"

#include "painter.h"
#include "report_error.h"

#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>

namespace report {

namespace {

QPageSize pageSizeOf(const Pages& report)
{
    const QSize paper = report.paper();
    return QPageSize(QSizeF(paper.width() / double(kTwipsPerInch), paper.height() / double(kTwipsPerInch)),
                     QPageSize::Inch, QString(), QPageSize::ExactMatch);
}

} // namespace

PageRange clampRange(const Pages& report, PageRange range)
{
    const int pages = report.pageCount();
    range.first = std::clamp(range.first, 1, pages);
    range.last = std::clamp(range.last, range.first, pages);
    return range;
}

bool drawPages(const Pages& report, QPagedPaintDevice& device, const std::vector<PageRange>& ranges,
               const Progress& progress)
{
    int total = 0;
    for (const PageRange& r : ranges)
        total += clampRange(report, r).size();
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(QStringLiteral("The report cannot be drawn: the printer or file did not open."));
    const double scale = device.logicalDpiX() / double(kTwipsPerInch);
    PagePainter pagePainter;
    int done = 0;
    for (const PageRange& r : ranges) {
        const PageRange range = clampRange(report, r);
        for (int n = range.first; n <= range.last; ++n) {
            if (done > 0 && !device.newPage()) {
                painter.end();
                throw ReportError(QStringLiteral("The report cannot be drawn: a new page could not be started."));
            }
            pagePainter.paint(painter, report.page(n), scale);
            ++done;
            if (progress && !progress(done, total)) {
                // A print job stopped halfway must not reach the printer with the pages it has.
                if (auto* printer = dynamic_cast<QPrinter*>(&device))
                    printer->abort();
                painter.end();
                return false;
            }
        }
    }
    painter.end();
    return true;
}

std::vector<PageRange> printerRanges(const Pages& report, const QPrinter& printer, int currentPage)
{
    std::vector<PageRange> ranges;
    switch (printer.printRange()) {
    case QPrinter::PageRange:
        for (const QPageRanges::Range& r : printer.pageRanges().toRangeList())
            ranges.push_back(clampRange(report, PageRange{r.from, r.to}));
        break;
    case QPrinter::CurrentPage:
        ranges.push_back(clampRange(report, PageRange{currentPage, currentPage}));
        break;
    case QPrinter::AllPages:
    case QPrinter::Selection:
        break;
    }
    if (ranges.empty())
        ranges.push_back(PageRange{1, report.pageCount()});
    return ranges;
}

bool printReport(const Pages& report, QPrinter& printer, int currentPage, const Progress& progress)
{
    const std::vector<PageRange> ranges = printerRanges(report, printer, currentPage);
    printer.setFullPage(true);
    printer.setPageSize(pageSizeOf(report));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    printer.setDocName(report.caption());
    return drawPages(report, printer, ranges, progress);
}

QString withPdfExtension(const QString& chosen)
{
    return chosen.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? chosen : chosen + QStringLiteral(".pdf");
}

bool writePdf(const Pages& report, QIODevice& out, PageRange range, const QString& title, const Progress& progress)
{
    QPdfWriter writer(&out);
    writer.setResolution(kTwipsPerInch);
    writer.setPageLayout(QPageLayout(pageSizeOf(report), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("QUIL"));
    return drawPages(report, writer, {range}, progress);
}

ExportResult exportPdf(const Pages& report, const QString& path, PageRange range, const QString& title,
                       const Progress& progress)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ReportError(QStringLiteral("The file '%1' cannot be written: %2").arg(path, file.errorString()));
    if (!writePdf(report, file, range, title, progress)) {
        file.cancelWriting();
        return ExportResult::Cancelled;
    }
    if (!file.commit())
        throw ReportError(QStringLiteral("The file '%1' cannot be written: %2").arg(path, file.errorString()));
    return ExportResult::Written;
}

} // namespace report
