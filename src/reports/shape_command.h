#pragma once
// The shaped command of the member report, read as a data-shaping provider reads it:
//
//   SHAPE {parent query} APPEND ({child query} AS alias RELATE parentField TO childField)
//         , SUM(alias.field) AS name
//
// Each query between braces is a text of the program's dialect, left whole for the record sets
// to run. Names may be bare or bracketed, keywords are read without regard to letter case, "AS"
// before an alias may be left out, RELATE may pair several fields ("a TO b, c TO d"), and more
// than one child may be appended. SUM is the one aggregate. A text that does not read this way
// raises jet::DbError (3141) naming what was expected and where.
#include <QString>
#include <QStringView>
#include <vector>

namespace reports {

struct ShapeRelation {
    QString parentField;
    QString childField;
};

struct ShapeChild {
    QString command;  // the child query, as written between its braces
    QString alias;    // the data member its rows are known by ("QuilPay")
    std::vector<ShapeRelation> relations;
};

struct ShapeAggregate {
    QString function;  // "SUM"
    QString member;    // the alias of the child it reads
    QString field;
    QString name;      // the parent field it adds ("Gtotal")
};

struct ShapeCommand {
    QString parent;  // the parent query, as written between its braces
    std::vector<ShapeChild> children;
    std::vector<ShapeAggregate> aggregates;
};

ShapeCommand parseShapeCommand(QStringView text);

} // namespace reports
