#include "db/backup_file.h"

#include "db/beside_files.h"
#include "db/file_copy.h"
#include "db/replace_file.h"
#include "platform/dao/derived_keys.h"
#include "platform/jet/db_error.h"
#include "schema/schema.h"

#include <sqlcipher/sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace db {

namespace {

std::function<QDateTime()>& clockFunction()
{
    static std::function<QDateTime()> clock;
    return clock;
}

const QString kStampFormat = QStringLiteral("yyyy-MM-dd HH.mm.ss");

std::int64_t count(sqlite::Connection& connection, const QString& sql)
{
    sqlite::Statement statement = connection.prepare(sql);
    statement.step();
    return statement.int64(0);
}

} // namespace

QDateTime backupClock()
{
    const auto& clock = clockFunction();
    return clock ? clock() : QDateTime::currentDateTime();
}

void setBackupClock(std::function<QDateTime()> clock)
{
    clockFunction() = std::move(clock);
}

QString backupFileName(const QString& baseName, const QDateTime& when, int sequence, const QString& label)
{
    const QString suffix = sequence > 1 ? QStringLiteral("_%1").arg(sequence) : QString();
    const QString prefix = label.isEmpty() ? baseName : baseName + u' ' + label;
    return QStringLiteral("%1 %2%3.qdb").arg(prefix, when.toString(kStampFormat), suffix);
}

QString formatBackupLabel(int format)
{
    return QStringLiteral("before format %1").arg(format);
}

std::optional<BackupEntry> parseBackupName(const QString& baseName, const QString& fileName)
{
    static const QRegularExpression stamp(QStringLiteral(
        "^(?:(before format [1-9]\\d{0,5}) )?(\\d{4}-\\d{2}-\\d{2} \\d{2}\\.\\d{2}\\.\\d{2})(?:_([1-9]\\d{0,5}))?\\.qdb$"));
    const QString prefix = baseName + u' ';
    if (!fileName.startsWith(prefix))
        return std::nullopt;
    const QRegularExpressionMatch m = stamp.match(QStringView(fileName).mid(prefix.size()));
    if (!m.hasMatch())
        return std::nullopt;
    BackupEntry entry;
    entry.label = m.captured(1);
    entry.when = QDateTime::fromString(m.captured(2), kStampFormat);
    if (!entry.when.isValid())
        return std::nullopt;
    entry.sequence = m.capturedLength(3) ? m.captured(3).toInt() : 1;
    if (entry.sequence == 1 && m.capturedLength(3))
        return std::nullopt;  // "_1" is never written: the first of a second has no suffix
    return entry;
}

std::vector<BackupEntry> listBackups(const QString& file)
{
    return listBackupsIn(backupFolder(file), file);
}

std::vector<BackupEntry> listBackupsIn(const QString& folderPath, const QString& file)
{
    const QString baseName = QFileInfo(file).completeBaseName();
    const QDir folder(folderPath);
    std::vector<BackupEntry> out;
    for (const QFileInfo& info : folder.entryInfoList({baseName + QStringLiteral(" *.qdb")}, QDir::Files)) {
        std::optional<BackupEntry> entry = parseBackupName(baseName, info.fileName());
        if (!entry)
            continue;
        entry->path = info.absoluteFilePath();
        out.push_back(*entry);
    }
    std::sort(out.begin(), out.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.when != b.when ? a.when < b.when : a.sequence < b.sequence;
    });
    return out;
}

QString nextBackupPath(const QString& file, const QDateTime& when, const QString& label)
{
    return nextBackupPathIn(backupFolder(file), file, when, label);
}

QString nextBackupPathIn(const QString& folderPath, const QString& file, const QDateTime& when, const QString& label)
{
    const QString baseName = QFileInfo(file).completeBaseName();
    const QDir folder(folderPath);
    // After the last of the same second, never in a gap pruning left: the newest must sort last,
    // or the next prune would take it for the oldest.
    int sequence = 1;
    const QString stamp = when.toString(kStampFormat);
    for (const BackupEntry& b : listBackupsIn(folderPath, file))
        if (b.when.toString(kStampFormat) == stamp)
            sequence = std::max(sequence, b.sequence + 1);
    for (;; ++sequence) {
        const QString path = folder.filePath(backupFileName(baseName, when, sequence, label));
        if (!QFileInfo::exists(path) && !QFileInfo::exists(partPathOf(path)))
            return path;
    }
}

QStringList pruneBackups(const QString& file, int keep)
{
    return pruneBackupsIn(backupFolder(file), file, keep);
}

