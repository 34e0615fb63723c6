// The schema check every file passes before the program reads it: its format, and every object
// of the file against what that format's steps create.
#include "schema/schema.h"

#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"

#include <QSet>

namespace db {

namespace {

[[noreturn]] void notOurs(const QString& path, const QString& why = {})
{
    const QString base = QStringLiteral("'%1' is not a QUIL database file").arg(path);
    throw jet::DbError(jet::err::NotQuilDatabase, why.isEmpty() ? base + u'.' : QStringLiteral("%1: %2.").arg(base, why));
}

// The schema objects SQLite keeps for itself: the counters of AUTOINCREMENT and the statistics
// of ANALYZE. Neither holds code.
bool isEngineTable(const QString& name)
{
    return name.compare(u"sqlite_sequence", Qt::CaseInsensitive) == 0 || name.startsWith(u"sqlite_stat", Qt::CaseInsensitive);
}

template <typename Def>
const Def* findByName(const std::vector<Def>& defs, const QString& name)
{
    for (const Def& def : defs)
        if (name.compare(QLatin1String(def.name), Qt::CaseInsensitive) == 0)
            return &def;
    return nullptr;
}

// Why an object of the file is not one of its format's: a later format's object in an earlier
// file is named as such, anything else as unknown.
QString strangerReason(const QString& type, const QString& name, int format)
{
    const QString object = (type == u"index" ? QStringLiteral("an ") : QStringLiteral("a ")) + type;
    for (const FormatStep& step : formatSteps()) {
        if (step.format <= format)
            continue;
        const bool later = type == u"table" ? findByName(schemaTables(step.format), name) != nullptr
                                            : findByName(schemaIndexes(step.format), name) != nullptr;
        if (later)
            return QStringLiteral("it holds %1 '%2' of format %3 while it says it is of format %4")
                .arg(object, name)
                .arg(step.format)
                .arg(format);
    }
    return QStringLiteral("it holds %1 '%2' that the program does not know").arg(object, name);
}

} // namespace

int verifySchema(sqlite::Connection& connection, const QString& path)
{
    sqlite::Statement version = connection.prepare(QStringLiteral("PRAGMA user_version"));
    if (!version.step())
        notOurs(path);
    const std::int64_t found = version.int64(0);
    if (found > kSchemaVersion)
        throw jet::DbError(jet::err::NewerFileFormat,
                           QStringLiteral("%1 was written by a newer version of QUIL (file format %2); this version reads "
                                          "formats up to %3.")
                               .arg(path)
                               .arg(found)
                               .arg(kSchemaVersion));
    if (found < kFirstFormat)
        notOurs(path);
    const int format = static_cast<int>(found);
    const std::vector<TableDef> tables = schemaTables(format);
    const std::vector<IndexDef> indexes = schemaIndexes(format);

    // Every object of the file is compared with the one this program creates, statement for
    // statement: other columns, types, defaults, checks or collations are someone else's file,
    // and a trigger, view or table of the file's own would run its SQL when the program writes.
    QSet<QString> seen;
    sqlite::Statement objects = connection.prepare(QStringLiteral("SELECT type, name, sql FROM sqlite_master"));
    while (objects.step()) {
        const QString type = objects.text(0);
        const QString name = objects.text(1);
        const QString sql = objects.text(2);
        if (type == u"table") {
            if (isEngineTable(name))
                continue;
            const TableDef* table = findByName(tables, name);
            if (!table)
                notOurs(path, strangerReason(type, name, format));
            if (sql != createTableSql(*table))
                notOurs(path, QStringLiteral("its table '%1' has other columns or types than the program's").arg(name));
        } else if (type == u"index") {
            // A key other than the row number has an index of SQLite's own, without SQL.
            if (name.startsWith(u"sqlite_autoindex_", Qt::CaseInsensitive) && sql.isEmpty())
                continue;
            const IndexDef* index = findByName(indexes, name);
            if (!index)
                notOurs(path, strangerReason(type, name, format));
            if (sql != storedIndexSql(*index))
                notOurs(path, QStringLiteral("its index '%1' differs from the program's").arg(name));
        } else {
            notOurs(path, QStringLiteral("it holds a %1 '%2' that the program does not know").arg(type, name));
        }
        seen.insert(name.toLower());
    }
    for (const TableDef& table : tables)
        if (!seen.contains(QString::fromLatin1(table.name).toLower()))
            notOurs(path, QStringLiteral("it has no table '%1'").arg(QLatin1String(table.name)));
    // A missing index loses no data, but a file without one was not written by the program.
    for (const IndexDef& index : indexes)
        if (!seen.contains(QString::fromLatin1(index.name).toLower()))
            notOurs(path, QStringLiteral("it has no index '%1'").arg(QLatin1String(index.name)));
    return format;
}

} // namespace db
