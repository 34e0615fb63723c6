#pragma once
// The main window's commands for members and donations. One class for the subsystem; its
// handlers are defined in the file of their job: the view requery (records_commands.cpp), the
// rapid search (rapid_search.cpp), the donation grid and its totals (donation_grid.cpp), adding
// donations (add_donation.cpp), adding and editing members (member_editing.cpp), deleting a
// donation (delete_donation.cpp) and a member (delete_member.cpp), merging two members
// (merge_members.cpp) and the batch totals (batch_command.cpp).
#include "frame/seams.h"
#include "records/batch_totals.h"
#include "records/donation_entry.h"

#include "platform/vb/currency.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class frmMain;
namespace dao { class Database; }
namespace data { class RecordsetListModel; }

class RecordsCommands final : public seam::Records {
public:
    explicit RecordsCommands(frmMain& f);

    // ---- View requery -------------------------------------------------------------------------
    // Re-runs the member query the caller has set and stands on its last member.
    void RequeryView() override;

    // ---- Donation grid, sorting and totals ----------------------------------------------------
    // Binds the grid to the donation data source and hooks the grid's and the member data
    // source's events to the handlers below; the constructor calls it.
    void ConnectDonationGrid();
    // The member data source's reposition: rebuilds the donation query and the totals.
    void datPrimaryRS_Reposition() override;
    // The donation data source's reposition: in List View the member fields show the donor.
    void datSecondaryRS_Reposition();
    // The summary line: total and count of the donations in view.
    void ShowListTotal() override;
    // View > Sort by: the donations in view again, in the chosen order.
    void mnuSortPayID_Click() override;
    void mnuSortAmount_Click() override;
    void mnuSortCheck_Click() override;
    void mnuSortDest_Click() override;
    void mnuSortDate_Click() override;
    // A cell typed into, before its text is written to the donation row (texts as in the cell),
    // and after it was written.
    void grdDataGrid_BeforeColUpdate(int ColIndex, const QString& OldValue, QString& NewValue, bool& Cancel);
    void grdDataGrid_AfterColUpdate(int ColIndex);
    // A mouse press at (x, y) in the grid's cell area; outside every cell the focus goes back
    // to the member fields.
    void grdDataGrid_MouseClickOutside(int x, int y);
    // Errors and record actions of the member data source (Action: a data::Action value).
    void datPrimaryRS_Error(int DataErr, const QString& Description, bool& ContinueSilently);
    void datPrimaryRS_Validate(int Action, bool& Save);
    // Pure blue while a filter is in force, the system's window text colour otherwise: the nine
    // member fields for the member filter, the grid's text for the donation filter.
    void SetMemberFieldsColour(bool blue) override;
    void SetGridTextColour(bool blue) override;

    // ---- Rapid search -------------------------------------------------------------------------
    // Hooks the search box and the match list to the handlers below; the constructor calls it.
    void ConnectRapidSearch();
    // Every change of the search box's text: lists the members whose names begin as typed.
    void EntNme_Change();
    // Enter in the search box or the match list, a double-click in the list: Add Donation for the
    // chosen member, Add Member when none is chosen.
    void ChooseMatch();

    // ---- Adding donations ---------------------------------------------------------------------
    // Edit > Add Donation: the Add Donations dialog for the current member, then one donation row
    // per accepted line, all of them or none.
    void mnuEditAddPay_Click() override;
    // What the Add Donations dialog and the command share; the remembered date lives here.
    DonationEntry Donation;

    // ---- Adding and editing members -----------------------------------------------------------
    // Makes the member fields answer double-clicks; the constructor calls it.
    void ConnectMemberEditing();
    // Edit > Add Member: the Add a New Member dialog, then the view re-run on the new member.
    void mnuEditAddMem_Click() override;
    // A double-click on member field Index (0..8): one field edited through Edit Member Data.
    void txtFields_DblClick(int Index);
    QString NewMemberCriteria;  // "MemberID = " and the number the database gave the last new member
    QString EditFieldValue;     // the field's text handed to Edit Member Data; empty otherwise

    // ---- Deleting -----------------------------------------------------------------------------
    // Edit > Delete Donation: the highlighted donation, after a yes/no question.
    void mnuEditDelPay_Click() override;
    // Edit > Delete Member: the current member after DelForm, its donations passed to member 1;
    // member 1 is never deleted.
    void mnuEditDelMem_Click() override;

    // ---- Merging ------------------------------------------------------------------------------
    // Edit > Merge Members: the member to merge passes its donations to the member to keep and
    // is deleted, in one transaction; the view re-runs on the kept member.
    void mnuEditMergeMem_Click() override;

    // ---- Batch totals -------------------------------------------------------------------------
    // Edit > Batch Totals: starts a batch with the gifts and total expected, or ends the one
    // running (batch_command.cpp).
    void mnuEditBatch_Click() override;
    // The file closes or the program ends: the batch ends too, pointed out when it does not
    // balance. The donations stay.
    void EndBatchOnClose() override;
    // The main window's batch line: shown with the batch's figures, hidden without a batch.
    void ShowBatch();
    // The batch running in this session; none when there is none.
    std::optional<records::BatchTotals> Batch;

private:
    // The last total shown: the same query over a file not written since adds up to the same
    // figure, so a sort of a million donations does not add them up again.
    struct TotalMemo {
        std::weak_ptr<dao::Database> database;  // expired with the file it was read from
        std::uint64_t generation = 0;
        QString query;
        vb::Currency total;
    };
    std::optional<vb::Currency> rememberedTotal(const QString& query) const;

    frmMain& f;
    bool fallingBack_ = false;  // the retry after an empty member query runs once, never again
    data::RecordsetListModel* matches_ = nullptr;  // the rapid search's rows, shown by C_List and ID_list
    std::optional<TotalMemo> lastTotal_;
};
