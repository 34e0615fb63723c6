// ListRPT: one line per donation, oldest first, under a page header with the organization, the
// logo and the column captions; a cover page with the title, the count and the grand total.
#include "reports/layout_controls.h"
#include "reports/report_layouts.h"

namespace reports {

using namespace controls;
using report::SectionKind;

report::Layout ListRPT()
{
    report::Layout L;
    L.name = QStringLiteral("ListRPT");
    L.caption = QStringLiteral("QUIL Data Report");
    L.reportWidth = 10100;
    L.leftMargin = L.rightMargin = L.topMargin = L.bottomMargin = 1000;

    report::Section cover = section("Section4", SectionKind::ReportHeader, 4854, {
        label("Label6", 900, 1470, 7545, 420, QStringLiteral("Org Name Block"), times(18, true)),
        label("Label8", 900, 2010, 7545, 195, QStringLiteral("Org Address Block")),
        label("Label20", 900, 2265, 7545, 195, QStringLiteral("Org Phone Block")),
        label("Label21", 900, 2535, 7545, 195, QStringLiteral("Org Email Block")),
        label("Label18", 1230, 4125, 1260, 195, QStringLiteral("Total Records:"), arial(8, true)),
        label("Label19", 2655, 4125, 1455, 195, {}),
        label("Label22", 495, 3315, 3195, 300, QStringLiteral("Type of Report"), times(12, true)),
        label("Label23", 1230, 4485, 1260, 195, QStringLiteral("Grand Total:"), arial(8, true)),
        label("Label24", 2655, 4485, 1455, 195, {}),
        label("Label25", 4680, 3315, 1260, 300, QStringLiteral("Report Date:"), times(12)),
        label("Label26", 5955, 3345, 3300, 300, QStringLiteral("%D"), times(12)),
    });
    cover.pageBreakAfter = true;

    report::Section header = section("Section2", SectionKind::PageHeader, 3945, {
        label("Label13", 5715, 2565, 3660, 240, QStringLiteral("%D"), arial(10)),
        label("Label1", 2550, 465, 7550, 420, {}, times(18, true)),
        label("Label2", 2550, 1008, 7550, 195, {}),
        label("Label3", 2550, 1263, 7550, 195, {}),
        label("Label4", 2550, 1533, 7550, 195, {}),
        line("Line2", 300, 3135, 9600, 1),
        bar("Shape1", 300, 3015, 9600, 45),
        label("Label5", 4260, 2565, 1380, 240, QStringLiteral("Report Date"), arial(10)),
        line("Line3", 300, 3795, 9600, 1),
        label("Label9", 2205, 3495, 1455, 195, QStringLiteral("Payment Amount"), arial(8, true)),
        label("Label10", 480, 3495, 1230, 195, QStringLiteral("Payment Date"), arial(8, true)),
        label("Label11", 4005, 3495, 942, 195, QStringLiteral("Check #"), arial(8, true)),
        label("Label12", 5322, 3495, 1827, 195, QStringLiteral("Destination"), arial(8, true)),
        label("Label7", 7485, 3495, 2295, 195, QStringLiteral("Member Name"), arial(8, true)),
        image("Image1", 255, 255, 2205, 2265),
    });

    report::Section detail = section("Section1", SectionKind::Detail, 291, {
        textBox("Text10", 510, 15, 1230, 210, "PaymentDate", kDate),
        textBox("Text11", 2235, 15, 1455, 210, "PaymentAmount", kMoney),
        textBox("Text12", 4035, 15, 942, 210, "CheckNumber"),
        textBox("Text13", 5352, 15, 1832, 210, "Destination"),
        textBox("Text1", 7485, 15, 2295, 210, "FullName"),
        line("Line1", 300, 255, 9600, 1),
    });

    // "Page n of m" at the right.
    report::Section footer = section("Section3", SectionKind::PageFooter, 615, {
        label("Label14", 7896, 300, 495, 195, QStringLiteral("Page")),
        label("Label15", 8445, 300, 345, 195, QStringLiteral("%p")),
        label("Label16", 8820, 300, 225, 195, QStringLiteral("of")),
        label("Label17", 9075, 300, 825, 195, QStringLiteral("%P")),
    });

    report::Section end = section("Section5", SectionKind::ReportFooter, 360, {});

    L.sections = {cover, header, detail, footer, end};
    return L;
}

} // namespace reports
