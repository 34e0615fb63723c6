#include "demo/demo_data.h"

#include "db_fixture.h"
#include "schema/schema.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QSet>

namespace {

using dbtest::openKeyed;
using dbtest::scalar;

class Demo : public dbtest::TempFolder {
protected:
    sqlite::Connection make(const QString& name, const db::DemoOptions& options)
    {
        const QString path = file(name);
        db::writeDemo(path, options);
        sqlite::Connection connection = openKeyed(path);
        connection.verifyReadable(path);
        db::verifySchema(connection, path);
        return connection;
    }

    static db::DemoOptions small()
    {
        db::DemoOptions options;
        options.members = 50;
        options.donations = 200;
        options.seed = 7;
        options.years = 3;
        options.lastYear = 2023;
        return options;
    }

    // Every row of the member and donation tables, in key order, as one digest.
    static QByteArray digest(sqlite::Connection& connection)
    {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (const char* sql : {"SELECT * FROM Members ORDER BY MemberID", "SELECT * FROM Payments ORDER BY PaymentID",
                                "SELECT * FROM Dest ORDER BY rowid"}) {
            sqlite::Statement rows = connection.prepare(QString::fromLatin1(sql));
            while (rows.step())
                for (int c = 0; c < rows.columnCount(); ++c)
                    hash.addData((rows.text(c) + QLatin1Char('\x1f')).toUtf8());
        }
        return hash.result();
    }
};

TEST_F(Demo, GivesTheCountsAskedWithConsistentRows)
{
    sqlite::Connection c = make(QStringLiteral("demo.qdb"), small());
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM Members")), 50);
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM Payments")), 200);
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM Members WHERE MemberID = 1 AND LastName = 'Donors'")), 1);

    // The program keeps this relationship itself, so the generator must too.
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM Payments WHERE MemberID NOT IN (SELECT MemberID FROM Members)")), 0);
    // Every destination is one the Add Donations dialog offers, and every fund is offered once.
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM Payments WHERE Destination NOT IN (SELECT DestItem FROM Dest)")), 0);
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM Dest")), 8);
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(DISTINCT DestItem) FROM Dest")), 8);
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM Dest WHERE DestItem = 'St. Mary''s Fund'")), 1);

    EXPECT_GE(scalar(c, QStringLiteral("SELECT count(*) FROM Members WHERE instr(LastName, '''') > 0")), 3);
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM Members WHERE LastName = 'o''brien'")), 1);
    EXPECT_GE(scalar(c, QStringLiteral("SELECT count(*) FROM Members WHERE LastName = 'émond' OR FirstName = 'ZOË'")), 2);

    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM Payments WHERE PaymentAmount <= 0 OR typeof(PaymentAmount) <> 'integer'")), 0);
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM Payments WHERE CheckNumber < 0")), 0);
    const auto cash = scalar(c, QStringLiteral("SELECT count(*) FROM Payments WHERE CheckNumber = 0"));
    EXPECT_GT(cash, 0);
    EXPECT_LT(cash, 100);
}

TEST_F(Demo, DatesLieInTheYearsAskedAndAreEnteredInOrder)
{
    sqlite::Connection c = make(QStringLiteral("demo.qdb"), small());
    const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d 00:00:00$"));
    sqlite::Statement rows = c.prepare(QStringLiteral("SELECT PaymentDate FROM Payments ORDER BY PaymentID"));
    QString previous;
    int n = 0;
    while (rows.step()) {
        const QString date = rows.text(0);
        ++n;
        EXPECT_TRUE(iso.match(date).hasMatch()) << date.toStdString();
        EXPECT_GE(date, QStringLiteral("2021-01-01")) << date.toStdString();
        EXPECT_LT(date, QStringLiteral("2024-01-01")) << date.toStdString();
        EXPECT_GE(date, previous);
        previous = date;
    }
    EXPECT_EQ(n, 200);
}

TEST_F(Demo, SameSeedSameRowsOtherSeedOtherRows)
{
    sqlite::Connection a = make(QStringLiteral("a.qdb"), small());
    sqlite::Connection b = make(QStringLiteral("b.qdb"), small());
    db::DemoOptions other = small();
    other.seed = 8;
    sqlite::Connection c = make(QStringLiteral("c.qdb"), other);
    EXPECT_EQ(digest(a), digest(b));
    EXPECT_NE(digest(a), digest(c));
}

TEST_F(Demo, InitialsAreSpreadAsTheSearchBenchmarksExpect)
{
    db::DemoOptions options;
    options.members = 20000;
    options.donations = 0;
    options.seed = 3;
    sqlite::Connection c = make(QStringLiteral("names.qdb"), options);
    const double members = static_cast<double>(options.members - 1);
    const double s = static_cast<double>(scalar(c, QStringLiteral("SELECT count(*) FROM Members WHERE MemberID > 1 AND substr(LastName, 1, 1) = 'S'")));
    const double j = static_cast<double>(scalar(c, QStringLiteral("SELECT count(*) FROM Members WHERE MemberID > 1 AND substr(FirstName, 1, 1) = 'J'")));
    const double both = static_cast<double>(scalar(c, QStringLiteral(
        "SELECT count(*) FROM Members WHERE MemberID > 1 AND substr(LastName, 1, 1) = 'S' AND substr(FirstName, 1, 1) = 'J'")));
    EXPECT_NEAR(s / members, 0.08, 0.01);
    EXPECT_NEAR(j / members, 0.05, 0.01);
    EXPECT_NEAR(both / members, 0.004, 0.0015);
    // Enough distinct names that a two-letter search still has to choose.
    EXPECT_GT(scalar(c, QStringLiteral("SELECT count(DISTINCT LastName) FROM Members")), 150);
}

TEST_F(Demo, RefusesImpossibleCountsAndExistingFiles)
{
    db::DemoOptions none = small();
    none.members = 0;
    EXPECT_ANY_THROW(db::writeDemo(file(QStringLiteral("none.qdb")), none));
    const QString path = file(QStringLiteral("twice.qdb"));
    db::writeDemo(path, small());
    EXPECT_ANY_THROW(db::writeDemo(path, small()));
}

} // namespace