QStringList pruneBackupsIn(const QString& folder, const QString& file, int keep)
{
    QStringList failed;
    std::vector<BackupEntry> backups = listBackupsIn(folder, file);
    // A backup made for a purpose (the file as it was before an upgrade) stays until the user
    // removes it: it is the one copy an older program can still open.
    std::erase_if(backups, [](const BackupEntry& b) { return !b.label.isEmpty(); });
    const std::size_t excess = backups.size() > std::size_t(keep) ? backups.size() - std::size_t(keep) : 0;
    for (std::size_t i = 0; i < excess; ++i)
        if (!QFile::remove(backups[i].path))
            failed << backups[i].path;
    return failed;
}

// ---- The copy ----------------------------------------------------------------------------------

BackupCopy::BackupCopy(sqlite::Connection& source, QString target, const QByteArray& key)
    : source_(&source), target_(std::move(target)), work_(partPathOf(target_)), key_(key)
{
    QFile::remove(work_);
    QFile::remove(work_ + QStringLiteral("-journal"));
    try {
        // A copy of a file keyed with a passphrase of its own is keyed the same way, under a
        // salt of its own; the key given opens both.
        const char* from = sqlite3_db_filename(source.handle(), "main");
        const bool ownPassphrase = from && sqlite::carriesPassphrase(QString::fromUtf8(from));
        dest_ = sqlite::Connection(work_, ownPassphrase ? sqlite::newPassphraseKey(key_) : key_, sqlite::Connection::Mode::Create);
        // A small cache: copied pages are written as the copy goes, not all at its last step,
        // which held the window for seconds on the benchmark file. No journal: the work file
        // takes its name only when complete and checked, and is thrown away otherwise. Its one sync
        // comes before the rename (verifyAndName).
        dest_.exec(QStringLiteral("PRAGMA cache_size = -4096"));
        dest_.exec(QStringLiteral("PRAGMA journal_mode = OFF"));
        dest_.exec(QStringLiteral("PRAGMA synchronous = OFF"));
    } catch (...) {
        dest_.close();
        QFile::remove(work_);
        throw;
    }
    backup_ = sqlite3_backup_init(dest_.handle(), "main", source.handle(), "main");
    if (!backup_) {
        const jet::DbError error = sqlite::errorFor(sqlite3_errcode(dest_.handle()),
                                                    QString::fromUtf8(sqlite3_errmsg(dest_.handle())), work_);
        discard();
        throw error;
    }
}

BackupCopy::~BackupCopy()
{
    if (!done_)
        discard();
}

void BackupCopy::discard()
{
    if (backup_) {
        sqlite3_backup_finish(backup_);
        backup_ = nullptr;
    }
    dest_.close();
    QFile::remove(work_ + QStringLiteral("-journal"));
    QFile::remove(work_);
}

bool BackupCopy::step(int pages)
{
    if (!backup_)
        return true;
    const int rc = sqlite3_backup_step(backup_, pages);
    if (rc == SQLITE_DONE)
        return true;
    if (rc == SQLITE_OK)
        return false;
    // The engine keeps the reason on the destination connection (a full disk, an I/O error) or,
    // for a source it cannot read, in the code itself.
    const jet::DbError error = sqlite::errorFor(rc, QString::fromUtf8(sqlite3_errstr(rc)), work_);
    discard();
    throw error;
}

std::int64_t BackupCopy::pagesTotal() const
{
    return backup_ ? sqlite3_backup_pagecount(backup_) : 0;
}

std::int64_t BackupCopy::pagesCopied() const
{
    return backup_ ? sqlite3_backup_pagecount(backup_) - sqlite3_backup_remaining(backup_) : 0;
}

void BackupCopy::finish()
{
    completeCopy();
    Expected expected;
    try {
        expected = expectedOf(*source_);
    } catch (...) {
        discard();
        throw;
    }
    verifyAndName(expected);
}

void BackupCopy::completeCopy()
{
    try {
        while (!step(-1)) {
        }
        const int rc = sqlite3_backup_finish(backup_);
        backup_ = nullptr;
        if (rc != SQLITE_OK)
            throw sqlite::errorFor(rc, QString::fromUtf8(sqlite3_errmsg(dest_.handle())), work_);
        dest_.close();
    } catch (...) {
        discard();
        throw;
    }
}

