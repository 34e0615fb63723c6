#include "catalog.h"

#include <sqlcipher/sqlite3.h>

namespace jet {

namespace {

QString columnText(sqlite3_stmt* s, int i)
{
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return t ? QString::fromUtf8(t, sqlite3_column_bytes(s, i)) : QString();
}

Column columnFrom(const QString& name, const QString& declared, bool primaryKey)
{
    Column c;
    c.name = name;
    const QString t = declared.trimmed().toUpper();
    if (t.startsWith(u"INTEGER"))
        c.type = primaryKey ? FieldType::Counter : FieldType::Long;
    else if (t.startsWith(u"CURRENCY"))
        c.type = FieldType::Currency;
    else if (t.startsWith(u"DATETIME"))
        c.type = FieldType::Date;
    else if (t.startsWith(u"LONGTEXT"))
        c.type = FieldType::Memo;
    else if (t.startsWith(u"DOUBLE") || t.startsWith(u"REAL"))
        c.type = FieldType::Double;
    else if (t.startsWith(u"BOOLEAN"))
        c.type = FieldType::Boolean;
    else {
        c.type = FieldType::Text;
        c.size = 255;
        const auto open = t.indexOf(u'(');
        const auto close = t.indexOf(u')');
        if (open > 0 && close > open) {
            bool ok = false;
            const int n = t.mid(open + 1, close - open - 1).trimmed().toInt(&ok);
            if (ok && n > 0)
                c.size = n;
        }
    }
    return c;
}

} // namespace

const Column* Table::find(QStringView n) const
{
    const int i = indexOf(n);
    return i < 0 ? nullptr : &columns[static_cast<std::size_t>(i)];
}

int Table::indexOf(QStringView n) const
{
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(n, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

const Table* Catalog::find(QStringView n) const
{
    for (const auto& t : tables_)
        if (t.name.compare(n, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

Catalog Catalog::read(sqlite3* db)
{
    Catalog catalog;
    sqlite3_stmt* tables = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid",
                           -1, &tables, nullptr) != SQLITE_OK)
        return catalog;
    while (sqlite3_step(tables) == SQLITE_ROW) {
        Table table;
        table.name = columnText(tables, 0);
        const QByteArray info = "PRAGMA table_info(\"" + table.name.toUtf8().replace('"', "\"\"") + "\")";
        sqlite3_stmt* cols = nullptr;
        if (sqlite3_prepare_v2(db, info.constData(), -1, &cols, nullptr) == SQLITE_OK) {
            while (sqlite3_step(cols) == SQLITE_ROW)
                table.columns.push_back(columnFrom(columnText(cols, 1), columnText(cols, 2), sqlite3_column_int(cols, 5) != 0));
        }
        sqlite3_finalize(cols);
        catalog.tables_.push_back(std::move(table));
    }
    sqlite3_finalize(tables);
    return catalog;
}

QString declaredType(FieldType type, int size)
{
    switch (type) {
    case FieldType::Counter:
    case FieldType::Long: return QStringLiteral("INTEGER");
    case FieldType::Currency: return QStringLiteral("CURRENCY");
    case FieldType::Date: return QStringLiteral("DATETIME");
    case FieldType::Text: return QStringLiteral("TEXT(%1)").arg(size > 0 ? size : 255);
    case FieldType::Memo: return QStringLiteral("LONGTEXT");
    case FieldType::Double: return QStringLiteral("DOUBLE");
    case FieldType::Boolean: return QStringLiteral("BOOLEAN");
    }
    return QStringLiteral("TEXT");
}

} // namespace jet
