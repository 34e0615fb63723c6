#include "db/clone_fill.h"

#include "platform/dao/derived_keys.h"
#include "platform/dao/sqlite.h"
#include "schema/schema.h"

#include <QStringList>
#include <span>

namespace db {

namespace {

// The member fields a clone carries; MemberID is the new file's own.
constexpr const char* kMemberFields[] = {"FirstName", "LastName", "Address", "City", "State",
                                         "PostalCode", "HomePhone", "Notes"};
// The first password row's fields that come from the source; its PassName stays the template's.
constexpr const char* kFirstRowFields[] = {"OrgName", "OrgAdd", "OrgPhone", "OrgEmail", "OrgLogo", "MyPassWord"};

QString assignments(std::span<const char* const> fields, const QString& fromRow)
{
    QStringList parts;
    for (const char* field : fields)
        parts << QStringLiteral("%1 = (SELECT %1 FROM %2)").arg(QLatin1String(field), fromRow);
    return parts.join(QStringLiteral(", "));
}

QString fieldList(std::span<const char* const> fields)
{
    QStringList names;
    for (const char* field : fields)
        names << QLatin1String(field);
    return names.join(QStringLiteral(", "));
}

} // namespace

void fillClone(const QString& target, const QString& source, const QString& password, const QString& sourceKey)
{
    sqlite::Connection connection(target, password.toUtf8(), sqlite::Connection::Mode::ReadWrite);
    connection.verifyReadable(target);
    verifySchema(connection, target);

    sqlite::Statement attach = connection.prepare(QStringLiteral("ATTACH DATABASE ? AS src KEY ?"));
    const QString key = sourceKey.isEmpty() ? password : sourceKey;
    attach.bind(1, source).bind(2, QString::fromUtf8(sqlite::connectionKey(source, key.toUtf8())));
    attach.step();
    connection.exec(QStringLiteral("PRAGMA src.cache_size = -131072"));
    try {
        sqlite::Statement check = connection.prepare(QStringLiteral("SELECT count(*) FROM src.sqlite_master"));
        check.step();
    } catch (const jet::DbError& e) {
        throw jet::DbError(e.number(), QStringLiteral("The file %1 cannot be read: %2").arg(source, e.description()));
    }

    {
        sqlite::Transaction transaction(connection);
        // Member 1 keeps its number (deleted members' donations go to it) and takes the source's
        // particulars, when the source has a member 1.
        connection.exec(QStringLiteral("UPDATE main.Members SET %1 WHERE MemberID = 1 "
                                       "AND EXISTS (SELECT 1 FROM src.Members WHERE MemberID = 1)")
                            .arg(assignments(kMemberFields, QStringLiteral("src.Members WHERE MemberID = 1"))));
        // The others in the source's order; the new file numbers them. A source of one member
        // has nothing more to give.
        const QString fields = fieldList(kMemberFields);
        connection.exec(QStringLiteral("INSERT INTO main.Members (%1) SELECT %1 FROM src.Members "
                                       "WHERE MemberID <> 1 AND (SELECT count(*) FROM src.Members) > 1 ORDER BY MemberID")
                            .arg(fields));

        // The first row of each password list carries the organization data.
        const QString firstSourceRow = QStringLiteral("src.Passwords ORDER BY rowid LIMIT 1");
        connection.exec(QStringLiteral("UPDATE main.Passwords SET %1 WHERE rowid = (SELECT min(rowid) FROM main.Passwords) "
                                       "AND EXISTS (SELECT 1 FROM src.Passwords)")
                            .arg(assignments(kFirstRowFields, firstSourceRow)));
        // The administrator is the template's; its name is compared exactly, letter case too.
        connection.exec(QStringLiteral(
            "INSERT INTO main.Passwords (PassName, MyPassWord) SELECT PassName, MyPassWord FROM src.Passwords "
            "WHERE (PassName IS NULL OR PassName <> 'Administrator' COLLATE BINARY) "
            "AND (SELECT count(*) FROM src.Passwords) > 1 ORDER BY rowid"));

        connection.exec(QStringLiteral("DELETE FROM main.Dest WHERE rowid = (SELECT min(rowid) FROM main.Dest)"));
        connection.exec(QStringLiteral("INSERT INTO main.Dest (DestItem) SELECT DestItem FROM src.Dest ORDER BY rowid"));
        // The organisation's settings belong to it as its name does. A source is always of the
        // current format (opening brings it there), as the new file is.
        connection.exec(QStringLiteral("INSERT INTO main.Settings (SettingName, SettingValue) "
                                       "SELECT SettingName, SettingValue FROM src.Settings ORDER BY rowid"));
        transaction.commit();
    }
    connection.exec(QStringLiteral("DETACH DATABASE src"));
    connection.close();
}

} // namespace db
