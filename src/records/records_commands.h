#pragma once
// The main window's commands for members and donations. One class for the subsystem; its
// handlers are defined in the file of their job: the view requery (records_commands.cpp), the
// rapid search (rapid_search.cpp), the donation grid and its totals (donation_grid.cpp), adding
// donations (add_donation.cpp), adding and editing members (member_editing.cpp).
#include <QString>

class frmMain;

class RecordsCommands {
public:
    explicit RecordsCommands(frmMain& f);

    // ---- View requery -------------------------------------------------------------------------
    // Re-runs the member query the caller has set and stands on its last member.
    void RequeryView();

    // ---- Donation grid, sorting and totals ----------------------------------------------------
    // The member data source's reposition: rebuilds the donation query and the totals.
    void datPrimaryRS_Reposition();

    // ---- Rapid search -------------------------------------------------------------------------

    // ---- Adding donations ---------------------------------------------------------------------

    // ---- Adding and editing members -----------------------------------------------------------
    // Makes the member fields answer double-clicks; the constructor calls it.
    void connectMemberEditing();
    // Edit > Add Member: the Add a New Member dialog, then the view re-run on the new member.
    void mnuEditAddMem_Click();
    // A double-click on member field Index (0..8): one field edited through Edit Member Data.
    void txtFields_DblClick(int Index);
    QString NewMemberCriteria;  // "MemberID = " and the number the database gave the last new member
    QString EditFieldValue;     // the field's text handed to Edit Member Data; empty otherwise

private:
    frmMain& f;
    bool fallingBack_ = false;  // the retry after an empty member query runs once, never again
};
