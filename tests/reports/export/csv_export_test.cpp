// The CSV exports on a real file and window: every member field with awkward texts, the grid's
// query exactly (view, filter and sort), fund totals and their date range, and the file left
// alone when an export is cancelled or its write fails.
#include "csv_reader.h"

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/vb/convert.h"
#include "reports/csv_export.h"
#include "reports/csv_writer.h"
#include "reports/fund_range_dialog.h"
#include "schema/csv_text.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<QStringList> parsed(const QString& path)
{
    const csvtest::Parsed p = csvtest::readCsv(contents(path));
    EXPECT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    return p.records;
}

struct Gift {
    std::int64_t member;
    std::int64_t tenThousandths;
    std::int64_t check;
    const char* destination;
    const char* date;  // as stored
};

class ExportTest : public quiltest::WindowTest<> {
protected:
    void addMembers(const std::vector<QStringList>& members)
    {
        sqlite::Connection c = keyed();
        sqlite::Transaction t(c);
        for (const QStringList& fields : members) {
            sqlite::Statement s = c.prepare(QStringLiteral(
                "INSERT INTO Members (FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
            for (int i = 0; i < 8; ++i)
                s.bind(i + 1, fields.value(i));
            s.step();
        }
        t.commit();
    }
    void addMember(const QStringList& fields) { addMembers({fields}); }

    void addGifts(const std::vector<Gift>& gifts)
    {
        sqlite::Connection c = keyed();
        for (const Gift& g : gifts) {
            sqlite::Statement s = c.prepare(QStringLiteral(
                "INSERT INTO Payments (MemberID, PaymentAmount, CheckNumber, Destination, PaymentDate) VALUES (?, ?, ?, ?, ?)"));
            s.bind(1, g.member).bind(2, g.tenThousandths).bind(3, g.check).bind(4, QString::fromUtf8(g.destination));
            s.bind(5, QString::fromLatin1(g.date));
            s.step();
        }
    }

    QString out(const char* name = "out.csv") const { return dir_.file(QString::fromLatin1(name)); }
};

TEST_F(ExportTest, MembersKeepEveryFieldWhateverItHolds)
{
    const std::vector<QStringList> members = {
        {"Seán", "O'Brien, Jr.", "12 \"Oak\" St", "Zürich", "ZH", "8001", "+41 44 000", "line one\nline two"},
        {"Ann", "Lee", "3 Bay Rd\r\nUnit 5", "Springfield", "IL", "62701", "(217) 555-0100", ""},
        {"山田", "太郎", "東京都", "Tōkyō", "", "100-0001", "", "🎉, \"quoted\""},
        {"  Jo ", "Smith", "NONE", "a,b,c", "\"", ",", "\"\"", "=1+1"},
        {"=HYPERLINK(\"http://x\",\"y\")", "=cmd|' /C calc'!A0", "-5 Main St", "@home", "'", "'=1", "+44 20 7946 0958", "\tnote"},
    };
    for (const QStringList& m : members)
        addMember(m);
    auto& f = open();
    std::int64_t written = 0;
    ASSERT_EQ(reports::exportMembers(*f.S.db, out(), {}, &written), reports::ExportResult::Written);

    const auto rows = parsed(out());
    ASSERT_EQ(rows.size(), 1 + 1 + members.size()) << "header, member 1, the members added";
    EXPECT_EQ(written, static_cast<std::int64_t>(rows.size() - 1));
    EXPECT_EQ(rows[0], (QStringList{"MemberID", "FirstName", "LastName", "Address", "City", "State", "PostalCode",
                                    "HomePhone", "Notes"}));
    EXPECT_EQ(rows[1].value(0), "1");
    for (std::size_t i = 0; i < members.size(); ++i) {
        SCOPED_TRACE(members[i].join('|').toStdString());
        const QStringList& row = rows[i + 2];
        ASSERT_EQ(row.size(), 9);
        QStringList inFile;
        for (const QString& text : members[i])
            inFile << db::csvtext::written(text);
        EXPECT_EQ(row.mid(1), inFile);
        EXPECT_EQ(row[0].toLongLong(), static_cast<long long>(i + 2)) << "in member-number order";
    }
    // A few lines exactly as the file holds them.
    const QByteArray bytes = contents(out());
    EXPECT_TRUE(bytes.contains("\"O'Brien, Jr.\",\"12 \"\"Oak\"\" St\""));
    EXPECT_TRUE(bytes.contains("\"line one\nline two\"\r\n"));
    EXPECT_TRUE(bytes.contains("Z\xC3\xBCrich"));
    EXPECT_TRUE(bytes.contains(",'=1+1\r\n"));
    EXPECT_TRUE(bytes.contains(",\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",'=cmd|' /C calc'!A0,'-5 Main St,'@home,'','" "'=1,"
                               "'+44 20 7946 0958,'\tnote\r\n"));
}

TEST_F(ExportTest, DonationsAreExactlyTheGridsQueryInItsOrderWithTheDonorsNames)
{
    addMember({"Ann", "Lee", "3 Bay Rd"});
    addMember({"=Bob", "O'Ray, \"Jr.\"", "4 Elm St"});
    addGifts({
        {2, 250000, 101, "Roof", "2001-03-15 00:00:00"},
        {3, 100, 0, "Bells, \"new\"", "2001-04-01 00:00:00"},
        {2, 12345000, 7, "roof", "2002-01-02 10:30:00"},
        {3, 10050, 0, "Organ", "2000-12-31 00:00:00"},
        {2, 50000, 0, "General Fund", "2001-06-30 00:00:00"},
        {99, 70000, 12, "Organ", "2001-07-01 00:00:00"},  // its member is gone
    });
    auto& f = open();
    const struct {
        const char* name;
        const char* query;
        bool names;  // the query shows the member number, after which the names stand
    } cases[] = {
        {"every donation by date (List View)",
         "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] Order by  PaymentDate",
         true},
        {"a filter and a sort by amount",
         "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments]"
         " WHERE [Destination] Like 'roof' Order by  PaymentAmount",
         true},
        {"one member's, by destination",
         "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments]"
         " WHERE [MemberID]= 3 Order by  Destination",
         true},
        {"the member number first, ordered by it",
         "select [MemberID], [PaymentAmount] from [Payments] WHERE [MemberID] > 2 Order by MemberID DESC, PaymentID", true},
        {"no member number", "select [PaymentID],[PaymentAmount] from [Payments] Order by PaymentAmount", false},
        {"nothing passes", "select [PaymentID],[MemberID] from [Payments] WHERE [PaymentAmount] > 1000000", true},
    };
    // The names as the file holds them, looked up apart from the export.
    QHash<QString, QStringList> namesOf;
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare("SELECT MemberID, FirstName, LastName FROM Members");
        while (s.step())
            namesOf.insert(s.text(0), {db::csvtext::written(s.text(1)), db::csvtext::written(s.text(2))});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        f.datSecondaryRS->setRecordSource(QString::fromLatin1(c.query));
        f.datSecondaryRS->setRecordset(f.S.db->openRecordset(QString::fromLatin1(c.query)));
        dao::Recordset* grid = f.datSecondaryRS->recordset();
        std::int64_t written = -1;
        ASSERT_EQ(reports::exportDonations(*f.S.db, grid->plan(), out(), {}, &written), reports::ExportResult::Written);
        const auto rows = parsed(out());
        ASSERT_EQ(static_cast<int>(rows.size()), grid->positionCount() + 1);
        EXPECT_EQ(written, grid->positionCount());
        int memberAt = -1;
        QStringList header;
        for (int i = 0; i < grid->fieldCount(); ++i) {
            header << grid->fieldName(i);
            if (grid->fieldName(i) == "MemberID" && c.names) {
                memberAt = i;
                header << "FirstName" << "LastName";
            }
        }
        EXPECT_EQ(rows[0], header);
        // Row for row what the grid shows, in the grid's order, the names after the member.
        for (int p = 0; p < grid->positionCount(); ++p) {
            const auto shown = grid->rowAt(p);
            ASSERT_TRUE(shown);
            QStringList line = rows[static_cast<std::size_t>(p) + 1];
            ASSERT_EQ(line.size(), header.size());
            if (memberAt >= 0) {
                EXPECT_EQ(line.mid(memberAt + 1, 2), namesOf.value(line[memberAt], {"", ""})) << line[memberAt].toStdString();
                line.remove(memberAt + 1, 2);
            }
            for (int i = 0; i < grid->fieldCount(); ++i) {
                const vb::Value& v = (*shown)[static_cast<std::size_t>(i)];
                if (grid->fieldType(i) == jet::FieldType::Currency)
                    EXPECT_EQ(vb::Currency::fromDecimalText(line[i]), v.toCurrency()) << line[i].toStdString();
                else if (grid->fieldType(i) == jet::FieldType::Date)
                    EXPECT_EQ(vb::DateTime::fromIso(line[i]), v.toDate()) << line[i].toStdString();
                else
                    EXPECT_EQ(line[i], v.toText());
            }
        }
    }
    // The forms themselves, in the List View's order.
    f.datSecondaryRS->setRecordset(f.S.db->openRecordset(QString::fromLatin1(cases[0].query)));
    ASSERT_EQ(reports::exportDonations(*f.S.db, f.datSecondaryRS->recordset()->plan(), out(), {}), reports::ExportResult::Written);
    const auto rows = parsed(out());
    EXPECT_EQ(rows[0], (QStringList{"PaymentID", "PaymentAmount", "CheckNumber", "Destination", "PaymentDate", "MemberID",
                                    "FirstName", "LastName"}));
    EXPECT_EQ(rows[1], (QStringList{"4", "1.005", "0", "Organ", "2000-12-31", "3", "'=Bob", "O'Ray, \"Jr.\""}));
    EXPECT_EQ(rows[2], (QStringList{"1", "25.00", "101", "Roof", "2001-03-15", "2", "Ann", "Lee"}));
    EXPECT_EQ(rows[3], (QStringList{"2", "0.01", "0", "Bells, \"new\"", "2001-04-01", "3", "'=Bob", "O'Ray, \"Jr.\""}));
    EXPECT_EQ(rows[5], (QStringList{"6", "7.00", "12", "Organ", "2001-07-01", "99", "", ""}));
    EXPECT_EQ(rows[6], (QStringList{"3", "1234.50", "7", "roof", "2002-01-02 10:30:00", "2", "Ann", "Lee"}));
}

TEST_F(ExportTest, FundTotalsCountAndSumEachDestinationOverTheDaysGiven)
{
    addMember({"Ann", "Lee", "3 Bay Rd"});
    addGifts({
        {2, 100000, 0, "Roof", "2000-12-31 23:59:59"},
        {2, 250000, 0, "Roof", "2001-01-01 00:00:00"},
        {2, 50000, 0, "roof", "2001-06-01 00:00:00"},
        {2, 12345, 0, "Bells, \"new\"", "2001-12-31 18:00:00"},
        {2, 999999, 0, "Organ", "2002-01-01 00:00:00"},
        {2, 10000, 0, "=1+1", "1995-05-05 00:00:00"},
    });
    auto& f = open();
    auto day = [](const char* text) { return vb::readDate(QString::fromLatin1(text)); };
    const struct {
        const char* name;
        std::optional<vb::DateTime> from, to;
        std::vector<QStringList> lines;
    } cases[] = {
        {"the year 2001, both ends included", day("1/1/2001"), day("12/31/2001"),
         {{"Bells, \"new\"", "1", "1.2345"}, {"Roof", "2", "30.00"}}},
        {"one day", day("12/31/2000"), day("12/31/2000"), {{"Roof", "1", "10.00"}}},
        {"from a day on", day("12/31/2001"), std::nullopt, {{"Bells, \"new\"", "1", "1.2345"}, {"Organ", "1", "99.9999"}}},
        {"everything", std::nullopt, std::nullopt,
         {{"'=1+1", "1", "1.00"}, {"Bells, \"new\"", "1", "1.2345"}, {"Organ", "1", "99.9999"}, {"Roof", "3", "40.00"}}},
        {"no donations in the range", day("1/1/1990"), day("1/2/1990"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(reports::exportFundTotals(*f.S.db, c.from, c.to, out(), {}), reports::ExportResult::Written);
        auto rows = parsed(out());
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows[0], (QStringList{"Destination", "Count", "Total"}));
        rows.erase(rows.begin());
        // Letter case aside, Roof and roof are one fund; which spelling names it is the file's.
        for (QStringList& r : rows)
            if (r[0].compare("roof", Qt::CaseInsensitive) == 0)
                r[0] = "Roof";
        EXPECT_EQ(rows, c.lines);
    }
}

// The funds stand in the order the file's collation gives their names, as a GROUP BY would
// list them: accents where the file puts them, characters beyond U+FFFF after U+FFFF.
TEST_F(ExportTest, FundTotalsStandInTheOrderOfTheFile)
{
    addGifts({
        {1, 10000, 0, "Zoo Fund", "2001-01-01 00:00:00"},
        {1, 10000, 0, "Église", "2001-01-01 00:00:00"},
        {1, 10000, 0, "église", "2001-01-01 00:00:00"},
        {1, 10000, 0, "Building", "2001-01-01 00:00:00"},
        {1, 10000, 0, "Ｆｕｎｄ", "2001-01-01 00:00:00"},
        {1, 10000, 0, "𝒜rt", "2001-01-01 00:00:00"},
        {1, 10000, 0, "bells", "2001-01-01 00:00:00"},
        {1, 10000, 0, "Éa", "2001-01-01 00:00:00"},
    });
    auto& f = open();
    ASSERT_EQ(reports::exportFundTotals(*f.S.db, std::nullopt, std::nullopt, out(), {}), reports::ExportResult::Written);
    QStringList exported;
    for (const QStringList& row : parsed(out()))
        exported << row[0].toCaseFolded();
    exported.removeFirst();  // the heading
    QStringList fileOrder;
    sqlite::Connection c = keyed();
    sqlite::Statement s = c.prepare("SELECT Destination FROM Payments GROUP BY Destination ORDER BY Destination");
    while (s.step())
        fileOrder << s.text(0).toCaseFolded();
    EXPECT_EQ(exported, fileOrder);
}

// Writes a file that an export must leave as it is.
void keepOld(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the older file\n");
}

TEST_F(ExportTest, ACancelledOrFailedExportLeavesNoFileAndAnOlderOneUntouched)
{
    std::vector<QStringList> many;
    for (int i = 0; i < 3000; ++i)
        many.push_back({QStringLiteral("First%1").arg(i), QStringLiteral("Last, %1").arg(i), QStringLiteral("%1 Long Street Name").arg(i)});
    addMembers(many);
    auto& f = open();

    // Cancelled at the first progress report after the start, and at the very start.
    for (int stopAt : {1, 0}) {
        SCOPED_TRACE(stopAt);
        keepOld(out());
        int calls = 0;
        const auto stop = [&](std::int64_t, std::int64_t total) {
            EXPECT_EQ(total, 3001) << "the members to write, known in advance";
            return calls++ < stopAt;
        };
        EXPECT_EQ(reports::exportMembers(*f.S.db, out(), stop), reports::ExportResult::Cancelled);
        EXPECT_EQ(contents(out()), "the older file\n");
        EXPECT_FALSE(QFile::exists(out("fresh.csv")));
        EXPECT_EQ(reports::exportMembers(*f.S.db, out("fresh.csv"), [](std::int64_t, std::int64_t) { return false; }),
                  reports::ExportResult::Cancelled);
        EXPECT_FALSE(QFile::exists(out("fresh.csv")));
    }

    // A folder that does not exist.
    EXPECT_THROW(reports::exportMembers(*f.S.db, dir_.file("no such folder/out.csv"), {}), reports::csv::WriteError);
    EXPECT_FALSE(QFile::exists(dir_.file("no such folder")));

    // The disk refusing half-way: the process may write no file beyond 16 KB.
    keepOld(out());
    struct rlimit before {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool refused = false;
    try {
        reports::exportMembers(*f.S.db, out(), {});
    } catch (const reports::csv::WriteError& e) {
        refused = !e.reason().isEmpty();
    }
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(refused) << "a write beyond the limit is reported, with its reason";
    EXPECT_EQ(contents(out()), "the older file\n");
    EXPECT_EQ(QDir(dir_.path()).entryList({"out.csv*"}, QDir::Files), QStringList{"out.csv"}) << "no temporary file is left";
}

TEST_F(ExportTest, TheCommandsAskForTheFileConfirmAReplaceAndTellHowItEnded)
{
    addMember({"Ann", "Lee", "3 Bay Rd"});
    addGifts({{2, 250000, 101, "Roof", "2001-03-15 00:00:00"}, {2, 100, 0, "Bells", "2001-04-01 00:00:00"}});
    auto& f = open();
    f.S.StandardMode = false;
    f.S.ListViewActive = true;
    const QString list = QStringLiteral(
        "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] Order by  PaymentDate");
    f.datSecondaryRS->setRecordset(f.S.db->openRecordset(list));

    // A name without extension gets ".csv".
    ui().queueFile(out("members"));
    f.mnuFileExportMembers_Click();
    EXPECT_EQ(parsed(out("members.csv")).size(), 3u);
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].prompt, QStringLiteral("2 members written to '%1'.").arg(out("members.csv")));
    EXPECT_EQ(ui().fileRequests().at(0).title, "Export Members");
    EXPECT_EQ(ui().fileRequests().at(0).initialName, "Members.csv");

    // Replacing: No keeps the file, Yes writes it.
    ui().clearLog();
    keepOld(out());
    ui().queueFile(out());
    ui().queueAnswer(ui::No);
    f.mnuFileExportDonations_Click();
    EXPECT_EQ(contents(out()), "the older file\n");
    ui().queueFile(out());
    ui().queueAnswer(ui::Yes);
    f.mnuFileExportDonations_Click();
    EXPECT_EQ(parsed(out()).size(), 3u);
    EXPECT_EQ(ui().trace().last(), QStringLiteral("message: 2 donations written to '%1'.").arg(out()));

    // Cancelling the file dialog or the date range writes nothing and says nothing.
    ui().clearLog();
    ui().queueFileCancel();
    f.mnuFileExportMembers_Click();
    ui().queueDialog([](QDialog& d) { ui::click(d, "cmdCancel"); });
    f.mnuFileExportFunds_Click();
    EXPECT_TRUE(ui().messages().empty());
    EXPECT_FALSE(f.S.DialogCancelled);

    // A file that cannot be written: one message, no file.
    ui().clearLog();
    ui().queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, "txtFrom").setText("1/1/2001");
        ui::child<QLineEdit>(d, "txtTo").setText("12/31/2001");
        ui::click(d, "cmdOK");
    });
    ui().queueFile(dir_.file("gone/funds.csv"));
    f.mnuFileExportFunds_Click();
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].title, "File Error");
    EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(ui().messages()[0].prompt.startsWith(QStringLiteral("The file '%1' cannot be written: ").arg(dir_.file("gone/funds.csv"))));
    EXPECT_FALSE(QFile::exists(dir_.file("gone")));
    EXPECT_FALSE(ui().isBusyPointer());
}

