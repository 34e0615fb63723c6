// Filter > Member View and Filter > List View: the state each view sets before the view is
// rebuilt; the rebuilding is the records subsystem's requery and its member reposition.
#include "filters/filters_commands.h"

#include "frame/frm_main.h"
#include "platform/data/data_control.h"
#include "schema/queries.h"

#include <QAction>
#include <QLabel>

namespace {

// Every member, as the program writes it for Member View (no trailing blank).
const QString kEveryMember = db::kAllMembersQuery.chopped(1);
const QString kEveryDonation = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments]");

// The commands each view offers: the other view's, and in Member View the member commands.
void offerMemberView(frmMain& f, bool memberView)
{
    f.Button(QStringLiteral("FltrMem"))->setEnabled(memberView);
    f.Button(QStringLiteral("AddGuy"))->setEnabled(memberView);
    f.Button(QStringLiteral("ListView"))->setEnabled(memberView);
    f.Button(QStringLiteral("MemView"))->setEnabled(!memberView);
    f.mnuEditAddMem->setEnabled(memberView);
    f.mnuFilterMem->setEnabled(memberView);
    f.mnuListView->setEnabled(memberView);
    f.mnuMemView->setEnabled(!memberView);
}

} // namespace

void FiltersCommands::mnuMemView_Click()
{
    auto& S = f.S;
    f.datPrimaryRS->setRecordSource(kEveryMember);
    f.records->SetMemberFieldsColour(false);
    f.records->SetGridTextColour(false);
    S.GridQueryState = GridQuery::SortedByDate;
    f.datPrimaryRS->show();
    S.ListViewActive = false;
    offerMemberView(f, true);
    S.DonationFilter.clear();
    S.MemberFilter.clear();
    S.ViewName = QStringLiteral("Member View");
    if (S.db)
        f.records->RequeryView();
}

void FiltersCommands::mnuListView_Click()
{
    auto& S = f.S;
    if (!S.db)
        return;
    f.ShowBusyPanel();
    f.records->SetMemberFieldsColour(false);
    f.records->SetGridTextColour(false);
    f.Label5->setText(QStringLiteral("PaymentDate"));
    S.DonationFilter.clear();
    S.MemberFilter.clear();
    S.DonationSelect = kEveryDonation;
    S.GridQueryState = GridQuery::ListViewRequested;
    f.datPrimaryRS->hide();
    offerMemberView(f, false);
    S.ViewName = QStringLiteral("List View");
    f.records->RequeryView();
    f.HideBusyPanel();
}
