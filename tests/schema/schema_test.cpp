#include "schema/schema.h"

#include "db_fixture.h"
#include "support/file_formats.h"
#include "platform/jet/catalog.h"
#include "platform/jet/db_error.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <map>
#include <functional>
#include <optional>

namespace {

using dbtest::openKeyed;
using dbtest::scalar;
using Mode = sqlite::Connection::Mode;

class Schema : public dbtest::TempFolder {};

// The schema as CREATE statements, leaving out one column or one table, for damaged fixtures.
void createSchemaWithout(sqlite::Connection& connection, const char* table, const char* column)
{
    for (const db::TableDef& t : db::schemaTables()) {
        if (qstrcmp(t.name, table) == 0 && column == nullptr)
            continue;
        std::vector<db::ColumnDef> kept;
        for (const db::ColumnDef& c : t.columns)
            if (!(qstrcmp(t.name, table) == 0 && qstrcmp(c.name, column) == 0))
                kept.push_back(c);
        connection.exec(db::createTableSql(db::TableDef{t.name, kept}));
    }
    connection.exec(QStringLiteral("PRAGMA user_version = %1").arg(db::kSchemaVersion));
}

// What opening a file has to do before the program may trust it.
void openChecked(const QString& path)
{
    sqlite::Connection connection = openKeyed(path);
    connection.verifyReadable(path);
    db::verifySchema(connection, path);
}

TEST_F(Schema, CreatedSchemaPassesTheCheckAndReadsBackAsDeclared)
{
    const QString path = file(QStringLiteral("new.qdb"));
    {
        sqlite::Connection connection = openKeyed(path, Mode::Create);
        db::createSchema(connection);
        EXPECT_EQ(scalar(connection, QStringLiteral("PRAGMA user_version")), db::kSchemaVersion);
    }
    EXPECT_NO_THROW(openChecked(path));

    // The catalog the record sets and the translator work from must see every column with the
    // type, size and position it was declared with.
    sqlite::Connection connection = openKeyed(path);
    const jet::Catalog catalog = jet::Catalog::read(connection.handle());
    for (const db::TableDef& table : db::schemaTables()) {
        const jet::Table* read = catalog.find(QString::fromLatin1(table.name));
        ASSERT_NE(read, nullptr) << table.name;
        ASSERT_EQ(read->columns.size(), table.columns.size()) << table.name;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            const db::ColumnDef& declared = table.columns[i];
            const jet::Column& found = read->columns[i];
            EXPECT_EQ(found.name, QLatin1String(declared.name)) << table.name;
            EXPECT_EQ(found.type, declared.type) << table.name << "." << declared.name;
            if (declared.type == jet::FieldType::Text) {
                EXPECT_EQ(found.size, declared.size) << table.name << "." << declared.name;
            }
        }
    }
}

TEST_F(Schema, MemberReportColumnsComeFirstInTheirFixedOrder)
{
    const db::TableDef* table = db::findTable(u"memfullname");
    ASSERT_NE(table, nullptr);
    const QStringList expected{"MemberID", "FullName", "Address", "CityStateZip", "HomePhone"};
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(QLatin1String(table->columns[static_cast<std::size_t>(i)].name), expected[i]);
}

TEST_F(Schema, TextComparesBlindToLetterCaseAndKeysOnlyGrow)
{
    sqlite::Connection connection = openKeyed(file(QStringLiteral("t.qdb")), Mode::Create);
    db::createSchema(connection);
    connection.exec(QStringLiteral("INSERT INTO Members (FirstName, LastName) VALUES ('Émile', 'O''Brien')"));
    connection.exec(QStringLiteral("INSERT INTO Members (FirstName, LastName) VALUES ('Ann', 'Smith')"));
    connection.exec(QStringLiteral("INSERT INTO Members (FirstName, LastName) VALUES ('Bo', 'Lee')"));
    EXPECT_EQ(scalar(connection, QStringLiteral("SELECT count(*) FROM Members WHERE LastName = 'o''BRIEN'")), 1);
    EXPECT_EQ(scalar(connection, QStringLiteral("SELECT count(*) FROM Members WHERE FirstName = 'émile'")), 1);

    // A deleted member's number is never handed out again.
    connection.exec(QStringLiteral("DELETE FROM Members WHERE MemberID = 3"));
    connection.exec(QStringLiteral("INSERT INTO Members (LastName) VALUES ('New')"));
    EXPECT_EQ(connection.lastInsertRowid(), 4);
}

