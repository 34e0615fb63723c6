// The mail-merge file read by a real word processor: LibreOffice Writer converts it to HTML,
// and every member's texts must stand exactly, each in its own cell of the table.
// Its text export must give every field exactly, blanks included. Skipped only when LibreOffice
// is not installed (tools/setup.sh installs libreoffice-writer-nogui).
#include "mail_merge_fixture.h"
#include "reports/mail_merge_rtf.h"
#include "support/libreoffice.h"
#include "support/temp_dir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using mailmergetest::shownCells;
using mailmergetest::threeMembers;

// HTML does not keep blanks: a run of them is one, and those at a cell's ends are dropped (the
// converter also wraps long lines). Cells are compared in that form; the text export keeps them.
QString asHtmlShowsIt(const QString& text)
{
    return text.simplified();
}

class MailMergeLibreOffice : public ::testing::Test {
protected:
    void SetUp() override
    {
        soffice_ = quiltest::sofficePath();
        if (soffice_.isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed; tools/setup.sh installs libreoffice-writer-nogui";
        QFile f(rtfPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reports::mailMergeRtf(threeMembers()));
    }

    QString rtfPath() const { return dir_.file(QStringLiteral("Default Merge.rtf")); }

    // Converts the file with Writer; the converted file's text, "" on failure.
    QString convert(const QString& filter, const QString& extension)
    {
        return quiltest::convertWithLibreOffice(soffice_, rtfPath(), dir_.path(), filter, extension);
    }

    quiltest::TempDir dir_;
    QString soffice_;
};

TEST_F(MailMergeLibreOffice, HtmlTableHoldsEveryFieldInItsCell)
{
    const std::vector<std::vector<QString>> cells = quiltest::firstHtmlTable(convert(QStringLiteral("html"), QStringLiteral("html")));
    const std::vector<std::vector<QString>> expected = shownCells(threeMembers());
    ASSERT_EQ(cells.size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r) {
        ASSERT_EQ(cells[r].size(), expected[r].size()) << "row " << r;
        for (std::size_t c = 0; c < expected[r].size(); ++c)
            EXPECT_EQ(asHtmlShowsIt(cells[r][c]).toStdString(), asHtmlShowsIt(expected[r][c]).toStdString())
                << "row " << r << ", cell " << c;
    }
}

// The text export writes each cell as a paragraph of its own, in reading order, blanks kept: a
// name without a first name begins with one, an empty address is an empty line.
TEST_F(MailMergeLibreOffice, TextExportShowsEveryFieldExactly)
{
    QString text = convert(QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("txt"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QStringLiteral("\n"));
    QStringList expected;
    for (const std::vector<QString>& row : shownCells(threeMembers()))
        for (const QString& cell : row)
            expected << cell;
    ASSERT_GE(lines.size(), expected.size()) << text.toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(QString(lines[i]).remove(u'\r').toStdString(), expected[i].toStdString()) << "paragraph " << i;
}

} // namespace
