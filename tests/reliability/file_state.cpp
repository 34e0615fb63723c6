#include "reliability/file_state.h"

#include "platform/dao/derived_keys.h"
#include "platform/dao/sqlite.h"
#include "schema/connect_key.h"

#include <QStringList>
#include <sqlcipher/sqlite3.h>

namespace reliability {

namespace {

sqlite::Connection keyed(const QString& path)
{
    const QByteArray key = sqlite::carriesPassphrase(path) ? kFilePassphrase : db::databasePassword().toUtf8();
    return sqlite::Connection(path, key, sqlite::Connection::Mode::ReadWrite);
}

QString valueText(const sqlite::Statement& s, int column)
{
    switch (s.columnType(column)) {
    case SQLITE_NULL: return QStringLiteral("null");
    case SQLITE_INTEGER: return QStringLiteral("i:") + QString::number(s.int64(column));
    case SQLITE_FLOAT: return QStringLiteral("r:") + QString::number(s.real(column), 'g', 17);
    case SQLITE_TEXT: return QStringLiteral("t:'") + s.text(column) + u'\'';
    default: return QStringLiteral("b:") + QString::number(sqlite3_column_bytes(s.handle(), column));
    }
}

} // namespace

QString dumpOf(sqlite::Connection& c)
{
    QStringList out;
    QStringList tables;
    {
        auto s = c.prepare(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY type, name"));
        while (s.step()) {
            out << QStringLiteral("schema %1 %2: %3").arg(s.text(0), s.text(1), s.text(2));
            if (s.text(0) == u"table")
                tables << s.text(1);
        }
    }
    for (const QString& table : tables) {
        auto s = c.prepare(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
        while (s.step()) {
            QStringList values;
            for (int i = 0; i < s.columnCount(); ++i)
                values << valueText(s, i);
            out << table + u' ' + values.join(u'|');
        }
    }
    return out.join(u'\n');
}

QString keyLine(const QString& path)
{
    return sqlite::carriesPassphrase(path) ? QStringLiteral("key: the file's passphrase\n") : QStringLiteral("key: the program's\n");
}

QString canonicalDump(const QString& path)
{
    sqlite::Connection c = keyed(path);
    return keyLine(path) + dumpOf(c);
}

FileState readFileState(const QString& path)
{
    FileState state;
    try {
        sqlite::Connection c = keyed(path);
        {
            auto s = c.prepare(QStringLiteral("PRAGMA integrity_check"));
            QStringList lines;
            while (s.step())
                lines << s.text(0);
            state.integrity = lines.join(u'\n');
        }
        state.dump = keyLine(path) + dumpOf(c);
    } catch (const jet::DbError& e) {
        state.integrity = QStringLiteral("error %1: %2").arg(e.number()).arg(e.description());
    }
    return state;
}

} // namespace reliability
