#include "schema/own_files.h"

#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "schema/connect_key.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <optional>
#include <sys/stat.h>
#include <utility>

namespace db {

namespace {

// A file's identity: the same for every name that reaches it (symbolic and hard links too).
std::optional<std::pair<dev_t, ino_t>> identity(const QString& path)
{
    struct stat st = {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return std::pair{st.st_dev, st.st_ino};
}

bool sameFile(const QString& a, const QString& b)
{
    const auto first = identity(a);
    return first && first == identity(b);
}

} // namespace

QString backupFolder(const QString& file)
{
    return QFileInfo(file).absoluteDir().filePath(QStringLiteral("Backups"));
}

namespace {

enum class Kind { Other, ProgramDatabase, Unknown };

Kind probe(const QString& path)
{
    try {
        sqlite::Connection c(path, databasePassword().toUtf8(), sqlite::Connection::Mode::ReadOnly);
        sqlite::Statement s = c.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'Members'"));
        return s.step() ? Kind::ProgramDatabase : Kind::Other;
    } catch (const jet::DbError& e) {
        return e.number() == jet::err::NotValidPassword ? Kind::Other : Kind::Unknown;
    }
}

Kind kindOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return Kind::Other;
    if (info.suffix().compare(QStringLiteral("qdb"), Qt::CaseInsensitive) == 0)
        return Kind::ProgramDatabase;
    // "Not a database" is also what a failed read of the key's salt looks like: the page then
    // decrypts to noise. Only a file that says so twice is some other file; any other failure
    // tells nothing, and a file that may be a database is not written over.
    const Kind first = probe(path);
    return first == Kind::Other ? probe(path) : first;
}

} // namespace

QString lockPath(const QString& database)
{
    const QFileInfo info(database);
    QString real = info.canonicalFilePath();
    if (real.isEmpty()) {
        // A file still to be made (New Blank, Clone and Clear) is locked under the name it takes.
        const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        real = QDir(folder.isEmpty() ? info.absolutePath() : folder).filePath(info.fileName());
    }
    const QFileInfo file(real);
    return file.absoluteDir().filePath(u'.' + file.fileName() + QStringLiteral(".lock"));
}

bool isLockFileName(const QString& fileName)
{
    return fileName.size() > 6 && fileName.startsWith(u'.') && fileName.endsWith(QStringLiteral(".lock"));
}

QString ownFileRefusal(const QString& path, const QString& openDatabase, const QString& templatePath)
{
    if (!openDatabase.isEmpty()) {
        if (sameFile(path, openDatabase))
            return QStringLiteral("It is the database QUIL has open: writing there would destroy its members and donations.");
        if (sameFile(QFileInfo(path).absolutePath(), backupFolder(openDatabase)))
            return QStringLiteral("It is in the folder where QUIL keeps the backups of the open database.");
    }
    if (isLockFileName(QFileInfo(path).fileName()))
        return QStringLiteral("It is a lock file that tells other copies of QUIL a database is open.");
    if (sameFile(path, templatePath))
        return QStringLiteral("It is QUIL's template for new database files.");
    switch (kindOf(path)) {
    case Kind::ProgramDatabase: return QStringLiteral("It is a QUIL database file.");
    case Kind::Unknown: return QStringLiteral("It could not be read to tell whether it is a QUIL database file.");
    case Kind::Other: break;
    }
    return {};
}

} // namespace db