TEST_F(Schema, FilesThatAreNotQuilDatabasesAreRejected)
{
    struct Case {
        const char* what;
        std::function<void(const QString&)> make;
        std::optional<int> number;  // the error number when it is ours to choose
    };
    const Case cases[] = {
        {"zero-byte file",
         [](const QString& path) { QFile f(path); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); },
         jet::err::NotQuilDatabase},
        {"plain SQLite file with other tables",
         [](const QString& path) {
             sqlite::Connection c(path, QByteArray(), Mode::Create);
             c.exec(QStringLiteral("CREATE TABLE Customers (Id INTEGER PRIMARY KEY, Name TEXT)"));
             c.exec(QStringLiteral("INSERT INTO Customers (Name) VALUES ('x')"));
         },
         std::nullopt},
        {"keyed file with other tables",
         [](const QString& path) {
             sqlite::Connection c = openKeyed(path, Mode::Create);
             c.exec(QStringLiteral("CREATE TABLE Customers (Id INTEGER PRIMARY KEY, Name TEXT)"));
         },
         jet::err::NotQuilDatabase},
        {"our tables without a version",
         [](const QString& path) {
             sqlite::Connection c = openKeyed(path, Mode::Create);
             db::createSchema(c);
             c.exec(QStringLiteral("PRAGMA user_version = 0"));
         },
         jet::err::NotQuilDatabase},
        {"a negative version",
         [](const QString& path) {
             sqlite::Connection c = openKeyed(path, Mode::Create);
             db::createSchema(c);
             c.exec(QStringLiteral("PRAGMA user_version = -1"));
         },
         jet::err::NotQuilDatabase},
        {"Members without Notes",
         [](const QString& path) { sqlite::Connection c = openKeyed(path, Mode::Create); createSchemaWithout(c, "Members", "Notes"); },
         jet::err::NotQuilDatabase},
        {"Payments without PaymentDate",
         [](const QString& path) { sqlite::Connection c = openKeyed(path, Mode::Create); createSchemaWithout(c, "Payments", "PaymentDate"); },
         jet::err::NotQuilDatabase},
        {"Passwords without OrgLogo",
         [](const QString& path) { sqlite::Connection c = openKeyed(path, Mode::Create); createSchemaWithout(c, "Passwords", "OrgLogo"); },
         jet::err::NotQuilDatabase},
        {"MemFullName without CityStateZip",
         [](const QString& path) { sqlite::Connection c = openKeyed(path, Mode::Create); createSchemaWithout(c, "MemFullName", "CityStateZip"); },
         jet::err::NotQuilDatabase},
        {"no ListTable",
         [](const QString& path) { sqlite::Connection c = openKeyed(path, Mode::Create); createSchemaWithout(c, "ListTable", nullptr); },
         jet::err::NotQuilDatabase},
        {"keyed with another password",
         [](const QString& path) {
             sqlite::Connection c(path, QByteArrayLiteral("not ours"), Mode::Create);
             db::createSchema(c);
         },
         std::nullopt},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString path = file(QStringLiteral("case%1.qdb").arg(++n));
        c.make(path);
        try {
            openChecked(path);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const jet::DbError& e) {
            EXPECT_FALSE(e.description().isEmpty()) << c.what;
            if (c.number) {
                EXPECT_EQ(e.number(), *c.number) << c.what;
                // The file named first, then why, when there is more to say than the version.
                EXPECT_TRUE(e.description().startsWith(QStringLiteral("'%1' is not a QUIL database file").arg(path)))
                    << c.what << ": " << e.description().toStdString();
            }
        }
    }
}

// A file of a later format is not called foreign: the message says which format it is and which
// this program reads, and the file is left as it was.
TEST_F(Schema, ALaterFormatIsRefusedByNameAndLeftAsItWas)
{
    for (const int version : {db::kSchemaVersion + 1, 99}) {
        SCOPED_TRACE(version);
        const QString path = file(QStringLiteral("later%1.qdb").arg(version));
        {
            sqlite::Connection c = openKeyed(path, Mode::Create);
            db::createSchema(c);
            c.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
        }
        QFile before(path);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();
        try {
            openChecked(path);
            ADD_FAILURE() << "a later format was accepted";
        } catch (const jet::DbError& e) {
            EXPECT_EQ(e.description(), QStringLiteral("%1 was written by a newer version of QUIL (file format %2); this version "
                                                      "reads formats up to %3.")
                                           .arg(path)
                                           .arg(version)
                                           .arg(db::kSchemaVersion));
        }
        QFile after(path);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), bytes);
    }
}

