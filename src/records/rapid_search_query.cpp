#include "records/rapid_search_query.h"

#include "platform/jet/translator.h"

namespace records {

namespace {

// The characters from `p` up to the next blank or the end; `p` then stands after that blank.
QString takeWord(QStringView typed, qsizetype& p)
{
    const qsizetype start = p;
    while (p < typed.size() && typed[p] != u' ')
        ++p;
    const QString word = typed.mid(start, p - start).toString();
    ++p;  // the blank that ended the word is not part of the next one
    return word;
}

QString pattern(const QString& word)
{
    return jet::quoted(word + u'*');
}

} // namespace

RapidSearchWords splitRapidSearch(QStringView typed)
{
    qsizetype p = 0;
    RapidSearchWords words;
    words.lastName = takeWord(typed, p);
    words.firstName = takeWord(typed, p);
    words.address = takeWord(typed, p);
    return words;
}

QString rapidSearchSql(QStringView typed)
{
    const RapidSearchWords words = splitRapidSearch(typed);
    return QStringLiteral("SELECT [MemberID], [LastName], [FirstName], [Address] FROM [Members] WHERE ")
           + QStringLiteral("[Lastname] Like ") + pattern(words.lastName)
           + QStringLiteral(" And [FirstName] Like ") + pattern(words.firstName)
           + QStringLiteral(" And [Address] Like ") + pattern(words.address);
}

QString matchItemText(const QString& lastName, const QString& firstName, const QString& address)
{
    return lastName + QStringLiteral(", ") + firstName + QStringLiteral("   -    ") + address;
}

} // namespace records
