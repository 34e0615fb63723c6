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
    // The same terms, each behind a unary plus: SQLite then sorts the rows that pass instead of
    // walking an index in its order, which fetches every row of the table by key.
    QString orderBySorting;
    bool distinct = false;
    // For a keyset: read the keys in one pass, without first trying to read a small result
    // whole. Set where the rows are sorted after a scan of the table: a first try would cost as
    // much as the whole pass.
    bool keysFirst = false;

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

// A typed text as a Like pattern that matches exactly that text: each wildcard character of the
// dialect (* ? # [) goes into a set of its own, "Fund #2" -> "Fund [#]2". The result still
// goes through quoted() to become a literal.
QString likeLiteral(QStringView text);

// A table or column name as a SQLite identifier: "Name", any double quote doubled.
QString quotedName(QStringView name);

} // namespace jet
