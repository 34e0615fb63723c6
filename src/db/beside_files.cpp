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
