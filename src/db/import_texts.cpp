#include "db/import_texts.h"

namespace db::import {

namespace {

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool allowedIn(Field field, char16_t c)
{
    return field == Field::Notes && (c == u'\t' || c == u'\n' || c == u'\r');
}

QString nameOf(char16_t c)
{
    if (c == u'\t')
        return QStringLiteral("a tab");
    if (c == u'\n' || c == u'\r')
        return QStringLiteral("a line break");
    return QStringLiteral("U+%1").arg(QString::number(static_cast<uint>(c), 16).toUpper(), 4, QLatin1Char('0'));
}

} // namespace

bool holdsText(Field field)
{
    switch (field) {
    case Field::MemberId:
    case Field::Amount:
    case Field::Date:
    case Field::Check:
        return false;
    case Field::FirstName:
    case Field::LastName:
    case Field::Address:
    case Field::City:
    case Field::State:
    case Field::PostalCode:
    case Field::Phone:
    case Field::Notes:
    case Field::Destination:
        return true;
    }
    return false;
}

std::optional<Refusal> controlCharacter(const QString& text, Field field)
{
    qsizetype position = 0;  // in characters, as the user counts them: a surrogate pair is one
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (ch.isLowSurrogate())
            continue;
        ++position;
        if (isControl(c) && !allowedIn(field, c))
            return Refusal{QStringLiteral("control character: %1 has %2 at character %3")
                               .arg(fieldCaption(field), nameOf(c))
                               .arg(position)};
    }
    return std::nullopt;
}

} // namespace db::import
