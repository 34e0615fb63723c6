#include "reports/statement_files.h"

#include "platform/report/render.h"
#include "platform/report/report_error.h"

#include <QDir>

namespace reports {

namespace {

// The name part's longest length in UTF-8 bytes: with the period, the number and ".pdf" the whole
// name stays well under the 255 bytes file systems allow.
constexpr int kNameMostBytes = 150;

// Characters no file system of the desktop takes in a name, and the control characters.
bool unsafe(char32_t c)
{
    return c < 0x20 || c == 0x7f || c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<'
           || c == u'>' || c == u'|';
}

QString safeName(const QString& text)
{
    QString out;
    out.reserve(text.size());
    bool space = false;
    int bytes = 0;
    for (const char32_t c : text.toUcs4()) {
        if (QChar::isSpace(c)) {
            space = !out.isEmpty();
            continue;
        }
        // A refused character stands as an underscore, so "A/B" does not read "AB".
        const char32_t shown = unsafe(c) ? U'_' : c;
        const QString piece = (space ? QStringLiteral(" ") : QString()) + QString::fromUcs4(&shown, 1);
        const int pieceBytes = static_cast<int>(piece.toUtf8().size());
        if (bytes + pieceBytes > kNameMostBytes)
            break;
        out += piece;
        bytes += pieceBytes;
        space = false;
    }
    // A name may not begin with a dot (a hidden file) or end with one (Windows drops it).
    while (out.startsWith(u'.'))
        out.remove(0, 1);
    while (out.endsWith(u'.') || out.endsWith(u' '))
        out.chop(1);
    return out;
}

} // namespace

QString statementFileName(const QString& last, const QString& first, const StatementPeriod& period, std::int64_t memberId)
{
    QString name = safeName(last + u' ' + first);
    if (name.isEmpty())
        name = QStringLiteral("Donor");
    return QStringLiteral("%1 %2 (%3).pdf").arg(name, period.shortName()).arg(memberId);
}

QStringList statementFileNames(const GivingStatementPages& pages)
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(pages.donors().size()));
    for (const StatementDonor& d : pages.donors()) {
        const GivingStatementPages::Names n = pages.namesOf(d.memberId);
        names << statementFileName(n.last, n.first, pages.request().period, d.memberId);
    }
    return names;
}

StatementFilesResult writeStatementFiles(const GivingStatementPages& pages, const QString& folder, const QStringList& names,
                                         const FilesProgress& progress)
{
    StatementFilesResult result;
    const QDir dir(folder);
    const int total = static_cast<int>(pages.donors().size());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            result.cancelled = true;
            return result;
        }
        const QString path = dir.filePath(names[i]);
        try {
            report::exportPdf(DonorStatementPages(pages, static_cast<std::size_t>(i)), path, {1, pages.donors()[i].pages},
                              QStringLiteral("Giving Statement"));
        } catch (const report::ReportError& e) {
            result.failure = e.message();
            return result;
        }
        result.written << path;
    }
    if (progress)
        progress(total, total);
    return result;
}

} // namespace reports
