#pragma once
// What the translator and the record sets know of a database's tables: each column's classic
// type and size, read from the declared column types of the file itself.
#include <QString>
#include <QStringView>
#include <vector>

struct sqlite3;

namespace jet {

enum class FieldType { Counter, Long, Currency, Date, Text, Memo, Double, Boolean };

struct Column {
    QString name;           // as declared
    FieldType type = FieldType::Text;
    int size = 0;           // characters, for Text; 0 otherwise
};

struct Table {
    QString name;           // as declared
    std::vector<Column> columns;
    const Column* find(QStringView name) const;  // case-insensitive
    int indexOf(QStringView name) const;        // case-insensitive; -1 when absent
};

class Catalog {
public:
    // Reads every table of the open connection. Declared types map as follows:
    // INTEGER PRIMARY KEY -> Counter, INTEGER -> Long, CURRENCY -> Currency, DATETIME -> Date,
    // TEXT(n) -> Text of n characters, LONGTEXT -> Memo, DOUBLE -> Double, BOOLEAN -> Boolean.
    static Catalog read(sqlite3* db);

    const Table* find(QStringView name) const;  // case-insensitive
    const std::vector<Table>& tables() const { return tables_; }
    void add(Table table) { tables_.push_back(std::move(table)); }

private:
    std::vector<Table> tables_;
};

// SQL declared type of a column of the given classic type, as the schema writes it.
QString declaredType(FieldType type, int size);

} // namespace jet
