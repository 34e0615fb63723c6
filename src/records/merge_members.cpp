// Edit > Merge Members (Executive mode): two records of one person become one. The dialog
// chooses and writes; this command makes room for it and re-runs the view on the kept member.
#include "records/records_commands.h"

#include "frame/frm_main.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/ui/ui.h"
#include "platform/vb/skip_on_failure.h"
#include "records/merge_members_dialog.h"

void RecordsCommands::mnuEditMergeMem_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    // What was typed into the current member's fields is written first, as moving to another
    // member would: the merge may delete the row those fields show.
    f.datPrimaryRS->updateRecord();
    std::int64_t current = 0;
    dao::Recordset* members = f.datPrimaryRS->recordset();
    skipOnFailure([&] {
        if (members && members->editMode() != dao::Recordset::EditMode::AddNew && members->hasCurrentRow())
            current = members->field(QStringLiteral("MemberID")).toLong();
    });

    std::int64_t kept = 0;
    {
        MergeMembers dialog(S, S.db, current, &f);
        ui::current().runModal(dialog);
        kept = dialog.keptMember;
    }
    if (S.DialogCancelled || kept == 0) {
        S.DialogCancelled = false;
        return;
    }
    S.DialogCancelled = false;
    // List View loads the list again, so the moved donations show their new member.
    if (S.ListViewActive)
        S.GridQueryState = GridQuery::ListViewRequested;
    RequeryView();
    if (S.ListViewActive)
        return;
    // A member filter may keep the kept member out of the view; the view then stays on the
    // member RequeryView chose.
    members = f.datPrimaryRS->recordset();
    if (members && members->recordCount() > 0) {
        members->findFirst(QStringLiteral("MemberID = %1").arg(kept));
        if (!members->noMatch())
            f.datPrimaryRS->notifyReposition();
    }
}
