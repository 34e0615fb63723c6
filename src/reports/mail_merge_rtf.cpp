// A stand-in for the mail-merge writer, so that the command that saves the file builds and runs
// before the writer itself joins: one line per row, fields separated by tabs.
#include "reports/mail_merge_rtf.h"

#include <QStringList>

namespace reports {

QByteArray mailMergeRtf(const std::vector<MailMergeRow>& rows)
{
    QByteArray out = "{\\rtf1\\ansi\r\n";
    for (const MailMergeRow& r : rows)
        out += QStringList{r.fullName, r.address, r.city, r.state, r.postalCode}.join(u'\t').toUtf8() + "\\par\r\n";
    out += "}";
    return out;
}

} // namespace reports
