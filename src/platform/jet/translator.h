#pragma once
// Translates the program's SQL dialect into SQLite. Texts are tokenized and parsed into a small
// syntax tree, checked against the catalog, and written out again; nothing typed by a user ever
// reaches SQLite except as a literal the translator quoted itself.
#include "catalog.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace jet {

struct ResultColumn {
    QString name;       // the name a record set's field carries
    FieldType type;
    int size = 0;
    int sourceIndex = -1;  // index of the table column it shows, -1 for a computed column
};

// A translated SELECT (or a bare table name) over one table.
struct SelectPlan {
    QString table;                      // the table as declared
    std::vector<ResultColumn> columns;
    bool updatable = true;              // false for Distinct and aggregate queries
    QString selectList;                 // SQLite select list
    QString where;                      // SQLite condition, empty for none
    QString orderBy;                    // SQLite ordering terms, empty for none
    bool distinct = false;

    QString sql() const;                // the full query, for a snapshot
    QString keySql() const;             // "SELECT rowid FROM ... WHERE ... ORDER BY ...", for a keyset
};

// A table name alone, or a SELECT statement of the dialect. Throws DbError.
SelectPlan translateSelect(QStringView text, const Catalog& catalog);

// A criterion of a find ("memberid = 42", "DestItem = 'Roof'") as a SQLite condition on the
// given table. Throws DbError.
QString translateCriterion(QStringView criterion, const Table& table);

// DELETE FROM t [WHERE ...] or UPDATE t SET f = v, ... [WHERE ...], as SQLite. Throws DbError.
QString translateStatement(QStringView text, const Catalog& catalog);

// A typed text put between apostrophes as a dialect literal, any apostrophe doubled:
// O'Brien -> 'O''Brien'. Wildcards are kept: they still act in a Like.
QString quoted(QStringView text);

// A table or column name as a SQLite identifier: "Name", any double quote doubled.
QString quotedName(QStringView name);

} // namespace jet
