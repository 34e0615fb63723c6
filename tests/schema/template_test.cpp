#include "schema/template.h"

#include "db_fixture.h"
#include "platform/jet/db_error.h"
#include "schema/schema.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

using dbtest::openKeyed;
using dbtest::scalar;
using dbtest::text;

class Template : public dbtest::TempFolder {
protected:
    void SetUp() override
    {
        path_ = file(QStringLiteral("Base.dat"));
        db::writeTemplate(path_);
        connection_ = openKeyed(path_);
        connection_.verifyReadable(path_);
        db::verifySchema(connection_, path_);
    }

    QString path_;
    sqlite::Connection connection_;
};

TEST_F(Template, HoldsMemberOneAsTheCatchAllAccount)
{
    EXPECT_EQ(scalar(connection_, QStringLiteral("SELECT count(*) FROM Members")), 1);
    sqlite::Statement row = connection_.prepare(QStringLiteral(
        "SELECT MemberID, FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes FROM Members"));
    ASSERT_TRUE(row.step());
    EXPECT_EQ(row.int64(0), 1);
    EXPECT_EQ(row.text(1), QStringLiteral("Anonymous"));
    EXPECT_EQ(row.text(2), QStringLiteral("Donors"));
    EXPECT_EQ(row.text(3), QStringLiteral("NONE"));
    for (int column = 1; column < row.columnCount(); ++column)
        EXPECT_FALSE(row.isNull(column)) << column;
    EXPECT_FALSE(row.text(8).isEmpty());
}

TEST_F(Template, FirstPasswordRowIsTheAdministratorWithEveryOrganizationField)
{
    EXPECT_EQ(scalar(connection_, QStringLiteral("SELECT count(*) FROM Passwords")), 1);
    // The program reads the organization data from the first row of this very query.
    sqlite::Statement org = connection_.prepare(QStringLiteral("SELECT OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo FROM Passwords"));
    ASSERT_TRUE(org.step());
    for (int column = 0; column < 5; ++column) {
        EXPECT_FALSE(org.isNull(column)) << column;
        EXPECT_FALSE(org.text(column).isEmpty()) << column;
    }
    EXPECT_EQ(org.text(4), QStringLiteral("quil.jpg"));

    sqlite::Statement first = connection_.prepare(QStringLiteral("SELECT PassName, MyPassWord FROM Passwords ORDER BY rowid LIMIT 1"));
    ASSERT_TRUE(first.step());
    EXPECT_EQ(first.text(0), QStringLiteral("Administrator"));
    EXPECT_EQ(first.text(1), QStringLiteral("admin"));
}

TEST_F(Template, EveryTextFitsItsColumn)
{
    // Organization Data shows these sizes as limits; a template value over them could not be
    // saved back unchanged.
    for (const db::TableDef& table : db::schemaTables())
        for (const db::ColumnDef& column : table.columns) {
            if (column.type != jet::FieldType::Text)
                continue;
            const auto longest = scalar(connection_, QStringLiteral("SELECT coalesce(max(length(%1)), 0) FROM %2")
                                                         .arg(QLatin1String(column.name), QLatin1String(table.name)));
            EXPECT_LE(longest, column.size) << table.name << "." << column.name;
        }
}

TEST_F(Template, HoldsOneDestinationAndEmptyDonationAndWorkTables)
{
    EXPECT_EQ(scalar(connection_, QStringLiteral("SELECT count(*) FROM Dest")), 1);
    EXPECT_EQ(text(connection_, QStringLiteral("SELECT DestItem FROM Dest")), QStringLiteral("General Fund"));
    for (const char* table : {"Payments", "ListTable", "MemFullName"})
        EXPECT_EQ(scalar(connection_, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))), 0) << table;
}

TEST_F(Template, NewMembersAreNumberedAboveEveryExistingOne)
{
    connection_.exec(QStringLiteral("INSERT INTO Members (LastName) VALUES ('Second')"));
    EXPECT_EQ(connection_.lastInsertRowid(), 2);
    connection_.exec(QStringLiteral("DELETE FROM Members WHERE MemberID = 2"));
    connection_.exec(QStringLiteral("INSERT INTO Members (LastName) VALUES ('Third')"));
    EXPECT_EQ(connection_.lastInsertRowid(), 3);
}

TEST_F(Template, IsNotWrittenOverAnExistingFile)
{
    connection_.close();
    const QString other = file(QStringLiteral("mine.txt"));
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    EXPECT_THROW(db::writeTemplate(other), jet::DbError);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep me"));
}

TEST(BuiltTemplate, ProgramFolderHoldsAValidTemplateUnderBothNames)
{
    const QByteArray programDir = qgetenv("QUIL_PROGRAM_DIR");
    if (programDir.isEmpty())
        GTEST_SKIP() << "QUIL_PROGRAM_DIR is not set";
    // The program tests for "Base.dat" and copies "base.dat".
    for (const char* name : {"Base.dat", "base.dat"}) {
        const QString path = QDir(QString::fromLocal8Bit(programDir)).filePath(QLatin1String(name));
        ASSERT_TRUE(QFile::exists(path)) << name;
        sqlite::Connection connection = openKeyed(path, sqlite::Connection::Mode::ReadOnly);
        connection.verifyReadable(path);
        EXPECT_NO_THROW(db::verifySchema(connection, path)) << name;
        EXPECT_EQ(scalar(connection, QStringLiteral("SELECT count(*) FROM Members WHERE MemberID = 1")), 1);
    }
}

} // namespace
