#include "translator.h"

#include "db_error.h"
#include "like_pattern.h"
#include "parser.h"
#include "sql_functions.h"
#include "platform/vb/convert.h"
#include "platform/vb/currency.h"

#include <algorithm>
#include <optional>

namespace jet {

namespace {

QString sqlString(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'\'';
    for (QChar c : text) {
        if (c == u'\'')
            out += u'\'';
        out += c;
    }
    out += u'\'';
    return out;
}

QString sqlName(const QString& name)
{
    QString escaped = name;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

// A translated expression: its SQLite text and what it holds.
struct Typed {
    QString sql;
    std::optional<FieldType> type;      // known for columns and typed results
    const Expr* literal = nullptr;      // set when the expression is a literal
    bool negative = false;              // a number literal under an odd count of unary minus signs
    int minus = 0;                      // how many unary minus signs stand before that literal
    bool aggregate = false;
    bool bareColumn = false;            // a column outside any aggregate
    int columnIndex = -1;
};

// The literals a criterion's shape leaves out: Null and True/False are words of the shape.
bool isValueLiteral(Expr::Kind k)
{
    return k == Expr::Kind::Number || k == Expr::Kind::String || k == Expr::Kind::Date;
}

bool isValueLiteral(TokenKind k)
{
    return k == TokenKind::Number || k == TokenKind::String || k == TokenKind::Date;
}

bool isTextType(std::optional<FieldType> t)
{
    return t && (*t == FieldType::Text || *t == FieldType::Memo);
}

class Translator {
public:
    enum class Unknown { Parameters, FieldName };

    Translator(const Table& table, QString context, Unknown unknown)
        : table_(table), context_(std::move(context)), unknown_(unknown) {}

    // From now on a literal brought to a column's type is written as a parameter and noted in
    // `into`, by its place among `literals` (the tree's, in the text's order).
    void parameterize(std::vector<ParameterSlot>& into, const std::vector<const Expr*>& literals)
    {
        parameters_ = &into;
        literals_ = &literals;
    }

    Typed render(const Expr& e)
    {
        switch (e.kind) {
        case Expr::Kind::Column: return column(e);
        case Expr::Kind::Number: {
            Typed t;
            t.sql = e.text;
            t.type = FieldType::Double;
            t.literal = &e;
            return t;
        }
        case Expr::Kind::String: {
            Typed t;
            t.sql = sqlString(e.text);
            t.type = FieldType::Text;
            t.literal = &e;
            return t;
        }
        case Expr::Kind::Date: {
            Typed t;
            t.sql = sqlString(dateLiteral(e.text).toIso());
            t.type = FieldType::Date;
            t.literal = &e;
            return t;
        }
        case Expr::Kind::Null: {
            Typed t;
            t.sql = QStringLiteral("NULL");
            t.literal = &e;
            return t;
        }
        case Expr::Kind::Boolean: {
            Typed t;
            t.sql = e.text == u"True" ? QStringLiteral("1") : QStringLiteral("0");
            t.type = FieldType::Boolean;
            t.literal = &e;
            return t;
        }
        case Expr::Kind::Unary: return unary(e);
        case Expr::Kind::Binary: return binary(e);
        case Expr::Kind::Like: return like(e);
        case Expr::Kind::Between: return between(e);
        case Expr::Kind::IsNull: {
            Typed a = render(*e.args[0]);
            return logical(QStringLiteral("(%1 IS %2NULL)").arg(a.sql, e.negated ? QStringLiteral("NOT ") : QString()), {a});
        }
        case Expr::Kind::In: return in(e);
        case Expr::Kind::Call: return call(e);
        }
        fail();
    }

    // Throws for names the table does not have, now that the whole text has been read.
    void finish() const
    {
        if (unknownNames_.empty())
            return;
        if (unknown_ == Unknown::FieldName)
            throw DbError(err::FieldNotFoundInCriteria,
                          QStringLiteral("The database engine does not recognize '%1' as a valid field name or expression.")
                              .arg(unknownNames_.front()));
        throw DbError(err::TooFewParameters,
                      QStringLiteral("Too few parameters. Expected %1.").arg(unknownNames_.size()));
    }

    // A literal brought to the type of the column it is compared with or assigned to.
    QString coerce(const Typed& value, std::optional<FieldType> target)
    {
        if (parameters_ && value.literal && target && isValueLiteral(value.literal->kind)) {
            const auto at = std::find(literals_->begin(), literals_->end(), value.literal);
            parameters_->push_back({static_cast<int>(at - literals_->begin()), *target, value.minus});
            return QStringLiteral("?");
        }
        try {
            return coerceLiteral(value, target);
        } catch (const std::overflow_error&) {
            throw DbError(err::Overflow, QStringLiteral("Overflow: a number in the query is too large."));
        }
    }

    QString coerceLiteral(const Typed& value, std::optional<FieldType> target)
    {
        if (!value.literal || !target || value.literal->kind == Expr::Kind::Null)
            return value.sql;
        const Expr& lit = *value.literal;
        switch (*target) {
        case FieldType::Currency: {
            if (lit.kind == Expr::Kind::Number || lit.kind == Expr::Kind::String) {
                const auto number = lit.kind == Expr::Kind::Number ? vb::Currency::fromDecimalText(literalText(value))
                                                                   : currencyFromText(lit.text);
                if (!number)
                    mismatch();
                return QString::number(number->raw());
            }
            if (lit.kind == Expr::Kind::Boolean)
                return QString::number(vb::Currency::fromUnits(lit.text == u"True" ? -1 : 0).raw());
            mismatch();
        }
        case FieldType::Counter:
        case FieldType::Long:
        case FieldType::Double:
        case FieldType::Boolean:
            if (lit.kind == Expr::Kind::Number || lit.kind == Expr::Kind::Boolean)
                return value.sql;
            if (lit.kind == Expr::Kind::String) {
                const auto n = vb::readNumber(lit.text);
                if (!n)
                    mismatch();
                return QString::number(*n, 'g', 17);
            }
            mismatch();
        case FieldType::Date:
            if (lit.kind == Expr::Kind::Date)
                return value.sql;
            if (lit.kind == Expr::Kind::String) {
                const auto d = vb::readDate(lit.text);
                if (!d)
                    mismatch();
                return sqlString(d->toIso());
            }
            mismatch();
        case FieldType::Text:
        case FieldType::Memo:
            if (lit.kind == Expr::Kind::Number || lit.kind == Expr::Kind::Boolean)
                return sqlString(literalText(value));
            return value.sql;
        }
        return value.sql;
    }

    [[noreturn]] void fail() const
    {
        throw DbError(err::SyntaxErrorInExpression,
                      QStringLiteral("Syntax error (missing operator) in query expression '%1'.").arg(context_.trimmed()));
    }

private:
    // A literal's text with its sign: "-5" for the number 5 under a unary minus.
    static QString literalText(const Typed& value)
    {
        return value.negative ? u'-' + value.literal->text : value.literal->text;
    }

    [[noreturn]] void mismatch() const
    {
        throw DbError(err::DataTypeMismatchInCriteria, QStringLiteral("Data type mismatch in criteria expression."));
    }

    static std::optional<vb::Currency> currencyFromText(const QString& text)
    {
        const auto n = vb::readNumber(text);
        if (!n)
            return std::nullopt;
        try {
            return vb::Currency::fromDouble(*n);
        } catch (const std::overflow_error&) {
            return std::nullopt;
        }
    }

    vb::DateTime dateLiteral(const QString& text) const
    {
        const auto d = vb::readDate(text);
        if (!d)
            throw DbError(err::SyntaxErrorInExpression,
                          QStringLiteral("Syntax error in date in query expression '%1'.").arg(context_.trimmed()));
        return *d;
    }

    Typed column(const Expr& e)
    {
        Typed t;
        const int i = table_.indexOf(e.text);
        if (i < 0) {
            if (!unknownNames_.contains(e.text))
                unknownNames_.push_back(e.text);
            t.sql = QStringLiteral("NULL");
            return t;
        }
        const Column& c = table_.columns[static_cast<std::size_t>(i)];
        t.sql = sqlName(c.name);
        t.type = c.type;
        t.bareColumn = true;
        t.columnIndex = i;
        return t;
    }

    static Typed logical(QString sql, std::initializer_list<Typed> parts)
    {
        Typed t;
        t.sql = std::move(sql);
        t.type = FieldType::Boolean;
        for (const auto& p : parts) {
            t.aggregate = t.aggregate || p.aggregate;
            t.bareColumn = t.bareColumn || p.bareColumn;
        }
        return t;
    }

    // The type two operands are compared in: a column's type wins over a literal's.
    static std::optional<FieldType> comparisonType(const Typed& a, const Typed& b)
    {
        if (!a.literal && a.type)
            return a.type;
        if (!b.literal && b.type)
            return b.type;
        return std::nullopt;
    }

    Typed unary(const Expr& e)
    {
        Typed a = render(*e.args[0]);
        if (e.text == u"NOT")
            return logical(QStringLiteral("(NOT %1)").arg(a.sql), {a});
        Typed t = a;
        t.sql = QStringLiteral("(-%1)").arg(a.sql);
        // A negative number stays a literal, so that it takes the stored form of the column it
        // meets (> -5 with an amount is -50000 ten-thousandths, not -5).
        const bool number = a.literal && a.literal->kind == Expr::Kind::Number;
        t.literal = number ? a.literal : nullptr;
        t.negative = number && !a.negative;
        t.minus = number ? a.minus + 1 : 0;
        return t;
    }

    Typed binary(const Expr& e)
    {
        const QString& op = e.text;
        if (op == u"AND" || op == u"OR") {
            // A chain of the same operator is written flat: SQLite's parser has a small stack.
            Typed chain = logical(QString(), {});
            QStringList parts;
            collectChain(e, op, parts, chain);
            chain.sql = QStringLiteral("(%1)").arg(parts.join(u' ' + op + u' '));
            return chain;
        }
        Typed a = render(*e.args[0]);
        Typed b = render(*e.args[1]);
        if (op == u"=" || op == u"<>" || op == u"<" || op == u"<=" || op == u">" || op == u">=") {
            const auto type = comparisonType(a, b);
            // One after the other: parameters are noted in the order they are written.
            const QString left = coerce(a, type);
            const QString right = coerce(b, type);
            return logical(QStringLiteral("(%1 %2 %3)").arg(left, op, right), {a, b});
        }
        Typed t;
        t.aggregate = a.aggregate || b.aggregate;
        t.bareColumn = a.bareColumn || b.bareColumn;
        if (op == u"&") {
            t.sql = QStringLiteral("(COALESCE(CAST(%1 AS TEXT),'') || COALESCE(CAST(%2 AS TEXT),''))").arg(a.sql, b.sql);
            t.type = FieldType::Text;
            return t;
        }
        const bool aMoney = a.type == FieldType::Currency && !a.literal;
        const bool bMoney = b.type == FieldType::Currency && !b.literal;
        QString as = a.sql, bs = b.sql;
        if ((op == u"+" || op == u"-") && (aMoney || bMoney)) {
            // Sums and differences stay in ten-thousandths.
            as = coerce(a, FieldType::Currency);
            bs = coerce(b, FieldType::Currency);
            t.type = FieldType::Currency;
        } else if (op == u"*" && (aMoney != bMoney)) {
            t.type = FieldType::Currency;
        } else if (op == u"/" && aMoney && !bMoney) {
            t.type = FieldType::Currency;
        } else if (aMoney || bMoney) {
            // Money by money: bring both to units.
            if (aMoney) as = QStringLiteral("(%1 / 10000.0)").arg(as);
            if (bMoney) bs = QStringLiteral("(%1 / 10000.0)").arg(bs);
            t.type = FieldType::Double;
        } else {
            t.type = FieldType::Double;
        }
        if (op == u"/")
            t.sql = QStringLiteral("(%1 * 1.0 / %2)").arg(as, bs);
        else if (op == u"MOD")
            t.sql = QStringLiteral("(%1 % %2)").arg(as, bs);
        else
            t.sql = QStringLiteral("(%1 %2 %3)").arg(as, op, bs);
        return t;
    }

    // The operands of a chain of one operator, in order. The chain is a left-leaning tree; it is
    // walked without recursion so that its length does not cost stack.
    void collectChain(const Expr& e, const QString& op, QStringList& parts, Typed& chain)
    {
        std::vector<const Expr*> rights;
        const Expr* node = &e;
        while (node->kind == Expr::Kind::Binary && node->text == op) {
            rights.push_back(node->args[1].get());
            node = node->args[0].get();
        }
        rights.push_back(node);
        for (auto it = rights.rbegin(); it != rights.rend(); ++it) {
            Typed t = render(**it);
            chain.aggregate = chain.aggregate || t.aggregate;
            chain.bareColumn = chain.bareColumn || t.bareColumn;
            parts << t.sql;
        }
    }

    Typed like(const Expr& e)
    {
        Typed value = render(*e.args[0]);
        Typed pattern = render(*e.args[1]);
        const QString notWord = e.negated ? QStringLiteral("NOT ") : QString();
        if (pattern.literal && (pattern.literal->kind == Expr::Kind::String || pattern.literal->kind == Expr::Kind::Number)) {
            const QString text = literalText(pattern);
            const LikePrefix p = likePrefix(text);
            QString test;
            if (text == u"*") {
                test = QStringLiteral("(%1 IS NOT NULL)").arg(value.sql);
            } else if (isTextType(value.type) && !value.literal && p.exact) {
                test = QStringLiteral("(%1 = %2)").arg(value.sql, sqlString(text));
            } else if (isTextType(value.type) && !value.literal && !p.prefix.isEmpty()) {
                // A range on the column's case-blind collation lets an index find the prefix;
                // the pattern test then checks the rest.
                static const QString kAfterEverything = QString::fromUcs4(U"\U0010FFFF", 1);
                const QString range = QStringLiteral("%1 >= %2 AND %1 < %3")
                                          .arg(value.sql, sqlString(p.prefix), sqlString(p.prefix + kAfterEverything));
                test = p.prefixThenStar ? QStringLiteral("(%1)").arg(range)
                                        : QStringLiteral("(%1 AND %2(%3, %4))")
                                              .arg(range, QLatin1String(kLikeFunction), value.sql, sqlString(text));
            } else {
                test = QStringLiteral("(%1(%2, %3) = 1)").arg(QLatin1String(kLikeFunction), value.sql, sqlString(text));
            }
            return logical(e.negated ? QStringLiteral("(NOT %1)").arg(test) : test, {value});
        }
        return logical(QStringLiteral("(%1%2(%3, %4) = 1)").arg(notWord, QLatin1String(kLikeFunction), value.sql, pattern.sql),
                       {value, pattern});
    }

    Typed between(const Expr& e)
    {
        Typed v = render(*e.args[0]);
        Typed lo = render(*e.args[1]);
        Typed hi = render(*e.args[2]);
        auto type = comparisonType(v, lo);
        if (!type)
            type = comparisonType(v, hi);
        // One after the other: parameters are noted in the order they are written.
        const QString low = coerce(lo, type);
        const QString high = coerce(hi, type);
        return logical(QStringLiteral("(%1 %2BETWEEN %3 AND %4)").arg(v.sql, e.negated ? QStringLiteral("NOT ") : QString(), low, high),
                       {v, lo, hi});
    }

    Typed in(const Expr& e)
    {
        Typed v = render(*e.args[0]);
        QStringList items;
        for (std::size_t i = 1; i < e.args.size(); ++i)
            items << coerce(render(*e.args[i]), v.literal ? std::nullopt : v.type);
        return logical(QStringLiteral("(%1 %2IN (%3))").arg(v.sql, e.negated ? QStringLiteral("NOT ") : QString(), items.join(u", ")),
                       {v});
    }

    Typed call(const Expr& e)
    {
        const QString name = e.text.toUpper();
        Typed t;
        t.aggregate = true;
        if (name == u"COUNT") {
            if (e.star) {
                t.sql = QStringLiteral("COUNT(*)");
            } else {
                if (e.args.size() != 1) fail();
                t.sql = QStringLiteral("COUNT(%1)").arg(renderInsideAggregate(*e.args[0]).sql);
            }
            t.type = FieldType::Long;
            return t;
        }
        if (name == u"SUM" || name == u"MIN" || name == u"MAX" || name == u"AVG") {
            if (e.args.size() != 1 || e.star) fail();
            Typed a = renderInsideAggregate(*e.args[0]);
            if (name == u"AVG" && a.type == FieldType::Currency) {
                t.sql = QStringLiteral("AVG(%1)").arg(a.sql);
                t.type = FieldType::Currency;
            } else if (name == u"SUM" && a.type
                       && (*a.type == FieldType::Currency || *a.type == FieldType::Long || *a.type == FieldType::Counter)) {
                // Totals of money and whole numbers stay exact or fail; they never wrap or turn
                // into a double.
                t.sql = QStringLiteral("%1(%2)").arg(QLatin1String(kSumFunction), a.sql);
                t.type = *a.type == FieldType::Counter ? FieldType::Long : *a.type;
            } else {
                t.sql = QStringLiteral("%1(%2)").arg(name, a.sql);
                t.type = name == u"AVG" ? FieldType::Double : (a.type ? *a.type : FieldType::Double);
                if (t.type == FieldType::Counter)
                    t.type = FieldType::Long;
            }
            return t;
        }
        throw DbError(err::SyntaxErrorInExpression,
                      QStringLiteral("Undefined function '%1' in expression.").arg(e.text));
    }

    Typed renderInsideAggregate(const Expr& e)
    {
        if (insideAggregate_) fail();
        insideAggregate_ = true;
        Typed a = render(e);
        insideAggregate_ = false;
        a.bareColumn = false;
        return a;
    }

    const Table& table_;
    QString context_;
    Unknown unknown_;
    QStringList unknownNames_;
    bool insideAggregate_ = false;
    std::vector<ParameterSlot>* parameters_ = nullptr;
    const std::vector<const Expr*>* literals_ = nullptr;
};

const Table& resolveTable(const QString& name, const Catalog& catalog)
{
    const Table* table = catalog.find(name);
    if (!table)
        throw DbError(err::TableNotFound,
                      QStringLiteral("The database engine cannot find the input table or query '%1'. "
                                     "Make sure it exists and that its name is spelled correctly.")
                          .arg(name));
    return *table;
}

QString whereClause(const ExprPtr& where, Translator& t)
{
    if (!where)
        return {};
    return t.render(*where).sql;
}

} // namespace

QString SelectPlan::sql() const
{
    QString s = QStringLiteral("SELECT %1%2 FROM %3").arg(distinct ? QStringLiteral("DISTINCT ") : QString(), selectList, sqlName(table));
    if (!where.isEmpty())
        s += QStringLiteral(" WHERE ") + where;
    if (!orderBy.isEmpty())
        s += QStringLiteral(" ORDER BY ") + orderBy;
    return s;
}

QString SelectPlan::keySql() const
{
    QString s = QStringLiteral("SELECT rowid FROM %1").arg(sqlName(table));
    if (!where.isEmpty())
        s += QStringLiteral(" WHERE ") + where;
    if (!orderBy.isEmpty())
        s += QStringLiteral(" ORDER BY ") + orderBy;
    return s;
}

SelectPlan translateSelect(QStringView text, const Catalog& catalog)
{
    Statement statement = parseStatement(text);
    auto* select = std::get_if<SelectStmt>(&statement);
    if (!select)
        throw DbError(err::SyntaxErrorInQuery, QStringLiteral("Invalid SQL statement; expected 'SELECT'."));
    const Table& table = resolveTable(select->table, catalog);

    SelectPlan plan;
    plan.table = table.name;
    plan.distinct = select->distinct;
    Translator t(table, select->whereText.isEmpty() ? text.toString() : select->whereText, Translator::Unknown::Parameters);

    QStringList list;
    bool anyAggregate = false, anyBare = false;
    int exprNumber = 1000;
    for (const SelectItem& item : select->items) {
        if (!item.expr) {
            for (std::size_t i = 0; i < table.columns.size(); ++i) {
                const Column& c = table.columns[i];
                list << sqlName(c.name);
                plan.columns.push_back({c.name, c.type, c.size, static_cast<int>(i)});
            }
            anyBare = true;
            continue;
        }
        Typed v = t.render(*item.expr);
        anyAggregate = anyAggregate || v.aggregate;
        anyBare = anyBare || v.bareColumn;
        ResultColumn rc;
        rc.type = v.type.value_or(FieldType::Text);
        if (item.expr->kind == Expr::Kind::Column && v.columnIndex >= 0) {
            const Column& c = table.columns[static_cast<std::size_t>(v.columnIndex)];
            rc.name = item.alias.isEmpty() ? c.name : item.alias;
            rc.size = c.size;
            rc.sourceIndex = v.columnIndex;
            list << sqlName(c.name);
        } else {
            rc.name = item.alias.isEmpty() ? QStringLiteral("Expr%1").arg(exprNumber++) : item.alias;
            list << v.sql;
        }
        plan.columns.push_back(rc);
    }
    plan.selectList = list.join(u", ");
    plan.where = whereClause(select->where, t);
    QStringList order, sorting;
    for (const OrderItem& o : select->orderBy) {
        Typed v = t.render(*o.expr);
        const QString direction = o.descending ? QStringLiteral(" DESC") : QString();
        order << v.sql + direction;
        sorting << u'+' + v.sql + direction;
    }
    plan.orderBy = order.join(u", ");
    plan.orderBySorting = sorting.join(u", ");
    t.finish();
    if (anyAggregate && anyBare)
        throw DbError(err::SyntaxErrorInQuery,
                      QStringLiteral("You tried to execute a query that does not include a specified expression as part of an aggregate function."));
    plan.updatable = !anyAggregate && !plan.distinct;
    return plan;
}

QString translateCriterion(QStringView criterion, const Table& table)
{
    ExprPtr e = parseExpression(criterion);
    Translator t(table, criterion.toString(), Translator::Unknown::FieldName);
    const QString sql = t.render(*e).sql;
    t.finish();
    return sql;
}

namespace {

// The tree's literals in the order of the text: the parser builds each operator's operands in
// the order they are written.
void collectValueLiterals(const Expr& e, std::vector<const Expr*>& out)
{
    if (isValueLiteral(e.kind))
        out.push_back(&e);
    for (const ExprPtr& a : e.args)
        collectValueLiterals(*a, out);
}

std::vector<const Token*> valueLiteralTokens(const std::vector<Token>& tokens)
{
    std::vector<const Token*> out;
    for (const Token& t : tokens)
        if (isValueLiteral(t.kind))
            out.push_back(&t);
    return out;
}

Expr::Kind exprKind(TokenKind k)
{
    return k == TokenKind::Number ? Expr::Kind::Number : k == TokenKind::String ? Expr::Kind::String : Expr::Kind::Date;
}

// A literal as translateCriterion writes it ('text', 42, -50000, 1.5, (-(7))), read back as the
// value SQLite makes of it: a whole number that fits is an integer, any other number a real.
std::optional<SqlValue> sqlLiteralValue(QStringView sql)
{
    bool negative = false;
    while (sql.startsWith(u"(-") && sql.endsWith(u')')) {
        sql = sql.mid(2, sql.size() - 3);
        negative = !negative;
    }
    if (sql.size() >= 2 && sql.front() == u'\'' && sql.back() == u'\'') {
        if (negative)
            return std::nullopt;
        QString text = sql.mid(1, sql.size() - 2).toString();
        text.replace(QStringLiteral("''"), QStringLiteral("'"));
        return text;
    }
    if (sql.startsWith(u'-')) {
        sql = sql.mid(1);
        negative = !negative;
    }
    if (sql.isEmpty())
        return std::nullopt;
    bool whole = true;
    for (QChar c : sql) {
        if (c >= u'0' && c <= u'9')
            continue;
        if (c != u'.' && c != u'e' && c != u'E' && c != u'+' && c != u'-')
            return std::nullopt;  // no number SQLite reads (inf, nan)
        whole = false;
    }
    bool ok = false;
    if (whole) {
        const qlonglong n = sql.toLongLong(&ok);
        if (ok)
            return SqlValue(std::int64_t{negative ? -n : n});
    }
    const double d = sql.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return SqlValue(negative ? -d : d);
}

} // namespace

QString criterionShapeKey(const std::vector<Token>& tokens)
{
    QString key;
    for (const Token& t : tokens) {
        key += QChar(u'0' + static_cast<int>(t.kind));
        if (!isValueLiteral(t.kind))
            key += t.text;
        key += QChar(u'\x1f');
    }
    return key;
}

std::optional<CriterionShape> shapeCriterion(QStringView criterion, const Table& table)
{
    ExprPtr e = parseExpression(criterion);
    std::vector<const Expr*> literals;
    collectValueLiterals(*e, literals);
    // The slots name literals by their place in the text: the tree's order must be the text's.
    const std::vector<Token> tokens = tokenize(criterion);
    const std::vector<const Token*> written = valueLiteralTokens(tokens);
    if (written.size() != literals.size())
        return std::nullopt;
    for (std::size_t i = 0; i < literals.size(); ++i)
        if (exprKind(written[i]->kind) != literals[i]->kind || written[i]->text != literals[i]->text)
            return std::nullopt;

    Translator t(table, criterion.toString(), Translator::Unknown::FieldName);
    CriterionShape shape;
    t.parameterize(shape.parameters, literals);
    shape.sql = t.render(*e).sql;
    t.finish();
    // Every literal must have become one parameter: one written out would differ between
    // criteria of the shape.
    if (shape.parameters.size() != literals.size())
        return std::nullopt;
    std::vector<bool> seen(literals.size(), false);
    for (const ParameterSlot& s : shape.parameters) {
        if (s.literal < 0 || s.literal >= static_cast<int>(literals.size()) || seen[static_cast<std::size_t>(s.literal)])
            return std::nullopt;
        seen[static_cast<std::size_t>(s.literal)] = true;
    }
    return shape;
}

std::optional<std::vector<SqlValue>> criterionValues(const CriterionShape& shape, const std::vector<Token>& tokens,
                                                     QStringView criterion, const Table& table)
{
    const std::vector<const Token*> written = valueLiteralTokens(tokens);
    Translator t(table, criterion.toString(), Translator::Unknown::FieldName);
    std::vector<SqlValue> values;
    values.reserve(shape.parameters.size());
    for (const ParameterSlot& slot : shape.parameters) {
        if (slot.literal >= static_cast<int>(written.size()))
            return std::nullopt;
        const Token& token = *written[static_cast<std::size_t>(slot.literal)];
        Expr literal{exprKind(token.kind), token.text, false, false, {}};
        // The literal as the translation met it: rendered, under its minus signs, then coerced.
        Typed v = t.render(literal);
        for (int i = 0; i < slot.minus; ++i) {
            v.sql = QStringLiteral("(-%1)").arg(v.sql);
            v.negative = !v.negative;
        }
        v.minus = slot.minus;
        const std::optional<SqlValue> value = sqlLiteralValue(t.coerce(v, slot.target));
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

QString translateStatement(QStringView text, const Catalog& catalog)
{
    Statement statement = parseStatement(text);
    if (auto* d = std::get_if<DeleteStmt>(&statement)) {
        const Table& table = resolveTable(d->table, catalog);
        Translator t(table, text.toString(), Translator::Unknown::Parameters);
        QString sql = QStringLiteral("DELETE FROM %1").arg(sqlName(table.name));
        if (d->where)
            sql += QStringLiteral(" WHERE ") + whereClause(d->where, t);
        t.finish();
        return sql;
    }
    if (auto* u = std::get_if<UpdateStmt>(&statement)) {
        const Table& table = resolveTable(u->table, catalog);
        Translator t(table, text.toString(), Translator::Unknown::Parameters);
        QStringList sets;
        for (const auto& [name, value] : u->assignments) {
            const Column* c = table.find(name);
            if (!c)
                throw DbError(err::TooFewParameters, QStringLiteral("Too few parameters. Expected 1."));
            sets << QStringLiteral("%1 = %2").arg(sqlName(c->name), t.coerce(t.render(*value), c->type));
        }
        QString sql = QStringLiteral("UPDATE %1 SET %2").arg(sqlName(table.name), sets.join(u", "));
        if (u->where)
            sql += QStringLiteral(" WHERE ") + whereClause(u->where, t);
        t.finish();
        return sql;
    }
    throw DbError(err::SyntaxErrorInQuery,
                  QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'."));
}

QString quoted(QStringView text)
{
    return sqlString(text);
}

QString likeLiteral(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[') {
            out += u'[';
            out += c;
            out += u']';
        } else {
            out += c;
        }
    }
    return out;
}

QString quotedName(QStringView name)
{
    return sqlName(name.toString());
}

} // namespace jet