void BackupCopy::verifyAndName(const Expected& expected)
{
    try {
        // Written without waiting for the disk at each step: it must be there before the name is.
        const int fd = ::open(QFile::encodeName(work_).constData(), O_RDONLY);
        const bool synced = fd >= 0 && ::fsync(fd) == 0;
        if (fd >= 0)
            ::close(fd);
        if (!synced)
            throw jet::DbError(jet::err::DiskOrNetworkError,
                               QStringLiteral("Disk or network error (the copy %1 could not be written to the disk).").arg(work_));
        checkCopy(expected, work_, key_);
        QFile work(work_);
        if (!work.rename(target_))
            throw jet::DbError(jet::err::CannotOpenFile,
                               QStringLiteral("The finished copy cannot take the name %1 (%2).").arg(target_, work.errorString()));
        done_ = true;
    } catch (...) {
        discard();
        throw;
    }
}

BackupCopy::Expected expectedOf(sqlite::Connection& source)
{
    BackupCopy::Expected expected;
    expected.pages = count(source, QStringLiteral("PRAGMA main.page_count"));
    expected.format = static_cast<int>(count(source, QStringLiteral("PRAGMA main.user_version")));
    for (const TableDef& table : schemaTables(expected.format))
        expected.rows.push_back(count(source, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QLatin1String(table.name))));
    return expected;
}

BackupCopy::Expected expectedOf(const QString& path, const QByteArray& key)
{
    sqlite::Connection source(path, key, sqlite::Connection::Mode::ReadOnly);
    source.verifyReadable(path);
    return expectedOf(source);
}

void checkCopy(const BackupCopy::Expected& expected, const QString& copy, const QByteArray& key)
{
    // The pages came from a file read whole when it was opened; what can still go wrong is the
    // writing, which the page count, the schema and the counts (which read the tables' and
    // indexes' pages, each authenticated) show. The full quick check doubled the backup's time.
    sqlite::Connection check(copy, key, sqlite::Connection::Mode::ReadOnly);
    check.verifyReadable(copy);
    const int format = verifySchema(check, copy);
    if (format != expected.format)
        throw jet::DbError(jet::err::DatabaseCorrupt,
                           QStringLiteral("The copy is of format %1 instead of %2.").arg(format).arg(expected.format));
    const std::int64_t pages = count(check, QStringLiteral("PRAGMA main.page_count"));
    if (pages != expected.pages)
        throw jet::DbError(jet::err::DatabaseCorrupt,
                           QStringLiteral("The copy holds %1 pages instead of %2.").arg(pages).arg(expected.pages));
    std::size_t i = 0;
    for (const TableDef& table : schemaTables(format)) {
        const std::int64_t after = count(check, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QLatin1String(table.name)));
        const std::int64_t before = i < expected.rows.size() ? expected.rows[i] : -1;
        ++i;
        if (before != after)
            throw jet::DbError(jet::err::DatabaseCorrupt, QStringLiteral("The copy holds %1 rows of %2 instead of %3.")
                                                              .arg(after)
                                                              .arg(QLatin1String(table.name))
                                                              .arg(before));
    }
}

void copyChecked(sqlite::Connection& source, const QString& target, const QByteArray& key)
{
    BackupCopy copy(source, target, key);
    copy.finish();
}

void prepareBackupFolder(const QString& file)
{
    const QString folderPath = backupFolder(file);
    const QString shown = QDir::toNativeSeparators(folderPath);
    const QFileInfo folder(folderPath);
    if (folder.exists() && !folder.isDir())
        throw BackupError{shown, QStringLiteral("A file of that name stands where the folder belongs.")};
    if (!QDir().mkpath(folderPath))
        throw BackupError{shown, QStringLiteral("The folder cannot be made there (permission denied, or the disk is full).")};
    if (!QFileInfo(folderPath).isWritable())
        throw BackupError{shown, QStringLiteral("The folder cannot be written to (permission denied).")};
}

void copyCompared(const QString& file, const QString& work, const CopyProgress& progress)
{
    if (const auto why = copyFileBytes(file, work, progress))
        throw jet::DbError(jet::err::DiskOrNetworkError,
                           QStringLiteral("Disk or network error (the copy %1 could not be written: %2).").arg(work, *why));
    if (!sameFileBytes(file, work))
        throw jet::DbError(jet::err::DatabaseCorrupt, QStringLiteral("The copy %1 differs from the file.").arg(work));
}

void checkAndName(const QString& work, const QString& target, const QByteArray& key)
{
    {
        sqlite::Connection check(work, key, sqlite::Connection::Mode::ReadOnly);
        check.verifyReadable(work);
        verifySchema(check, work);
    }
    QFile named(work);
    if (!named.rename(target))
        throw jet::DbError(jet::err::CannotOpenFile,
                           QStringLiteral("The finished copy cannot take the name %1 (%2).").arg(target, named.errorString()));
}

