#pragma once
// A giving statement per donor, each in a PDF file of its own in a folder the user chose, named
// so that the files sort by donor and say whose and which period they are:
// "<Last> <First> <period> (<MemberID>).pdf". The member number keeps two donors of one name
// apart; a name is made safe for every file system the folder may be on.
#include "reports/statement_pages.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace reports {

// The file name of a donor's statement, without the folder.
QString statementFileName(const QString& last, const QString& first, const StatementPeriod& period, std::int64_t memberId);

// The names of the files of every donor of the run, in the run's order.
QStringList statementFileNames(const GivingStatementPages& pages);

struct StatementFilesResult {
    QStringList written;  // the files completed, in the order written
    bool cancelled = false;
    QString failure;      // why the next file could not be written; "" when none failed
};

// Told after each file: files done, files in all. Returning false stops before the next file.
using FilesProgress = std::function<bool(int done, int total)>;

// Writes one file per donor into `folder` under `names` (statementFileNames). A file appears only
// when it is complete: a failure or a cancel leaves the files before it and nothing of the one
// it stopped at. The PDFs are drawn on worker threads a few donors ahead; the files are written
// in order on the calling thread, which alone reads the database, and synced to the disk once at
// the end.
StatementFilesResult writeStatementFiles(const GivingStatementPages& pages, const QString& folder, const QStringList& names,
                                         const FilesProgress& progress = {});

} // namespace reports
