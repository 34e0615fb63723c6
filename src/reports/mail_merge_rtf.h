#pragma once
// The mail-merge data file: a Rich Text Format document in code page 1252 holding one table, a
// header row naming the columns (Name, Address, City, State, ZipCode) and one row per member, that
// a word processor opens as the data source of a mail merge. Lines end in CR LF.
//
// Each field is written so that the word processor shows exactly the stored text (see
// rtf_text.h): a file whose fields hold no backslash, brace, control character or character
// outside code page 1252 is the classic file byte for byte. Without rows the file is the table
// of its header row alone, still a valid document and a merge source with no records.
#include <QByteArray>
#include <QString>
#include <vector>

namespace reports {

struct MailMergeRow { QString fullName, address, city, state, postalCode; };

// The whole mail-merge file for these rows, in this order.
QByteArray mailMergeRtf(const std::vector<MailMergeRow>& rows);

} // namespace reports
