#pragma once
// Pages of a report on paper: printed through a QPrinter or written to a PDF file. Both draw with
// the one page painter, a page at a time, and tell their progress after each page so that a long
// run shows a progress bar and can be cancelled.
#include "report.h"

#include <QString>
#include <functional>
#include <vector>

class QIODevice;
class QPagedPaintDevice;
class QPrinter;

namespace report {

struct PageRange {
    int first = 1;
    int last = 1;
    int size() const { return last - first + 1; }
};

// Told after each page: pages done, pages in all. Returning false stops the run.
using Progress = std::function<bool(int done, int total)>;

// The range brought into the report's pages (1..pageCount(), first <= last).
PageRange clampRange(const Pages& report, PageRange range);

// Draws the pages of the ranges, in order, onto a device whose origin is the paper's top left
// corner (full page, no margins of its own), one device page each. Returns false when progress
// stopped it.
bool drawPages(const Pages& report, QPagedPaintDevice& device, const std::vector<PageRange>& ranges,
               const Progress& progress = {});

// The pages a printer set up by the print dialog asks for: its page ranges, the current page, or
// every page; each range brought into the report's pages.
std::vector<PageRange> printerRanges(const Pages& report, const QPrinter& printer, int currentPage);

// Prints those pages through the printer, on the report's paper, full page. Returns false when
// cancelled. Throws ReportError when the printer cannot be opened.
bool printReport(const Pages& report, QPrinter& printer, int currentPage, const Progress& progress = {});

enum class ExportResult { Written, Cancelled };

// Writes the pages of `range` to a PDF file with `title` in its properties. The file appears
// only when it is complete: cancelled or failed, whatever stood under that name stays as it was.
// Throws ReportError, naming the file and the reason, when it cannot be written.
ExportResult exportPdf(const Pages& report, const QString& path, PageRange range, const QString& title,
                       const Progress& progress = {});

// Writes the pages of `range` as a PDF onto `out`, open for writing. Returns false when progress
// stopped it (what was written is then no PDF). It touches no file and no widget, so a worker
// thread may write one PDF into memory while another thread writes the next.
bool writePdf(const Pages& report, QIODevice& out, PageRange range, const QString& title, const Progress& progress = {});

// A chosen PDF name as it is written: ".pdf" added unless it ends so, in any letter case.
QString withPdfExtension(const QString& chosen);

} // namespace report
