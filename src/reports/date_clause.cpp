#include "reports/date_clause.h"

#include "frame/frm_main.h"
#include "platform/vb/format.h"
#include "reports/report_commands.h"

namespace reports {

QString dateClause(bool allDates, const vb::DateTime& from, const vb::DateTime& to)
{
    if (allDates)
        return {};
    return QStringLiteral(" WHERE [Paymentdate] Between #") + vb::shortDate(from) + QStringLiteral("#") + QStringLiteral(" AND ")
           + QStringLiteral("#") + vb::shortDate(to) + QStringLiteral("#");
}

} // namespace reports

void ReportCommands::BuildDateClause()
{
    f.S.DateClause = reports::dateClause(Selection.allDates, f.S.ReportFromDate, f.S.ReportToDate);
}
