// The open file's background work, seen from the window. The open leaves the page check and the
// day's first backup to db::FileJobs and shows the file; reading commands go on meanwhile. Every
// write to the open file passes the database's write gate, which waits for the jobs with the busy
// panel, so no write comes before the verdict or before the backup's copy. A file the check
// refuses is closed once no command runs, with one message. Which day a file was last backed up
// is read from the newest backup's name in its Backups folder, not from the file. When the user
// chose a folder away from the computer for the file's backups, the day's backup is copied there
// too, after writes are let in; whatever keeps it from there is one line in the status area.
#include "db/file_commands.h"

#include "db/backup_file.h"
#include "db/file_key.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/jet/db_error.h"
#include "platform/settings/settings.h"
#include "platform/ui/ui.h"
#include "platform/vb/skip_on_failure.h"

#include <sqlcipher/sqlite3.h>

#include <QDir>
#include <QProgressBar>
#include <climits>

namespace {

// Today's newest backup of the file beside it, or "" when it has none of today.
QString todaysBackup(const QString& file)
{
    const std::vector<db::BackupEntry> backups = db::listBackups(file);
    return !backups.empty() && backups.back().when.date() == db::backupClock().date() ? backups.back().path : QString();
}

} // namespace

void FileCommands::startFileJobs(bool checkPages)
{
    auto& S = f.S;
    stopFileJobs();
    refusedAt_.reset();
    if (!S.db || !S.db->isOpen())
        return;
    // The gate first: no write may pass before the jobs, which start once the window is bound
    // (so the open's own reads need not share the disk and the processor with them) or at the
    // first write, whichever comes first.
    S.db->setWriteGate([this] { awaitWritable(); });
    launchDue_ = checkPages;
    // News of the file opened before this one is no longer news.
    f.ShowStatusNote({});
}

void FileCommands::launchFileJobs()
{
    auto& S = f.S;
    if (!launchDue_)
        return;
    const bool checkPages = *launchDue_;
    launchDue_.reset();
    if (!S.db || !S.db->isOpen())
        return;
    const QString file = S.db->name();
    const QString today = todaysBackup(file);
    const QString target = today.isEmpty() ? db::nextBackupPath(file, db::backupClock()) : QString();
    // Whether the folder away holds today's copy is for the thread to find: a drive that is slow
    // to answer must not hold the window.
    const db::FileJobs::Away away{settings::backupToFolder(file), today};
    if (!checkPages && target.isEmpty() && away.folder.isEmpty())
        return;
    jobsChanges_ = sqlite3_total_changes(S.db->connection().handle());
    jobs_ = std::make_unique<db::FileJobs>(file, db::fileKey(S), checkPages, target,
                                           [this] { postSettle(); }, away);
}

void FileCommands::stopFileJobs()
{
    // Joins the thread; a copy under way is removed on it.
    launchDue_.reset();
    jobs_.reset();
}

void FileCommands::StopFileJobs()
{
    stopFileJobs();
}

bool FileCommands::commandUnderWay() const
{
    return f.handlerDepth > 0 || opening_ || gateWaiting_ || (f.S.db && f.S.db->isWriting());
}

void FileCommands::waitForJobs(bool finished)
{
    launchFileJobs();
    if (!jobs_)
        return;
    const db::FileJobs::State now = jobs_->state();
    if (finished ? now.finished : now.writable)
        return;
    const bool wasBusy = ui::current().isBusyPointer();
    const bool panelShown = f.Picture2->isVisible();
    gateWaiting_ = true;
    ui::current().setBusyPointer(true);
    if (!panelShown)
        f.ShowBusyPanel();
    // The panel's one turn of the event loop may have closed the file (Close clicked meanwhile).
    if (!jobs_) {
        if (!panelShown)
            f.HideBusyPanel();
        ui::current().setBusyPointer(wasBusy);
        gateWaiting_ = false;
        return;
    }
    // The copy's pages fill our panel's bar; the check alone keeps it running. A panel another
    // step showed keeps its own bar.
    const auto tell = [this, panelShown](const db::FileJobs::State& s) {
        if (!panelShown && s.pagesTotal > 0 && s.pagesTotal <= INT_MAX) {
            f.AniNumOne->setRange(0, static_cast<int>(s.pagesTotal));
            f.AniNumOne->setValue(static_cast<int>(s.pagesCopied));
            f.Picture2->repaint();
        }
    };
    if (finished)
        jobs_->waitUntilFinished(tell);
    else
        jobs_->waitUntilWritable(tell);
    if (!panelShown)
        f.HideBusyPanel();
    ui::current().setBusyPointer(wasBusy);
    gateWaiting_ = false;
    // News that came while waiting was left for later: now is later.
    postSettle();
}

void FileCommands::postSettle()
{
    QMetaObject::invokeMethod(&jobsNotice_, [this] { settleFileJobs(); }, Qt::QueuedConnection);
}

void FileCommands::awaitWritable()
{
    waitForJobs(false);
    if (!jobs_)
        return;
    const db::FileJobs::State now = jobs_->state();
    if (!now.refusal)
        return;
    if (!refusedAt_)
        refusedAt_ = ui::messagesShown();
    // The file is closed when the command is over; the command's message about this refusal is
    // the one the user gets.
    postSettle();
    throw jet::DbError(now.refusal->number,
                       now.refusal->description + QStringLiteral(" Nothing was written to it, and QUIL closes it."));
}

void FileCommands::WaitForFileJobs()
{
    waitForJobs(true);
    settleFileJobs();
}

void FileCommands::CommandEnded()
{
    try {
        settleFileJobs();
    } catch (const std::exception&) {
        // Settling tells the user itself; nothing of it may escape the dispatch.
    }
}

void FileCommands::settleFileJobs()
{
    if (!jobs_ || commandUnderWay())
        return;
    const db::FileJobs::State s = jobs_->state();
    if (!s.finished)
        return;
    jobs_.reset();
    if (s.refusal) {
        closeRefusedFile(*s.refusal);
        return;
    }
    if (!s.backup.isEmpty())
        rememberBackup(s.backup, jobsChanges_);
    if (s.backupFailure && f.S.db)
        reportBackupFailure(QDir::toNativeSeparators(db::backupFolder(f.S.db->name())), *s.backupFailure, false);
    noteAwayFailure(s);
}

void FileCommands::noteAwayFailure(const db::FileJobs::State& s)
{
    if (s.awayFailure && f.S.db)
        f.ShowStatusNote(QStringLiteral("The day's backup was not copied to %1: %2")
                             .arg(QDir::toNativeSeparators(s.awayFolder), *s.awayFailure));
}

void FileCommands::closeRefusedFile(const db::FileJobs::Refusal& refusal)
{
    const QString path = f.S.OpenDbPath;
    const bool told = refusedAt_ && ui::messagesShown() > *refusedAt_;
    refusedAt_.reset();
    abandonOpen();
    if (!told)
        reportUnopenable(path, refusal.number, refusal.description);
}
