// The program's reports written to PDF and read back: the page counts, the headings, the lines
// and the totals, as a reader of the file finds them. QUIL_KEEP_PDF=<folder> keeps the files
// there, to be looked at (pdftoppm -png renders their pages).
#include "reports_fixture.h"

#include "platform/report/render.h"
#include "support/pdf_tools.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

using namespace reportstest;

class ReportsPdf : public ReportsFixture {
protected:
    QString exported(const report::Report& report, const QString& name)
    {
        const QString folder = qEnvironmentVariableIsSet("QUIL_KEEP_PDF") ? qEnvironmentVariable("QUIL_KEEP_PDF") : dir_.path();
        const QString path = QDir(folder).filePath(name + ".pdf");
        EXPECT_EQ(report::exportPdf(report, path, {1, report.pageCount()}, report.layout().caption), report::ExportResult::Written);
        return path;
    }

    quiltest::TempDir dir_;
};

TEST_F(ReportsPdf, TheAccountantStatementReadsBack)
{
    const QString path = exported(*listReport(), "ListRPT");
    EXPECT_EQ(quiltest::pdfPages(path), 3);
    const QString text = quiltest::pdfText(path);
    for (const char* expected : {"Grace & Truth Chapel", "Accountant Report", "Total Records:", "41", "Grand Total:", "$846.00",
                                 "Thursday, March 15, 2001", "Payment Amount", "Member Name", "31-Dec-00", "$500.00",
                                 "Seán O'Brien", "{General} \\ Fund", "St. Mary's Fund", "Missions 宣教", "Page", "of"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

TEST_F(ReportsPdf, TheMemberStatementsReadBack)
{
    // The emoji after "Zoë" is drawn (in Symbola), but pdftotext maps no text to glyphs outside
    // the Basic Multilingual Plane that Qt writes, so the test looks for the name before it.
    const QString path = exported(*memberReport(), "MemberRPT");
    EXPECT_EQ(quiltest::pdfPages(path), 6);
    const QString text = quiltest::pdfText(path);
    for (const char* expected : {"Member Report", "$320.75", "John Smith", "Boston, MA", "Member ID", "Check Number",
                                 "Total:", "$250.50", "$11.05", "$59.20", "$0.00", "7 {Oak} Rd \\ Apt \"B\"", "Zoë", "小龍 李"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

TEST_F(ReportsPdf, TheCriteriaPageReadsBack)
{
    const QString path = exported(*criteriaReport(), "CurFltRpt");
    EXPECT_EQ(quiltest::pdfPages(path), 1);
    const QString text = quiltest::pdfText(path);
    for (const char* expected : {"Member ID", "Notes:", "Sm*", "Payment Amount", "Starts With", "O'Brien's {Fund} \\", "12/31/2001"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

} // namespace
