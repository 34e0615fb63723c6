#include "db/compact_file.h"

#include "db/replace_file.h"
#include "db/template_copy.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "schema/counters.h"
#include "schema/schema.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace db {

namespace {

constexpr int kPathFileAccess = 75;

std::int64_t count(sqlite::Connection& connection, const QString& sql)
{
    sqlite::Statement statement = connection.prepare(sql);
    statement.step();
    return statement.int64(0);
}

// Writes the compacted copy of the set-aside file to work and proves it whole: the quick check
// passes, every table has as many rows as the original, and the schema version came along. The
// quick check reads every page and b-tree of the copy; the full integrity check would also match
// each index against its table, which doubled the run on a million donations, while the export
// has just built every index from its table.
void exportChecked(const QString& setAside, const QString& work, const QString& password, const QString& newKey)
{
    // Create mode: an attached file takes the main file's open flags, and the copy is new.
    sqlite::Connection connection(setAside, password.toUtf8(), sqlite::Connection::Mode::Create);
    connection.verifyReadable(setAside);
    verifySchema(connection, setAside);
    sqlite::Statement attach = connection.prepare(QStringLiteral("ATTACH DATABASE ? AS compact KEY ?"));
    attach.bind(1, work).bind(2, newKey.isEmpty() ? password : newKey);
    attach.step();
    // The copy's pages stay in its cache, so the check below reads them without decrypting.
    connection.exec(QStringLiteral("PRAGMA compact.cache_size = -262144"));
    connection.exec(QStringLiteral("SELECT sqlcipher_export('compact')"));
    // The export copies the counters as they stand; one left past the last number a row can
    // have would refuse every new member or donation.
    setBackRunawayCounters(connection, QStringLiteral("compact"));
    const std::int64_t version = count(connection, QStringLiteral("PRAGMA main.user_version"));
    if (count(connection, QStringLiteral("PRAGMA compact.user_version")) != version)
        connection.exec(QStringLiteral("PRAGMA compact.user_version = %1").arg(version));

    sqlite::Statement check = connection.prepare(QStringLiteral("PRAGMA compact.quick_check"));
    QStringList problems;
    while (check.step())
        if (check.text(0) != u"ok")
            problems << check.text(0);
    if (!problems.isEmpty())
        throw jet::DbError(jet::err::DatabaseCorrupt,
                           QStringLiteral("The compacted copy failed its check: %1").arg(problems.join(QStringLiteral("; "))));
    for (const TableDef& table : schemaTables(static_cast<int>(version))) {
        const QString name = QLatin1String(table.name);
        const std::int64_t before = count(connection, QStringLiteral("SELECT count(*) FROM main.%1").arg(name));
        const std::int64_t after = count(connection, QStringLiteral("SELECT count(*) FROM compact.%1").arg(name));
        if (before != after)
            throw jet::DbError(jet::err::DatabaseCorrupt,
                               QStringLiteral("The compacted copy holds %1 rows of %2 instead of %3.").arg(after).arg(name).arg(before));
    }
    connection.exec(QStringLiteral("DETACH DATABASE compact"));
    connection.close();
}

// A file system without hard links says so with one of these; the original is then read under
// its own path.
bool noHardLinks(int error)
{
    return error == EPERM || error == EMLINK || error == EOPNOTSUPP;
}

} // namespace

CompactResult compactInPlace(const QString& source, const QString& password, int number, const QString& newKey)
{
    CompactResult result;
    // A name left from an earlier run is somebody's data: take the next number instead.
    for (int tries = 0; tries < 100000; ++tries) {
        if (!QFileInfo::exists(setAsidePath(source, number)) && !QFileInfo::exists(compactWorkPath(source, number)))
            break;
        number = number % 100000 + 1;
    }
    const QString aside = setAsidePath(source, number);
    const QString work = compactWorkPath(source, number);

    // The original takes its second name as a hard link and keeps its path: until the checked
    // copy replaces it in one rename, a stop of the process at any moment leaves the original
    // under its path, complete. Where the file system has no hard links it is read under its path
    // alone; it never leaves it, so a set-aside name never holds the only copy of a file.
    const QByteArray sourceName = QFile::encodeName(source);
    if (::link(sourceName.constData(), QFile::encodeName(aside).constData()) == 0) {
        result.setAside = aside;
    } else if (const int error = errno; !noHardLinks(error)) {
        result.failure = CompactFailure{kPathFileAccess, QStringLiteral("Path/File access error: %1 cannot be set aside (%2)")
                                                             .arg(source, QString::fromLocal8Bit(std::strerror(error)))};
        return result;
    }
    auto giveBack = [&](int number, const QString& description) {
        removeUnfinishedFile(work);
        result.failure = CompactFailure{number, description};
        // The original never left its path; its second name goes.
        if (!result.setAside.isEmpty())
            QFile::remove(result.setAside);
    };
    try {
        exportChecked(result.setAside.isEmpty() ? source : result.setAside, work, password, newKey);
        // One rename puts the copy in the original's place, over it: the path names the original
        // or the whole copy, never neither.
        if (const auto reason = replaceFileBy(work, source))
            throw jet::DbError(kPathFileAccess,
                               QStringLiteral("Path/File access error: the compacted copy cannot take the name %1 (%2)").arg(source, *reason));
    } catch (const jet::DbError& e) {
        giveBack(e.number(), e.description());
    } catch (const std::exception& e) {
        giveBack(jet::err::EngineError, QString::fromLocal8Bit(e.what()));
    }
    return result;
}

CompactResult compactInPlace(const QString& source, const QString& password, const QString& newKey)
{
    return compactInPlace(source, password, static_cast<int>(QRandomGenerator::global()->bounded(100000)) + 1, newKey);
}

} // namespace db
