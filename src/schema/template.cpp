#include "schema/template.h"

#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "schema/connect_key.h"
#include "schema/schema.h"

#include <QFileInfo>

namespace db {

void insertTemplateRows(sqlite::Connection& connection)
{
    sqlite::Transaction transaction(connection);

    // Member 1 is where the donations of deleted members go, so it must exist in every file.
    // Empty texts rather than nulls: the member fields are shown and copied as text.
    sqlite::Statement member = connection.prepare(QStringLiteral(
        "INSERT INTO Members (MemberID, FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes) "
        "VALUES (1, ?, ?, ?, '', '', '', '', ?)"));
    member.bind(1, QStringLiteral("Anonymous"))
        .bind(2, QStringLiteral("Donors"))
        .bind(3, QStringLiteral("NONE"))
        .bind(4, QStringLiteral("Member 1 receives the donations of every member who is deleted, "
                                "and gifts whose donor is not known."));
    member.step();

    // The first row of Passwords carries the organization data; opening a file reads every one
    // of its fields as text, so none may be null.
    sqlite::Statement admin = connection.prepare(QStringLiteral(
        "INSERT INTO Passwords (PassName, MyPassWord, OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    int i = 0;
    for (const char* value : {templ::AdminName, templ::AdminPassword, templ::OrgName, templ::OrgAdd,
                              templ::OrgPhone, templ::OrgEmail, templ::OrgLogo})
        admin.bind(++i, QString::fromUtf8(value));
    admin.step();

    // Clone and Clear replaces this first destination with the source file's list.
    sqlite::Statement dest = connection.prepare(QStringLiteral("INSERT INTO Dest (DestItem) VALUES (?)"));
    dest.bind(1, QString::fromUtf8(templ::Destination));
    dest.step();

    transaction.commit();
}

void writeTemplate(const QString& path)
{
    // Never write over a file: it might be somebody's data.
    if (QFileInfo::exists(path))
        throw jet::DbError(jet::err::CannotOpenFile, QStringLiteral("'%1' exists already.").arg(path));
    sqlite::Connection connection(path, databasePassword().toUtf8(), sqlite::Connection::Mode::Create);
    createSchema(connection);
    insertTemplateRows(connection);
}

} // namespace db
