#pragma once
// The mail-merge data file: one RTF table, a header row and one row per member.
#include <QByteArray>
#include <QString>
#include <vector>

namespace reports {

struct MailMergeRow { QString fullName, address, city, state, postalCode; };

// The whole mail-merge file for these rows, in this order.
QByteArray mailMergeRtf(const std::vector<MailMergeRow>& rows);

} // namespace reports
