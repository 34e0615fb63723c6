#include "parser.h"

#include "db_error.h"
#include "tokenizer.h"

namespace jet {

namespace {

const QStringView kReserved[] = {u"SELECT", u"FROM", u"WHERE", u"ORDER", u"BY", u"AND", u"OR", u"NOT",
                                 u"LIKE", u"BETWEEN", u"IS", u"NULL", u"IN", u"AS", u"DISTINCT",
                                 u"ASC", u"DESC", u"DELETE", u"UPDATE", u"SET", u"TRUE", u"FALSE", u"MOD"};

constexpr int kMaxNesting = 32;
// Operands in one chain of operators (a AND b AND ...): SQLite builds such a chain as a tree
// and refuses one deeper than 1,000; the program's filters have a dozen clauses at most.
constexpr int kMaxChain = 250;

bool isReserved(const Token& t)
{
    if (t.kind != TokenKind::Name)
        return false;
    for (QStringView w : kReserved)
        if (t.text.compare(w, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

class Parser {
public:
    Parser(QStringView source, std::vector<Token> tokens) : source_(source), tokens_(std::move(tokens)) {}

    Statement statement()
    {
        if (peek().isKeyword(u"SELECT"))
            return select();
        if (peek().isKeyword(u"DELETE"))
            return deleteStmt();
        if (peek().isKeyword(u"UPDATE"))
            return update();
        // A table name alone is a record source of its own.
        SelectStmt s;
        s.items.emplace_back();
        s.table = tableName();
        expectEnd();
        return s;
    }

    ExprPtr criterion()
    {
        exprStart_ = 0;
        auto e = expression();
        if (peek().kind != TokenKind::End)
            expressionError(source_);
        return e;
    }

private:
    const Token& peek(int ahead = 0) const
    {
        const std::size_t i = std::min(pos_ + static_cast<std::size_t>(ahead), tokens_.size() - 1);
        return tokens_[i];
    }
    const Token& next() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }
    bool acceptKeyword(QStringView word)
    {
        if (!peek().isKeyword(word))
            return false;
        ++pos_;
        return true;
    }
    bool acceptSymbol(QStringView s)
    {
        if (!peek().isSymbol(s))
            return false;
        ++pos_;
        return true;
    }

    [[noreturn]] void expressionError(QStringView text) const
    {
        throw DbError(err::SyntaxErrorInExpression,
                      QStringLiteral("Syntax error (missing operator) in query expression '%1'.")
                          .arg(text.trimmed().toString()));
    }
    [[noreturn]] void queryError() const
    {
        throw DbError(err::SyntaxErrorInQuery,
                      QStringLiteral("The SELECT statement includes a reserved word or an argument name that is "
                                     "misspelled or missing, or the punctuation is incorrect."));
    }
    // The text of the expression being parsed, from its start to the end of the clause.
    QStringView currentExpressionText() const
    {
        qsizetype end = source_.size();
        for (std::size_t i = pos_; i < tokens_.size(); ++i) {
            if (tokens_[i].isKeyword(u"ORDER") || tokens_[i].isSymbol(u";")) {
                end = tokens_[i].offset;
                break;
            }
        }
        return source_.mid(exprStart_, std::max<qsizetype>(0, end - exprStart_));
    }
    [[noreturn]] void failHere() const { expressionError(currentExpressionText()); }

    void expectEnd()
    {
        acceptSymbol(u";");
        if (peek().kind != TokenKind::End)
            queryError();
    }

    QString tableName()
    {
        const Token& t = peek();
        if (t.kind == TokenKind::BracketName || (t.kind == TokenKind::Name && !isReserved(t))) {
            ++pos_;
            return t.text.trimmed();
        }
        throw DbError(err::SyntaxErrorInFrom, QStringLiteral("Syntax error in FROM clause."));
    }

    SelectStmt select()
    {
        SelectStmt s;
        next();  // SELECT
        s.distinct = acceptKeyword(u"DISTINCT");
        if (acceptSymbol(u"*")) {
            s.items.emplace_back();
        } else {
            do {
                exprStart_ = peek().offset;
                SelectItem item;
                item.expr = expression();
                if (acceptKeyword(u"AS")) {
                    const Token& a = next();
                    if (a.kind != TokenKind::Name && a.kind != TokenKind::BracketName)
                        queryError();
                    item.alias = a.text.trimmed();
                }
                s.items.push_back(std::move(item));
            } while (acceptSymbol(u","));
        }
        if (!acceptKeyword(u"FROM"))
            queryError();
        s.table = tableName();
        if (peek().kind == TokenKind::Symbol && !peek().isSymbol(u";"))
            throw DbError(err::SyntaxErrorInFrom, QStringLiteral("Syntax error in FROM clause."));
        if (acceptKeyword(u"WHERE")) {
            exprStart_ = peek().offset;
            s.whereText = currentExpressionText().toString();
            s.where = expression();
        }
        if (acceptKeyword(u"ORDER")) {
            if (!acceptKeyword(u"BY"))
                queryError();
            do {
                exprStart_ = peek().offset;
                OrderItem o;
                o.expr = expression();
                if (acceptKeyword(u"DESC"))
                    o.descending = true;
                else
                    acceptKeyword(u"ASC");
                s.orderBy.push_back(std::move(o));
            } while (acceptSymbol(u","));
        }
        if (peek().kind != TokenKind::End && !peek().isSymbol(u";")) {
            if (s.where && s.orderBy.empty())
                expressionError(s.whereText);
            queryError();
        }
        expectEnd();
        return s;
    }

    DeleteStmt deleteStmt()
    {
        DeleteStmt d;
        next();  // DELETE
        acceptSymbol(u"*");
        if (!acceptKeyword(u"FROM"))
            queryError();
        d.table = tableName();
        if (acceptKeyword(u"WHERE")) {
            exprStart_ = peek().offset;
            d.where = expression();
        }
        expectEnd();
        return d;
    }

    UpdateStmt update()
    {
        UpdateStmt u;
        next();  // UPDATE
        u.table = tableName();
        if (!acceptKeyword(u"SET"))
            queryError();
        do {
            const Token& name = next();
            if ((name.kind != TokenKind::Name && name.kind != TokenKind::BracketName) || isReserved(name))
                queryError();
            if (!acceptSymbol(u"="))
                queryError();
            exprStart_ = peek().offset;
            u.assignments.emplace_back(name.text.trimmed(), expression());
        } while (acceptSymbol(u","));
        if (acceptKeyword(u"WHERE")) {
            exprStart_ = peek().offset;
            u.where = expression();
        }
        expectEnd();
        return u;
    }

    static ExprPtr make(Expr::Kind kind, QString text = {})
    {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->text = std::move(text);
        return e;
    }
    static ExprPtr binary(QString op, ExprPtr a, ExprPtr b)
    {
        auto e = make(Expr::Kind::Binary, std::move(op));
        e->args.push_back(std::move(a));
        e->args.push_back(std::move(b));
        return e;
    }

    // Deeply nested input must fail cleanly, not exhaust the stack.
    struct DepthGuard {
        Parser& p;
        explicit DepthGuard(Parser& parser) : p(parser)
        {
            // SQLite's own parser gives up on deep nesting; stop well before it.
            if (++p.depth_ > kMaxNesting)
                p.failHere();
        }
        ~DepthGuard() { --p.depth_; }
    };

    ExprPtr expression() { return orExpr(); }

    void countLink(int& links)
    {
        if (++links >= kMaxChain)
            failHere();
    }

    ExprPtr orExpr()
    {
        auto left = andExpr();
        int links = 0;
        while (acceptKeyword(u"OR")) {
            countLink(links);
            left = binary(QStringLiteral("OR"), std::move(left), andExpr());
        }
        return left;
    }

    ExprPtr andExpr()
    {
        auto left = notExpr();
        int links = 0;
        while (acceptKeyword(u"AND")) {
            countLink(links);
            left = binary(QStringLiteral("AND"), std::move(left), notExpr());
        }
        return left;
    }

    ExprPtr notExpr()
    {
        DepthGuard guard(*this);
        if (acceptKeyword(u"NOT")) {
            auto e = make(Expr::Kind::Unary, QStringLiteral("NOT"));
            e->args.push_back(notExpr());
            return e;
        }
        return comparison();
    }

    ExprPtr comparison()
    {
        auto left = additive();
        const Token& t = peek();
        static const QStringView ops[] = {u"=", u"<>", u"!=", u"<", u"<=", u">", u">="};
        for (QStringView op : ops) {
            if (t.isSymbol(op)) {
                ++pos_;
                return binary(op == u"!=" ? QStringLiteral("<>") : op.toString(), std::move(left), additive());
            }
        }
        bool negated = false;
        if (peek().isKeyword(u"NOT") && (peek(1).isKeyword(u"LIKE") || peek(1).isKeyword(u"BETWEEN") || peek(1).isKeyword(u"IN"))) {
            ++pos_;
            negated = true;
        }
        if (acceptKeyword(u"LIKE")) {
            auto e = make(Expr::Kind::Like);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(additive());
            return e;
        }
        if (acceptKeyword(u"BETWEEN")) {
            auto e = make(Expr::Kind::Between);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(additive());
            if (!acceptKeyword(u"AND"))
                failHere();
            e->args.push_back(additive());
            return e;
        }
        if (acceptKeyword(u"IN")) {
            auto e = make(Expr::Kind::In);
            e->negated = negated;
            e->args.push_back(std::move(left));
            if (!acceptSymbol(u"("))
                failHere();
            do
                e->args.push_back(additive());
            while (acceptSymbol(u","));
            if (!acceptSymbol(u")"))
                failHere();
            return e;
        }
        if (negated)
            failHere();
        if (acceptKeyword(u"IS")) {
            auto e = make(Expr::Kind::IsNull);
            e->negated = acceptKeyword(u"NOT");
            if (!acceptKeyword(u"NULL"))
                failHere();
            e->args.push_back(std::move(left));
            return e;
        }
        return left;
    }

    ExprPtr additive()
    {
        auto left = multiplicative();
        int links = 0;
        for (;;) {
            if (peek().isSymbol(u"+") || peek().isSymbol(u"-") || peek().isSymbol(u"&")) {
                countLink(links);
                QString op = next().text;
                left = binary(op, std::move(left), multiplicative());
            } else {
                return left;
            }
        }
    }

    ExprPtr multiplicative()
    {
        auto left = unary();
        int links = 0;
        for (;;) {
            if (peek().isSymbol(u"*") || peek().isSymbol(u"/")) {
                countLink(links);
                QString op = next().text;
                left = binary(op, std::move(left), unary());
            } else if (acceptKeyword(u"MOD")) {
                countLink(links);
                left = binary(QStringLiteral("MOD"), std::move(left), unary());
            } else {
                return left;
            }
        }
    }

    ExprPtr unary()
    {
        DepthGuard guard(*this);
        if (acceptSymbol(u"-")) {
            auto e = make(Expr::Kind::Unary, QStringLiteral("-"));
            e->args.push_back(unary());
            return e;
        }
        if (acceptSymbol(u"+"))
            return unary();
        return primary();
    }

    ExprPtr primary()
    {
        const Token& t = peek();
        switch (t.kind) {
        case TokenKind::Number: ++pos_; return make(Expr::Kind::Number, t.text);
        case TokenKind::String: ++pos_; return make(Expr::Kind::String, t.text);
        case TokenKind::Date: ++pos_; return make(Expr::Kind::Date, t.text);
        case TokenKind::BracketName: ++pos_; return column(t.text.trimmed());
        case TokenKind::Name: {
            if (t.isKeyword(u"NULL")) { ++pos_; return make(Expr::Kind::Null); }
            if (t.isKeyword(u"TRUE") || t.isKeyword(u"FALSE")) {
                ++pos_;
                return make(Expr::Kind::Boolean, t.isKeyword(u"TRUE") ? QStringLiteral("True") : QStringLiteral("False"));
            }
            if (isReserved(t))
                failHere();
            ++pos_;
            if (acceptSymbol(u"(")) {
                auto call = make(Expr::Kind::Call, t.text);
                if (acceptSymbol(u"*")) {
                    call->star = true;
                } else if (!peek().isSymbol(u")")) {
                    do
                        call->args.push_back(expression());
                    while (acceptSymbol(u","));
                }
                if (!acceptSymbol(u")"))
                    failHere();
                return call;
            }
            return column(t.text);
        }
        case TokenKind::Symbol:
            if (acceptSymbol(u"(")) {
                DepthGuard guard(*this);
                auto e = expression();
                if (!acceptSymbol(u")"))
                    failHere();
                return e;
            }
            failHere();
        case TokenKind::End: failHere();
        }
        failHere();
    }

    ExprPtr column(QString name)
    {
        // Table-qualified names ("Payments.MemberID") name a column of the one table.
        if (acceptSymbol(u".")) {
            const Token& c = next();
            if (c.kind != TokenKind::Name && c.kind != TokenKind::BracketName)
                failHere();
            name = c.text.trimmed();
        }
        return make(Expr::Kind::Column, std::move(name));
    }

    QStringView source_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    qsizetype exprStart_ = 0;
    int depth_ = 0;
};

} // namespace

Statement parseStatement(QStringView text)
{
    Parser p(text, tokenize(text));
    return p.statement();
}

ExprPtr parseExpression(QStringView text)
{
    Parser p(text, tokenize(text));
    return p.criterion();
}

} // namespace jet
