#pragma once
// The query text of the rapid search, built from what was typed into the search box: up to three
// words (last name, first name, address), each a beginning to match. Kept apart from the window so
// that the rules for blanks, apostrophes and wildcards can be checked on their own.
#include <QString>
#include <QStringView>

namespace records {

// The typed words as the search reads them: each ends at one blank, so two blanks in a row leave
// the word between them empty; anything after the third blank is ignored.
struct RapidSearchWords {
    QString lastName;
    QString firstName;
    QString address;
};
RapidSearchWords splitRapidSearch(QStringView typed);

// The search's SELECT over Members. Each word becomes a Like pattern "word*" between apostrophes;
// an apostrophe typed in a name (O'Brien) is doubled so that it stays part of the name, and
// wildcards typed stay wildcards.
QString rapidSearchSql(QStringView typed);

// One line of the match list: last name, ", ", first name, "   -    ", address.
QString matchItemText(const QString& lastName, const QString& firstName, const QString& address);

} // namespace records
