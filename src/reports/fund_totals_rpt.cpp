// FundTotalsRPT: the treasurer's page for the books. The letterhead, the title and the period
// once; the column captions on every page; one line per fund; the count and total of every gift
// at the end; "Page n of m" below.
#include "reports/layout_controls.h"
#include "reports/letterhead.h"
#include "reports/report_layouts.h"

namespace reports {

using namespace controls;
using report::SectionKind;

report::Layout FundTotalsRPT()
{
    report::Layout L;
    L.name = QStringLiteral("FundTotalsRPT");
    L.caption = QStringLiteral("Fund Totals");
    L.reportWidth = 10080;
    L.leftMargin = L.rightMargin = 1080;
    L.topMargin = L.bottomMargin = 1000;

    report::Section letterhead = section("Section4", SectionKind::ReportHeader, 3060, letterheadControls(10080, true));
    for (report::Control c : {label("lblTitle", 0, 1760, 10080, 420, QStringLiteral("Fund Totals"), times(18, true)),
                              label("lblPeriod", 0, 2220, 10080, 300, {}, times(12)),
                              label("lblPrinted", 0, 2560, 10080, 240, QStringLiteral("Printed %D"), arial(10))})
        letterhead.controls.push_back(centred(std::move(c)));

    report::Section captions = section("Section2", SectionKind::PageHeader, 480, {
        label("lblDestination", 0, 180, 6000, 225, QStringLiteral("Destination"), arial(10, true)),
        right(label("lblGifts", 6100, 180, 1500, 225, QStringLiteral("Gifts"), arial(10, true))),
        right(label("lblTotal", 7700, 180, 2380, 225, QStringLiteral("Total"), arial(10, true))),
        line("Line1", 0, 450, 10080, 1),
    });

    report::Section fund = section("Section1", SectionKind::Detail, 300, {
        textBox("txtDestination", 0, 45, 6000, 225, "Destination", {}, arial(10)),
        right(textBox("txtGifts", 6100, 45, 1500, 225, "Gifts", {}, arial(10))),
        right(textBox("txtTotal", 7700, 45, 2380, 225, "Total", {}, arial(10))),
    });

    // Filled by the run from the sums it made: a total over every fund, which no column sum
    // of formatted texts could give.
    report::Section all = section("Section5", SectionKind::ReportFooter, 600, {
        line("Line2", 0, 60, 10080, 1),
        line("Line3", 0, 100, 10080, 1),
        label("lblAllCaption", 0, 220, 6000, 225, QStringLiteral("All funds"), arial(10, true)),
        right(label("lblAllGifts", 6100, 220, 1500, 225, {}, arial(10, true))),
        right(label("lblAllTotal", 7700, 220, 2380, 225, {}, arial(10, true))),
    });

    report::Section footer = section("Section3", SectionKind::PageFooter, 500, {
        label("lblFooter", 0, 240, 7000, 195, {}),
        right(label("lblPage", 7080, 240, 3000, 195, QStringLiteral("Page %p of %P"))),
    });

    L.sections = {letterhead, captions, fund, footer, all};
    return L;
}

} // namespace reports
