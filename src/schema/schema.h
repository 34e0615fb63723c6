#pragma once
// The tables of a QUIL database file, declared once as data: the CREATE statements, the schema
// check that guards every open, and the test fixtures are all generated from this description.
#include "platform/jet/catalog.h"
#include "schema/number_limits.h"

#include <QString>
#include <span>

namespace sqlite { class Connection; }

namespace db {

// Stored in PRAGMA user_version. A file without it (0) is not ours; a higher one was written by
// a newer program whose changes this one does not know.
inline constexpr int kSchemaVersion = 1;

struct ColumnDef {
    const char* name;
    jet::FieldType type;
    int size;  // characters, for text; 0 otherwise
    NumberRange range{};  // what a number column holds; none for a text
};

struct TableDef {
    const char* name;
    std::span<const ColumnDef> columns;
};

struct IndexDef {
    const char* name;
    const char* table;
    const char* columns;  // SQL column list, in index order
};

std::span<const TableDef> schemaTables();
std::span<const IndexDef> schemaIndexes();
const TableDef* findTable(QStringView name);  // case-insensitive; nullptr when absent

// How many characters a text column holds, so that every box feeding it refuses what it could
// not store. 0 for a column without a limit (memo, numbers) and for a name the schema lacks.
int textFieldSize(QStringView table, QStringView column);

// The columns of Members in their declared order. The main window's member fields show them in
// this order, one field each.
std::span<const ColumnDef> memberColumns();

QString createTableSql(const TableDef& table);
QString createIndexSql(const IndexDef& index);
// The text SQLite keeps in sqlite_master for one of the program's indexes.
QString storedIndexSql(const IndexDef& index);

// Creates every table and index and stamps the version, in one transaction, on an empty file.
void createSchema(sqlite::Connection& connection);

// Bulk loads are faster when the indexes are built once afterwards.
void dropIndexes(sqlite::Connection& connection);
void createIndexes(sqlite::Connection& connection);

// Throws jet::DbError(NotQuilDatabase), naming the file and what is wrong, unless the file carries
// a version this program knows, every table of the schema as the program creates it, and no
// table, index, view or trigger besides the program's own. A zero-byte or foreign SQLite file
// opens without complaint, so this is the check that keeps the program from working on someone
// else's data or running SQL a crafted file brings along.
void verifySchema(sqlite::Connection& connection, const QString& path);

} // namespace db
