#include "db/template_copy.h"

#include "db/beside_files.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "schema/connect_key.h"
#include "schema/schema.h"
#include "schema/template.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace db {

namespace {

// The classic numbers for the failures a file name can meet.
constexpr int kBadFileName = 52;
constexpr int kPathFileAccess = 75;
constexpr int kPathNotFound = 76;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Brings a fresh copy of the template up to the current format, in one transaction.
void upToDate(const QString& copy, const QString& password)
{
    sqlite::Connection connection(copy, password.toUtf8(), sqlite::Connection::Mode::ReadWrite);
    const int format = verifySchema(connection, copy);
    if (format == kSchemaVersion)
        return;
    sqlite::Transaction transaction(connection);
    upgradeSchema(connection, format);
    transaction.commit();
}

} // namespace

NameTest testNewFileName(const QString& path)
{
    NameTest test;
    const QByteArray native = QFile::encodeName(path);
    if (native.contains('\0')) {
        test.error = FileError{kBadFileName, QStringLiteral("Bad file name or number")};
        return test;
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        test.exists = true;
        return test;
    }
    const int error = errno;
    switch (error) {
    case ENOENT:
        // Not found is what a new name should give, but only inside a folder that is there.
        if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
            test.error = FileError{kPathNotFound, QStringLiteral("Path not found")};
        break;
    case ENOTDIR:
        test.error = FileError{kPathNotFound, QStringLiteral("Path not found")};
        break;
    case ENAMETOOLONG:
        test.error = FileError{kBadFileName, QStringLiteral("Bad file name or number (%1)").arg(systemReason(error))};
        break;
    default:
        // Permission denied and the like: the file may be there, it cannot be told.
        test.error = FileError{kPathFileAccess, QStringLiteral("Path/File access error (%1)").arg(systemReason(error))};
        break;
    }
    return test;
}

bool templateExists(const QString& appDir)
{
    return QFileInfo(appDir + QString::fromLatin1(kTemplateFileName)).isFile();
}

std::optional<QString> templateDamage(const QString& appDir, const QString& connect)
{
    const QString path = appDir + QStringLiteral("base.dat");
    try {
        sqlite::Connection connection(path, passwordOfConnect(connect).toUtf8(), sqlite::Connection::Mode::ReadOnly);
        connection.verifyReadable(path);
        verifySchema(connection, path);
        sqlite::Statement admin = connection.prepare(QStringLiteral("SELECT count(*) FROM Passwords"));
        if (!admin.step() || admin.int64(0) == 0)
            return QStringLiteral("it has no password list.");
    } catch (const jet::DbError& e) {
        return e.reason();
    }
    return std::nullopt;
}

std::optional<FileError> copyTemplate(const QString& appDir, const QString& target, const QString& connect, QString* unnamed)
{
    QFile source(appDir + QStringLiteral("base.dat"));
    if (!source.open(QIODevice::ReadOnly))
        return FileError{kPathFileAccess, QStringLiteral("Path/File access error (%1: %2)")
                                              .arg(source.fileName(), source.errorString())};
    const QFileInfo info(target);
    QTemporaryFile copy(newFileTemplate(info.absolutePath()));
    if (!copy.open())
        return FileError{kPathFileAccess, QStringLiteral("Path/File access error (%1)").arg(copy.errorString())};
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return FileError{kPathFileAccess, QStringLiteral("Path/File access error (%1: %2)")
                                              .arg(source.fileName(), source.errorString())};
    if (copy.write(bytes) != bytes.size() || !copy.flush() || ::fsync(copy.handle()) != 0)
        return FileError{kPathFileAccess, QStringLiteral("Path/File access error (%1)").arg(copy.errorString())};
    copy.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    try {
        upToDate(copy.fileName(), passwordOfConnect(connect));
    } catch (const jet::DbError& e) {
        removeUnfinishedFile(copy.fileName());
        return FileError{kPathFileAccess, QStringLiteral("Path/File access error (%1)").arg(e.reason())};
    }
    if (unnamed) {
        copy.setAutoRemove(false);
        *unnamed = copy.fileName();
        return std::nullopt;
    }
    // Never over an existing file: one may have appeared since the name was tested.
    if (!copy.rename(target))
        return FileError{kPathFileAccess, QStringLiteral("Path/File access error (%1)").arg(copy.errorString())};
    copy.setAutoRemove(false);
    return std::nullopt;
}

void removeUnfinishedFile(const QString& path)
{
    QFile::remove(path + QStringLiteral("-journal"));
    QFile::remove(path);
}

} // namespace db
