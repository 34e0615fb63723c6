// The mail-merge file read by a real word processor: LibreOffice Writer converts it to HTML,
// and every member's texts must stand exactly, each in its own cell of the table.
// Its text export must give every field exactly, blanks included. Skipped only when LibreOffice
// is not installed (tools/setup.sh installs libreoffice-writer-nogui).
#include "mail_merge_fixture.h"
#include "reports/mail_merge_rtf.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using mailmergetest::shownCells;
using mailmergetest::threeMembers;

// The cells of the document's first table, row by row.
std::vector<std::vector<QString>> firstTable(const QString& html)
{
    QTextDocument doc;
    doc.setHtml(html);
    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        std::vector<std::vector<QString>> rows;
        for (int r = 0; r < table->rows(); ++r) {
            std::vector<QString> cells;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QTextCursor cursor = cell.firstCursorPosition();
                cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                QString text = cursor.selectedText();
                text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
                text.replace(QChar::Nbsp, u' ');  // HTML keeps runs of blanks as no-break spaces
                cells.push_back(text);
            }
            rows.push_back(cells);
        }
        return rows;
    }
    return {};
}

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
        soffice_ = QStandardPaths::findExecutable(QStringLiteral("soffice"));
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
        // A profile of its own: no user's settings, and no clash with a LibreOffice already running.
        const QString profile = QUrl::fromLocalFile(dir_.file(QStringLiteral("profile"))).toString();
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(soffice_, {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                           QStringLiteral("--norestore"), QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"),
                           dir_.path(), rtfPath()});
        if (!p.waitForStarted()) {
            ADD_FAILURE() << "soffice did not start";
            return {};
        }
        const bool finished = p.waitForFinished(600000);  // a guard against a hung converter, not a measure
        if (!finished)
            p.kill();
        const QString output = QString::fromUtf8(p.readAll());
        if (!finished || p.exitCode() != 0) {
            ADD_FAILURE() << "soffice failed: " << output.toStdString();
            return {};
        }
        QFile converted(dir_.file(QStringLiteral("Default Merge.") + extension));
        if (!converted.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "soffice wrote no " << extension.toStdString() << ": " << output.toStdString();
            return {};
        }
        return QString::fromUtf8(converted.readAll());
    }

    quiltest::TempDir dir_;
    QString soffice_;
};

TEST_F(MailMergeLibreOffice, HtmlTableHoldsEveryFieldInItsCell)
{
    const std::vector<std::vector<QString>> cells = firstTable(convert(QStringLiteral("html"), QStringLiteral("html")));
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
