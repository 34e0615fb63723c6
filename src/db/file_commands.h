#pragma once
// The main window's commands for database files: open, close, the shared file dialog and the
// report logo (file_commands.cpp); new files from the template (create_from_template.cpp,
// new_blank.cpp, clone_and_clear.cpp); repair and compress (repair_compress.cpp); backups
// (backup_command.cpp, daily_backup.cpp, restore_backup.cpp); CSV import (import_commands.cpp).
#include "db/file_lock.h"
#include "db/import_columns.h"
#include "frame/seams.h"

#include <QString>
#include <QTimer>
#include <future>
#include <memory>

class frmMain;
namespace db { struct CheckedFile; class BackupCopy; }
namespace frame { class FailureScope; }

class FileCommands final : public seam::Files {
public:
    explicit FileCommands(frmMain& f);
    ~FileCommands() override;

    void mnuFileOpen_Click() override;
    void mnuFileClose_Click() override;
    QString ChooseDatabaseFile(const QString& title) override;
    void LoadReportLogo() override;

    // ---- New files from the template ----------------------------------------------------------
    // Asks for a new file's name under the given title and copies the template there. Leaves
    // the path in S.DbFileName, or "" when no file was made (each refusal has told the user).
    // With unnamed given, the copy is left under a temporary name in the chosen folder, given
    // there, and S.DbFileName is the name it is to take once complete.
    void CreateFromTemplate(const QString& title, QString* unnamed = nullptr);
    void mnuFileNewBlank_Click() override;
    void mnuFileNewClone_Click() override;

    // ---- Repair and compress ------------------------------------------------------------------
    void mnuCompact_Click() override;

    // ---- Backups ------------------------------------------------------------------------------
    // A backup of the open file before a command that rewrites it; false (the user told) when
    // none could be made. A backup of the file as it is now, made by this window, serves again.
    bool BackupBeforeCommand();
    void mnuFileRestore_Click() override;
    void CompletePendingBackup() override;
    // Whether a daily backup is due or still being made (for tests and the benchmark).
    bool DailyBackupPending() const { return dailyDue_; }

    // ---- CSV import -----------------------------------------------------------------------------
    void mnuFileImportMembers_Click() override;
    void mnuFileImportDonations_Click() override;

private:
    // The day's first backup: decided at the open, made page by page while the window is idle.
    void startDailyBackup();
    void stepDailyBackup();
    void cancelDailyBackup();
    void reportBackupFailure(const QString& folder, const QString& reason, bool commandStopped);
    // Notes that a backup of the open file as it is now exists.
    void rememberBackup(const QString& path);
    bool currentBackupExists() const;

    // The file dialog, the read and check, the preview, the write and the summary.
    void importCsv(db::import::Kind kind);
    // Shows why a file could not be opened, naming it, and leaves the no-file state intact.
    void reportUnopenable(const QString& path, int number, const QString& reason,
                          const QString& title = QStringLiteral("Unreadable File"));
    // A file of an earlier format brought up to the current one after a backup, with the busy
    // panel; false when it could not be (told, the file as it was and closed).
    bool bringUpToDate(const db::CheckedFile& file, const QString& path);
    // Steps 3 to 22 of the open, on a file that passed every check.
    void bindOpenedFile(const db::CheckedFile& file, const frame::FailureScope& failures);
    // Lets go of a file whose open failed half-way and puts the window back in its no-file state.
    void abandonOpen();

    frmMain& f;

    // The open file's lock, held from its open to its close, so no other program opens it meanwhile.
    db::FileLock lock_;
    // The lock of a new file's name while New Blank or Clone and Clear makes it and opens it.
    db::FileLock making_;

    bool dailyDue_ = false;
    std::unique_ptr<db::BackupCopy> daily_;
    std::future<void> dailyCheck_;  // the copy's check, on a thread of its own
    QTimer dailyTimer_;
    // The last backup this window made and the open connection's change count then.
    QString lastBackup_;
    const void* lastBackupConnection_ = nullptr;
    long long lastBackupChanges_ = -1;
};
