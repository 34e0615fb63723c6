// Pagination: where pages break, the report's and the groups' headers and footers, the totals,
// "Page n of m", and the one rule the page index stands on: a page reached directly is the page
// the flow reaches by walking from the first.
#include "report_fixture.h"

#include "platform/report/report_error.h"

#include <gtest/gtest.h>

namespace {

using namespace reporttest;
using report::Page;
using report::Report;

// The page index (page(n)) and the walk from the first page must give the same pages.
void expectWalkMatchesIndex(const Report& report)
{
    const std::vector<Page> walked = report.walk();
    ASSERT_EQ(static_cast<int>(walked.size()), report.pageCount());
    for (int n = 1; n <= report.pageCount(); ++n)
        EXPECT_EQ(describe(report.page(n)), describe(walked[static_cast<std::size_t>(n - 1)])) << "page " << n;
}

// Every item but the page footer's lies between the top margin and the page footer.
void expectInsideBody(const Page& page)
{
    for (const report::Item& item : page.items) {
        if (item.section->kind == report::SectionKind::PageFooter) {
            EXPECT_EQ(item.rect.top(), kBodyBottom + item.control->top);
            continue;
        }
        EXPECT_GE(item.rect.top(), 1000) << item.control->name.toStdString();
        EXPECT_LE(item.rect.top() - item.control->top + item.section->height, kBodyBottom)
            << item.control->name.toStdString() << " on page " << page.number;
    }
}

struct ListCase {
    int rows;
    int pages;          // the cover, the pages of lines, and the one the footer may need
    int linesOnLast;    // lines on the last page
    bool footerAlone;   // the report footer needed a page of its own
};

class ListPagination : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListPagination, LinesFlowOntoPagesAfterTheCover)
{
    const ListCase& c = GetParam();
    const Report report(listLayout(), numberedRows(c.rows), testOptions());
    ASSERT_EQ(report.pageCount(), c.pages);
    expectWalkMatchesIndex(report);

    // The cover page holds the report header and the page header, and no line.
    const Page cover = report.page(1);
    EXPECT_EQ(textsOf(cover, "Title"), QStringList{"Donations"});
    EXPECT_TRUE(textsOf(cover, "Number").isEmpty());

    QStringList numbers;
    for (int n = 1; n <= report.pageCount(); ++n) {
        const Page page = report.page(n);
        EXPECT_EQ(textsOf(page, "PageNo"), QStringList{QStringLiteral("Page %1 of %2").arg(n).arg(c.pages)});
        EXPECT_EQ(textsOf(page, "Printed"), QStringList{"3/15/2001"});
        expectInsideBody(page);
        numbers << textsOf(page, "Number");
        if (n > 1) {
            EXPECT_LE(textsOf(page, "Number").size(), 13);
        }
    }
    // Every row once, in order.
    ASSERT_EQ(numbers.size(), c.rows);
    for (int i = 0; i < c.rows; ++i)
        EXPECT_EQ(numbers[i], QString::number(i + 1));

