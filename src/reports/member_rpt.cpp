// MemberRPT: a cover page, then one page (or more) per member: the member block, the member's
// donations in the date range, oldest first, and their total.
#include "reports/layout_controls.h"
#include "reports/report_layouts.h"

namespace reports {

using namespace controls;
using report::SectionKind;

report::Layout MemberRPT()
{
    report::Layout L;
    L.name = QStringLiteral("MemberRPT");
    L.caption = QStringLiteral("QUIL Data Report");
    L.reportWidth = 10080;
    L.leftMargin = L.rightMargin = L.topMargin = L.bottomMargin = 1000;

    // The cover of ListRPT, control for control, at the member report's own places.
    report::Section cover = section("Section4", SectionKind::ReportHeader, 4695, {
        label("Label7", 795, 1485, 7545, 420, QStringLiteral("Org Name Block"), times(18, true)),
        label("Label8", 795, 2025, 7545, 195, QStringLiteral("Org Address Block")),
        label("Label20", 795, 2280, 7545, 195, QStringLiteral("Org Phone Block")),
        label("Label21", 795, 2550, 7545, 195, QStringLiteral("Org Email Block")),
        label("Label18", 1230, 4140, 1260, 195, QStringLiteral("Total Records:"), arial(8, true)),
        label("Label14", 2655, 4140, 1455, 195, {}),
        label("Label22", 390, 3375, 3195, 300, QStringLiteral("Type of Report"), times(12, true)),
        label("Label23", 1230, 4500, 1260, 195, QStringLiteral("Grand Total:"), arial(8, true)),
        label("Label24", 2655, 4500, 1455, 195, {}),
        label("Label25", 4680, 3375, 1260, 300, QStringLiteral("Report Date:"), times(12)),
        label("Label26", 5955, 3375, 3300, 300, QStringLiteral("%D"), times(12)),
    });
    cover.pageBreakAfter = true;

    report::Section header = section("Section2", SectionKind::PageHeader, 3255, {
        label("Label13", 5715, 2535, 3660, 240, QStringLiteral("%D"), arial(10)),
        image("Image1", 249, 249, 2211, 2271),
        label("Label1", 2550, 465, 7000, 420, {}, times(18, true)),
        label("Label2", 2550, 1008, 7000, 195, {}),
        label("Label3", 2550, 1263, 7000, 195, {}),
        label("Label4", 2550, 1533, 7000, 195, {}),
        line("Line2", 300, 3105, 9600, 1),
        bar("Shape1", 300, 2985, 9600, 45),
        label("Label5", 4290, 2535, 1380, 240, QStringLiteral("Report Date"), arial(10)),
    });

    // The member block; its text boxes show the first five fields of MemFullName, in the order
    // they stand here.
    report::Section member = section("Section6", SectionKind::GroupHeader, 1485, {
        line("Line3", 300, 1410, 9600, 1),
        textBox("Text3", 7200, 375, 1050, 255, "MemberID", {}, arial(10)),
        textBox("Text1", 465, 75, 3885, 255, "FullName", {}, arial(10)),
        textBox("Text2", 465, 330, 3885, 255, "Address", {}, arial(10)),
        textBox("Text4", 465, 600, 3885, 255, "CityStateZip", {}, arial(10)),
        label("Label9", 3585, 1110, 1455, 195, QStringLiteral("Payment Amount"), arial(8, true)),
        label("Label10", 1665, 1110, 1455, 195, QStringLiteral("Payment Date"), arial(8, true)),
        label("Label11", 5295, 1110, 1311, 195, QStringLiteral("Check Number"), arial(8, true)),
        label("Label12", 6912, 1110, 1887, 195, QStringLiteral("Destination"), arial(8, true)),
        textBox("Text5", 7200, 675, 1695, 255, "HomePhone", {}, arial(10)),
        label("Label6", 6210, 375, 870, 225, QStringLiteral("Member ID"), arial(8, true)),
    });
    member.pageBreakBefore = true;

    report::Section detail = section("Section1", SectionKind::Detail, 270, {
        textBox("Text10", 1665, 30, 1230, 210, "PaymentDate", kDate, arial(8), kMemberPayments),
        textBox("Text11", 3585, 30, 1230, 210, "PaymentAmount", kMoney, arial(8), kMemberPayments),
        textBox("Text12", 5295, 30, 1230, 210, "CheckNumber", {}, arial(8), kMemberPayments),
        textBox("Text13", 6912, 30, 1662, 210, "Destination", {}, arial(8), kMemberPayments),
        line("Line1", 300, 255, 9600, 1),
    });

    report::Section total = section("Section7", SectionKind::GroupFooter, 765, {
        line("Line5", 315, 300, 9600, 3),
        label("Label19", 3000, 450, 600, 195, QStringLiteral("Total:"), arial(8, true)),
        sum("Function1", 3585, 450, 1440, 240, kMemberPayments, "PaymentAmount", kMoney, arial(10, true)),
    });

    report::Section footer = section("Section3", SectionKind::PageFooter, 180, {});
    report::Section end = section("Section5", SectionKind::ReportFooter, 360, {});

    L.sections = {cover, header, member, detail, total, footer, end};
    return L;
}

} // namespace reports
