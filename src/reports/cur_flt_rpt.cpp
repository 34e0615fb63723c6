// CurFltRpt: one page listing the criteria of the current member and donation filters. Its
// labels 10 to 32 (Label10..Label32) show FilterCaptions 0 to 22, beside the captions of what
// they filter.
#include "reports/layout_controls.h"
#include "reports/report_layouts.h"

#include <array>

namespace reports {

using namespace controls;
using report::SectionKind;

namespace {

// The labels have no names of their own in the design; they are Label1..Label36 in the order
// they stand in the section, which is the order the run fills them in.
QByteArray nameOf(int number)
{
    return QByteArrayLiteral("Label") + QByteArray::number(number);
}

} // namespace

report::Layout CurFltRpt()
{
    report::Layout L;
    L.name = QStringLiteral("CurFltRpt");
    L.caption = QStringLiteral("Current Filter Report");
    L.reportWidth = 10100;
    L.leftMargin = L.rightMargin = L.topMargin = L.bottomMargin = 1000;

    std::vector<report::Control> all;
    int number = 0;
    auto add = [&](int left, int top, int width, int height, const QString& caption, report::Font font) {
        all.push_back(label(nameOf(++number).constData(), left, top, width, height, caption, std::move(font)));
    };

    // 1-9: what the member filter's criteria apply to; 10-18: the criteria (FilterCaptions 0-8).
    static constexpr std::array memberTops{288, 576, 864, 1152, 1440, 1728, 2016, 2304, 2736};
    static const std::array<QString, 9> memberCaptions{
        QStringLiteral("   Member ID"), QStringLiteral("   First Name"), QStringLiteral("   Last Name"),
        QStringLiteral("   Address"),   QStringLiteral("   City"),       QStringLiteral("   State"),
        QStringLiteral("   Zip Code"),  QStringLiteral("   Home Phone"), QStringLiteral("   Notes:")};
    for (std::size_t i = 0; i < memberTops.size(); ++i)
        add(1728, memberTops[i], 1155, i + 1 == memberTops.size() ? 210 : 195, memberCaptions[i], arial(8, true));
    for (std::size_t i = 0; i < memberTops.size(); ++i)
        add(3312, memberTops[i], 4605, i + 1 == memberTops.size() ? 1296 : 200, {}, arial(8));

    // 19-32: the donation filter's criteria (FilterCaptions 9-22), one row per field.
    struct Row {
        int top;
        std::vector<std::pair<int, int>> cells;  // left, width
    };
    const Row rows[] = {
        {4464, {{864, 300}, {1296, 1095}, {2736, 300}, {3168, 1095}}},   // amount: operator, value, operator, value
        {5328, {{864, 300}, {1296, 1095}, {3450, 1095}, {3015, 300}}},   // check number: the second value stands before its operator
        {6192, {{864, 1005}, {2304, 1965}}},                             // destination: match mode, value
        {7056, {{864, 444}, {1485, 1095}, {2736, 300}, {3168, 1095}}},   // date: from-word, value, "To", value
    };
    for (const Row& row : rows)
        for (const auto& [left, width] : row.cells)
            add(left, row.top, width, 195, {}, arial(8));

    // 33-36: the captions of those rows.
    const std::pair<int, const char*> captions[] = {
        {4176, "Payment Amount"}, {5040, "Check Number"}, {5904, "Destination"}, {6768, "Payment Date"}};
    for (const auto& [top, caption] : captions)
        add(1152, top, 1575, 195, QString::fromLatin1(caption), arial(8, true));

    report::Section page = section("Section2", SectionKind::ReportHeader, 8000, std::move(all));
    report::Section detail = section("Section1", SectionKind::Detail, 165, {});
    detail.visible = false;
    report::Section end = section("Section3", SectionKind::ReportFooter, 360, {});
    end.visible = false;

    L.sections = {page, detail, end};
    return L;
}

} // namespace reports
