#pragma once
// One database file, one running program. While a file is open the program holds an
// operating-system lock (fcntl, an open file description's lock, which also works on network
// folders) on the file's lock file (beside_files.h), and writes there who holds it and since when. The system lets the lock go
// when the process ends, however it ends, so a program that was killed never blocks anyone; a
// lock file it left is simply taken over. The database itself is not locked: the program's own
// further connections to it (backups, checks, reports) read it as before.
//
// Within the process a file is held once, shared by everyone who locks it (a reopen, a command
// keeping the file while it closes and opens it again); the lock goes with the last of them.
#include <QDateTime>
#include <QString>
#include <optional>

namespace db {

// Who holds a database file, as the holder wrote it in the lock file.
struct LockHolder {
    QString user;
    QString host;
    qint64 pid = 0;
    QDateTime since;  // invalid when not known
};

// The refusal of a file another running program holds.
struct FileInUse {
    std::optional<LockHolder> holder;  // nothing when the lock file says nothing readable
    // Why the file cannot be opened, naming the holder where known, for the open's message.
    QString reason() const;
};

// The error number an open refused for a file in use shows ("file already in use").
inline constexpr int kFileInUse = 3045;

struct LockAttempt;
LockAttempt lockDatabaseFile(const QString& database);

// A share in this process's lock of one database file; empty when nothing is held. Copies share
// the lock; it goes when the last share goes (its lock file with it).
class FileLock {
public:
    FileLock() = default;
    FileLock(const FileLock& other);
    FileLock& operator=(const FileLock& other);
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    ~FileLock();

    bool held() const { return !path_.isEmpty(); }
    void release();

private:
    friend LockAttempt lockDatabaseFile(const QString& database);
    QString path_;  // the lock file
};

struct LockAttempt {
    FileLock lock;
    // The lock was taken now: neither another program nor this one held the file, so what a
    // stopped run left beside it is nobody's work.
    bool first = false;
    std::optional<FileInUse> refusal;  // set: another program holds the file
};

// Locks a database file (which need not exist yet: a new file is locked under its name while it
// is made). Where the folder or its file system allows no lock (a read-only folder, a file system
// without locks), the file is not refused: nothing is held and the attempt is not first.
LockAttempt lockDatabaseFile(const QString& database);

// The holder a database's lock file names, held or left by a stopped program (nothing when there
// is no lock file or nothing readable in it).
std::optional<LockHolder> lockHolderNamed(const QString& database);

// Whether the lock of another database in the same folder is held, by this process or another:
// some program may then be working in the folder.
bool lockOfAnotherHeldIn(const QString& database);

} // namespace db
