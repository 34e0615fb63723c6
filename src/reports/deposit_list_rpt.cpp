// DepositRPT: the gifts of a batch to put with the bank deposit. The letterhead, the title and
// the day once; then the checks and the cash, each under its own heading with its lines, its
// count and its subtotal; at the end the batch's total against the one expected, and whether
// the batch balanced.
#include "reports/layout_controls.h"
#include "reports/letterhead.h"
#include "reports/report_layouts.h"

namespace reports {

using namespace controls;
using report::SectionKind;

report::Layout DepositRPT()
{
    report::Layout L;
    L.name = QStringLiteral("DepositRPT");
    L.caption = QStringLiteral("Deposit List");
    L.reportWidth = 10080;
    L.leftMargin = L.rightMargin = 1080;
    L.topMargin = L.bottomMargin = 1000;

    report::Section letterhead = section("Section4", SectionKind::ReportHeader, 2300, letterheadControls(10080, false));
    letterhead.controls.push_back(label("lblTitle", 0, 1620, 6000, 420, QStringLiteral("Deposit List"), times(18, true)));
    letterhead.controls.push_back(right(label("lblPrinted", 6000, 1760, 4080, 240, QStringLiteral("%d"), arial(10))));

    // "Checks" or "Cash", with the column captions.
    report::Section kind = section("Section6", SectionKind::GroupHeader, 720, {
        textBox("txtKind", 0, 120, 6000, 300, "Kind", {}, times(12, true)),
        label("lblDonor", 0, 460, 3900, 225, QStringLiteral("Donor"), arial(10, true)),
        right(label("lblCheck", 3950, 460, 1300, 225, QStringLiteral("Check #"), arial(10, true))),
        label("lblDestination", 5450, 460, 2900, 225, QStringLiteral("Destination"), arial(10, true)),
        right(label("lblAmount", 8400, 460, 1680, 225, QStringLiteral("Amount"), arial(10, true))),
        line("Line1", 0, 705, 10080, 1),
    });

    report::Section gift = section("Section1", SectionKind::Detail, 290, {
        textBox("txtDonor", 0, 40, 3900, 225, "Donor", {}, arial(10), kDepositGifts),
        right(textBox("txtCheck", 3950, 40, 1300, 225, "CheckNumber", {}, arial(10), kDepositGifts)),
        textBox("txtDestination", 5450, 40, 2900, 225, "Destination", {}, arial(10), kDepositGifts),
        right(textBox("txtAmount", 8400, 40, 1680, 225, "PaymentAmount", kMoney, arial(10), kDepositGifts)),
    });

    report::Section subtotal = section("Section7", SectionKind::GroupFooter, 520, {
        line("Line2", 5450, 40, 4630, 1),
        label("lblSubtotal", 5450, 120, 1400, 225, QStringLiteral("Subtotal"), arial(10, true)),
        right(textBox("txtCount", 6850, 120, 1500, 225, "Count", {}, arial(10, true))),
        right(textBox("txtSubtotal", 8400, 120, 1680, 225, "Subtotal", {}, arial(10, true))),
    });

    report::Section footer = section("Section3", SectionKind::PageFooter, 500, {
        label("lblFooter", 0, 240, 7000, 195, QStringLiteral("Deposit List %d")),
        right(label("lblPage", 7080, 240, 3000, 195, QStringLiteral("Page %p of %P"))),
    });

    // Filled by the run: the batch's figures, and a line that says plainly when it is off.
    report::Section end = section("Section5", SectionKind::ReportFooter, 1500, {
        line("Line3", 0, 120, 10080, 1),
        line("Line4", 0, 160, 10080, 1),
        label("lblTotalCaption", 0, 280, 3000, 240, QStringLiteral("Batch total"), arial(10, true)),
        right(label("lblGifts", 6850, 280, 1500, 240, {}, arial(10, true))),
        right(label("lblTotal", 8400, 280, 1680, 240, {}, arial(10, true))),
        label("lblExpectedCaption", 0, 560, 3000, 240, QStringLiteral("Expected"), arial(10)),
        right(label("lblExpectedGifts", 6850, 560, 1500, 240, {}, arial(10))),
        right(label("lblExpectedTotal", 8400, 560, 1680, 240, {}, arial(10))),
        label("lblBalance", 0, 900, 10080, 480, {}, arial(10, true)),
    });

    L.sections = {letterhead, kind, gift, subtotal, footer, end};
    return L;
}

} // namespace reports
