#include "db/file_lock.h"

#include "db/beside_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace db {

namespace {

// The one byte locked, far past the few lines written at the start: a file system that enforces
// byte-range locks on reads (an SMB share of a Windows server) still lets others read who holds it.
constexpr off_t kLockedByte = off_t(1) << 30;
constexpr qint64 kMostTextRead = 4096;

// A second open of the lock file in this process would meet the first one's lock, so the process
// opens each lock file once and shares it: a count of the shares, under one mutex.
struct Held {
    int fd = -1;
    int shares = 0;
};

std::mutex& registryMutex()
{
    static std::mutex m;
    return m;
}

std::map<QString, Held>& registry()
{
    static std::map<QString, Held> held;
    return held;
}

struct flock lockedByte(short type)
{
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = kLockedByte;
    range.l_len = 1;
    return range;
}

// An open file description's lock: it belongs to the descriptor, so nothing else in the process
// that opens and closes the lock file (a reader of who holds it) drops it, as closing any
// descriptor drops a classic fcntl lock of the process. Where the kernel has none: the classic lock.
int lockOnce(int fd)
{
    struct flock range = lockedByte(F_WRLCK);
#ifdef F_OFD_SETLK
    if (::fcntl(fd, F_OFD_SETLK, &range) == 0)
        return 0;
    if (errno != EINVAL)
        return -1;
    range = lockedByte(F_WRLCK);
#endif
    return ::fcntl(fd, F_SETLK, &range);
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A holder removes its lock file when it lets go: the lock just taken is only ours when the name
// still names the file it was taken on.
bool stillNamed(int fd, const QByteArray& path)
{
    struct stat opened {}, named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 && sameFile(opened, named);
}

// Another machine reads the lock file through its own cache: on a network file system the lines
// are written through to the server at once.
bool onNetworkFileSystem(int fd)
{
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969UL:      // NFS
    case 0x517BUL:      // SMB
    case 0xFF534D42UL:  // CIFS
    case 0xFE534D42UL:  // SMB2
    case 0x65735546UL:  // FUSE (sshfs and others)
    case 0x01021997UL:  // 9P
    case 0x00C36400UL:  // Ceph
    case 0x5346414FUL:  // AFS
        return true;
    default:
        return false;
    }
}

QString userName()
{
    const struct passwd* entry = ::getpwuid(::geteuid());
    if (!entry)
        return qEnvironmentVariable("USER");
    const QString login = QString::fromLocal8Bit(entry->pw_name);
    const QString fullName = QString::fromLocal8Bit(entry->pw_gecos).section(u',', 0, 0).trimmed();
    return fullName.isEmpty() || fullName == login ? login : QStringLiteral("%1 (%2)").arg(fullName, login);
}

QByteArray holderText()
{
    const auto line = [](const QString& value) { return QString(value).replace(u'\n', u' ').toUtf8(); };
    return "QUIL holds this database file open.\nuser=" + line(userName()) + "\nhost=" + line(QSysInfo::machineHostName()) +
           "\npid=" + QByteArray::number(::getpid()) + "\nsince=" +
           QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8() + '\n';
}

void writeHolder(int fd)
{
    // Who holds the file is for the message of the next program only: a lock without it still holds.
    const QByteArray text = holderText();
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, text.constData(), std::size_t(text.size()), 0) != text.size())
        return;
    if (onNetworkFileSystem(fd))
        ::fdatasync(fd);
}

std::optional<LockHolder> readHolder(int fd)
{
    QByteArray text(kMostTextRead, '\0');
    const ssize_t n = ::pread(fd, text.data(), std::size_t(text.size()), 0);
    if (n <= 0)
        return std::nullopt;
    text.truncate(n);
    LockHolder holder;
    for (const QByteArray& line : text.split('\n')) {
        const int eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1)).trimmed();
        if (key == "user")
            holder.user = value;
        else if (key == "host")
            holder.host = value;
        else if (key == "pid")
            holder.pid = value.toLongLong();
        else if (key == "since")
            holder.since = QDateTime::fromString(value, Qt::ISODate);
    }
    if (holder.user.isEmpty() && holder.host.isEmpty() && !holder.since.isValid())
        return std::nullopt;
    return holder;
}

// A lock file that cannot be opened for writing (a read-only folder, another user's file): when
// someone holds it the file is refused all the same, else it is opened without a lock.
LockAttempt tryReadOnly(const QByteArray& path)
{
    LockAttempt attempt;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return attempt;
    struct flock range = lockedByte(F_WRLCK);
    if (::fcntl(fd, F_GETLK, &range) == 0 && range.l_type != F_UNLCK)
        attempt.refusal = FileInUse{readHolder(fd)};
    ::close(fd);
    return attempt;
}

