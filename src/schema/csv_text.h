#pragma once
// How a stored text stands in the program's CSV files. A spreadsheet takes a cell that begins
// with "=", "+", "-" or "@" for a formula (a tab or CR in front is skipped by some), and a member
// named "=HYPERLINK(...)" or "=cmd|' /C calc'!A0" would run on the accountant's computer. Such a
// text is written with an apostrophe in front, which spreadsheets read as "this is text". A text
// that already begins with an apostrophe gets one too, so that the import can take exactly one
// off every text that begins with one and always gives back the stored text. Numbers, amounts
// and dates are written as they are: they never begin with one of these characters.
// The export (src/reports) and the import (src/db) are different subsystems; the rule lives here
// so that both use the same one.
#include <QString>
#include <QStringView>
#include <string_view>

namespace db::csvtext {

inline constexpr char kGuard = '\'';

// Whether a text beginning with this character is written with the guard in front. Every such
// character is ASCII, so the first byte of UTF-8 and the first UTF-16 unit say the same.
constexpr bool startsFormula(char16_t first)
{
    return first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t' || first == u'\r'
           || first == u'\'';
}

inline bool needsGuard(std::string_view utf8)
{
    return !utf8.empty() && startsFormula(static_cast<unsigned char>(utf8.front()));
}

inline bool needsGuard(QStringView text)
{
    return !text.isEmpty() && startsFormula(text.front().unicode());
}

// The stored text as the CSV field holds it (before the file's quoting).
QString written(const QString& stored);
// A CSV text field's stored text: one leading apostrophe taken off, whoever wrote the file.
QString stored(const QString& field);

} // namespace db::csvtext
