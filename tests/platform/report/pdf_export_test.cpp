// Pages written to PDF and to a printer, read back with poppler's tools: the page count, the
// texts, and that a cancelled or failed export leaves no file (and an older one unchanged).
#include "support/pdf_tools.h"
#include "report_fixture.h"

#include "platform/report/render.h"
#include "platform/report/report_error.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QPageRanges>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

using namespace reporttest;
using namespace quiltest;
using report::ExportResult;
using report::PageRange;
using report::Report;

// 40 lines: a cover and four pages of lines.
const Report& fortyLines()
{
    static const Report report(listLayout(), numberedRows(40), testOptions());
    return report;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(PdfExport, TheFileHoldsThePagesAndTheirTexts)
{
    quiltest::TempDir dir;
    const QString path = dir.file("all.pdf");
    ASSERT_EQ(fortyLines().pageCount(), 5);
    ASSERT_EQ(report::exportPdf(fortyLines(), path, {1, 5}, "Forty Lines"), ExportResult::Written);
    EXPECT_EQ(pdfPages(path), 5);
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains("Donations")) << text.toStdString();
    EXPECT_TRUE(text.contains("Page 1 of 5"));
    EXPECT_TRUE(text.contains("Page 5 of 5"));
    EXPECT_TRUE(text.contains("$1.25"));
    EXPECT_TRUE(text.contains("$40.25"));
    EXPECT_TRUE(text.contains("End of report"));
    EXPECT_TRUE(runTool("pdfinfo", {path}).contains("Forty Lines"));
}

TEST(PdfExport, ARangeWritesOnlyItsPages)
{
    quiltest::TempDir dir;
    struct Case {
        PageRange asked;
        int pages;
        const char* first;
        const char* absent;
    };
    const Case cases[] = {
        {{2, 3}, 2, "Page 2 of 5", "Page 4 of 5"},
        {{5, 5}, 1, "Page 5 of 5", "Page 1 of 5"},
        {{4, 99}, 2, "Page 4 of 5", "Page 3 of 5"},  // brought into the report's pages
    };
    for (const Case& c : cases) {
        const QString path = dir.file(QStringLiteral("range%1.pdf").arg(c.asked.first));
        ASSERT_EQ(report::exportPdf(fortyLines(), path, c.asked, "Range"), ExportResult::Written);
        EXPECT_EQ(pdfPages(path), c.pages) << c.first;
        const QString text = pdfText(path);
        EXPECT_TRUE(text.contains(c.first)) << c.first;
        EXPECT_FALSE(text.contains(c.absent)) << c.absent;
    }
}

TEST(PdfExport, ACancelledExportLeavesWhatWasThere)
{
    quiltest::TempDir dir;
    const QString fresh = dir.file("fresh.pdf");
    const QString older = dir.file("older.pdf");
    {
        QFile f(older);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("an older file");
    }
    for (const QString& path : {fresh, older}) {
        std::vector<int> told;
        const auto stopAfterTwo = [&](int done, int total) {
            told.push_back(done);
            EXPECT_EQ(total, 5);
            return done < 2;
        };
        EXPECT_EQ(report::exportPdf(fortyLines(), path, {1, 5}, "Cancelled", stopAfterTwo), ExportResult::Cancelled);
        EXPECT_EQ(told, (std::vector<int>{1, 2}));
    }
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(contents(older), "an older file");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"older.pdf"});
}

TEST(PdfExport, AFileThatCannotBeWrittenIsAnError)
{
    quiltest::TempDir dir;
    const QString path = dir.file("no such folder/report.pdf");
    try {
        report::exportPdf(fortyLines(), path, {1, 5}, "Nowhere");
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const report::ReportError& e) {
        EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Printing, ThePrinterGetsThePagesItsDialogAskedFor)
{
    struct Case {
        QPrinter::PrintRange range;
        const char* pages;  // the dialog's page ranges
        int current;
        std::vector<std::pair<int, int>> expected;
    };
    const Case cases[] = {
        {QPrinter::AllPages, "", 3, {{1, 5}}},
        {QPrinter::CurrentPage, "", 3, {{3, 3}}},
        {QPrinter::PageRange, "2-3", 1, {{2, 3}}},
        {QPrinter::PageRange, "1,4-5", 1, {{1, 1}, {4, 5}}},
        {QPrinter::PageRange, "4-9", 1, {{4, 5}}},
    };
    quiltest::TempDir dir;
    int n = 0;
    for (const Case& c : cases) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString path = dir.file(QStringLiteral("printed%1.pdf").arg(++n));
        printer.setOutputFileName(path);
        printer.setPrintRange(c.range);
        if (*c.pages)
            printer.setPageRanges(QPageRanges::fromString(QString::fromLatin1(c.pages)));
        std::vector<std::pair<int, int>> ranges;
        for (const PageRange& r : report::printerRanges(fortyLines(), printer, c.current))
            ranges.emplace_back(r.first, r.last);
        EXPECT_EQ(ranges, c.expected) << c.pages;

        ASSERT_TRUE(report::printReport(fortyLines(), printer, c.current));
        int pages = 0;
        for (const auto& [first, last] : c.expected)
            pages += last - first + 1;
        EXPECT_EQ(pdfPages(path), pages) << c.pages;
        const QString text = pdfText(path);
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of 5").arg(c.expected.front().first))) << c.pages;
    }
}

} // namespace
