// The work-table procedures of the report run: each reads the sources the dispatcher set and the
// entries chosen in Select Report, and writes its table in one transaction (work_tables.h).
#include "reports/report_commands.h"

#include "frame/frm_main.h"
#include "reports/work_tables.h"

void ReportCommands::ClearListTable()
{
    reports::clearListTable(*f.S.db);
}

void ReportCommands::ClearMemFullName()
{
    reports::clearMemFullName(*f.S.db);
}

void ReportCommands::FillPaymentList()
{
    reports::fillPaymentList(*f.S.db, f.S.ReportPaymentSource, f.S.ReportMemberSource);
}

void ReportCommands::FillSelectedMembers()
{
    reports::fillSelectedMembers(*f.S.db, Selection.memberIds, f.S.ReportMemberSource);
}

void ReportCommands::FillFilteredMembers()
{
    reports::fillFilteredMembers(*f.S.db, f.S.ReportMemberSource);
}