    const Page last = report.page(report.pageCount());
    EXPECT_EQ(textsOf(last, "Number").size(), c.linesOnLast);
    EXPECT_EQ(textsOf(last, "EndMark"), QStringList{"End of report"});
    if (c.footerAlone) {
        EXPECT_EQ(textsOf(report.page(report.pageCount() - 1), "EndMark").size(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ListPagination,
                         ::testing::Values(ListCase{0, 2, 0, false}, ListCase{1, 2, 1, false}, ListCase{12, 2, 12, false},
                                           ListCase{13, 3, 0, true}, ListCase{14, 3, 1, false}, ListCase{26, 4, 0, true},
                                           ListCase{27, 4, 1, false}, ListCase{1000, 78, 12, false}));

TEST(ListPagination, LinesAreWhereTheFlowPutsThem)
{
    const Report report(listLayout(), numberedRows(14), testOptions());
    const Page second = report.page(2);
    // Page header at the top margin, then the lines one under the other.
    EXPECT_EQ(second.items.front().control->name, "PageNo");
    EXPECT_EQ(second.items.front().rect.top(), 1000);
    int expectedTop = kBodyTop;
    for (const report::Item& item : second.items)
        if (item.control->name == "Number") {
            EXPECT_EQ(item.rect.top(), expectedTop);
            EXPECT_EQ(item.rect.left(), 1000);
            expectedTop += 500;
        }
    EXPECT_EQ(textsOf(second, "Amount").front(), "$1.25");
    EXPECT_EQ(textsOf(report.page(3), "Amount"), QStringList{"$14.25"});
}

TEST(ListPagination, AMillionLinesArePaginatedWithoutReadingThem)
{
    // A source that can count but refuses to read more than the rows of the pages asked for.
    class CountingRows : public report::DataSource {
    public:
        QStringList fieldNames() const override { return {"n", "amount"}; }
        int count() override { return 1'000'000; }
        std::vector<vb::Value> row(int index) override
        {
            ++reads;
            return {vb::Value(index + 1), vb::Value(vb::Currency())};
        }
        int reads = 0;
    };
    auto rows = std::make_shared<CountingRows>();
    const Report report(listLayout(), rows, testOptions());
    EXPECT_EQ(rows->reads, 0);
    // 1,000,000 = 76,923 pages of 13 lines and one of 1; the footer fits beside it.
    ASSERT_EQ(report.pageCount(), 1 + 76'924);
    const Page last = report.page(report.pageCount());
    EXPECT_EQ(textsOf(last, "Number"), QStringList{"1000000"});
    EXPECT_EQ(textsOf(last, "PageNo"), QStringList{"Page 76925 of 76925"});
    EXPECT_EQ(textsOf(report.page(2), "Number").front(), "1");
    EXPECT_EQ(rows->reads, 1 + 13);
}

struct GroupCase {
    std::vector<int> gifts;
    int pages;
};

class GroupPagination : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GroupPagination, EveryMemberStartsAPageAndEndsWithItsTotal)
{
    const GroupCase& c = GetParam();
    const Report report(groupLayout(), members(c.gifts), testOptions());
    ASSERT_EQ(report.pageCount(), c.pages);
    expectWalkMatchesIndex(report);

    QStringList names, totals;
    std::vector<QStringList> giftsOf(c.gifts.size());
    int member = -1;
    for (int n = 1; n <= report.pageCount(); ++n) {
        const Page page = report.page(n);
        expectInsideBody(page);
        EXPECT_EQ(textsOf(page, "PageNo"), QStringList{QStringLiteral("%1/%2").arg(n).arg(c.pages)});
        const QStringList headers = textsOf(page, "Name");
        // A member's block starts the page it is on, right under the page header.
        ASSERT_LE(headers.size(), 1);
        if (!headers.isEmpty()) {
            ++member;
            EXPECT_EQ(page.items[1].control->name, "Name");
            EXPECT_EQ(page.items[1].rect.top(), kBodyTop);
        }
        names << headers;
        totals << textsOf(page, "Sum");
        if (member < 0)
            continue;  // no member at all: a page of page header and footer
        giftsOf[static_cast<std::size_t>(member)] << textsOf(page, "GiftNo");
    }
    ASSERT_EQ(names.size(), static_cast<int>(c.gifts.size()));
    ASSERT_EQ(totals.size(), static_cast<int>(c.gifts.size()));
    for (std::size_t m = 0; m < c.gifts.size(); ++m) {
        EXPECT_EQ(names[static_cast<int>(m)], QStringLiteral("m%1").arg(m + 1));
        std::int64_t cents = 0;
        QStringList expectedGifts;
        for (int g = 1; g <= c.gifts[m]; ++g) {
            cents += static_cast<std::int64_t>(m + 1) * 100 + g;
            expectedGifts << QString::number(g);
        }
        EXPECT_EQ(giftsOf[m], expectedGifts) << "member " << m + 1;
        EXPECT_EQ(totals[static_cast<int>(m)], QStringLiteral("$%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0')))
            << "member " << m + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, GroupPagination,
                         ::testing::Values(GroupCase{{}, 1}, GroupCase{{0}, 1}, GroupCase{{0, 1, 13, 14, 30}, 9},
                                           GroupCase{{10}, 1}, GroupCase{{11}, 2}, GroupCase{{12}, 2}, GroupCase{{24}, 3}, GroupCase{{25}, 3}));

TEST(GroupPagination, MembersShareAPageWithoutAPageBreakBefore)
{
    report::Layout L = groupLayout();
    L.section(u"Head").pageBreakBefore = false;
    // 2000..8500: member 1 (1000 + 2 x 500 + 500 = 2500), member 2 (2500), then member 3's
    // header and a first gift (1500) fit, its second gift does not.
    const Report report(L, members({2, 2, 2}), testOptions());
    ASSERT_EQ(report.pageCount(), 2);
    expectWalkMatchesIndex(report);
    EXPECT_EQ(textsOf(report.page(1), "Name"), (QStringList{"m1", "m2", "m3"}));
    EXPECT_EQ(textsOf(report.page(2), "GiftNo"), QStringList{"2"});
    EXPECT_EQ(textsOf(report.page(2), "Sum"), QStringList{"$6.03"});
}

TEST(Pagination, BreaksHiddenSectionsAndOversizedBands)
{
    using K = report::SectionKind;
    {
        // A page break after every line: the report footer after the last one starts a page too.
        report::Layout L = listLayout();
        L.section(u"Line").pageBreakAfter = true;
        const Report report(L, numberedRows(3), testOptions());
        EXPECT_EQ(report.pageCount(), 1 + 3 + 1);
        expectWalkMatchesIndex(report);
        EXPECT_EQ(textsOf(report.page(4), "Number"), QStringList{"3"});
        EXPECT_EQ(textsOf(report.page(5), "EndMark"), QStringList{"End of report"});
    }
    {
        // Hidden lines take no room and no page; a hidden report footer neither.
        report::Layout L = listLayout();
        L.section(u"Line").visible = false;
        L.section(u"End").visible = false;
        const Report report(L, numberedRows(100), testOptions());
        EXPECT_EQ(report.pageCount(), 1);
    }
    {
        // A line taller than the body still gets a page each, and the flow moves on.
        report::Layout L = listLayout();
        L.section(u"Line").height = 9000;
        const Report report(L, numberedRows(3), testOptions());
        EXPECT_EQ(report.pageCount(), 1 + 3 + 1);
        expectWalkMatchesIndex(report);
    }
    {
        // Nothing visible at all still makes one page.
        report::Layout L;
        L.name = QStringLiteral("Empty");
        L.reportWidth = 6000;
        L.leftMargin = L.rightMargin = 1000;
        L.sections = {section("D", K::Detail, 0)};
        const Report report(L, numberedRows(5), testOptions());
        EXPECT_EQ(report.pageCount(), 1);
        EXPECT_TRUE(report.page(1).items.empty());
    }
}

TEST(Pagination, APageOutsideTheReportIsAnError)
{
    const Report report(listLayout(), numberedRows(3), testOptions());
    EXPECT_THROW(report.page(0), report::ReportError);
    EXPECT_THROW(report.page(report.pageCount() + 1), report::ReportError);
}

} // namespace
