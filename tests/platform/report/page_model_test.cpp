// The page model's texts and the checks a layout meets when it is bound to its rows.
#include "report_fixture.h"

#include "platform/report/report_error.h"
#include "platform/report/totals.h"
#include "platform/vb/format.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace reporttest;
using report::ControlKind;
using report::Report;
using report::SectionKind;

TEST(PageModel, CaptionPlaceholdersAreFilledOnEveryPage)
{
    struct Case {
        const char* caption;
        const char* page2;  // on page 2 of 3
    };
    const Case cases[] = {
        {"%D", "Thursday, March 15, 2001"},
        {"%d", "3/15/2001"},
        {"Page %p of %P", "Page 2 of 3"},
        {"%p%P", "23"},
        {"100%%", "100%"},
        {"%x and %", "%x and %"},
        {"no placeholder", "no placeholder"},
        {"", ""},
    };
    for (const Case& c : cases) {
        report::Layout L = listLayout();
        L.section(u"Top").control(u"PageNo").caption = QString::fromUtf8(c.caption);
        const Report report(L, numberedRows(14), testOptions());
        ASSERT_EQ(report.pageCount(), 3);
        EXPECT_EQ(textsOf(report.page(2), "PageNo"), QStringList{QString::fromUtf8(c.page2)}) << c.caption;
    }
}

TEST(PageModel, TextBoxesShowTheirFieldInTheirFormat)
{
    struct Case {
        vb::Value value;
        const char* format;
        const char* shown;
    };
    const Case cases[] = {
        {vb::Value(vb::Currency::fromRaw(12345678)), "\"$\"#,##0.00", "$1,234.57"},
        {vb::Value(vb::Currency::fromRaw(-5000)), "$##,##0.00", "-$0.50"},
        {vb::Value(vb::DateTime(QDate(2001, 3, 5))), "dd-mmm-yy", "05-Mar-01"},
        {vb::Value(vb::DateTime(QDate(2001, 3, 5), QTime(10, 30))), "", "3/5/2001 10:30:00 AM"},
        {vb::Value(std::int64_t(1042)), "", "1042"},
        {vb::Value(QStringLiteral("O'Brien {\\} \"Ünïcode\" 🎉")), "", "O'Brien {\\} \"Ünïcode\" 🎉"},
        {vb::Value(), "$##,##0.00", ""},
        {vb::Value(), "", ""},
        {vb::Value(std::int64_t(0)), "##,###", ""},
    };
    for (const Case& c : cases) {
        report::Layout L = listLayout();
        L.section(u"Line").control(u"Amount").format = QString::fromUtf8(c.format);
        auto rows = std::make_shared<report::MemorySource>(QStringList{"n", "amount"},
                                                          std::vector<std::vector<vb::Value>>{{vb::Value(1), c.value}});
        const Report report(L, rows, testOptions());
        EXPECT_EQ(textsOf(report.page(2), "Amount"), QStringList{QString::fromUtf8(c.shown)}) << c.format << " " << c.shown;
    }
}

