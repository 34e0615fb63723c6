#pragma once
// Everything the main window's commands share, in one place. The subsystems read and write these
// fields directly, the way the program's handlers always have; nothing here has behaviour.
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

namespace dao { class Database; }

struct MainState {
    // Start-up and the program folder.
    QString AppTitle = QStringLiteral("QUIL");  // title of this copy (changed only in a duplicate)
    QString AppDir;                             // program folder with a trailing separator
    QString DbConnect;                          // "keyword=password" for every database open
    bool OpenedFromCommandLine = false;         // the next open waits one second first

    // The database file.
    QString DbFileName;  // file to open next; "" means ask with the file dialog
    QString OpenDbPath;  // file that is open; "" when none
    std::shared_ptr<dao::Database> db;  // the current database, null when none is open

    // Organization data as read at open (the report headings use these copies).
    QString OrgName;
    QString OrgAdd;
    QString OrgPhone;
    QString OrgEmail;
    QString OrgLogo;

    // View, sorting and the donation query.
    QString ViewName;                   // "Member View" or "List View"
    std::array<QString, 6> SortFields;  // indexed 1..5 like SortIndex; element 0 is not used
    int SortIndex = 0;                  // 1..5
    std::int16_t GridQueryState = 0;    // 1..5 sort chosen, 6 donation filter, 7 list asked, 8 list loaded
    bool ListViewActive = false;
    QString DonationSelect;
    bool SuppressReposition = false;

    // Modes and filters.
    bool StandardMode = true;
    QString MemberFilter;    // condition without WHERE; "" = none
    QString DonationFilter;  // " WHERE ..." or ""
    std::array<QString, 23> FilterCaptions;  // criteria as typed: 0..8 members, 9..22 donations

    // Dialog traffic.
    QString DonorName;            // first name, one blank, last name of the current member
    bool DialogCancelled = false;
    std::int16_t LastAnswer = 0;  // answer code of the last message box
    QString SavedFolder;          // current folder saved around a file dialog
};
