#pragma once
// Backups of a database file, without the window: their folder and names, the copy itself and
// its check, the pruning, and what a backup holds.
//
// A backup of "Club.qdb" is "Backups/Club 2026-12-08 17.30.05.qdb" beside the file: the names of
// one file sort by the time they were made, and a second backup in the same second is
// "... 17.30.05_2.qdb". The copy is taken with SQLite's online backup API from the open
// connection, so it is one consistent state of the file, keyed with the same password. It is
// written under its name + ".part", checked (opened with the key, the schema check, the same
// number of pages and of rows in every table) and only then renamed: a backup under a
// program name is always complete.
#include "db/file_copy.h"
#include "platform/jet/db_error.h"
#include "platform/dao/sqlite.h"
#include "schema/own_files.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

struct sqlite3_backup;

namespace db {

// The time backups are named by; tests set a fixed clock. An empty function: the local time.
QDateTime backupClock();
void setBackupClock(std::function<QDateTime()> clock);

inline constexpr int kBackupsKept = 10;

// The name of a backup of a file with that base name ("Club" for Club.qdb); sequence 1 has no
// suffix, a later one of the same second "_2", "_3", ... A backup made for a purpose carries a
// label before its time: "Club before format 2 2026-12-08 17.30.05.qdb".
QString backupFileName(const QString& baseName, const QDateTime& when, int sequence = 1, const QString& label = {});
// The label of the backup made before a file is brought up to that format ("before format 2").
QString formatBackupLabel(int format);

struct BackupEntry {
    QString path;
    QDateTime when;
    int sequence = 1;
    QString label;  // empty for the day's backups and those before commands
};
// The time and sequence a name stands for, when it is a backup name of that base name.
std::optional<BackupEntry> parseBackupName(const QString& baseName, const QString& fileName);
// The program's backups of the file, oldest first. Files it did not name are left out.
std::vector<BackupEntry> listBackups(const QString& file);
// The path a backup made at `when` takes: the first sequence whose name (and work name) is free.
QString nextBackupPath(const QString& file, const QDateTime& when, const QString& label = {});
// Removes the oldest of the file's backups until `keep` remain; other files and the backups with
// a label are not touched. Returns the paths that could not be removed.
QStringList pruneBackups(const QString& file, int keep = kBackupsKept);

// The same three for the file's backups in a folder of the user's choice (File > Back Up To...):
// the same names, so only the names written for this file's base name are ever listed or removed.
std::vector<BackupEntry> listBackupsIn(const QString& folder, const QString& file);
QString nextBackupPathIn(const QString& folder, const QString& file, const QDateTime& when, const QString& label = {});
QStringList pruneBackupsIn(const QString& folder, const QString& file, int keep = kBackupsKept);

// Why a backup could not be made: the folder and the reason, for the one message.
struct BackupError {
    QString folder;
    QString reason;
};

// A backup written page by page; nothing may write to the file meanwhile (the day's backup is
// copied by db::FileJobs, which every write waits for). Whatever ends it unfinished removes the
// work file.
class BackupCopy {
public:
    // Starts a copy of source's main database to target (target + ".part" while it is written).
    BackupCopy(sqlite::Connection& source, QString target, const QByteArray& key);
    ~BackupCopy();
    BackupCopy(const BackupCopy&) = delete;
    BackupCopy& operator=(const BackupCopy&) = delete;

    // Copies up to `pages` more pages (-1: all); true when every page is copied.
    bool step(int pages);
    // The source's pages and those copied, as of the last step (0 of 0 before the first).
    std::int64_t pagesTotal() const;
    std::int64_t pagesCopied() const;
    // Copies what is left, checks the copy against the source and gives it its name. Throws
    // jet::DbError; the work file is gone then.
    void finish();
    // finish() in two parts, so that the check can run on another thread while the window goes
    // on: completeCopy() copies what is left and closes the copy (on the source's thread);
    // verifyAndName() makes the closed copy durable, checks it against what the source holds and
    // renames it (on any one thread; it touches neither the source nor this object's connection).
    struct Expected {
        std::int64_t pages = 0;
        int format = 0;
        std::vector<std::int64_t> rows;  // per table of the file's format, in its order
    };
    void completeCopy();
    void verifyAndName(const Expected& expected);
    const QString& target() const { return target_; }

private:
    void discard();

