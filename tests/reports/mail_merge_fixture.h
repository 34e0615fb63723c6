#pragma once
// Three members for the mail-merge file, between them every kind of text a field may hold:
// apostrophes (straight and curly), braces, backslashes, quotes, letters of code page 1252 and
// of other alphabets, an emoji beyond the first plane, a member without a first name (the name
// cell begins with a blank), an empty address and a 255-character one.
#include "reports/mail_merge_rtf.h"

#include <QString>
#include <vector>

namespace mailmergetest {

inline std::vector<reports::MailMergeRow> threeMembers()
{
    return {
        {QStringLiteral("Seán O'Brien"), QStringLiteral("7 {Oak} Rd \\ Apt \"B\""), QStringLiteral("Montréal"),
         QStringLiteral("QC"), QStringLiteral("H2X 1Y4")},
        {QStringLiteral("小龍 Ἀθηνᾶ-Łukasz"), QStringLiteral("1 Long Road ").repeated(21) + QStringLiteral("End"),
         QStringLiteral("Zürich – Œuvre €"), QStringLiteral("ZH"), QStringLiteral("8001")},
        {QStringLiteral(" Zoë 🎉 D’Arcy"), QString(), QStringLiteral("Springfield {North}"), QStringLiteral("IL"),
         QStringLiteral("62701\\")},
    };
}

// The texts a word processor must show, row by row: the header row, then each member's cells.
inline std::vector<std::vector<QString>> shownCells(const std::vector<reports::MailMergeRow>& rows)
{
    std::vector<std::vector<QString>> cells = {
        {QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("City"), QStringLiteral("State"), QStringLiteral("ZipCode")}};
    for (const reports::MailMergeRow& r : rows)
        cells.push_back({r.fullName, r.address, r.city, r.state, r.postalCode});
    return cells;
}

} // namespace mailmergetest
