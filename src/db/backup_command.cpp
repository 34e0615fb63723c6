// The backup made before a command that rewrites or replaces the open file. When it cannot be
// made the command does not run: nothing should change that the user could not go back from.
#include "db/backup.h"

#include "db/backup_file.h"
#include "db/file_commands.h"
#include "db/file_key.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/ui/ui.h"

#include <sqlcipher/sqlite3.h>

#include <QDir>
#include <QFileInfo>

namespace db {

bool BackupBeforeCommand(frmMain& f)
{
    auto* files = dynamic_cast<FileCommands*>(f.files.get());
    return files && files->BackupBeforeCommand();
}

} // namespace db

void FileCommands::reportBackupFailure(const QString& folder, const QString& reason, bool commandStopped)
{
    const QString then = commandStopped
                             ? QStringLiteral("The command was not run, and nothing has been written to the file.")
                             : QStringLiteral("The file itself is unchanged, and you can go on working.");
    f.S.LastAnswer = ui::dataError(QStringLiteral("No backup could be made in the folder\n%1\n\n%2\n\n%3")
                                                     .arg(folder, reason, then));
}

void FileCommands::rememberBackup(const QString& path, std::optional<long long> changes)
{
    lastBackup_ = path;
    lastBackupConnection_ = f.S.db ? f.S.db.get() : nullptr;
    lastBackupChanges_ = f.S.db ? changes.value_or(sqlite3_total_changes(f.S.db->connection().handle())) : -1;
}

bool FileCommands::currentBackupExists() const
{
    return f.S.db && !lastBackup_.isEmpty() && lastBackupConnection_ == f.S.db.get() &&
           lastBackupChanges_ == sqlite3_total_changes(f.S.db->connection().handle()) && QFileInfo::exists(lastBackup_);
}

bool FileCommands::settleBeforeCopy()
{
    // The copy is of the file's bytes: the page check's verdict and the day's backup come first,
    // and that backup serves when nothing changed since.
    waitForJobs(true);
    if (!jobs_)
        return true;
    const db::FileJobs::State done = jobs_->state();
    if (done.refusal) {
        if (!refusedAt_)
            refusedAt_ = ui::messagesShown();
        f.S.LastAnswer = ui::dataError(QStringLiteral("%1\n\nThe command was not run, and nothing has been written to the file.")
                                           .arg(done.refusal->description));
        // The file is closed once the command is over.
        postSettle();
        return false;
    }
    jobs_.reset();
    // A failed day's backup is told by this command's own attempt; a failed copy away by its line,
    // as when no command runs.
    if (!done.backup.isEmpty())
        rememberBackup(done.backup, jobsChanges_);
    noteAwayFailure(done);
    return true;
}

bool FileCommands::BackupBeforeCommand()
{
    auto& S = f.S;
    if (!S.db || !S.db->isOpen())
        return false;
    // The command writes through another connection or replaces the file.
    if (!settleBeforeCopy())
        return false;
    if (currentBackupExists())
        return true;
    ui::current().setBusyPointer(true);
    try {
        S.db->finishPendingReads();
        const QString path = db::writeBackup(S.db->connection(), S.db->name(), db::fileKey(S));
        ui::current().setBusyPointer(false);
        rememberBackup(path);
        return true;
    } catch (const db::BackupError& e) {
        ui::current().setBusyPointer(false);
        reportBackupFailure(e.folder, e.reason, true);
    } catch (const std::exception& e) {
        ui::current().setBusyPointer(false);
        reportBackupFailure(QDir::toNativeSeparators(db::backupFolder(S.db->name())), db::reasonOf(e), true);
    }
    return false;
}
