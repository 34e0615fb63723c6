#include "schema/schema.h"

#include "platform/dao/sqlite.h"
#include "platform/jet/sql_functions.h"

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

// Organisation-wide settings that no other table has a column for, one row per setting.
constexpr std::array kSettings{
    ColumnDef{"SettingName", FieldType::Text, 50, {}, true},
    ColumnDef{"SettingValue", FieldType::Memo, 0},
};

constexpr std::array kFormat1Tables{
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
constexpr std::array kFormat1Indexes{
    IndexDef{"MembersName", "Members", "LastName, FirstName"},
    IndexDef{"PaymentsMemberDate", "Payments", "MemberID, PaymentDate"},
    IndexDef{"PaymentsDate", "Payments", "PaymentDate"},
};

constexpr std::array kFormat2Tables{
    TableDef{"Settings", kSettings},
};

// - Payments(PaymentAmount): the list view's amount order, which without it sorts every donation.
constexpr std::array kFormat2Indexes{
    IndexDef{"PaymentsAmount", "Payments", "PaymentAmount"},
};

// A new format is one more step here, never a change to an earlier one: files of every earlier
// format are checked against what their own steps made.
constexpr std::array kSteps{
    FormatStep{1, kFormat1Tables, kFormat1Indexes},
    FormatStep{2, kFormat2Tables, kFormat2Indexes},
};
static_assert(kSteps.front().format == kFirstFormat && kSteps.back().format == kSchemaVersion);

} // namespace

std::span<const FormatStep> formatSteps() { return kSteps; }

std::vector<TableDef> schemaTables(int format)
{
    std::vector<TableDef> out;
    for (const FormatStep& step : kSteps)
        if (step.format <= format)
            out.insert(out.end(), step.tables.begin(), step.tables.end());
    return out;
}

std::vector<IndexDef> schemaIndexes(int format)
{
    std::vector<IndexDef> out;
    for (const FormatStep& step : kSteps)
        if (step.format <= format)
            out.insert(out.end(), step.indexes.begin(), step.indexes.end());
    return out;
}

const TableDef* findTable(QStringView name)
{
    for (const FormatStep& step : kSteps)
        for (const TableDef& table : step.tables)
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
        else if (column.key)
            // SQLite lets a key other than the row number be null unless told otherwise.
            sql += QStringLiteral(" NOT NULL PRIMARY KEY");
        if (column.type == FieldType::Text || column.type == FieldType::Memo)
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
    upgradeSchema(connection, 0);
    transaction.commit();
}

void upgradeSchema(sqlite::Connection& connection, int from)
{
    for (const FormatStep& step : kSteps) {
        if (step.format <= from)
            continue;
        for (const TableDef& table : step.tables)
            connection.exec(createTableSql(table));
        for (const IndexDef& index : step.indexes)
            connection.exec(createIndexSql(index));
    }
    connection.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
}

void dropIndexes(sqlite::Connection& connection)
{
    for (const IndexDef& index : schemaIndexes())
        connection.exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(QLatin1String(index.name)));
}

void createIndexes(sqlite::Connection& connection)
{
    for (const IndexDef& index : schemaIndexes())
        connection.exec(createIndexSql(index));
}

} // namespace db
