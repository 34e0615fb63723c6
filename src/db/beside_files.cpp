#include "db/beside_files.h"

#include <QDir>
#include <QFileInfo>

namespace db {

namespace {

QString besideDatabase(const QString& database, const QString& name)
{
    return QFileInfo(database).absoluteDir().filePath(name);
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

QString setAsidePath(const QString& database, int number)
{
    return besideDatabase(database, QStringLiteral("~QDB%1.TMP").arg(number));
}

QString compactWorkPath(const QString& database, int number)
{
    return besideDatabase(database, QStringLiteral("~QDB%1.NEW").arg(number));
}

QString restoringPath(const QString& database)
{
    return QFileInfo(database).absoluteFilePath() + QStringLiteral(".restoring");
}

QString partPathOf(const QString& target)
{
    return target + QStringLiteral(".part");
}

QString newFileTemplate(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral(".quil-new-XXXXXX"));
}

} // namespace db
