// Filter > Filter Members: the criteria dialog, then the member query narrowed by them and the
// view re-run on its last member.
#include "filters/filters_commands.h"

#include "filters/mem_query.h"
#include "frame/frm_main.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/ui/ui.h"
#include "schema/queries.h"

void FiltersCommands::mnuFilterMem_Click()
{
    if (!f.S.db)
        return;
    dao::Recordset* members = f.datPrimaryRS->recordset();
    // With nobody shown (the fall-back of a member query that found nobody) there is nothing to
    // ask: the filter in force, emptied by the caller, is applied at once.
    if (members && members->recordCount() > 0) {
        MemQuery dialog(f.S, &f);
        ui::current().runModal(dialog);
    }
    if (!f.S.DialogCancelled)
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
