// The work-table fills on the small report file (report_window.h), one table of cases: the rows
// each fill writes, their order, the compositions of full name and city line, what a missing
// member, a filter selecting nobody give, and that
// the date range is never applied here. Then the fills under failure: a source the dialect
// refuses and a write that fails halfway both leave the table exactly as it was. And the date
// condition, read back by the dialect with both ends included.
#include "support/fixture_db.h"
#include "report_window.h"

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/jet/db_error.h"
#include "reports/date_clause.h"
#include "reports/work_tables.h"

namespace {

using reporttest::ReportWindowTest;

const char* const kListRows = "SELECT MemberID, PaymentID, PaymentAmount, PaymentDate, CheckNumber, Destination, FullName FROM ListTable ORDER BY rowid";
const char* const kMemberRows =
    "SELECT MemberID, FullName, Address, CityStateZip, HomePhone, FirstName, LastName, City, State, PostalCode, Notes "
    "FROM MemFullName ORDER BY rowid";

struct FillCase {
    const char* name;
    std::function<int(dao::Database&)> fill;
    const char* table;  // the query that reads what it wrote
    QStringList rows;
};

TEST_F(ReportWindowTest, TheFillsWriteTheirRowsInOrderWithTheirCompositions)
{
    frmMain& f = opened();
    const QString members = QStringLiteral("Members");
    const FillCase cases[] = {
        {"every donation, in record order, the date range not applied; the missing member's name is a blank",
         [&](dao::Database& db) { return reports::fillPaymentList(db, "Payments", members); }, kListRows,
         {"2|1|1000000|2001-01-15 00:00:00|1001|Roof|John Smith", "2|2|1505000|2001-06-01 00:00:00|1002|New Roof|John Smith",
          "2|3|252500|2002-02-01 00:00:00|1003|Roof|John Smith",
          "3|4|110000|2001-03-03 00:00:00|17|St. Mary's Fund|Seán O'Brien",
          "3|5|500|2001-12-31 00:00:00|0|{General} \\ Fund|Seán O'Brien",
          "4|6|5000000|2000-12-31 00:00:00|2000|General Fund|Zoë 🎉 Back\\Slash", "99|7|70000|2001-04-04 00:00:00|70|Roof| "}},
        {"a donation filter's donations",
         [&](dao::Database& db) { return reports::fillPaymentList(db, "Select * from Payments  WHERE [PaymentAmount] >100 ", members); },
         "SELECT PaymentID FROM ListTable ORDER BY rowid", {"2", "6"}},
        {"a donation filter that selects nothing",
         [&](dao::Database& db) { return reports::fillPaymentList(db, "Select * from Payments  WHERE [PaymentAmount] >100000 ", members); },
         "SELECT PaymentID FROM ListTable", {}},
        {"chosen members in the list's order; a member gone meanwhile is left out; a missing first name leaves the blank",
         [&](dao::Database& db) { return reports::fillSelectedMembers(db, {5, 99, 3, 2}, members); }, kMemberRows,
         {QStringLiteral("5| 李|%1|Springfield, IL   62701|217-555-0100|<null>|<null>|<null>|<null>|<null>|<null>").arg(reporttest::kLongAddress.left(255)),
          "3|Seán O'Brien|7 {Oak} Rd \\ Apt \"B\"|Cambridge, MA   02139|617-555-0102|<null>|<null>|<null>|<null>|<null>|<null>",
          "2|John Smith|12 Main St|Boston, MA   02108|617-555-0101|<null>|<null>|<null>|<null>|<null>|<null>"}},
        {"every member of the source with all eleven fields",
         [&](dao::Database& db) { return reports::fillFilteredMembers(db, "Select * from Members WHERE [City] Like 'Mont*' OR [City] Like 'boston' "); },
         kMemberRows,
         {"2|John Smith|12 Main St|Boston, MA   02108|617-555-0101|John|Smith|Boston|MA|02108|Usher",
          "4|Zoë 🎉 Back\\Slash|<null>|Montréal, QC   H2X 1Y4|<null>|Zoë 🎉|Back\\Slash|Montréal|QC|H2X 1Y4|<null>"}},
        {"a member filter that selects nobody",
         [&](dao::Database& db) { return reports::fillFilteredMembers(db, "Select * from Members WHERE [City] Like 'Nowhere' "); },
         kMemberRows, {}},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int written = c.fill(*f.S.db);
        const QStringList rows = tableRows(QString::fromUtf8(c.table));
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(written, c.rows.size());
    }
    // The first row of the unfiltered member fill: member 1 with every field, first.
    reports::fillFilteredMembers(*f.S.db, members);
    EXPECT_EQ(tableRows("SELECT MemberID FROM MemFullName ORDER BY rowid"), (QStringList{"1", "2", "3", "4", "5"}));
    reports::clearMemFullName(*f.S.db);
    reports::clearListTable(*f.S.db);
    EXPECT_EQ(tableRows("SELECT count(*) FROM ListTable UNION ALL SELECT count(*) FROM MemFullName"), (QStringList{"0", "0"}));
}

TEST_F(ReportWindowTest, AFillThatFailsLeavesItsTableAsItWas)
{
    frmMain& f = opened();
    dao::Database& db = *f.S.db;
    reports::fillPaymentList(db, "Select * from Payments WHERE [Destination] = 'General Fund'", "Members");
    reports::fillSelectedMembers(db, {2}, "Members");
    const QStringList listBefore = tableRows(kListRows);
    const QStringList membersBefore = tableRows(kMemberRows);
    ASSERT_EQ(listBefore.size(), 1);

    // Sources the fills refuse before writing anything.
    const std::function<void()> refused[] = {
        [&] { reports::fillPaymentList(db, "Select * from Members", "Members"); },
        [&] { reports::fillPaymentList(db, "Payments", "Select * from Payments"); },
        [&] { reports::fillPaymentList(db, "Select * from Payments WHERE [NoSuchField] = 1", "Members"); },
        [&] { reports::fillFilteredMembers(db, "Select * from Members WHERE [City] Like "); },
    };
    for (const auto& fill : refused)
        EXPECT_THROW(fill(), jet::DbError);

    // A write that fails halfway, after rows were written in the same fill.
    quiltest::write(db, "CREATE TEMP TRIGGER RefuseList BEFORE INSERT ON ListTable WHEN NEW.PaymentID = 5 "
                         "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    quiltest::write(db, "CREATE TEMP TRIGGER RefuseMember BEFORE INSERT ON MemFullName WHEN NEW.MemberID = 4 "
                         "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const std::function<void()> failing[] = {
        [&] { reports::fillPaymentList(db, "Payments", "Members"); },
        [&] { reports::fillPaymentList(db, "Select * from Payments WHERE [PaymentAmount] < 200", "Members"); },
        [&] { reports::fillSelectedMembers(db, {2, 3, 4}, "Members"); },
        [&] { reports::fillFilteredMembers(db, "Members"); },
    };
    for (const auto& fill : failing)
        EXPECT_THROW(fill(), jet::DbError);
    EXPECT_EQ(tableRows(kListRows), listBefore);
    EXPECT_EQ(tableRows(kMemberRows), membersBefore);
    // And the database goes on working.
    quiltest::write(db, "DROP TRIGGER RefuseList");
    EXPECT_EQ(reports::fillPaymentList(db, "Payments", "Members"), 7);
}

TEST_F(ReportWindowTest, TheDateClauseIncludesBothDaysAsTheDialectReadsIt)
{
    frmMain& f = opened();
    reports::fillPaymentList(*f.S.db, "Payments", "Members");
    struct {
        bool all;
        QDate from, to;
        const char* clause;
        const char* ids;  // the ListTable rows it selects, oldest first
    } cases[] = {
        {true, {}, {}, "", "6 1 4 7 2 5 3"},
        {false, {2001, 1, 15}, {2001, 12, 31}, " WHERE [Paymentdate] Between #1/15/2001# AND #12/31/2001#", "1 4 7 2 5"},
        {false, {2000, 12, 31}, {2000, 12, 31}, " WHERE [Paymentdate] Between #12/31/2000# AND #12/31/2000#", "6"},
        {false, {2002, 1, 1}, {2001, 1, 1}, " WHERE [Paymentdate] Between #1/1/2002# AND #1/1/2001#", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clause);
        const QString clause = reports::dateClause(c.all, vb::DateTime(c.from), vb::DateTime(c.to));
        EXPECT_EQ(clause, QString::fromUtf8(c.clause));
        auto rs = f.S.db->openRecordset(QStringLiteral("SELECT * FROM ListTable ") + clause + QStringLiteral(" Order by [PaymentDate]"));
        QStringList ids;
        for (int i = 0; i < rs->positionCount(); ++i)
            ids << rs->rowAt(i)->at(1).toText();
        EXPECT_EQ(ids.join(u' '), QString::fromUtf8(c.ids));
    }
}

} // namespace
