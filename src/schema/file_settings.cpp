#include "schema/file_settings.h"

#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/dao/write_unit.h"
#include "platform/jet/db_error.h"

namespace db {

QString readSetting(dao::Database& db, QStringView name, const QString& fallback)
{
    sqlite::Statement read =
        db.connection().prepare(QStringLiteral("SELECT SettingValue FROM Settings WHERE SettingName = ?1"));
    read.bind(1, name.toString());
    if (!read.step() || read.isNull(0))
        return fallback;
    return read.text(0);
}

int fiscalYearStartMonth(dao::Database& db)
{
    bool number = false;
    const int month = readSetting(db, kFiscalYearStart).trimmed().toInt(&number);
    return number && month >= 1 && month <= 12 ? month : 1;
}

std::optional<QString> writeSettings(dao::Database& db, const SettingValues& values)
{
    try {
        dao::WriteUnit unit(db);
        // The name is the table's key: a second write under a name replaces the first.
        sqlite::Statement write = unit.connection().prepare(
            QStringLiteral("INSERT OR REPLACE INTO Settings (SettingName, SettingValue) VALUES (?1, ?2)"));
        for (const auto& [name, value] : values) {
            write.bind(1, name.toString()).bind(2, value);
            write.step();
            write.reset();
        }
        unit.commit();
    } catch (const jet::DbError& e) {
        return QStringLiteral("The settings could not be saved in the file: %1\n\nThe file is unchanged.").arg(e.reason());
    }
    return std::nullopt;
}

} // namespace db
