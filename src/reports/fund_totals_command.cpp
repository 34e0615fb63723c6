// File > Fund Totals: the dialog on the stack, heading its page with the organization as the
// file holds it now (its logo read afresh, as every report reads it).
#include "reports/letterhead.h"
#include "reports/report_commands.h"

#include "frame/frm_main.h"
#include "platform/ui/ui.h"
#include "reports/fund_totals_dialog.h"

void ReportCommands::mnuFileFundTotals_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    const reports::Letterhead letterhead = reports::letterheadOf(S);
    {
        FundTotals dialog(S, S.db, letterhead, &f);
        ui::current().runModal(dialog);
    }
    S.DialogCancelled = false;
    f.activateWindow();
}
