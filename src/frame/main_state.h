#pragma once
// Everything the main window's commands share, in one place. The subsystems read and write these
// fields directly, the way the program's handlers always have; nothing here has behaviour.
//
// Each block belongs to the subsystem that sets it (the others may read it); MainState joins
// them, so every field is still reached by its own name: S.OpenDbPath, S.GridQueryState.
#include "platform/vb/datetime.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

namespace dao { class Database; }

// The values of GridQueryState, which steers the next donation query: a sort was chosen (1..5,
// the SortFields index), a donation filter was set, List View was asked for, the list is loaded.
namespace GridQuery {
enum : std::int16_t {
    SortedByPaymentId = 1,
    SortedByAmount = 2,
    SortedByCheckNumber = 3,
    SortedByDestination = 4,
    SortedByDate = 5,
    DonationFilterSet = 6,
    ListViewRequested = 7,
    ListLoaded = 8,
};
} // namespace GridQuery

// Application shell: start-up and the program folder.
struct ShellState {
    QString AppTitle = QStringLiteral("QUIL");  // title of this copy (changed only in a duplicate)
    QString AppDir;                             // program folder with a trailing separator
    QString DbConnect;                          // "keyword=password" for every database open
    bool OpenedFromCommandLine = false;         // the next open waits one second first
};

// Database files: the open file and its organization data as read at open (the report
// headings use these copies; the organization data dialog edits them).
struct FileState {
    QString DbFileName;  // file to open next; "" means ask with the file dialog
    QString OpenDbPath;  // file that is open; "" when none
    std::shared_ptr<dao::Database> db;  // the current database, null when none is open
    // The open file's passphrase as typed (UTF-8); empty when the file has none and the
    // program's own password keys it. Held only while the file is open; wiped when it closes.
    QByteArray Passphrase;

    QString OrgName;
    QString OrgAdd;
    QString OrgPhone;
    QString OrgEmail;
    QString OrgLogo;
};

// The donation grid's five sort fields, indexed 1..5 like SortIndex; element 0 is not used.
inline const std::array<QString, 6> kSortFields{QString(), QStringLiteral(" PaymentID"), QStringLiteral(" PaymentAmount"),
                                                QStringLiteral(" CheckNumber"), QStringLiteral(" Destination"),
                                                QStringLiteral(" PaymentDate")};

// Members and donations: sorting and the donation query.
struct RecordsState {
    std::array<QString, 6> SortFields = kSortFields;
    int SortIndex = 0;                  // 1..5
    std::int16_t GridQueryState = 0;    // a GridQuery value
    // The record set ListLoaded describes (its serial): when the grid's set is another one, or
    // none (a report released it, a read failed), the list is read again.
    std::uint64_t LoadedListSerial = 0;
    bool ListViewActive = false;
    QString DonationSelect;
    bool SuppressReposition = false;
    QString DonorName;  // first name, one blank, last name of the current member
};

// Filters and views.
struct FilterState {
    QString ViewName;        // "Member View" or "List View"
    QString MemberFilter;    // condition without WHERE; "" = none
    QString DonationFilter;  // " WHERE ..." or ""
    std::array<QString, 23> FilterCaptions;  // criteria as typed: 0..8 members, 9..22 donations
};

// Access modes.
struct AccessState {
    bool StandardMode = true;
};

// Reports: the run of the report chosen in Select Report.
struct ReportState {
    std::int16_t ReportType = 69;  // 0..4 as chosen; 69 while none is
    vb::DateTime ReportFromDate;   // the date range, set by OK when not all dates
    vb::DateTime ReportToDate;
    QString DateClause;            // " WHERE [Paymentdate] Between #..# AND #..#" or ""
    bool FilterReportActive = false;  // the Current Filtered Statement is being produced
    QString ReportMemberSource;    // "Members" or a member query
    QString ReportPaymentSource;   // "Payments" or a donation query
    QString ReportTitle;
    QString ReportRecordCount;     // the report's count and grand total as the cover shows them
    QString ReportGrandTotal;
};

// Dialog traffic, shared by every subsystem.
struct DialogState {
    bool DialogCancelled = false;
    std::int16_t LastAnswer = 0;  // answer code of the last message box
    QString SavedFolder;          // current folder saved around a file dialog
};

struct MainState : ShellState, FileState, RecordsState, FilterState, AccessState, ReportState, DialogState {};
