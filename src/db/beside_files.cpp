#include "db/beside_files.h"

#include "db/backup_file.h"
#include "db/file_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace db {

namespace {

const QString kJournal = QStringLiteral("-journal");

QString besideDatabase(const QString& database, const QString& name)
{
    return QFileInfo(database).absoluteDir().filePath(name);
}

// The work names that do not carry the database's name: the repair's (numbers 1 to 100000, as
// the command draws them) and the new files' (QTemporaryFile's six letters or digits).
bool isFolderWorkName(const QString& name)
{
    static const QRegularExpression compact(QStringLiteral("^~QDB([1-9][0-9]{0,5})\\.(TMP|NEW)(-journal)?$"));
    static const QRegularExpression newFile(QStringLiteral("^\\.quil-new-[A-Za-z0-9]{6}(-journal)?$"));
    if (const QRegularExpressionMatch m = compact.match(name); m.hasMatch())
        return m.captured(1).toInt() <= 100000;
    return newFile.match(name).hasMatch();
}

// An unfinished backup of this database in its Backups folder: a backup name of its base name
// with ".part" (or that copy's journal) after it.
bool isUnfinishedBackup(const QString& baseName, const QString& name)
{
    QString copy = name;
    if (copy.endsWith(kJournal))
        copy.chop(kJournal.size());
    if (!copy.endsWith(QStringLiteral(".part")))
        return false;
    copy.chop(5);
    return parseBackupName(baseName, copy).has_value();
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

QStringList leftoversBeside(const QString& database, bool folderWide)
{
    QStringList found;
    const QString restoring = restoringPath(database);
    for (const QString& path : {restoring, restoring + kJournal, partPathOf(restoring), partPathOf(restoring) + kJournal})
        if (QFileInfo(path).isFile())
            found << path;

    const QString baseName = QFileInfo(database).completeBaseName();
    const QDir backups(backupFolder(database));
    for (const QString& name : backups.entryList({QStringLiteral("*.part"), QStringLiteral("*.part-journal")}, QDir::Files | QDir::Hidden))
        if (isUnfinishedBackup(baseName, name))
            found << backups.filePath(name);

    if (folderWide) {
        const QDir folder = QFileInfo(database).absoluteDir();
        for (const QString& name : folder.entryList({QStringLiteral("~QDB*"), QStringLiteral(".quil-new-*")},
                                                    QDir::Files | QDir::Hidden | QDir::System))
            if (isFolderWorkName(name))
                found << folder.filePath(name);
    }
    return found;
}

void removeLeftovers(const QString& database)
{
    const bool folderWide = !lockOfAnotherHeldIn(database);
    for (const QString& path : leftoversBeside(database, folderWide))
        QFile::remove(path);
}

} // namespace db
