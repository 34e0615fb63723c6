// Filter > Filter Donations: the criteria dialog, then the donations of the view narrowed by
// them, in Member View for each member in turn, in List View over the whole list.
#include "filters/filters_commands.h"

#include "filters/donat_query.h"
#include "frame/frm_main.h"
#include "platform/ui/ui.h"

namespace {

// The donation query's select for a filter (one trailing blank; the filter's " WHERE " follows).
const QString kFilteredDonations = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] ");

} // namespace

void FiltersCommands::mnuFilterDonat_Click()
{
    if (!f.S.db)
        return;
    {
        DonatQuery dialog(f.S, &f);
        ui::current().runModal(dialog);
    }
    f.ShowBusyPanel();
    if (!f.S.DialogCancelled)
        applyDonationFilter();
    f.S.DialogCancelled = false;
    f.HideBusyPanel();
}

void FiltersCommands::applyDonationFilter()
{
    auto& S = f.S;
    if (S.DonationFilter.isEmpty()) {
        f.records->SetGridTextColour(false);
        // State 5, as an open leaves it: the view's donations again, in the sort in force.
        S.GridQueryState = GridQuery::SortedByDate;
        f.records->RequeryView();
        return;
    }
    S.DonationSelect = kFilteredDonations;
    f.records->SetGridTextColour(true);
    S.GridQueryState = GridQuery::DonationFilterSet;
    f.records->RequeryView();
    // An empty List View has dropped the filter (the donation list says so): its colour goes too.
    if (S.DonationFilter.isEmpty())
        f.records->SetGridTextColour(false);
}
