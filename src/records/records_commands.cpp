#include "records/records_commands.h"

#include "frame/dispatch.h"
#include "frame/frm_main.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/ui/ui.h"

#include <QLabel>

RecordsCommands::RecordsCommands(frmMain& f) : f(f)
{
    QObject::connect(f.datPrimaryRS, &data::DataControl::reposition, &f,
                     frame::AsEvent(f, [this] { datPrimaryRS_Reposition(); }));
    ConnectDonationGrid();
    ConnectRapidSearch();
    ConnectMemberEditing();
}

void RecordsCommands::RequeryView()
{
    f.datPrimaryRS->refresh();
    dao::Recordset* members = f.datPrimaryRS->recordset();
    if (members && members->recordCount() > 0) {
        f.datPrimaryRS->moveLast();
        f.WhichViewT->setText(f.S.ViewName);
        ui::current().setBusyPointer(false);
        return;
    }
    if (fallingBack_) {
        // Even all members give no row: the table is empty. Show an empty record to fill in,
        // as a file without members shows on opening, instead of asking again without end.
        if (members)
            members->addNew();
        f.datPrimaryRS->notifyReposition();
        ui::current().setBusyPointer(false);
        return;
    }
    f.S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("No Records Found For Current Filter"), ui::Buttons::OKOnly,
                                 ui::Icon::Critical, QStringLiteral("Bad Query"));
    f.S.MemberFilter.clear();
    fallingBack_ = true;
    f.mnuFilterMem_Click();
    fallingBack_ = false;
}