// The schema objects of a file as SQLite keeps them, one line each, sorted.
QStringList objectsOf(sqlite::Connection& connection)
{
    QStringList out;
    sqlite::Statement objects = connection.prepare(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY type, name"));
    while (objects.step())
        out << QStringLiteral("%1 %2: %3").arg(objects.text(0), objects.text(1), objects.text(2));
    return out;
}

// The steps as declared make what the programs of each format wrote, and the upgrade of an
// earlier file ends with exactly what a new file of the current format holds.
TEST_F(Schema, EachFormatIsWhatItsProgramWroteAndAnUpgradeEndsAsANewFile)
{
    const QString fixture = quiltest::copyFormatFixture(1, QStringLiteral("Base.dat"), QFileInfo(file(QStringLiteral("x"))).path());
    const QString declared = file(QStringLiteral("declared1.qdb"));
    {
        sqlite::Connection made = openKeyed(declared, Mode::Create);
        quiltest::createFormat(made, 1);
        sqlite::Connection old = openKeyed(fixture);
        EXPECT_EQ(objectsOf(made), objectsOf(old));
        EXPECT_EQ(db::verifySchema(old, fixture), 1);

        sqlite::Transaction transaction(old);
        db::upgradeSchema(old, 1);
        transaction.commit();
    }
    const QString fresh = file(QStringLiteral("fresh.qdb"));
    sqlite::Connection current = openKeyed(fresh, Mode::Create);
    db::createSchema(current);
    sqlite::Connection upgraded = openKeyed(fixture);
    EXPECT_EQ(objectsOf(upgraded), objectsOf(current));
    EXPECT_EQ(db::verifySchema(upgraded, fixture), db::kSchemaVersion);
}

// For every format the check accepts exactly what that format's steps make: a missing index or
// table, an object of a later format, or one of nobody's is refused, with the reason.
TEST_F(Schema, EachFormatIsCheckedAgainstItsOwnObjects)
{
    struct Change {
        QString what;
        QString sql;     // run after the format is made
        QString reason;  // empty: accepted
    };
    int n = 0;
    for (const db::FormatStep& step : db::formatSteps()) {
        const int format = step.format;
        std::vector<Change> changes{{QStringLiteral("as made"), QString(), QString()},
                                    {QStringLiteral("an index of its own"), QStringLiteral("CREATE INDEX Extra ON Members (City)"),
                                     QStringLiteral("it holds an index 'Extra' that the program does not know")},
                                    {QStringLiteral("a trigger"),
                                     QStringLiteral("CREATE TRIGGER T AFTER INSERT ON Dest BEGIN DELETE FROM Members; END"),
                                     QStringLiteral("it holds a trigger 'T' that the program does not know")}};
        for (const db::IndexDef& index : db::schemaIndexes(format))
            changes.push_back({QStringLiteral("without %1").arg(QLatin1String(index.name)),
                               QStringLiteral("DROP INDEX %1").arg(QLatin1String(index.name)),
                               QStringLiteral("it has no index '%1'").arg(QLatin1String(index.name))});
        for (const db::TableDef& table : step.tables)
            changes.push_back({QStringLiteral("without %1").arg(QLatin1String(table.name)),
                               QStringLiteral("DROP TABLE %1").arg(QLatin1String(table.name)),
                               QStringLiteral("it has no table '%1'").arg(QLatin1String(table.name))});
        if (format < db::kSchemaVersion) {
            const db::FormatStep& next = db::formatSteps()[static_cast<std::size_t>(format)];
            for (const db::IndexDef& index : next.indexes)
                changes.push_back({QStringLiteral("with the later %1").arg(QLatin1String(index.name)), db::createIndexSql(index),
                                   QStringLiteral("it holds an index '%1' of format %2 while it says it is of format %3")
                                       .arg(QLatin1String(index.name))
                                       .arg(next.format)
                                       .arg(format)});
            for (const db::TableDef& table : next.tables)
                changes.push_back({QStringLiteral("with the later %1").arg(QLatin1String(table.name)), db::createTableSql(table),
                                   QStringLiteral("it holds a table '%1' of format %2 while it says it is of format %3")
                                       .arg(QLatin1String(table.name))
                                       .arg(next.format)
                                       .arg(format)});
        }
        for (const Change& change : changes) {
            SCOPED_TRACE(QStringLiteral("format %1 %2").arg(format).arg(change.what).toStdString());
            const QString path = file(QStringLiteral("f%1.qdb").arg(++n));
            sqlite::Connection c = openKeyed(path, Mode::Create);
            quiltest::createFormat(c, format);
            if (!change.sql.isEmpty())
                c.exec(change.sql);
            try {
                EXPECT_EQ(db::verifySchema(c, path), format);
                EXPECT_TRUE(change.reason.isEmpty()) << "accepted";
            } catch (const jet::DbError& e) {
                EXPECT_EQ(e.description(), QStringLiteral("'%1' is not a QUIL database file: %2.").arg(path, change.reason));
            }
        }
    }
}

} // namespace