// The lock file's permission bits follow the database's, so whoever may write the database can
// take over a lock file its last holder left.
void shareLike(int fd, const QString& database)
{
    struct stat db {};
    if (::stat(QFile::encodeName(database).constData(), &db) == 0)
        ::fchmod(fd, db.st_mode & 0666);
}

} // namespace

QString FileInUse::reason() const
{
    const QString then = QStringLiteral("It can be opened here once it is closed there.");
    if (!holder)
        return QStringLiteral("It is open in QUIL in another session or on another computer. ") + then;
    QString who = holder->user.isEmpty() ? QStringLiteral("another user") : holder->user;
    if (!holder->host.isEmpty())
        who += QStringLiteral(" on the computer %1").arg(holder->host);
    if (holder->since.isValid())
        who += QStringLiteral(" since %1").arg(holder->since.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    return QStringLiteral("It is open in QUIL by %1. ").arg(who) + then;
}

FileLock::FileLock(const FileLock& other) : path_(other.path_)
{
    if (path_.isEmpty())
        return;
    const std::lock_guard guard(registryMutex());
    if (auto it = registry().find(path_); it != registry().end())
        ++it->second.shares;
    else
        path_.clear();
}

FileLock& FileLock::operator=(const FileLock& other)
{
    if (this != &other) {
        FileLock copy(other);
        *this = std::move(copy);
    }
    return *this;
}

FileLock::FileLock(FileLock&& other) noexcept : path_(std::move(other.path_))
{
    other.path_.clear();
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

FileLock::~FileLock()
{
    release();
}

void FileLock::release()
{
    if (path_.isEmpty())
        return;
    const std::lock_guard guard(registryMutex());
    auto it = registry().find(path_);
    if (it != registry().end() && --it->second.shares == 0) {
        // The name goes while the lock is still held, so nobody takes a lock on a file about to go.
        const QByteArray name = QFile::encodeName(path_);
        if (stillNamed(it->second.fd, name))
            ::unlink(name.constData());
        ::close(it->second.fd);
        registry().erase(it);
    }
    path_.clear();
}

LockAttempt lockDatabaseFile(const QString& database)
{
    LockAttempt attempt;
    const QString path = lockPath(database);
    const QByteArray name = QFile::encodeName(path);
    const std::lock_guard guard(registryMutex());
    if (auto it = registry().find(path); it != registry().end()) {
        ++it->second.shares;
        attempt.lock.path_ = path;
        return attempt;
    }
    // A few rounds at most: each is lost only to a holder that let go and removed the name meanwhile.
    for (int round = 0; round < 8; ++round) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0)
            return errno == EACCES || errno == EPERM || errno == EROFS ? tryReadOnly(name) : attempt;
        if (lockOnce(fd) != 0) {
            if (errno == EAGAIN || errno == EACCES)
                attempt.refusal = FileInUse{readHolder(fd)};
            // Otherwise the file system keeps no locks (ENOLCK and the like): opened unlocked.
            ::close(fd);
            return attempt;
        }
        if (!stillNamed(fd, name)) {
            ::close(fd);
            continue;
        }
        shareLike(fd, database);
        writeHolder(fd);
        registry()[path] = Held{fd, 1};
        attempt.lock.path_ = path;
        attempt.first = true;
        return attempt;
    }
    return attempt;
}

std::optional<LockHolder> lockHolderNamed(const QString& database)
{
    const QString path = lockPath(database);
    const std::lock_guard guard(registryMutex());
    // Read through the descriptor held, so that even the classic lock is never dropped by a close.
    if (auto it = registry().find(path); it != registry().end())
        return readHolder(it->second.fd);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    std::optional<LockHolder> holder = readHolder(fd);
    ::close(fd);
    return holder;
}

bool lockOfAnotherHeldIn(const QString& database)
{
    const QString own = lockPath(database);
    const QDir folder = QFileInfo(own).absoluteDir();
    for (const QString& entry : folder.entryList({QStringLiteral(".*.lock")}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (!isLockFileName(entry))
            continue;
        const QString path = folder.filePath(entry);
        if (path == own)
            continue;
        {
            // Held here: the test below would find this process's own lock only as another's.
            const std::lock_guard guard(registryMutex());
            if (registry().count(path))
                return true;
        }
        if (tryReadOnly(QFile::encodeName(path)).refusal)
            return true;
    }
    return false;
}

} // namespace db
