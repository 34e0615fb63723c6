#include "tokenizer.h"

#include "db_error.h"

namespace jet {

namespace {

[[noreturn]] void fail(QStringView text, const char* what)
{
    throw DbError(err::SyntaxErrorInExpression,
                  QStringLiteral("Syntax error %1 in query expression '%2'.")
                      .arg(QString::fromLatin1(what), text.trimmed().toString()));
}

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Numbers are written with ASCII digits; other scripts' digits are no number to SQLite.
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

std::vector<Token> tokenize(QStringView text)
{
    // SQLite ends a statement at a NUL character, so one inside a literal would cut the query.
    if (text.contains(QChar(0)))
        fail(text, "(missing operator)");
    std::vector<Token> tokens;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        t.offset = i;
        if (c == u'[') {
            const qsizetype close = text.indexOf(u']', i + 1);
            if (close < 0)
                fail(text, "(missing bracket)");
            t.kind = TokenKind::BracketName;
            t.text = text.mid(i + 1, close - i - 1).toString();
            if (t.text.trimmed().isEmpty())
                fail(text, "(empty name)");
            i = close + 1;
        } else if (c == u'\'' || c == u'"') {
            // A doubled quote inside the string stands for one.
            QString value;
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (text[j] == c) {
                    if (j + 1 < n && text[j + 1] == c) {
                        value += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                value += text[j++];
            }
            if (!closed)
                fail(text, "in string");
            t.kind = TokenKind::String;
            t.text = value;
            i = j + 1;
        } else if (c == u'#') {
            const qsizetype close = text.indexOf(u'#', i + 1);
            if (close < 0)
                fail(text, "in date");
            t.kind = TokenKind::Date;
            t.text = text.mid(i + 1, close - i - 1).toString();
            i = close + 1;
        } else if (isDigit(c) || (c == u'.' && i + 1 < n && isDigit(text[i + 1]))) {
            qsizetype j = i;
            while (j < n && isDigit(text[j])) ++j;
            if (j < n && text[j] == u'.') {
                ++j;
                while (j < n && isDigit(text[j])) ++j;
            }
            if (j < n && (text[j] == u'e' || text[j] == u'E')) {
                qsizetype k = j + 1;
                if (k < n && (text[k] == u'+' || text[k] == u'-')) ++k;
                if (k < n && isDigit(text[k])) {
                    while (k < n && isDigit(text[k])) ++k;
                    j = k;
                }
            }
            if (j < n && isNameChar(text[j]))
                fail(text, "(missing operator)");
            t.kind = TokenKind::Number;
            t.text = text.mid(i, j - i).toString();
            i = j;
        } else if (isNameStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(text[j])) ++j;
            t.kind = TokenKind::Name;
            t.text = text.mid(i, j - i).toString();
            i = j;
        } else {
            static const QStringView twoChar[] = {u"<=", u">=", u"<>", u"!="};
            t.kind = TokenKind::Symbol;
            bool matched = false;
            for (QStringView op : twoChar) {
                if (text.mid(i).startsWith(op)) {
                    t.text = op.toString();
                    i += 2;
                    matched = true;
                    break;
                }
            }
            if (!matched) {
                if (!QStringView(u"=<>(),*+-/&;.").contains(c))
                    fail(text, "(missing operator)");
                t.text = QString(c);
                ++i;
            }
        }
        tokens.push_back(std::move(t));
    }
    Token end;
    end.offset = n;
    tokens.push_back(end);
    return tokens;
}

} // namespace jet
