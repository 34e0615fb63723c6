#pragma once
// Small layouts and rows for the engine's tests: a paper on which the arithmetic is easy to
// follow (a page header of 1000 twips below a top margin of 1000, a page footer of 500 above a
// bottom margin of 1000 on a sheet 10000 high: 6500 twips of body, 13 lines of 500).
#include "platform/report/layout.h"
#include "platform/report/memory_source.h"
#include "platform/report/page.h"
#include "platform/report/report.h"
#include "platform/vb/currency.h"

#include <QStringList>
#include <memory>
#include <ostream>
#include <vector>

// Texts in failure messages as texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace reporttest {

inline constexpr QSize kPaper{8000, 10000};
inline constexpr int kBodyTop = 2000;     // margin and page header
inline constexpr int kBodyBottom = 8500;  // where the page footer starts

inline report::Control label(const char* name, int left, int top, const QString& caption)
{
    report::Control c;
    c.name = QString::fromLatin1(name);
    c.kind = report::ControlKind::Label;
    c.left = left;
    c.top = top;
    c.width = 2000;
    c.height = 200;
    c.caption = caption;
    return c;
}

inline report::Control field(const char* name, int left, const char* dataField, const QString& format = {},
                             const QString& member = {})
{
    report::Control c = label(name, left, 0, {});
    c.kind = report::ControlKind::TextBox;
    c.dataField = QString::fromLatin1(dataField);
    c.format = format;
    c.dataMember = member;
    return c;
}

inline report::Control total(const char* name, const char* dataField, const QString& member, const QString& format = {})
{
    report::Control c = field(name, 3000, dataField, format, member);
    c.kind = report::ControlKind::Function;
    return c;
}

inline report::Section section(const char* name, report::SectionKind kind, int height, std::vector<report::Control> controls = {})
{
    report::Section s;
    s.name = QString::fromLatin1(name);
    s.kind = kind;
    s.height = height;
    s.controls = std::move(controls);
    return s;
}

// A list: a cover page, "Page n of m" in the page header, one line per row, a short report footer.
inline report::Layout listLayout()
{
    using K = report::SectionKind;
    report::Layout L;
    L.name = QStringLiteral("TestList");
    L.reportWidth = 6000;
    L.leftMargin = L.rightMargin = L.topMargin = L.bottomMargin = 1000;
    report::Section cover = section("Cover", K::ReportHeader, 3000, {label("Title", 0, 0, QStringLiteral("Donations"))});
    cover.pageBreakAfter = true;
    L.sections = {
        cover,
        section("Top", K::PageHeader, 1000, {label("PageNo", 0, 0, QStringLiteral("Page %p of %P"))}),
        section("Line", K::Detail, 500, {field("Number", 0, "n"), field("Amount", 2000, "amount", QStringLiteral("$##,##0.00"))}),
        section("Bottom", K::PageFooter, 500, {label("Printed", 0, 0, QStringLiteral("%d"))}),
        section("End", K::ReportFooter, 300, {label("EndMark", 0, 0, QStringLiteral("End of report"))}),
    };
    return L;
}

// Rows n = 1..count, amount = n dollars and 25 cents.
inline std::shared_ptr<report::MemorySource> numberedRows(int count)
{
    std::vector<std::vector<vb::Value>> rows;
    for (int n = 1; n <= count; ++n)
        rows.push_back({vb::Value(n), vb::Value(vb::Currency::fromRaw(n * 10000LL + 2500))});
    return std::make_shared<report::MemorySource>(QStringList{QStringLiteral("n"), QStringLiteral("amount")}, std::move(rows));
}

// One block per member on a page of its own: a header with the name, the gifts, their total.
inline report::Layout groupLayout()
{
    using K = report::SectionKind;
    report::Layout L;
    L.name = QStringLiteral("TestGroups");
    L.reportWidth = 6000;
    L.leftMargin = L.rightMargin = L.topMargin = L.bottomMargin = 1000;
    report::Section head = section("Head", K::GroupHeader, 1000, {field("Name", 0, "name")});
    head.pageBreakBefore = true;
    L.sections = {
        section("Top", K::PageHeader, 1000, {label("PageNo", 0, 0, QStringLiteral("%p/%P"))}),
        head,
        section("Gift", K::Detail, 500, {field("GiftNo", 0, "gift", {}, QStringLiteral("Gifts")),
                                          field("GiftAmount", 2000, "amount", QStringLiteral("$##,##0.00"), QStringLiteral("Gifts"))}),
        section("Foot", K::GroupFooter, 500, {total("Sum", "amount", QStringLiteral("Gifts"), QStringLiteral("$##,##0.00"))}),
        section("Bottom", K::PageFooter, 500),
    };
    return L;
}

// Members m1, m2, ... with the given numbers of gifts; gift g of member m is worth m dollars
// and g cents.
inline std::shared_ptr<report::MemorySource> members(const std::vector<int>& gifts)
{
    std::vector<std::vector<vb::Value>> parents;
    for (std::size_t m = 0; m < gifts.size(); ++m)
        parents.push_back({vb::Value(QStringLiteral("m%1").arg(m + 1))});
    auto source = std::make_shared<report::MemorySource>(QStringList{QStringLiteral("name")}, std::move(parents));
    source->addMember(QStringLiteral("Gifts"), {QStringLiteral("gift"), QStringLiteral("amount")});
    for (std::size_t m = 0; m < gifts.size(); ++m) {
        std::vector<std::vector<vb::Value>> rows;
        for (int g = 1; g <= gifts[m]; ++g)
            rows.push_back({vb::Value(g), vb::Value(vb::Currency::fromRaw(static_cast<std::int64_t>(m + 1) * 10000 + g * 100))});
        source->addChildren(static_cast<int>(m), QStringLiteral("Gifts"), std::move(rows));
    }
    return source;
}

inline report::ReportOptions testOptions()
{
    report::ReportOptions o;
    o.date = vb::DateTime(QDate(2001, 3, 15));
    o.paper = kPaper;
    return o;
}

// The texts a page shows for one control, in the order they stand.
inline QStringList textsOf(const report::Page& page, const QString& control)
{
    QStringList texts;
    for (const report::Item& item : page.items)
        if (item.control && item.control->name == control)
            texts << item.text;
    return texts;
}

} // namespace reporttest
