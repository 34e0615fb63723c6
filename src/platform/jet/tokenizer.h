#pragma once
// Splits a text of the dialect into tokens: names (bare or in brackets), strings between
// apostrophes or double quotes, numbers, #date# literals, operators and punctuation.
#include <QString>
#include <QStringView>
#include <vector>

namespace jet {

enum class TokenKind { Name, BracketName, String, Number, Date, Symbol, End };

struct Token {
    TokenKind kind = TokenKind::End;
    QString text;      // names without brackets, strings without quotes and with '' undoubled,
                       // dates without # signs, symbols as written ("<=", "<>", "(")
    qsizetype offset = 0;

    // A bare name that is the given keyword, letter case ignored.
    bool isKeyword(QStringView word) const
    {
        return kind == TokenKind::Name && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(QStringView s) const { return kind == TokenKind::Symbol && text == s; }
};

// Throws jet::DbError (3075) for an unterminated string, bracket or date, or a character that
// belongs to no token.
std::vector<Token> tokenize(QStringView text);

} // namespace jet
