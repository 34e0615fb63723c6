// The day's first backup. Which day a file was last backed up is read from the newest backup's
// name in its Backups folder, not from the file: the file's format stays as it is. The backup is
// decided at the open and made after it, a few pages at a time between the window's events, so
// the window shows at once, and the copy's check runs on a thread of its own; the guarded dispatch finishes it before any command runs, so no
// write comes before it.
#include "db/file_commands.h"

#include "db/backup_file.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/ui/ui.h"
#include "schema/connect_key.h"

#include <QDir>
#include <QScopeGuard>
#include <chrono>

namespace {

// Pages copied per step of the event loop: a few milliseconds of work, so typing stays fluid.
constexpr int kPagesPerStep = 512;

bool backedUpToday(const QString& file)
{
    const std::vector<db::BackupEntry> backups = db::listBackups(file);
    return !backups.empty() && backups.back().when.date() == db::backupClock().date();
}

} // namespace

void FileCommands::startDailyBackup()
{
    cancelDailyBackup();
    if (!f.S.db || backedUpToday(f.S.db->name()))
        return;
    dailyDue_ = true;
    dailyTimer_.start();
}

void FileCommands::cancelDailyBackup()
{
    dailyTimer_.stop();
    // The check works on the copy: it ends before the copy goes.
    if (dailyCheck_.valid()) {
        try {
            dailyCheck_.get();
        } catch (const std::exception&) {
            // The copy is abandoned anyway.
        }
    }
    daily_.reset();
    dailyDue_ = false;
}

void FileCommands::stepDailyBackup()
{
    auto& S = f.S;
    if (!dailyDue_ || !S.db || !S.db->isOpen()) {
        cancelDailyBackup();
        return;
    }
    // A step inside a command (a dialog's own event loop) waits: the command may be writing.
    if (f.handlerDepth > 0)
        return;
    const QString file = S.db->name();
    try {
        if (!daily_) {
            // The first step makes the folder and starts the copy; the pages follow.
            db::prepareBackupFolder(file);
            daily_ = std::make_unique<db::BackupCopy>(S.db->connection(), db::nextBackupPath(file, db::backupClock()),
                                                      db::passwordOfConnect(S.DbConnect).toUtf8());
            return;
        }
        if (dailyCheck_.valid()) {
            if (dailyCheck_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
                CompletePendingBackup();
            return;
        }
        if (!daily_->step(kPagesPerStep))
            return;
        // The copy is closed; reading it back is no work for the window's thread.
        daily_->completeCopy();
        db::BackupCopy* copy = daily_.get();
        // The window idles without polling while the check runs; the check wakes the steps again
        // when it ends, however it ends. The timer outlives the thread: cancelling waits for it.
        dailyTimer_.stop();
        dailyCheck_ = std::async(std::launch::async, [copy, file, key = db::passwordOfConnect(S.DbConnect).toUtf8(),
                                                      wake = &dailyTimer_] {
            const auto answer = qScopeGuard([wake] { QMetaObject::invokeMethod(wake, "start", Qt::QueuedConnection); });
            copy->verifyAndName(db::expectedOf(file, key));
        });
    } catch (const db::BackupError& e) {
        cancelDailyBackup();
        reportBackupFailure(e.folder, e.reason, false);
    } catch (const std::exception& e) {
        cancelDailyBackup();
        reportBackupFailure(QDir::toNativeSeparators(db::backupFolder(file)), db::reasonOf(e), false);
    }
}

void FileCommands::CompletePendingBackup()
{
    auto& S = f.S;
    if (!dailyDue_)
        return;
    dailyTimer_.stop();
    if (!S.db || !S.db->isOpen()) {
        cancelDailyBackup();
        return;
    }
    const QString file = S.db->name();
    const QString folder = QDir::toNativeSeparators(db::backupFolder(file));
    ui::current().setBusyPointer(true);
    try {
        S.db->finishPendingReads();
        if (!daily_) {
            const QString path = db::writeBackup(S.db->connection(), file, db::passwordOfConnect(S.DbConnect).toUtf8());
            cancelDailyBackup();
            rememberBackup(path);
        } else {
            if (dailyCheck_.valid())
                dailyCheck_.get();
            else
                daily_->finish();
            const QString path = daily_->target();
            cancelDailyBackup();
            db::pruneBackups(file);
            rememberBackup(path);
        }
    } catch (const db::BackupError& e) {
        cancelDailyBackup();
        ui::current().setBusyPointer(false);
        reportBackupFailure(e.folder, e.reason, false);
        return;
    } catch (const std::exception& e) {
        cancelDailyBackup();
        ui::current().setBusyPointer(false);
        reportBackupFailure(folder, db::reasonOf(e), false);
        return;
    }
    ui::current().setBusyPointer(false);
}
