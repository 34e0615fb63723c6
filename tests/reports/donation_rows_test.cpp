// The rows the list reports read straight from Payments, over more donations than a record set
// reads whole at open, so that they come through the key reader as they do on a large file: many
// donations share a day across destinations, a fund is stored in three letter cases, some
// donations fall outside the date range. The Accountant Statement's rows are held against what
// the work table gave; Category Statements' (by date, then the destinations' order in the list,
// then record order, with the count and total of exactly those rows) against an expectation
// worked out here from the donations as written, not read back from the file.
#include "report_window.h"

#include "platform/dao/recordset.h"
#include "platform/report/data_source.h"
#include "reports/date_clause.h"
#include "reports/donation_rows.h"
#include "reports/recordset_rows.h"
#include "reports/work_tables.h"

#include <QListWidget>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cstdint>
#include <tuple>

namespace {

using reporttest::ReportWindowTest;

// The rows on the small file (report_window.h), one table of choices: destinations matched whole
// with letter case aside, an apostrophe and braces as typed, a pattern taken as a name; a fund
// named twice in two letter cases shows its donations once; the date range with both ends; the
// donor's full name, " " for a member who does not exist.
TEST_F(ReportWindowTest, CategoryRowsAreTheChosenDonationsByDateWithTheirDonorsNames)
{
    frmMain& f = opened();
    const struct {
        const char* name;
        QStringList destinations;
        QString dateClause;
        QStringList rows;  // PaymentID|Destination|FullName
    } cases[] = {
        {"four names, one a pattern", {"ROOF", "St. Mary's Fund", "{General} \\ Fund", "Roo*"}, {},
         {"1|Roof|John Smith", "4|St. Mary's Fund|Seán O'Brien", "7|Roof| ", "5|{General} \\ Fund|Seán O'Brien", "3|Roof|John Smith"}},
        {"one fund named twice", {"roof", "General Fund", "ROOF"}, {},
         {"6|General Fund|Zoë 🎉 Back\\Slash", "1|Roof|John Smith", "7|Roof| ", "3|Roof|John Smith"}},
        {"nothing chosen", {}, {}, {}},
        {"a range whose both days count", {"Roof", "New Roof"}, reports::dateClause(false, vb::DateTime(QDate(2001, 1, 15)), vb::DateTime(QDate(2001, 6, 1))),
         {"1|Roof|John Smith", "7|Roof| ", "2|New Roof|John Smith"}},
        {"a range without a donation", {"Roof"}, reports::dateClause(false, vb::DateTime(QDate(1990, 1, 1)), vb::DateTime(QDate(1990, 12, 31))), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rows = reports::openCategoryRows(*f.S.db, c.destinations, c.dateClause);
        const QStringList fields = rows->fieldNames();
        QStringList got;
        for (int i = 0; i < rows->count(); ++i) {
            const std::vector<vb::Value> row = rows->row(i);
            const auto at = [&](const char16_t* name) { return row[static_cast<std::size_t>(report::indexOfName(fields, name))].toText(); };
            got << at(u"PaymentID") + u'|' + at(u"Destination") + u'|' + at(u"FullName");
        }
        EXPECT_EQ(got, c.rows);
    }
}

struct Gift {
    int id;
    int cents;
    int check;
    QString destination;
    QString date;  // stored form
};

// The fixture's own donations (report_window.h) that the chosen funds and the range below meet.
const Gift kFixtureGifts[] = {
    {1, 10000, 1001, QStringLiteral("Roof"), QStringLiteral("2001-01-15 00:00:00")},
    {2, 15050, 1002, QStringLiteral("New Roof"), QStringLiteral("2001-06-01 00:00:00")},
    {3, 2525, 1003, QStringLiteral("Roof"), QStringLiteral("2002-02-01 00:00:00")},
    {7, 700, 70, QStringLiteral("Roof"), QStringLiteral("2001-04-04 00:00:00")},
};

// 2,000 more donations over a few days, the range's edges and a day either side of it included.
std::vector<Gift> moreGifts()
{
    const QString funds[] = {QStringLiteral("roof"), QStringLiteral("Bells"), QStringLiteral("ROOF"), QStringLiteral("General Fund"),
                             QStringLiteral("New Roof"), QStringLiteral("Roof")};
    const QString days[] = {QStringLiteral("2001-01-03 00:00:00"), QStringLiteral("2000-12-31 00:00:00"),
                            QStringLiteral("2001-01-01 00:00:00"), QStringLiteral("2001-01-31 00:00:00"),
                            QStringLiteral("2001-01-03 00:00:00"), QStringLiteral("2001-02-01 00:00:00"),
                            QStringLiteral("2001-01-02 00:00:00")};
    std::vector<Gift> gifts;
    for (int i = 0; i < 2000; ++i)
        gifts.push_back({100 + i, 100 + (i * 37) % 5000, 5000 + i, funds[i % 6], days[(i / 3) % 7]});
    return gifts;
}

QString money(long long cents)
{
    QString whole = QString::number(cents / 100);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, u',');
    return QStringLiteral("$%1.%2").arg(whole).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

// Writes the donations, to members 2 to 4 of the fixture (4 does not exist).
void writeGifts(sqlite::Connection c, const std::vector<Gift>& gifts)
{
    c.exec(QStringLiteral("BEGIN"));
    sqlite::Statement insert = c.prepare(QStringLiteral("INSERT INTO Payments VALUES (?, ?, ?, ?, ?, ?)"));
    for (const Gift& g : gifts) {
        insert.bind(1, static_cast<std::int64_t>(g.id));
        insert.bind(2, static_cast<std::int64_t>(g.cents) * 100);
        insert.bind(3, static_cast<std::int64_t>(g.check));
        insert.bind(4, g.destination);
        insert.bind(5, g.date);
        insert.bind(6, static_cast<std::int64_t>(2 + g.id % 3));
        insert.step();
        insert.reset();
    }
    c.exec(QStringLiteral("COMMIT"));
}

// Every field of every row, by the first source's field names.
QStringList rowsOf(report::DataSource& source, const QStringList& fields)
{
    const QStringList own = source.fieldNames();
    QStringList out;
    for (int i = 0; i < source.count(); ++i) {
        const std::vector<vb::Value> row = source.row(i);
        QStringList cells;
        for (const QString& name : fields) {
            const vb::Value& v = row[static_cast<std::size_t>(report::indexOfName(own, name))];
            cells << (v.isNull() ? QStringLiteral("<null>") : v.toText());
        }
        out << cells.join(u'|');
    }
    return out;
}

// The Accountant Statement reads Payments in place: its rows must be the rows the work table's
// fill wrote and the classic report read back by date, field for field and in the same order
// (equal dates in record order, the name of a member who is gone as " "), with and without a
// range.
TEST_F(ReportWindowTest, AccountantRowsAreTheWorkTablesRowsInItsOrder)
{
    writeGifts(keyed(), moreGifts());
    frmMain& f = opened();
    const QString ranges[] = {QString(), reports::dateClause(false, vb::DateTime(QDate(2001, 1, 1)), vb::DateTime(QDate(2001, 1, 31)))};
    for (const QString& range : ranges) {
        SCOPED_TRACE(range.toStdString());
        reports::fillPaymentList(*f.S.db, QStringLiteral("Payments"), QStringLiteral("Members"));
        reports::RecordsetRows filled(
            f.S.db->openRecordset(QStringLiteral("SELECT * FROM ListTable ") + range + QStringLiteral(" Order by [PaymentDate]")));
        const QStringList fields = filled.fieldNames();
        const QStringList expected = rowsOf(filled, fields);
        reports::clearListTable(*f.S.db);
        ASSERT_GT(expected.size(), 1024);
        EXPECT_EQ(rowsOf(*reports::openAccountantRows(*f.S.db, range), fields), expected);
    }
}

TEST_F(ReportWindowTest, CategoryRowsComeByDateThenListOrderThenRecordOrder)
{
    std::vector<Gift> gifts = moreGifts();
    writeGifts(keyed(), gifts);
    gifts.insert(gifts.end(), std::begin(kFixtureGifts), std::end(kFixtureGifts));

    // Chosen in the list's own order, which is what the run follows: Bells, New Roof, Roof.
    const QStringList chosen = {QStringLiteral("bells"), QStringLiteral("new roof"), QStringLiteral("roof")};
    frmMain& f = opened();
    queueChoice({2, [&](Printouts& p) {
                     for (int i = 0; i < p.PrnList->count(); ++i)
                         if (chosen.contains(p.PrnList->item(i)->text().toLower()))
                             p.PrnList->item(i)->setSelected(true);
                     ui::click(p, "Check2");
                     p.P_Date[0]->setText("1/1/2001");
                     p.P_Date[1]->setText("1/31/2001");
                 }});
    QString pages;
    queuePreview(&pages);
    f.mnuFilePrint_Click();
    ASSERT_FALSE(pages.isEmpty());

    std::vector<std::pair<int, const Gift*>> wanted;  // (place in the list, gift)
    long long cents = 0;
    for (const Gift& g : gifts) {
        const qsizetype place = chosen.indexOf(g.destination.toLower());
        if (place < 0 || g.date < QStringLiteral("2001-01-01") || g.date > QStringLiteral("2001-01-31 23:59:59"))
            continue;
        wanted.emplace_back(static_cast<int>(place), &g);
        cents += g.cents;
    }
    std::sort(wanted.begin(), wanted.end(), [](const auto& a, const auto& b) {
        return std::tie(a.second->date, a.first, a.second->id) < std::tie(b.second->date, b.first, b.second->id);
    });
    QStringList expected;
    for (const auto& w : wanted)
        expected << QString::number(w.second->check);
    ASSERT_GT(expected.size(), 1024);

    QStringList shown;
    const QRegularExpression check(QStringLiteral(R"re(textbox\s+Section1\.Text12 "(\d+)")re"));
    for (auto m = check.globalMatch(pages); m.hasNext();)
        shown << m.next().captured(1);
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(pages.contains(QStringLiteral("Section4.Label19 \"%1\"").arg(QLocale(QLocale::English).toString(expected.size()))));
    EXPECT_TRUE(pages.contains(QStringLiteral("Section4.Label24 \"%1\"").arg(money(cents)))) << money(cents).toStdString();
    EXPECT_EQ(tableRows("SELECT count(*) FROM ListTable"), QStringList{"0"});
}

} // namespace
