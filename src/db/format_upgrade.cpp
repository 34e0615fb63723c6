#include "db/format_upgrade.h"

#include "db/backup_file.h"
#include "platform/dao/database.h"
#include "platform/dao/write_unit.h"
#include "platform/vb/skip_on_failure.h"
#include "schema/schema.h"

#include <QFile>
#include <QScopeGuard>

namespace db {

namespace {

constexpr int kSortThreads = 4;

} // namespace

UpgradeResult upgradeFile(dao::Database& database, const QString& file, int format, const QByteArray& key)
{
    UpgradeResult result;
    try {
        result.backup = writeBackup(database.connection(), file, key, formatBackupLabel(kSchemaVersion));
    } catch (const BackupError& e) {
        result.failure = QStringLiteral("no copy of it as it is could be made in %1: %2").arg(e.folder, e.reason);
        return result;
    }
    try {
        // The new indexes are built by SQLite's sorter, which may share a large table's sort
        // between the machine's cores.
        database.connection().exec(QStringLiteral("PRAGMA threads = %1").arg(kSortThreads));
        const auto oneThread = qScopeGuard([&] { skipOnFailure([&] { database.connection().exec(QStringLiteral("PRAGMA threads = 0")); }); });
        dao::WriteUnit unit(database);
        upgradeSchema(unit.connection(), format);
        unit.commit();
    } catch (const std::exception& e) {
        // The file is as it was, so the copy of it says nothing new; the next open makes another.
        QFile::remove(result.backup);
        result.failure = reasonOf(e);
        result.backup.clear();
    }
    return result;
}

QString upgradedNote()
{
    return QStringLiteral("This file was brought up to date (format %1). A copy of it as it was is in Backups.").arg(kSchemaVersion);
}

QString upgradeRefusal(int format, const QString& reason)
{
    return QStringLiteral("The file is of an earlier format (%1) and could not be brought up to date (format %2): %3\n\n"
                          "The file was not changed. Open it where it can be written to, with room on the disk.")
        .arg(format)
        .arg(kSchemaVersion)
        .arg(reason);
}

} // namespace db