TEST_F(ExportTest, TheDateRangeDialogTakesDatesOrNothingAndKeepsThemInOrder)
{
    auto& f = open();
    const struct {
        const char* from;
        const char* to;
        const char* message;  // "" when accepted
        bool hasFrom, hasTo;
    } cases[] = {
        {"1/1/2001", "12/31/2001", "", true, true},
        {"", "12/31/2001", "", false, true},
        {"1/1/2001", "  ", "", true, false},
        {"", "", "", false, false},
        {"3/3/2003", "3/3/2003", "", true, true},
        {"13/45/2001", "12/31/2001", "Not a valid Date", false, false},
        {"1/1/2001", "soon", "Not a valid Date", false, false},
        {"12/31/2001", "1/1/2001", "The first day comes after the last day", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " .. " + c.to);
        ui().clearLog();
        FundRange d(f.S, &f);
        EXPECT_FALSE(d.txtFrom->text().isEmpty()) << "starts on the year so far";
        d.txtFrom->setText(QString::fromLatin1(c.from));
        d.txtTo->setText(QString::fromLatin1(c.to));
        d.show();
        d.cmdOK_Click();
        const bool accepted = QString::fromLatin1(c.message).isEmpty();
        EXPECT_EQ(d.result(), accepted ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(d.isVisible(), !accepted);
        if (accepted) {
            EXPECT_TRUE(ui().messages().empty());
            EXPECT_EQ(d.from.has_value(), c.hasFrom);
            EXPECT_EQ(d.to.has_value(), c.hasTo);
        } else {
            ASSERT_EQ(ui().messages().size(), 1u);
            EXPECT_EQ(ui().messages()[0].prompt, c.message);
        }
    }
}

} // namespace
