#pragma once
// What one subsystem may ask of another. The program's flow calls across subsystems (Close runs
// Member View and Standard, opening a file ends in RequeryView, an empty member query falls back
// to Filter Members, the rapid search runs Add Donation); those calls go through these
// interfaces, which the frame holds, never through a link between two subsystem libraries.
//
// Each subsystem implements its interface in one command class (FileCommands in src/db,
// RecordsCommands in src/records, ...); the program's top library makes the objects and hands
// them to the frame. An interface lists the menu commands of its subsystem (frmMain's menu
// handlers forward to them) and the named procedures the others call.
#include "frame/batch_gifts.h"

#include <QString>

namespace seam {

// Database files (src/db).
class Files {
public:
    virtual ~Files() = default;
    virtual void mnuFileOpen_Click() = 0;
    virtual void mnuFileClose_Click() = 0;
    // File > New Database: a copy of the template, empty or filled from the open file.
    virtual void mnuFileNewBlank_Click() = 0;
    virtual void mnuFileNewClone_Click() = 0;
    // File > Repair / Compress: the open file rewritten in place and opened again.
    virtual void mnuCompact_Click() = 0;
    // File > Import: members or donations from a CSV file, after a preview, all or nothing.
    virtual void mnuFileImportMembers_Click() = 0;
    virtual void mnuFileImportDonations_Click() = 0;
    // The open dialog for database files: a path, or "" when cancelled or unusable.
    virtual QString ChooseDatabaseFile(const QString& title) = 0;
    // Loads the picture OrgLogo names into the hidden logo box of the window.
    virtual void LoadReportLogo() = 0;
    // File > Back Up To...: a checked backup of the open file in a folder the user chooses, which
    // the file's day's backup goes to as well from then on.
    virtual void mnuFileBackupTo_Click() = 0;
    // File > Restore Backup: a backup chosen from the file's Backups folder (or the folder Back Up
    // To writes to) replaces the file.
    virtual void mnuFileRestore_Click() = 0;
    virtual void mnuFileSetPassword_Click() = 0;
    // The open file's page check and the day's first backup run in the background; writes wait
    // for them. The guarded dispatch runs this after every outermost command, which takes what
    // they left meanwhile (a damaged file closed with one message, a failed backup told). Never
    // throws.
    virtual void CommandEnded() = 0;
    // Exit: the background work stops (an unfinished backup leaves nothing) before the window's
    // connections close. Never throws.
    virtual void StopFileJobs() = 0;
};

// Members and donations (src/records).
class Records {
public:
    virtual ~Records() = default;
    virtual void mnuEditAddPay_Click() = 0;
    virtual void mnuEditAddMem_Click() = 0;
    virtual void mnuSortPayID_Click() = 0;
    virtual void mnuSortAmount_Click() = 0;
    virtual void mnuSortCheck_Click() = 0;
    virtual void mnuSortDest_Click() = 0;
    virtual void mnuSortDate_Click() = 0;
    virtual void mnuEditDelPay_Click() = 0;
    virtual void mnuEditDelMem_Click() = 0;
    // Edit > Merge Members: two records of one person become one.
    virtual void mnuEditMergeMem_Click() = 0;
    // Edit > Batch Totals: a batch of gifts checked against the expected count and total.
    virtual void mnuEditBatch_Click() = 0;
    // The open file closes (Close Database, a command that closes it, Exit): a running batch
    // ends, pointed out when it does not balance.
    virtual void EndBatchOnClose() = 0;
    // Re-runs the member query the caller has set and stands on its last member.
    virtual void RequeryView() = 0;
    // The member data source's reposition: rebuilds the donation query and the totals.
    virtual void datPrimaryRS_Reposition() = 0;
    // The summary line: total and count of the donations in view.
    virtual void ShowListTotal() = 0;
    // Pure blue while a filter is in force: the member fields for the member filter, the grid's
    // text for the donation filter.
    virtual void SetMemberFieldsColour(bool blue) = 0;
    virtual void SetGridTextColour(bool blue) = 0;
};

// Filters and views (src/filters).
class Filters {
public:
    virtual ~Filters() = default;
    virtual void mnuFilterMem_Click() = 0;
    virtual void mnuFilterDonat_Click() = 0;
    // The two views. Member View is also run directly by Standard and by Close Database,
    // whatever its menu item's state.
    virtual void mnuMemView_Click() = 0;
    virtual void mnuListView_Click() = 0;
};

// Access modes (src/access).
class Access {
public:
    virtual ~Access() = default;
    // Standard mode: the rapid search only. Also run by Close Database.
    virtual void mnuStandard_Click() = 0;
    // Executive mode, after a password of the password list.
    virtual void mnuExecMode_Click() = 0;
};

// Reports (src/reports).
class Reports {
public:
    virtual ~Reports() = default;
    // File > Print: Select Report, then the report chosen.
    virtual void mnuFilePrint_Click() = 0;
    // File > Giving Statements: a statement per donor for a period.
    virtual void mnuFileGivingStatements_Click() = 0;
    // File > Fund Totals: each destination's gifts and total over a period, on paper or as PDF.
    virtual void mnuFileFundTotals_Click() = 0;
    // A batch of gifts has ended: offers to print its deposit list (the gifts, checks and cash
    // apart, the total against the one expected).
    virtual void OfferDepositList(const BatchGifts& batch) = 0;
};

// Administration (src/access): the password list and the organization data.
class Administration {
public:
    virtual ~Administration() = default;
    virtual void mnuAdminMode_Click() = 0;
    virtual void mnuQuilProperties_Click() = 0;
};

// Data out (src/reports): the CSV exports of File > Export.
class Export {
public:
    virtual ~Export() = default;
    virtual void mnuFileExportMembers_Click() = 0;
    virtual void mnuFileExportDonations_Click() = 0;
    virtual void mnuFileExportFunds_Click() = 0;
};

} // namespace seam
