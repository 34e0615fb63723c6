// The page models of the three report layouts on the small fixture, against golden text files
// (tests/reports/golden): a change of a control, a position, a font-independent size, a format
// or a section shows as a readable diff. QUIL_UPDATE_GOLDEN=1 rewrites them on purpose.
//
// The layouts are filled as the report procedures fill them: the organization lines, the title,
// the count and the grand total on the cover, the logo and the organization in the page header,
// the filter's captions on the criteria page; the controls are reached by their numbers.
#include "reports_fixture.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

using namespace reportstest;

QString pagesOf(const report::Report& report)
{
    QString text = QStringLiteral("%1 \"%2\", pages: %3\n").arg(report.layout().name, report.layout().caption).arg(report.pageCount());
    for (int n = 1; n <= report.pageCount(); ++n)
        text += u'\n' + report::describe(report.page(n));
    return text;
}

void expectGolden(const QString& name, const QString& actual)
{
    const QString path = QStringLiteral(QUIL_GOLDEN_DIR "/%1.txt").arg(name);
    QFile file(path);
    if (qEnvironmentVariableIsSet("QUIL_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        file.write(actual.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString() << " is missing; QUIL_UPDATE_GOLDEN=1 writes it";
    const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n');
    const QStringList lines = actual.split(u'\n');
    for (qsizetype i = 0; i < std::max(expected.size(), lines.size()); ++i) {
        const QString want = i < expected.size() ? expected[i] : QStringLiteral("(end of file)");
        const QString got = i < lines.size() ? lines[i] : QStringLiteral("(end of page model)");
        if (want != got) {
            ADD_FAILURE() << name.toStdString() << ".txt, line " << i + 1 << "\n  golden: " << want.toStdString()
                          << "\n  now:    " << got.toStdString()
                          << "\n(QUIL_UPDATE_GOLDEN=1 rewrites the file when the change is meant)";
            return;
        }
    }
}

class LayoutsGolden : public ReportsFixture {};

TEST_F(LayoutsGolden, ListRPTOverEveryDonation)
{
    const auto report = listReport();
    EXPECT_EQ(report->pageCount(), 3);  // the cover, 31 lines, 10 lines
    expectGolden("ListRPT", pagesOf(*report));
}

TEST_F(LayoutsGolden, MemberRPTForTheYear2001)
{
    const auto report = memberReport();
    EXPECT_EQ(report->pageCount(), 6);  // the cover; one page per member, two for the weekly giver
    expectGolden("MemberRPT", pagesOf(*report));
}

TEST_F(LayoutsGolden, CurFltRptWithTheFiltersCaptions)
{
    const auto report = criteriaReport();
    EXPECT_EQ(report->pageCount(), 1);
    expectGolden("CurFltRpt", pagesOf(*report));
}

} // namespace
