#include "db/replace_file.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace db {

namespace {

// The folder's entries to the disk (best effort).
void syncFolder(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Best effort: a group the user is no member of cannot be given, and the bits still are. The group
// comes first, since a change of group clears the set-id bits.
void takeModeOf(const QByteArray& file, const QByteArray& copy)
{
    struct stat original {};
    if (::stat(file.constData(), &original) != 0)
        return;
    if (::chown(copy.constData(), static_cast<uid_t>(-1), original.st_gid) != 0) {
        // Keeps the user's own group.
    }
    ::chmod(copy.constData(), original.st_mode & 07777);
}

} // namespace

std::optional<QString> replaceFileBy(const QString& copy, const QString& file)
{
    const QByteArray copyName = QFile::encodeName(copy);
    const QByteArray fileName = QFile::encodeName(file);
    takeModeOf(fileName, copyName);
    if (::rename(copyName.constData(), fileName.constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    syncFolder(file);
    return std::nullopt;
}

} // namespace db
