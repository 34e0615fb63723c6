#include "schema/counters.h"

#include "platform/dao/sqlite.h"
#include "schema/number_limits.h"
#include "schema/schema.h"

#include <algorithm>

namespace db {

namespace {

// The counter column of a table: its key, which the database numbers.
const ColumnDef* keyOf(const TableDef& table)
{
    for (const ColumnDef& c : table.columns)
        if (c.type == jet::FieldType::Counter)
            return &c;
    return nullptr;
}

QString noun(QStringView table)
{
    return table.compare(u"Members", Qt::CaseInsensitive) == 0 ? QStringLiteral("member") : QStringLiteral("donation");
}

bool hasSequenceTable(sqlite::Connection& connection, const QString& schema)
{
    sqlite::Statement s = connection.prepare(
        QStringLiteral("SELECT count(*) FROM %1.sqlite_master WHERE type = 'table' AND name = 'sqlite_sequence'").arg(schema));
    s.step();
    return s.int64(0) > 0;
}

} // namespace

std::int64_t CounterState::numbersLeft() const
{
    const std::int64_t taken = std::max<std::int64_t>({last, highestKey, 0});
    return taken >= kRowNumbers.highest ? 0 : kRowNumbers.highest - taken;
}

CounterState counterState(sqlite::Connection& connection, QStringView table, const QString& schema)
{
    CounterState state;
    const TableDef* def = findTable(table);
    const ColumnDef* key = def ? keyOf(*def) : nullptr;
    if (!key)
        return state;
    sqlite::Statement highest = connection.prepare(
        QStringLiteral("SELECT max(%1) FROM %2.%3").arg(QLatin1String(key->name), schema, QLatin1String(def->name)));
    highest.step();
    state.highestKey = highest.isNull(0) ? 0 : highest.int64(0);
    if (hasSequenceTable(connection, schema)) {
        sqlite::Statement seq = connection.prepare(
            QStringLiteral("SELECT max(seq) FROM %1.sqlite_sequence WHERE name = ?1 COLLATE NOCASE").arg(schema));
        seq.bind(1, QString::fromLatin1(def->name));
        seq.step();
        state.last = seq.isNull(0) ? 0 : seq.int64(0);
    }
    return state;
}

std::optional<QString> counterRefusal(const CounterState& state, QStringView table, std::int64_t rows)
{
    const std::int64_t left = state.numbersLeft();
    if (rows <= left)
        return std::nullopt;
    const QString what = noun(table);
    const QString end = boundText(kRowNumbers, kRowNumbers.highest);
    if (left > 0)
        return QStringLiteral("Only %1 more %2 numbers are left in this file: %2 numbers end at %3.").arg(left).arg(what, end);
    if (state.highestKey > kRowNumbers.highest)
        return QStringLiteral("No new %1 can be added: %1 number %2 lies beyond %3, the highest number a %1 can have, "
                              "and new numbers would follow it. Once that %1 is deleted, File > Repair / Compress "
                              "sets the numbering back.")
            .arg(what)
            .arg(state.highestKey)
            .arg(end);
    if (state.last > kRowNumbers.highest)
        return QStringLiteral("No new %1 can be added: this file's %1 numbering stands past its end (%2). "
                              "File > Repair / Compress sets it back to the highest %1 number in use.")
            .arg(what, end);
    return QStringLiteral("No new %1 can be added: %1 numbers end at %2, and this file has given out the last one.")
        .arg(what, end);
}

QString noNumberLeft(QStringView table)
{
    const QString what = noun(table);
    return QStringLiteral("no new %1 number is left (%1 numbers end at %2)").arg(what, boundText(kRowNumbers, kRowNumbers.highest));
}

QStringList setBackRunawayCounters(sqlite::Connection& connection, const QString& schema)
{
    QStringList setBack;
    if (!hasSequenceTable(connection, schema))
        return setBack;
    for (const TableDef& table : schemaTables()) {
        if (!keyOf(table))
            continue;
        const QString name = QLatin1String(table.name);
        const CounterState state = counterState(connection, name, schema);
        if (state.last <= kRowNumbers.highest || state.highestKey > kRowNumbers.highest)
            continue;
        sqlite::Statement update =
            connection.prepare(QStringLiteral("UPDATE %1.sqlite_sequence SET seq = ?1 WHERE name = ?2 COLLATE NOCASE").arg(schema));
        update.bind(1, std::max<std::int64_t>(state.highestKey, 0)).bind(2, name);
        update.step();
        setBack << name;
    }
    return setBack;
}

} // namespace db
