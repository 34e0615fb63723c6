#pragma once
// Files the program writes, opened by a real office suite: LibreOffice converts a file
// (headless, with a profile of its own) and the tests read what it made of it.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <gtest/gtest.h>
#include <vector>

namespace quiltest {

// The soffice program, "" when LibreOffice is not installed.
inline QString sofficePath()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

// Whether the installed LibreOffice has Calc, which opens CSV files (Writer alone does not).
inline bool hasLibreOfficeCalc(const QString& soffice)
{
    return QFileInfo::exists(QFileInfo(soffice).canonicalPath() + QStringLiteral("/libsclo.so"));
}

// Converts `input` into `outDir` with the output filter `filter` ("html", "txt:Text (encoded):UTF8")
// and, when given, the input filter with its options ("CSV:44,34,76,1"). The converted file's
// text; "" after a failure of the test.
inline QString convertWithLibreOffice(const QString& soffice, const QString& input, const QString& outDir,
                                      const QString& filter, const QString& extension, const QString& inFilter = {})
{
    // A profile of its own: no user's settings, and no clash with a LibreOffice already running.
    const QString profile = QUrl::fromLocalFile(outDir + QStringLiteral("/profile")).toString();
    QStringList arguments{QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                          QStringLiteral("--norestore")};
    if (!inFilter.isEmpty())
        arguments << QStringLiteral("--infilter=") + inFilter;
    arguments << QStringLiteral("--convert-to") << filter << QStringLiteral("--outdir") << outDir << input;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(soffice, arguments);
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
    QFile converted(outDir + u'/' + QFileInfo(input).completeBaseName() + u'.' + extension);
    if (!converted.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "soffice wrote no " << extension.toStdString() << ": " << output.toStdString();
        return {};
    }
    return QString::fromUtf8(converted.readAll());
}

// The cells of an HTML document's first table, row by row, as a reader sees them.
inline std::vector<std::vector<QString>> firstHtmlTable(const QString& html)
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

} // namespace quiltest
