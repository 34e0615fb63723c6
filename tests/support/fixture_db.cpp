#include "fixture_db.h"

#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "platform/dao/write_unit.h"
#include "platform/jet/translator.h"

namespace quiltest {

FixtureDatabase::FixtureDatabase(QString path, QString password) : path_(std::move(path)), password_(std::move(password))
{
    sqlite::Connection(path_, password_.toUtf8(), sqlite::Connection::Mode::Create);
}

FixtureDatabase& FixtureDatabase::exec(const QStringList& statements)
{
    sqlite::Connection connection(path_, password_.toUtf8(), sqlite::Connection::Mode::Create);
    sqlite::Transaction transaction(connection);
    for (const QString& statement : statements)
        connection.exec(statement);
    transaction.commit();
    return *this;
}

std::shared_ptr<dao::Database> FixtureDatabase::open() const
{
    return dao::Engine::instance().defaultWorkspace().openDatabase(path_, false, false, connect());
}

void write(dao::Database& db, const QStringList& statements)
{
    dao::WriteUnit unit(db);
    for (const QString& statement : statements)
        unit.connection().exec(statement);
    unit.commit();
}

QString membersTableSql()
{
    return QStringLiteral(
        "CREATE TABLE Members (MemberID INTEGER PRIMARY KEY AUTOINCREMENT, "
        "FirstName TEXT(50) COLLATE JETNOCASE, LastName TEXT(50) COLLATE JETNOCASE, "
        "Address TEXT(255) COLLATE JETNOCASE, City TEXT(50) COLLATE JETNOCASE, State TEXT(50) COLLATE JETNOCASE, "
        "PostalCode TEXT(20) COLLATE JETNOCASE, HomePhone TEXT(30) COLLATE JETNOCASE, "
        "Notes LONGTEXT COLLATE JETNOCASE)");
}

QString insertMemberSql(const QString& first, const QString& last, const QString& address)
{
    return QStringLiteral("INSERT INTO Members (FirstName, LastName, Address) VALUES (%1, %2, %3)")
        .arg(jet::quoted(first), jet::quoted(last), jet::quoted(address));
}

} // namespace quiltest