TEST(PageModel, SumsKeepMoneyExactAndSayWhenTheyCannotBeComputed)
{
    struct Case {
        std::vector<vb::Value> values;
        vb::Value total;
    };
    const auto money = [](std::int64_t raw) { return vb::Value(vb::Currency::fromRaw(raw)); };
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    const Case cases[] = {
        {{}, vb::Value(std::int64_t(0))},
        {{money(1000), money(2000)}, money(3000)},
        // A million ten-cent gifts: exactly $100,000.00, which a double would miss.
        {std::vector<vb::Value>(1'000'000, money(1000)), money(1'000'000'000LL)},
        {{vb::Value(std::int64_t(2)), money(5000)}, money(25000)},
        {{vb::Value(), money(100), vb::Value()}, money(100)},
        // What is no number leaves a total that is not one: it is not available, never a
        // figure without it.
        {{money(100), vb::Value(QStringLiteral("no number"))}, vb::Value(vb::notAvailable())},
        {{money(100), vb::Value(vb::DateTime())}, vb::Value(vb::notAvailable())},
        // Money adds in 128 bits: past 64 bits and back is exact, a total beyond is not available.
        {{money(kMax), money(kMax), money(kMin), money(1)}, money(kMax)},
        {{money(kMax), money(1)}, vb::Value(vb::notAvailable())},
        {{money(kMax), vb::Value(std::int64_t(1))}, vb::Value(vb::notAvailable())},
        {{money(kMax), money(1), vb::Value(0.5)}, vb::Value(vb::notAvailable())},
        {{vb::Value(QStringLiteral("2.5")), vb::Value(std::int64_t(1))}, vb::Value(3.5)},
        {{vb::Value(0.25), money(2500)}, vb::Value(0.5)},
        // Whole numbers past 64 bits go on as a double instead of wrapping around.
        {{vb::Value(std::numeric_limits<std::int64_t>::max()), vb::Value(std::int64_t(1))}, vb::Value(9223372036854775808.0)},
        {{vb::Value(std::numeric_limits<std::int64_t>::min()), vb::Value(true)}, vb::Value(static_cast<double>(std::numeric_limits<std::int64_t>::min()) - 1.0)},
    };
    for (const Case& c : cases) {
        report::Total t;
        for (const vb::Value& v : c.values)
            t.add(v);
        EXPECT_EQ(t.value(), c.total) << c.values.size();
    }
}

TEST(PageModel, ItemsKeepTheirControlsKindsAndPlaces)
{
    report::Layout L = listLayout();
    report::Control rule;
    rule.name = QStringLiteral("Rule");
    rule.kind = ControlKind::Line;
    rule.left = 100;
    rule.top = 450;
    rule.width = 5800;
    rule.height = 1;
    report::Control logo = rule;
    logo.name = QStringLiteral("Logo");
    logo.kind = ControlKind::Image;
    logo.width = 300;
    logo.height = 200;
    logo.picture = QImage(30, 20, QImage::Format_RGB32);
    report::Control hidden = rule;
    hidden.name = QStringLiteral("Hidden");
    hidden.visible = false;
    L.section(u"Line").controls.push_back(rule);
    L.section(u"Top").controls.push_back(logo);
    L.section(u"Top").controls.push_back(hidden);
    const Report report(L, numberedRows(2), testOptions());
    const report::Page page = report.page(2);
    EXPECT_EQ(describe(page),
              QStringLiteral("page 2 of 2 (8000 x 10000 twips)\n"
              "   1000, 1000  2000x200   label    Top.PageNo \"Page 2 of 2\"\n"
              "   1100, 1450   300x200   image    Top.Logo (picture 30x20)\n"
              "   1000, 2000  2000x200   textbox  Line.Number \"1\"\n"
              "   3000, 2000  2000x200   textbox  Line.Amount \"$1.25\"\n"
              "   1100, 2450  5800x1     line     Line.Rule\n"
              "   1000, 2500  2000x200   textbox  Line.Number \"2\"\n"
              "   3000, 2500  2000x200   textbox  Line.Amount \"$2.25\"\n"
              "   1100, 2950  5800x1     line     Line.Rule\n"
              "   1000, 3000  2000x200   label    End.EndMark \"End of report\"\n"
              "   1000, 8500  2000x200   label    Bottom.Printed \"3/15/2001\"\n"));
}

TEST(PageModel, BindingRefusesWhatCannotBeShown)
{
    struct Case {
        const char* what;
        std::function<void(report::Layout&)> change;
        bool grouped;
        const char* message;  // a part of it
    };
    const Case cases[] = {
        {"unknown field", [](report::Layout& L) { L.control(u"Amount").dataField = "Amont"; }, false, "'Amont' is not found"},
        {"unknown format", [](report::Layout& L) { L.control(u"Amount").format = "0.00%"; }, false, "format '0.00%'"},
        {"text box in the page header",
         [](report::Layout& L) {
             L.section(u"Top").controls.push_back(field("Stray", 0, "n"));
         },
         false, "cannot stand in the page header"},
        {"function on a detail line",
         [](report::Layout& L) { L.section(u"Line").controls.push_back(total("Stray", "amount", {})); }, false,
         "cannot stand in the detail"},
        {"data member without a group", [](report::Layout& L) { L.control(u"Amount").dataMember = "Gifts"; }, false,
         "needs a group header"},
        {"too wide for the paper", [](report::Layout& L) { L.reportWidth = 6001; }, false, "do not fit on the paper"},
        {"two page headers", [](report::Layout& L) { L.sections.push_back(section("Top2", SectionKind::PageHeader, 100)); },
         false, "two sections of the page header"},
        {"grouped line without its member", [](report::Layout& L) { L.control(u"GiftNo").dataMember.clear(); }, true,
         "must name the data member"},
        {"grouped lines of two members", [](report::Layout& L) { L.control(u"GiftNo").dataMember = "Other"; }, true,
         "the detail lines show"},
        {"member the rows lack", [](report::Layout& L) { L.control(u"Sum").dataMember = "Pledges"; }, true,
         "'Pledges' is not part"},
        {"group header showing a child field", [](report::Layout& L) { L.control(u"Name").dataMember = "Gifts"; }, true,
         "shows the parent row"},
    };
    for (const Case& c : cases) {
        report::Layout L = c.grouped ? groupLayout() : listLayout();
        c.change(L);
        try {
            if (c.grouped)
                Report(L, members({1}), testOptions());
            else
                Report(L, numberedRows(1), testOptions());
            ADD_FAILURE() << c.what << ": bound without complaint";
        } catch (const report::ReportError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.message))) << c.what << ": " << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(L.name)) << c.what;
        }
    }
}

TEST(PageModel, TextBoxesBindInOrderToTheFirstFields)
{
    report::Section s = section("Block", SectionKind::GroupHeader, 100,
                                {field("A", 0, "x"), label("L", 0, 0, "caption"), field("B", 0, "y"), field("C", 0, "z")});
    EXPECT_EQ(report::bindTextBoxesInOrder(s, {"MemberID", "FullName"}), 2);
    EXPECT_EQ(s.control(u"A").dataField, "MemberID");
    EXPECT_EQ(s.control(u"B").dataField, "FullName");
    EXPECT_EQ(s.control(u"C").dataField, "z");
    EXPECT_THROW(s.control(u"D"), report::ReportError);
}

} // namespace
