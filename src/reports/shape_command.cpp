#include "reports/shape_command.h"

#include "platform/jet/db_error.h"
#include "platform/jet/tokenizer.h"

namespace reports {

namespace {

[[noreturn]] void fail(const QString& what)
{
    throw jet::DbError(jet::err::SyntaxErrorInQuery, QStringLiteral("Syntax error in the shaped command: %1.").arg(what));
}

// The shaped text as tokens of the dialect, with each braced query as one token of its own.
struct Part {
    bool isQuery = false;
    jet::Token token;  // !isQuery
    QString query;     // isQuery: the text between the braces
    qsizetype offset = 0;
};

// Where the query that starts at `start` (just after its opening brace) ends: at the first
// closing brace after which the text between tokenizes. A brace inside a string, a bracketed
// name or a date leaves that literal open before it, so the tokenizer refuses the text up to
// there and the search goes on to the next brace.
qsizetype closingBrace(QStringView text, qsizetype start)
{
    for (qsizetype close = text.indexOf(u'}', start); close >= 0; close = text.indexOf(u'}', close + 1)) {
        try {
            jet::tokenize(text.mid(start, close - start));
            return close;
        } catch (const jet::DbError&) {
        }
    }
    fail(QStringLiteral("a query that opens with '{' at %1 is not closed with '}'").arg(start));
}

void addTokens(std::vector<Part>& parts, QStringView text, qsizetype base)
{
    std::vector<jet::Token> tokens = jet::tokenize(text);
    tokens.pop_back();  // End
    for (jet::Token& t : tokens) {
        Part p;
        p.offset = base + t.offset;
        p.token = std::move(t);
        parts.push_back(std::move(p));
    }
}

std::vector<Part> split(QStringView text)
{
    std::vector<Part> parts;
    qsizetype outer = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'}')
            fail(QStringLiteral("'}' at %1 closes no query").arg(i));
        if (text[i] != u'{')
            continue;
        addTokens(parts, text.mid(outer, i - outer), outer);
        const qsizetype close = closingBrace(text, i + 1);
        Part query;
        query.isQuery = true;
        query.query = text.mid(i + 1, close - i - 1).trimmed().toString();
        query.offset = i;
        if (query.query.isEmpty())
            fail(QStringLiteral("the query at %1 is empty").arg(i));
        parts.push_back(std::move(query));
        i = close;
        outer = close + 1;
    }
    addTokens(parts, text.mid(outer), outer);
    return parts;
}

class Reader {
public:
    explicit Reader(std::vector<Part> parts) : parts_(std::move(parts)) {}

    ShapeCommand read()
    {
        ShapeCommand shape;
        keyword(u"SHAPE");
        shape.parent = query();
        keyword(u"APPEND");
        do {
            if (isSymbol(u"("))
                shape.children.push_back(child());
            else
                shape.aggregates.push_back(aggregate());
        } while (takeSymbol(u","));
        if (!atEnd())
            fail(QStringLiteral("'%1' at %2 follows the end of the command").arg(describe(), where()));
        check(shape);
        return shape;
    }

private:
    bool atEnd() const { return i_ >= parts_.size(); }
    const Part* peek() const { return atEnd() ? nullptr : &parts_[i_]; }

    QString where() const { return atEnd() ? QStringLiteral("the end") : QString::number(parts_[i_].offset); }
    QString describe() const
    {
        if (atEnd())
            return QStringLiteral("the end");
        return parts_[i_].isQuery ? QStringLiteral("{%1}").arg(parts_[i_].query) : parts_[i_].token.text;
    }
    [[noreturn]] void expected(const QString& what) const
    {
        fail(QStringLiteral("expected %1 at %2, found '%3'").arg(what, where(), describe()));
    }

    bool isKeyword(QStringView word) const
    {
        const Part* p = peek();
        return p && !p->isQuery && p->token.isKeyword(word);
    }
    bool isSymbol(QStringView s) const
    {
        const Part* p = peek();
        return p && !p->isQuery && p->token.isSymbol(s);
    }
    void keyword(QStringView word)
    {
        if (!isKeyword(word))
            expected(QStringLiteral("'%1'").arg(word.toString()));
        ++i_;
    }
    bool takeSymbol(QStringView s)
    {
        if (!isSymbol(s))
            return false;
        ++i_;
        return true;
    }
    void symbol(QStringView s)
    {
        if (!takeSymbol(s))
            expected(QStringLiteral("'%1'").arg(s.toString()));
    }
    QString query()
    {
        const Part* p = peek();
        if (!p || !p->isQuery)
            expected(QStringLiteral("a query between braces"));
        ++i_;
        return p->query;
    }
    QString name(const QString& what)
    {
        const Part* p = peek();
        if (!p || p->isQuery || (p->token.kind != jet::TokenKind::Name && p->token.kind != jet::TokenKind::BracketName))
            expected(what);
        ++i_;
        return p->token.text.trimmed();
    }

    ShapeChild child()
    {
        symbol(u"(");
        ShapeChild c;
        c.command = query();
        if (isKeyword(u"AS"))
            ++i_;
        if (isKeyword(u"RELATE"))
            expected(QStringLiteral("the name of the child rows"));
        c.alias = name(QStringLiteral("the name of the child rows"));
        keyword(u"RELATE");
        do {
            ShapeRelation r;
            r.parentField = name(QStringLiteral("a field of the parent rows"));
            keyword(u"TO");
            r.childField = name(QStringLiteral("a field of the child rows"));
            c.relations.push_back(std::move(r));
        } while (takeSymbol(u","));
        symbol(u")");
        return c;
    }

    ShapeAggregate aggregate()
    {
        ShapeAggregate a;
        if (!isKeyword(u"SUM")) {
            if (const Part* p = peek(); p && !p->isQuery && p->token.kind == jet::TokenKind::Name && peekSymbolAfter(u"("))
                fail(QStringLiteral("the aggregate '%1' at %2 is not supported; SUM is").arg(p->token.text, where()));
            expected(QStringLiteral("'(' or SUM"));
        }
        a.function = QStringLiteral("SUM");
        ++i_;
        symbol(u"(");
        a.member = name(QStringLiteral("the name of child rows"));
        symbol(u".");
        a.field = name(QStringLiteral("a field of the child rows"));
        symbol(u")");
        if (isKeyword(u"AS"))
            ++i_;
        a.name = name(QStringLiteral("the name of the aggregate"));
        return a;
    }

    bool peekSymbolAfter(QStringView s) const
    {
        return i_ + 1 < parts_.size() && !parts_[i_ + 1].isQuery && parts_[i_ + 1].token.isSymbol(s);
    }

    static bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

    static void check(const ShapeCommand& shape)
    {
        for (std::size_t i = 0; i < shape.children.size(); ++i)
            for (std::size_t j = i + 1; j < shape.children.size(); ++j)
                if (sameName(shape.children[i].alias, shape.children[j].alias))
                    fail(QStringLiteral("the child rows '%1' are named twice").arg(shape.children[i].alias));
        for (const ShapeAggregate& a : shape.aggregates) {
            bool known = false;
            for (const ShapeChild& c : shape.children)
                known = known || sameName(c.alias, a.member);
            if (!known)
                fail(QStringLiteral("SUM reads '%1', which APPEND relates nowhere").arg(a.member));
        }
        if (shape.children.empty())
            fail(QStringLiteral("APPEND relates no child rows"));
    }

    std::vector<Part> parts_;
    std::size_t i_ = 0;
};

} // namespace

ShapeCommand parseShapeCommand(QStringView text)
{
    return Reader(split(text)).read();
}

} // namespace reports
