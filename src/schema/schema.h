#pragma once
// The tables of a QUIL database file, declared once as data: the CREATE statements, the schema
// check that guards every open, and the test fixtures are all generated from this description.
#include "platform/jet/catalog.h"
#include "schema/number_limits.h"

#include <QString>
#include <span>
#include <vector>

namespace sqlite { class Connection; }

namespace db {

// The file format, stored in PRAGMA user_version: the format this program writes. A file of an
// earlier format is brought up to this one when it is opened; a file without a version (0) is not
// ours; a higher one was written by a newer program whose changes this one does not know.
inline constexpr int kSchemaVersion = 2;
inline constexpr int kFirstFormat = 1;

struct ColumnDef {
    const char* name;
    jet::FieldType type;
    int size;  // characters, for text; 0 otherwise
    NumberRange range{};  // what a number column holds; none for a text
    // A text column that keys its table (a counter always does).
    bool key = false;
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

// What one format adds to the format before it; format 1 is the step from an empty file. A step
// only creates tables and indexes: it never rewrites a table of an earlier format, so every
// query written for an earlier format runs unchanged, and an upgrade costs no more than building
// the new indexes.
struct FormatStep {
    int format;
    std::span<const TableDef> tables;
    std::span<const IndexDef> indexes;
};
std::span<const FormatStep> formatSteps();

// The tables and indexes a file of that format holds, in the order they are created.
std::vector<TableDef> schemaTables(int format = kSchemaVersion);
std::vector<IndexDef> schemaIndexes(int format = kSchemaVersion);
// A table of any format, by name (case-insensitive); nullptr when absent.
const TableDef* findTable(QStringView name);

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

// Takes a file of format `from` to the current format: the steps after it, then the version.
// Runs inside the caller's transaction, so that the file has either format and nothing between.
void upgradeSchema(sqlite::Connection& connection, int from);

// Bulk loads are faster when the indexes are built once afterwards.
void dropIndexes(sqlite::Connection& connection);
void createIndexes(sqlite::Connection& connection);

// Returns the file's format. Throws jet::DbError(NotQuilDatabase), naming the file and what is
// wrong, unless the file carries a format this program knows and exactly the tables and indexes
// of that format as the program creates them: no other table, index, view or trigger, none
// missing. A zero-byte or foreign SQLite file opens without complaint, so this is the check that
// keeps the program from working on someone else's data or running SQL a crafted file brings
// along. A later format is refused with NewerFileFormat and a message naming both formats.
int verifySchema(sqlite::Connection& connection, const QString& path);

} // namespace db
