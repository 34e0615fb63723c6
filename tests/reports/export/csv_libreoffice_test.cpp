// An exported CSV opened by a real spreadsheet: LibreOffice Calc reads it (UTF-8, commas, as a
// user opens it) and converts it to HTML; every text that looks like a formula must stand in its
// cell as text, never run. Beside each, an unguarded formula that Calc must run, so the test
// proves Calc evaluates formulas the way it read the file. Skipped only when LibreOffice Calc is
// not installed (tools/setup.sh installs libreoffice-calc-nogui).
#include "reports/csv_writer.h"
#include "schema/csv_text.h"
#include "support/libreoffice.h"
#include "support/temp_dir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(CsvLibreOffice, TextsThatLookLikeFormulasStandAsTextInCalc)
{
    const QString soffice = quiltest::sofficePath();
    if (soffice.isEmpty() || !quiltest::hasLibreOfficeCalc(soffice))
        GTEST_SKIP() << "LibreOffice Calc is not installed; tools/setup.sh installs libreoffice-calc-nogui";

    const QString texts[] = {
        QStringLiteral("=1+1"),
        QStringLiteral("=HYPERLINK(\"http://example.org\",\"click\")"),
        QStringLiteral("=cmd|' /C calc'!A0"),
        QStringLiteral("+1+1"),
        QStringLiteral("-1+1"),
        QStringLiteral("@SUM(1+1)"),
        QStringLiteral("'=1+1"),
        QStringLiteral("-5 Main St"),
        QStringLiteral("+44 20 7946 0958"),
        QStringLiteral("\t=1+1"),
        QStringLiteral("\r=1+1"),
    };
    // The control column is written raw, as an export without the guard would write it.
    QByteArray bytes = "\xEF\xBB\xBFText,Control\r\n";
    for (const QString& text : texts)
        bytes += reports::csv::field(text) + ",=2+3\r\n";

    quiltest::TempDir dir;
    const QString path = dir.file(QStringLiteral("members.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    // Comma-separated, double quotes, UTF-8 (76), from the first line.
    const QString html = quiltest::convertWithLibreOffice(soffice, path, dir.path(), QStringLiteral("html"),
                                                          QStringLiteral("html"), QStringLiteral("CSV:44,34,76,1"));
    const auto cells = quiltest::firstHtmlTable(html);
    ASSERT_EQ(cells.size(), std::size(texts) + 1) << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("<a href"), Qt::CaseInsensitive)) << "a link was made";
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const QString& text = texts[i];
        SCOPED_TRACE(text.toStdString());
        const std::vector<QString>& row = cells[i + 1];
        ASSERT_EQ(row.size(), 2u);
        EXPECT_EQ(row[1].simplified(), "5") << "Calc did not run the unguarded formula: the check below proves nothing";
        // Calc shows the guard (7.4 does) or takes it as the mark of a text (as typed in a cell);
        // HTML does not keep a tab or a line break as such, so blanks are compared simplified.
        const QString shown = row[0].simplified();
        EXPECT_TRUE(shown == db::csvtext::written(text).simplified() || shown == text.simplified()) << shown.toStdString();
    }
}

} // namespace