    sqlite::Connection* source_;
    QString target_;
    QString work_;
    QByteArray key_;
    sqlite::Connection dest_;
    sqlite3_backup* backup_ = nullptr;
    bool done_ = false;
};

// Makes the file's Backups folder when it is missing and tests that it can be written to; throws
// BackupError.
void prepareBackupFolder(const QString& file);

// A folder chosen away from the file must be there already and writable: one that is missing is
// never made, since a stick not plugged in would otherwise get its folder on the computer's own
// disk, beside the file it was to protect. Throws BackupError.
void checkAwayFolder(const QString& folder);

// Makes a complete backup of `file`, open on `source`, now: its bytes as they lie on the disk,
// under a read transaction on the source that holds off every writer until the copy is compared.
// The file was read whole by the page check after it was opened (commands that back up first
// wait for its verdict) and has been written since only by the engine, so copying the
// encrypted pages as they are proves as much as the backup API's decrypting and encrypting
// each page, at a fraction of its time. The copy is synced, compared byte for byte with the
// file, opened with the key and schema-checked, given its name, and the backups beyond the
// last ten are pruned (a labelled copy, such as the one before an upgrade, is never pruned).
// Returns the path; throws BackupError, leaving nothing.
QString writeBackup(sqlite::Connection& source, const QString& file, const QByteArray& key, const QString& label = {});
// The same backup made in `folder` (checkAwayFolder's rules) and pruned there, for Back Up To.
QString writeBackupTo(sqlite::Connection& source, const QString& file, const QByteArray& key, const QString& folder,
                      const CopyProgress& progress = {});
// A checked backup of `file` (the day's, in the Backups folder) copied to `folder` under its own
// name, compared byte for byte, opened with the key and renamed, then that folder pruned. A copy
// of that name already there is kept and its path returned. Throws BackupError, leaving nothing.
QString copyBackupTo(const QString& backup, const QString& file, const QByteArray& key, const QString& folder,
                     const CopyProgress& progress = {});

// The two halves of a backup as bytes, for a caller that holds the read transaction itself
// (the day's backup): the file copied to `work` (with progress; false stops it) and compared byte
// for byte; then the closed copy opened with the key, schema-checked and renamed to `target`.
// Each throws jet::DbError and leaves `work` for the caller to remove.
void copyCompared(const QString& file, const QString& work, const CopyProgress& progress = {});
void checkAndName(const QString& work, const QString& target, const QByteArray& key);

// Copies a keyed file to target through the backup API and checks the copy as a backup is
// checked (target must not exist; a failure leaves nothing under it). Throws jet::DbError.
void copyChecked(sqlite::Connection& source, const QString& target, const QByteArray& key);

// Proves a copy whole against what its source holds: it opens with the key and passes the schema
// check, has as many pages, and every table has as many rows. Every page read is checked by
// SQLCipher's page authentication on the way. Throws jet::DbError.
BackupCopy::Expected expectedOf(sqlite::Connection& source);
// The same read through a connection of its own to the file (for another thread; the file must
// not be written meanwhile).
BackupCopy::Expected expectedOf(const QString& path, const QByteArray& key);
void checkCopy(const BackupCopy::Expected& expected, const QString& copy, const QByteArray& key);

// Restoring, in two steps so that the file is replaced in one rename or not at all: the backup
// copied beside the file under "<file>.restoring" and checked (returns that path; throws
// jet::DbError and leaves nothing), then that copy put in the file's place (the file must be
// closed; throws jet::DbError, and the copy is removed, the file untouched).
QString stageRestore(const QString& backup, const QString& file, const QByteArray& key);
void replaceByStaged(const QString& staged, const QString& file);

// What a backup holds, read with the key; readable false (and the reason) when it cannot be.
struct BackupSummary {
    BackupEntry entry;
    qint64 bytes = 0;
    bool readable = false;
    // Keyed with a passphrase of its own that the key given does not open (a backup made before
    // the file's passphrase was set or changed): asked for when the backup is chosen.
    bool locked = false;
    qint64 members = 0;
    qint64 donations = 0;
    QString problem;
};
BackupSummary summarizeBackup(const BackupEntry& entry, const QByteArray& key);

using jet::reasonOf;

} // namespace db
