#include "db/file_jobs.h"

#include "db/backup_file.h"
#include "db/beside_files.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "schema/open_checks.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QScopeGuard>
#include <chrono>
#include <memory>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace db {

namespace {

// The file's pages are of SQLCipher's size: progress is told in them.
constexpr std::int64_t kPageBytes = 1024;

// The engine asks every few thousand instructions; a non-zero answer interrupts the statement.
int stopWhenCancelled(void* cancelled)
{
    return static_cast<std::atomic<bool>*>(cancelled)->load(std::memory_order_relaxed) ? 1 : 0;
}

} // namespace

FileJobs::FileJobs(QString path, QByteArray key, bool checkPages, QString backupTarget, std::function<void()> changed,
                   Away away)
    : path_(std::move(path)), key_(std::move(key)), checkPages_(checkPages), backupTarget_(std::move(backupTarget)),
      changed_(std::move(changed)), away_(std::move(away))
{
    state_.awayFolder = away_.folder;
    thread_ = std::thread([this] { run(); });
}

FileJobs::~FileJobs()
{
    cancel();
}

void FileJobs::cancel()
{
    cancelled_ = true;
    if (thread_.joinable())
        thread_.join();
}

FileJobs::State FileJobs::state() const
{
    const std::lock_guard lock(mutex_);
    return state_;
}

template <typename Change>
void FileJobs::update(Change change)
{
    {
        const std::lock_guard lock(mutex_);
        change(state_);
    }
    moved_.notify_all();
    if (changed_)
        changed_();
}

void FileJobs::waitUntil(const std::function<bool(const State&)>& until, const std::function<void(const State&)>& tick)
{
    std::unique_lock lock(mutex_);
    while (!until(state_)) {
        moved_.wait_for(lock, std::chrono::milliseconds(50));
        if (tick && !until(state_)) {
            const State now = state_;
            lock.unlock();
            tick(now);
            lock.lock();
        }
    }
}

void FileJobs::waitUntilWritable(const std::function<void(const State&)>& tick)
{
    waitUntil([](const State& s) { return s.writable; }, tick);
}

void FileJobs::waitUntilFinished(const std::function<void(const State&)>& tick)
{
    waitUntil([](const State& s) { return s.finished; }, tick);
}

void FileJobs::run()
{
    try {
        checkAndCopy();
    } catch (const std::exception& e) {
        // Whatever checkAndCopy did not foresee refuses the file rather than passing it unread.
        if (!cancelled_)
            update([&](State& s) {
                if (!s.checked)
                    s.refusal = Refusal{jet::err::DatabaseCorrupt, reasonOf(e)};
            });
    } catch (...) {
        // Nothing may leave the thread; a file not read whole is not passed.
        if (!cancelled_)
            update([](State& s) {
                if (!s.checked)
                    s.refusal = Refusal{jet::err::DatabaseCorrupt, QStringLiteral("The file could not be read whole.")};
            });
    }
    // The check read every page of the file into its connection's cache, a hundred megabytes
    // and more on a large file. The connection is closed, but the C library keeps what this
    // thread freed mapped in the thread's own arena for the life of the program, where the
    // window's connection can never use it; it goes back to the system here.
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    if (!away_.folder.isEmpty() && !cancelled_ && !state().refusal) {
        // Writes need not wait for a copy that only adds to the one beside the file.
        update([](State& s) {
            s.checked = true;
            s.writable = true;
        });
        copyAway();
    }
    update([](State& s) {
        s.checked = true;
        s.writable = true;
        s.finished = true;
    });
}

void FileJobs::checkAndCopy()
{
    sqlite::Connection reader;
    try {
        reader = sqlite::Connection(path_, key_, sqlite::Connection::Mode::ReadOnly);
        sqlite3_progress_handler(reader.handle(), 1000, stopWhenCancelled, &cancelled_);
        // One read transaction for the check and the copy: the copy holds the pages the check read.
        reader.exec(QStringLiteral("BEGIN"));
        if (checkPages_)
            checkEveryPage(reader, path_);
        else
            reader.verifyReadable(path_);
    } catch (const jet::DbError& e) {
        if (!cancelled_)
            update([&](State& s) { s.refusal = Refusal{e.number(), e.description()}; });
        return;
    }
    update([](State& s) { s.checked = true; });
    if (backupTarget_.isEmpty() || cancelled_)
        return;

    const auto failed = [this](const QString& reason) {
        if (!cancelled_)
            update([&](State& s) { s.backupFailure = reason; });
    };
    // The pages the check has just read whole are copied as they lie on the disk, in the same read
    // transaction, and compared; a few milliseconds of work between two looks at a cancel, so
    // Close and Exit do not wait for the copy. An unfinished copy leaves no work file.
    const QString work = partPathOf(backupTarget_);
    auto removeWork = qScopeGuard([&] { QFile::remove(work); });
    try {
        prepareBackupFolder(path_);
        // A cancel stops the copy with a reason nobody is told (see failed).
        copyCompared(path_, work, [this](std::int64_t copied, std::int64_t size) { return tellProgress(copied, size); });
    } catch (const BackupError& e) {
        failed(e.reason);
        return;
    } catch (const std::exception& e) {
        failed(reasonOf(e));
        return;
    }
    // Ending the read transaction lets the window write: the copy is the file as it was.
    reader.close();
    update([](State& s) {
        s.writable = true;
        s.pagesCopied = s.pagesTotal;
    });
    if (cancelled_)
        return;
    try {
        checkAndName(work, backupTarget_, key_);
        removeWork.dismiss();
        // A backup that cannot be removed is kept; the new one is complete either way.
        pruneBackups(path_);
    } catch (const std::exception& e) {
        failed(reasonOf(e));
        return;
    }
    update([this](State& s) { s.backup = backupTarget_; });
}

bool FileJobs::tellProgress(std::int64_t copied, std::int64_t size)
{
    // Progress is for whoever waits; the window is not woken for it.
    {
        const std::lock_guard lock(mutex_);
        state_.pagesCopied = copied / kPageBytes;
        state_.pagesTotal = size / kPageBytes;
    }
    moved_.notify_all();
    return !cancelled_;
}

void FileJobs::copyAway()
{
    const QString made = state().backup;
    const QString source = made.isEmpty() ? away_.todaysBackup : made;
    // No day's backup beside the file (its failure is told on its own): nothing to copy.
    if (source.isEmpty())
        return;
    try {
        checkAwayFolder(away_.folder);
        const QDate today = backupClock().date();
        for (const BackupEntry& b : listBackupsIn(away_.folder, path_))
            if (b.when.date() == today && b.label.isEmpty())
                return;
        const QString copied = copyBackupTo(source, path_, key_, away_.folder,
                                            [this](std::int64_t done, std::int64_t size) { return tellProgress(done, size); });
        update([&](State& s) { s.awayBackup = copied; });
    } catch (const BackupError& e) {
        if (!cancelled_)
            update([&](State& s) { s.awayFailure = e.reason; });
    } catch (const std::exception& e) {
        if (!cancelled_)
            update([&](State& s) { s.awayFailure = reasonOf(e); });
    }
}

} // namespace db