namespace {

// The backup itself, in whichever folder it goes to; the folder is ready.
QString writeBackupIn(sqlite::Connection& source, const QString& folder, const QString& file, const QByteArray& key,
                      const QString& label, const CopyProgress& progress)
{
    const QString shown = QDir::toNativeSeparators(folder);
    const QString target = nextBackupPathIn(folder, file, backupClock(), label);
    const QString work = partPathOf(target);
    try {
        // The read transaction's shared lock keeps any writer out until the copy is compared.
        source.exec(QStringLiteral("BEGIN"));
        const auto endRead = qScopeGuard([&] {
            // Ending a read cannot lose anything; a failure to end it shows at the next write.
            try {
                source.exec(QStringLiteral("COMMIT"));
            } catch (const std::exception&) {
            }
        });
        count(source, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        copyCompared(file, work, progress);
        checkAndName(work, target, key);
    } catch (const std::exception& e) {
        QFile::remove(work);
        throw BackupError{shown, reasonOf(e)};
    }
    // A backup that cannot be removed is kept; the new one is complete either way.
    pruneBackupsIn(folder, file);
    return target;
}

} // namespace

void checkAwayFolder(const QString& folderPath)
{
    const QString shown = QDir::toNativeSeparators(folderPath);
    const QFileInfo folder(folderPath);
    if (!folder.exists())
        throw BackupError{shown, QStringLiteral("The folder is not there (a drive that is not plugged in, or a folder "
                                                "moved or removed).")};
    if (!folder.isDir())
        throw BackupError{shown, QStringLiteral("That is a file, not a folder.")};
    if (!folder.isWritable())
        throw BackupError{shown, QStringLiteral("The folder cannot be written to (permission denied, or a read-only drive).")};
}

QString writeBackup(sqlite::Connection& source, const QString& file, const QByteArray& key, const QString& label)
{
    prepareBackupFolder(file);
    return writeBackupIn(source, backupFolder(file), file, key, label, {});
}

QString writeBackupTo(sqlite::Connection& source, const QString& file, const QByteArray& key, const QString& folder,
                      const CopyProgress& progress)
{
    checkAwayFolder(folder);
    return writeBackupIn(source, folder, file, key, {}, progress);
}

QString copyBackupTo(const QString& backup, const QString& file, const QByteArray& key, const QString& folder,
                     const CopyProgress& progress)
{
    checkAwayFolder(folder);
    const QString target = QDir(folder).filePath(QFileInfo(backup).fileName());
    if (QFileInfo::exists(target))
        return target;
    const QString work = partPathOf(target);
    try {
        QFile::remove(work);
        copyCompared(backup, work, progress);
        checkAndName(work, target, key);
    } catch (const std::exception& e) {
        QFile::remove(work);
        throw BackupError{QDir::toNativeSeparators(folder), reasonOf(e)};
    }
    pruneBackupsIn(folder, file);
    return target;
}

QString stageRestore(const QString& backup, const QString& file, const QByteArray& key)
{
    const QString staged = restoringPath(file);
    QFile::remove(staged);
    sqlite::Connection source(backup, key, sqlite::Connection::Mode::ReadOnly);
    source.verifyReadable(backup);
    verifySchema(source, backup);
    // The copy is first written as "<staged>.part" and takes the staged name when checked.
    copyChecked(source, staged, key);
    return staged;
}

void replaceByStaged(const QString& staged, const QString& file)
{
    if (const auto reason = replaceFileBy(staged, file)) {
        QFile::remove(staged);
        throw jet::DbError(jet::err::CannotOpenFile, QStringLiteral("The restored copy cannot take the name %1 (%2).").arg(file, *reason));
    }
}

BackupSummary summarizeBackup(const BackupEntry& entry, const QByteArray& key)
{
    BackupSummary summary;
    summary.entry = entry;
    summary.bytes = QFileInfo(entry.path).size();
    try {
        sqlite::Connection c(entry.path, key, sqlite::Connection::Mode::ReadOnly);
        c.verifyReadable(entry.path);
        verifySchema(c, entry.path);
        summary.members = count(c, QStringLiteral("SELECT count(*) FROM Members"));
        summary.donations = count(c, QStringLiteral("SELECT count(*) FROM Payments"));
        summary.readable = true;
    } catch (const std::exception& e) {
        summary.problem = reasonOf(e);
    }
    return summary;
}

} // namespace db
