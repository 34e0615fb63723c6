#include "schema/schema.h"

#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "platform/jet/sql_functions.h"

#include <QSet>
#include <QStringList>
#include <array>

namespace db {

namespace {

using jet::FieldType;

constexpr std::array kMembers{
    ColumnDef{"MemberID", FieldType::Counter, 0, kRowNumbers},
    ColumnDef{"FirstName", FieldType::Text, 50},
    ColumnDef{"LastName", FieldType::Text, 50},
    ColumnDef{"Address", FieldType::Text, 255},
    ColumnDef{"City", FieldType::Text, 50},
    ColumnDef{"State", FieldType::Text, 50},
    ColumnDef{"PostalCode", FieldType::Text, 20},
    ColumnDef{"HomePhone", FieldType::Text, 30},
    ColumnDef{"Notes", FieldType::Memo, 0},
};

constexpr std::array kPayments{
    ColumnDef{"PaymentID", FieldType::Counter, 0, kRowNumbers},
    ColumnDef{"PaymentAmount", FieldType::Currency, 0, kGiftAmounts},
    ColumnDef{"CheckNumber", FieldType::Long, 0, kCheckNumbers},
    ColumnDef{"Destination", FieldType::Text, 50},
    ColumnDef{"PaymentDate", FieldType::Date, 0},
    ColumnDef{"MemberID", FieldType::Long, 0, kMemberNumbers},
};

constexpr std::array kDest{
    ColumnDef{"DestItem", FieldType::Text, 50},
};

constexpr std::array kPasswords{
    ColumnDef{"PassName", FieldType::Text, 50},
    ColumnDef{"MyPassWord", FieldType::Text, 50},
    ColumnDef{"OrgName", FieldType::Text, 25},
    ColumnDef{"OrgAdd", FieldType::Text, 75},
    ColumnDef{"OrgPhone", FieldType::Text, 75},
    ColumnDef{"OrgEmail", FieldType::Text, 75},
    ColumnDef{"OrgLogo", FieldType::Text, 100},
};

// Work tables: the report fills write PaymentID and MemberID themselves, so they are plain longs.
constexpr std::array kListTable{
    ColumnDef{"MemberID", FieldType::Long, 0, kMemberNumbers},
    ColumnDef{"PaymentID", FieldType::Long, 0, kRowNumbers},
    ColumnDef{"PaymentAmount", FieldType::Currency, 0, kGiftAmounts},
    ColumnDef{"PaymentDate", FieldType::Date, 0},
    ColumnDef{"CheckNumber", FieldType::Long, 0, kCheckNumbers},
    ColumnDef{"Destination", FieldType::Text, 50},
    ColumnDef{"FullName", FieldType::Text, 101},  // first name, a blank, last name
};

// The member report binds its header to the first five columns by position: keep them first.
constexpr std::array kMemFullName{
    ColumnDef{"MemberID", FieldType::Long, 0, kMemberNumbers},
    ColumnDef{"FullName", FieldType::Text, 101},
    ColumnDef{"Address", FieldType::Text, 255},
    ColumnDef{"CityStateZip", FieldType::Text, 125},  // city, ", ", state, three blanks, zip
    ColumnDef{"HomePhone", FieldType::Text, 30},
    ColumnDef{"FirstName", FieldType::Text, 50},
    ColumnDef{"LastName", FieldType::Text, 50},
    ColumnDef{"City", FieldType::Text, 50},
    ColumnDef{"State", FieldType::Text, 50},
    ColumnDef{"PostalCode", FieldType::Text, 20},
    ColumnDef{"Notes", FieldType::Memo, 0},
};

constexpr std::array kTables{
    TableDef{"Members", kMembers},
    TableDef{"Payments", kPayments},
    TableDef{"Dest", kDest},
    TableDef{"Passwords", kPasswords},
    TableDef{"ListTable", kListTable},
    TableDef{"MemFullName", kMemFullName},
};

// Only what the program's queries use; every index costs time on each of a million inserts.
// - Members(LastName, FirstName): the rapid search narrows both names by prefix at every
//   keystroke, and the member list is shown in name order.
// - Payments(MemberID, PaymentDate): the donation grid of the current member, re-queried on every
//   member move, the per-member statements with a date range, and the transfer of a deleted
//   member's donations.
// - Payments(PaymentDate): the list view's date order and the date ranges of the filters and of
//   the accountant statement.
// No index on Destination: a fund holds an eighth or more of all donations, where scanning the
//   table costs no more than walking an index and fetching each row by key.
constexpr std::array kIndexes{
    IndexDef{"MembersName", "Members", "LastName, FirstName"},
    IndexDef{"PaymentsMemberDate", "Payments", "MemberID, PaymentDate"},
    IndexDef{"PaymentsDate", "Payments", "PaymentDate"},
};

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

const IndexDef* findIndex(const QString& name)
{
    for (const IndexDef& index : kIndexes)
        if (name.compare(QLatin1String(index.name), Qt::CaseInsensitive) == 0)
            return &index;
    return nullptr;
}

} // namespace

std::span<const TableDef> schemaTables() { return kTables; }
std::span<const IndexDef> schemaIndexes() { return kIndexes; }

const TableDef* findTable(QStringView name)
{
    for (const TableDef& table : kTables)
        if (name.compare(QLatin1String(table.name), Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

int textFieldSize(QStringView table, QStringView column)
{
    const TableDef* def = findTable(table);
    if (!def)
        return 0;
    for (const ColumnDef& c : def->columns)
        if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.type == FieldType::Text ? c.size : 0;
    return 0;
}

std::span<const ColumnDef> memberColumns() { return kMembers; }

QString createTableSql(const TableDef& table)
{
    QStringList columns;
    for (const ColumnDef& column : table.columns) {
        QString sql = QStringLiteral("%1 %2").arg(QLatin1String(column.name), jet::declaredType(column.type, column.size));
        if (column.type == FieldType::Counter)
            // AUTOINCREMENT: a new key is above every key the table ever held, deleted ones too.
            sql += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
        else if (column.type == FieldType::Text || column.type == FieldType::Memo)
            sql += QStringLiteral(" COLLATE %1").arg(QLatin1String(jet::kCollation));
        columns << sql;
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(table.name), columns.join(QStringLiteral(", ")));
}

QString createIndexSql(const IndexDef& index)
{
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(QLatin1String(index.name), QLatin1String(index.table), QLatin1String(index.columns));
}

QString storedIndexSql(const IndexDef& index)
{
    // SQLite keeps a CREATE statement from the object's name on, without IF NOT EXISTS.
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
        .arg(QLatin1String(index.name), QLatin1String(index.table), QLatin1String(index.columns));
}

void createSchema(sqlite::Connection& connection)
{
    sqlite::Transaction transaction(connection);
    for (const TableDef& table : kTables)
        connection.exec(createTableSql(table));
    createIndexes(connection);
    connection.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    transaction.commit();
}

void dropIndexes(sqlite::Connection& connection)
{
    for (const IndexDef& index : kIndexes)
        connection.exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(QLatin1String(index.name)));
}

void createIndexes(sqlite::Connection& connection)
{
    for (const IndexDef& index : kIndexes)
        connection.exec(createIndexSql(index));
}

void verifySchema(sqlite::Connection& connection, const QString& path)
{
    sqlite::Statement version = connection.prepare(QStringLiteral("PRAGMA user_version"));
    if (!version.step())
        notOurs(path);
    const std::int64_t found = version.int64(0);
    if (found > kSchemaVersion)
        throw jet::DbError(jet::err::NotQuilDatabase,
                           QStringLiteral("%1 was written by a newer version of QUIL (file format %2); this version reads "
                                          "formats up to %3.")
                               .arg(path)
                               .arg(found)
                               .arg(kSchemaVersion));
    if (found < 1)
        notOurs(path);

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
            const TableDef* table = findTable(name);
            if (!table)
                notOurs(path, QStringLiteral("it holds a table '%1' that the program does not know").arg(name));
            if (sql != createTableSql(*table))
                notOurs(path, QStringLiteral("its table '%1' has other columns or types than the program's").arg(name));
        } else if (type == u"index") {
            const IndexDef* index = findIndex(name);
            if (!index)
                notOurs(path, QStringLiteral("it holds an index '%1' that the program does not know").arg(name));
            if (sql != storedIndexSql(*index))
                notOurs(path, QStringLiteral("its index '%1' differs from the program's").arg(name));
        } else {
            notOurs(path, QStringLiteral("it holds a %1 '%2' that the program does not know").arg(type, name));
        }
        seen.insert(name.toLower());
    }
    for (const TableDef& table : kTables)
        if (!seen.contains(QString::fromLatin1(table.name).toLower()))
            notOurs(path, QStringLiteral("it has no table '%1'").arg(QLatin1String(table.name)));
}

} // namespace db
