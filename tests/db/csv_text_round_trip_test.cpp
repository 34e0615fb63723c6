// Texts a spreadsheet would run, and texts that look like the guard against that, through the
// program's own export and import: members and donations exported from one file and imported
// into a blank one come back as they were stored.
#include "db/csv_import.h"
#include "db/db_fixture.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "reports/csv_export.h"
#include "schema/schema.h"

#include <QFile>
#include <vector>

namespace {

using db::import::Kind;

// Every field that may hold a text holds it; a field gets a name of its own instead when the text
// could not be typed into its box: empty or blank for the three a member needs, too long, or with
// a tab or line break anywhere but in Notes.
const QString kTexts[] = {
    QStringLiteral("=1+1"),
    QStringLiteral("=HYPERLINK(\"http://example.org\",\"click\")"),
    QStringLiteral("=cmd|' /C calc'!A0"),
    QStringLiteral("'"),
    QStringLiteral("'=1"),
    QStringLiteral("''"),
    QStringLiteral("'plain"),
    QStringLiteral("-5 Main St"),
    QStringLiteral("+44 20 7946 0958"),
    QStringLiteral("@home"),
    QStringLiteral(" =1+1"),
    QStringLiteral("O'Brien, \"Jr.\""),
    QStringLiteral("\t=1+1"),
    QStringLiteral("\r=1+1"),
    QStringLiteral("\r\n@x"),
    QStringLiteral(""),
    QStringLiteral("  "),
};

bool typable(const QString& text, bool required, bool multiLine, int size)
{
    if ((required && text.trimmed().isEmpty()) || (size > 0 && text.size() > size))
        return false;
    return multiLine || !(text.contains(u'\t') || text.contains(u'\r') || text.contains(u'\n'));
}

QString reasons(const db::import::Plan& plan)
{
    QStringList all;
    for (const db::import::Problem& p : plan.problems)
        all << QStringLiteral("line %1: %2").arg(p.line).arg(p.reason);
    return all.join(u'\n');
}

class CsvTextRoundTrip : public quiltest::WindowTest<> {};

TEST_F(CsvTextRoundTrip, HostileTextsComeBackAsStored)
{
    {
        sqlite::Connection c = keyed();
        sqlite::Transaction t(c);
        sqlite::Statement member = c.prepare(QStringLiteral(
            "INSERT INTO Members (FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes) "
            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)"));
        sqlite::Statement gift = c.prepare(QStringLiteral(
            "INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
            "VALUES (?1, ?2, ?3, '2004-03-12 00:00:00', ?4)"));
        for (const QString& text : kTexts) {
            for (int field = 0; field < 8; ++field) {
                const bool required = field < 3;
                const QString fallback = QStringLiteral("Name%1").arg(field);
                const int size = db::memberColumns()[static_cast<std::size_t>(field) + 1].size;
                member.bind(field + 1, typable(text, required, field == 7, size) ? text : fallback);
            }
            member.step();
            member.reset();
            const std::int64_t id = c.lastInsertRowid();
            if (!typable(text, true, false, db::textFieldSize(u"Payments", u"Destination")))
                continue;
            gift.bind(1, std::int64_t{250000}).bind(2, id).bind(3, text).bind(4, id);
            gift.step();
            gift.reset();
        }
        t.commit();
    }
    auto& f = open();
    const QString members = dir_.file(QStringLiteral("members.csv"));
    const QString donations = dir_.file(QStringLiteral("donations.csv"));
    ASSERT_EQ(reports::exportMembers(*f.S.db, members, {}), reports::ExportResult::Written);
    auto grid = f.S.db->openRecordset(QStringLiteral(
        "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] Order by PaymentID"));
    ASSERT_EQ(reports::exportDonations(*f.S.db, grid->plan(), donations, {}), reports::ExportResult::Written);
    grid.reset();
    f.mnuFileClose_Click();
    {
        QFile written(members);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        EXPECT_TRUE(bytes.contains("\r\n2,'=1+1,'=1+1,'=1+1,")) << "the export guards what a spreadsheet would run";
        EXPECT_TRUE(bytes.contains(",''=1,")) << "and a text that begins with the guard";
    }

    const QString target = dir_.file(QStringLiteral("Blank.qdb"));
    db::writeTemplate(target);
    open(target);
    ASSERT_FALSE(window_->S.OpenDbPath.isEmpty());
    db::import::Plan plan;
    db::import::Written written;
    ASSERT_EQ(db::import::analyse(*window_->S.db, members, Kind::Members, plan), db::import::Outcome::Done);
    ASSERT_EQ(plan.problems.size(), 1u) << reasons(plan).toStdString();
    EXPECT_EQ(plan.problems[0].reason, "Member ID 1 is already on file") << "the blank file's own member 1";
    ASSERT_EQ(db::import::write(*window_->S.db, plan, {}, written), db::import::Outcome::Done);
    ASSERT_EQ(db::import::analyse(*window_->S.db, donations, Kind::Donations, plan), db::import::Outcome::Done);
    EXPECT_TRUE(plan.problems.empty()) << reasons(plan).toStdString();
    ASSERT_EQ(db::import::write(*window_->S.db, plan, {}, written), db::import::Outcome::Done);
    window_->mnuFileClose_Click();

    // A CSV field cannot tell an empty text from no value: empty optional fields come back
    // without one.
    auto noNulls = [](QStringList rows) { return rows.replaceInStrings(QStringLiteral("<null>"), QString()); };
    const QString everyMember = QStringLiteral("SELECT * FROM Members WHERE MemberID > 1 ORDER BY MemberID");
    const QStringList before = dbtest::rowsOf(file_, everyMember);
    ASSERT_EQ(before.size(), std::ssize(kTexts));
    EXPECT_EQ(noNulls(dbtest::rowsOf(target, everyMember)), noNulls(before));
    const QString everyGift = QStringLiteral(
        "SELECT PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID FROM Payments ORDER BY PaymentID");
    EXPECT_GT(dbtest::rowsOf(file_, everyGift).size(), 10);
    EXPECT_EQ(dbtest::rowsOf(target, everyGift), dbtest::rowsOf(file_, everyGift));
    // The funds came in with the donations, spelled as stored.
    EXPECT_EQ(dbtest::rowsOf(target, QStringLiteral("SELECT Destination FROM Payments WHERE Destination COLLATE BINARY "
                                                    "NOT IN (SELECT DestItem FROM Dest)")),
              QStringList());
}

} // namespace
