#pragma once
// The dialect's syntax tree and its parser. Names stay as written; the translator resolves them
// against the catalog.
#include <QString>
#include <QStringView>
#include <memory>
#include <utility>
#include <variant>
#include <vector>

namespace jet {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    enum class Kind {
        Column,   // text = name
        Number,   // text = digits as written
        String,   // text = value
        Date,     // text = between the # signs
        Null,
        Boolean,  // text = "True" / "False"
        Unary,    // text = "-" or "NOT"; args[0]
        Binary,   // text = operator ("=", "<>", "AND", "+", "&", ...); args[0], args[1]
        Like,     // args[0] Like args[1]; negated for Not Like
        Between,  // args[0] Between args[1] And args[2]; negated for Not Between
        IsNull,   // args[0] Is Null; negated for Is Not Null
        In,       // args[0] In (args[1..]); negated for Not In
        Call,     // text = function name; args; star for Count(*)
    };
    Kind kind;
    QString text;
    bool negated = false;
    bool star = false;
    std::vector<ExprPtr> args;
};

struct SelectItem {
    ExprPtr expr;  // null for "*"
    QString alias;
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct SelectStmt {
    bool distinct = false;
    std::vector<SelectItem> items;  // one null item for "*"
    QString table;
    ExprPtr where;
    QString whereText;              // as written, for error messages
    std::vector<OrderItem> orderBy;
};

struct DeleteStmt {
    QString table;
    ExprPtr where;
};

struct UpdateStmt {
    QString table;
    std::vector<std::pair<QString, ExprPtr>> assignments;
    ExprPtr where;
};

using Statement = std::variant<SelectStmt, DeleteStmt, UpdateStmt>;

// A SELECT, DELETE or UPDATE. A bare table name reads as SELECT * FROM it. Throws DbError.
Statement parseStatement(QStringView text);
// A criterion, as in a find. Throws DbError (3075).
ExprPtr parseExpression(QStringView text);

} // namespace jet
