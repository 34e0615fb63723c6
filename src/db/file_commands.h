#pragma once
// The main window's commands for database files: open, close, the shared file dialog and the
// report logo (file_commands.cpp); new files from the template (create_from_template.cpp,
// new_blank.cpp, clone_and_clear.cpp); repair and compress (repair_compress.cpp); backups
// (backup_command.cpp, backup_to.cpp, restore_backup.cpp); the open file's page check and day's backup in the
// background (file_jobs_commands.cpp); CSV import (import_commands.cpp).
#include "db/file_jobs.h"
#include "db/file_lock.h"
#include "db/import_columns.h"
#include "frame/seams.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class frmMain;
namespace db { struct CheckedFile; }
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

    // ---- Repair and compress; the file's own passphrase -----------------------------------------
    void mnuCompact_Click() override;
    void mnuFileSetPassword_Click() override;

    // ---- Backups ------------------------------------------------------------------------------
    // A backup of the open file before a command that rewrites it; false (the user told) when
    // none could be made. A backup of the file as it is now, made by this window, serves again.
    bool BackupBeforeCommand();
    void mnuFileBackupTo_Click() override;
    void mnuFileRestore_Click() override;

    // ---- The open file's background jobs: the page check and the day's backup -----------------
    void CommandEnded() override;
    void StopFileJobs() override;
    // Whether a daily backup is due or still being made (for tests and the benchmark).
    bool DailyBackupPending() const { return jobs_ && jobs_->makesBackup(); }
    // Whether the page check or the day's backup is to start, still runs, or its end is not yet
    // settled.
    bool FileJobsPending() const { return jobs_ != nullptr || launchDue_.has_value(); }
    // Waits for the jobs with the busy panel and settles them as the idle window would.
    void WaitForFileJobs();

    // ---- CSV import -----------------------------------------------------------------------------
    void mnuFileImportMembers_Click() override;
    void mnuFileImportDonations_Click() override;

private:
    // Starts the page check (when asked) and the day's first backup (when due) on a thread of
    // their own, and makes every write to the open file wait for them.
    void startFileJobs(bool checkPages);
    void launchFileJobs();
    void stopFileJobs();
    // The write gate: waits (busy panel) until the file may be written; refuses a file the page
    // check refused.
    void awaitWritable();
    // Waits for the jobs with the busy panel until `finished` (all of them) or writable.
    void waitForJobs(bool finished);
    // Takes what the ended jobs left (a damaged file closed, the backup remembered, a failure
    // told) when no command is under way; otherwise the end of the command does.
    void settleFileJobs();
    // settleFileJobs when the window's event loop next turns (callable from any thread).
    void postSettle();
    bool commandUnderWay() const;
    void closeRefusedFile(const db::FileJobs::Refusal& refusal);
    void reportBackupFailure(const QString& folder, const QString& reason, bool commandStopped);
    // Waits for the open file's background work and takes its day's backup; false (the user told)
    // when the page check refused the file, which no copy may then be made of.
    bool settleBeforeCopy();
    // The one status line for a day's backup that could not be copied to the folder away.
    void noteAwayFailure(const db::FileJobs::State& s);
    // Notes that a backup of the open file as it was when the connection had made `changes`
    // changes exists (as it is now, by default).
    void rememberBackup(const QString& path, std::optional<long long> changes = std::nullopt);
    bool currentBackupExists() const;

    // The file dialog, the read and check, the preview, the write and the summary.
    void importCsv(db::import::Kind kind);
    // Shows why a file could not be opened, naming it, and leaves the no-file state intact.
    void reportUnopenable(const QString& path, int number, const QString& reason,
                          const QString& title = QStringLiteral("Unreadable File"));
    // A file of an earlier format brought up to the current one after a backup, with the busy
    // panel; false when it could not be (told, the file as it was and closed).
    bool bringUpToDate(const db::CheckedFile& file, const QString& path);
    // Steps 3 to 22 of the open, on a file that passed every check (but the page check, unless
    // pagesChecked: that one then runs in the background).
    void bindOpenedFile(const db::CheckedFile& file, const frame::FailureScope& failures, bool pagesChecked);
    // Lets go of a file whose open failed half-way and puts the window back in its no-file state.
    void abandonOpen();
    // Asks for the passphrase of the file at path (File Password) until one is typed; false
    // when the user cancelled.
    bool askFilePassword(const QString& path, QByteArray& passphrase);
    // The passphrase of a backup chosen for Restore, asked until one opens it; false when the
    // user cancelled or the backup cannot be read with it (told).
    bool askBackupPassphrase(const QString& backup, QByteArray& passphrase);

    frmMain& f;

    // The passphrase a command that closes the file and opens it again under a passphrase (Set
    // File Password, Repair / Compress) hands to that open, so that it is not asked again.
    QByteArray offeredPassphrase_;

    // The open file's lock, held from its open to its close, so no other program opens it meanwhile.
    db::FileLock lock_;
    // The lock of a new file's name while New Blank or Clone and Clear makes it and opens it.
    db::FileLock making_;

    std::unique_ptr<db::FileJobs> jobs_;
    std::optional<bool> launchDue_;  // the jobs to start (with the page check or not), gate set
    // Receives the jobs' news on the window's thread; outlives every jobs object.
    QObject jobsNotice_;
    long long jobsChanges_ = 0;  // the connection's change count when the jobs began
    // The count of messages shown when a write was refused for the verdict: one shown since
    // told the user, and the close says nothing more.
    std::optional<std::uint64_t> refusedAt_;
    bool opening_ = false;
    bool gateWaiting_ = false;
    // The last backup this window made and the open connection's change count then.
    QString lastBackup_;
    const void* lastBackupConnection_ = nullptr;
    long long lastBackupChanges_ = -1;
};
