#pragma once
// Translates the program's SQL dialect into SQLite. Texts are tokenized and parsed into a small
// syntax tree, checked against the catalog, and written out again; nothing typed by a user ever
// reaches SQLite except as a literal the translator quoted itself.
#include "catalog.h"
#include "tokenizer.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <variant>
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

// A value bound to a parameter of a translated condition.
using SqlValue = std::variant<std::int64_t, double, QString>;

// A literal that a criterion's shape takes as a parameter: which one (its place among the
// criterion's number, text and date literals, in the text's order), the column type it is
// brought to, and the unary minus signs before it.
struct ParameterSlot {
    int literal = 0;
    FieldType target = FieldType::Text;
    int minus = 0;
};

// A find criterion translated once for every criterion that differs from it only in its number,
// text and date literals ("memberid = 1", "memberid = 2", ...): its condition holds a `?` for
// each literal, in the order of `parameters`. Preparing a statement costs more than the look-up it
// runs, so a set that finds member after member keeps one statement.
struct CriterionShape {
    QString sql;
    std::vector<ParameterSlot> parameters;
};

// What criteria of one shape have in common: their tokens with the number, text and date
// literals left out.
QString criterionShapeKey(const std::vector<Token>& tokens);

// The criterion's shape, or none when a literal of it is more than a value of a column's type (a
// Like pattern, which decides the condition's form, or a literal compared with a literal): such
// criteria are translated with their literals written out. Throws DbError as translateCriterion.
std::optional<CriterionShape> shapeCriterion(QStringView criterion, const Table& table);

// The values of a criterion of that shape (`tokens` are its tokens), each brought to its column's
// type exactly as translateCriterion writes it, raising the same errors (3464 for a text that is
// no number, a wrong date). None when a value has no form a parameter takes.
std::optional<std::vector<SqlValue>> criterionValues(const CriterionShape& shape, const std::vector<Token>& tokens,
                                                     QStringView criterion, const Table& table);

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
