#include "filters/filters_commands.h"

#include "frame/frm_main.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "schema/queries.h"

FiltersCommands::FiltersCommands(frmMain& f) : f(f) {}

void FiltersCommands::mnuFilterMem_Click()
{
    dao::Recordset* members = f.datPrimaryRS->recordset();
    const bool anyMember = members && members->recordCount() > 0;
    // The criteria dialog belongs to the member filter feature; without it, a click with
    // members shown keeps the filter in force.
    if (!anyMember && !f.S.DialogCancelled)
        applyMemberFilter();
    f.S.DialogCancelled = false;
}

void FiltersCommands::applyMemberFilter()
{
    QString query = db::kAllMembersQuery;
    if (!f.S.MemberFilter.isEmpty())
        query += QStringLiteral("WHERE ") + f.S.MemberFilter;
    f.records->SetMemberFieldsColour(!f.S.MemberFilter.isEmpty());
    f.datPrimaryRS->setRecordSource(query);
    f.records->RequeryView();
}
