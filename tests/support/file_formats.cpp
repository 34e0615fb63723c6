#include "support/file_formats.h"

#include "schema/connect_key.h"
#include "schema/schema.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <stdexcept>

namespace quiltest {

QString copyFormatFixture(int format, const QString& name, const QString& folder)
{
    const QString source = QStringLiteral(QUIL_TEST_FIXTURES "/format-%1/%2").arg(format).arg(name);
    const QString copy = QDir(folder).filePath(name);
    QFile::remove(copy);
    if (!QFile::copy(source, copy))
        throw std::runtime_error("cannot copy the fixture " + source.toStdString());
    QFile(copy).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return copy;
}

void createFormat(sqlite::Connection& connection, int format)
{
    sqlite::Transaction transaction(connection);
    for (const db::TableDef& table : db::schemaTables(format))
        connection.exec(db::createTableSql(table));
    for (const db::IndexDef& index : db::schemaIndexes(format))
        connection.exec(db::createIndexSql(index));
    connection.exec(QStringLiteral("PRAGMA user_version = %1").arg(format));
    transaction.commit();
}

void takeBackToFormat(const QString& path, int format)
{
    sqlite::Connection connection(path, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
    sqlite::Transaction transaction(connection);
    for (const db::FormatStep& step : db::formatSteps()) {
        if (step.format <= format)
            continue;
        for (const db::IndexDef& index : step.indexes)
            connection.exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(QLatin1String(index.name)));
        for (const db::TableDef& table : step.tables)
            connection.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(QLatin1String(table.name)));
    }
    connection.exec(QStringLiteral("PRAGMA user_version = %1").arg(format));
    transaction.commit();
}

QString rowsOf(sqlite::Connection& connection, int format)
{
    QStringList out;
    for (const db::TableDef& table : db::schemaTables(format)) {
        sqlite::Statement rows = connection.prepare(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table.name)));
        while (rows.step()) {
            QStringList values;
            for (int i = 0; i < rows.columnCount(); ++i)
                values << (rows.isNull(i) ? QStringLiteral("null") : QString::number(rows.columnType(i)) + u':' + rows.text(i));
            out << QLatin1String(table.name) + u' ' + values.join(u'|');
        }
    }
    return out.join(u'\n');
}

} // namespace quiltest
