#pragma once
// Reading a PDF back with poppler's tools (tools/setup.sh installs poppler-utils): its page
// count, and its text in reading order.
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace quiltest {

inline QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed on " << arguments.join(u' ').toStdString() << ": "
                      << p.readAllStandardError().toStdString() << " (is poppler-utils installed? tools/setup.sh)";
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The page count pdfinfo reads; -1 when it cannot read the file.
inline int pdfPages(const QString& path)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : info.split(u'\n'))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

inline QString pdfText(const QString& path)
{
    return runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

} // namespace quiltest
