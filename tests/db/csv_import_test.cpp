// CSV import on a real file and window: every kind of line that cannot be imported and its
// reason, what the lines that can be become in the file, the program's own export read back
// into a blank file, the command from the menu to the summary, and the file left exactly as it
// was by a cancel in the preview or in the write.
#include "db/csv_import.h"
#include "db/db_fixture.h"
#include "db/import_preview.h"
#include "demo/demo_data.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "reports/csv_export.h"
#include "support/executive.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <sqlcipher/sqlite3.h>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;

namespace {

using db::import::Kind;

class ImportTest : public quiltest::WindowTest<> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        sqlite::Connection c = keyed();
        for (const char* sql : {
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (2, 'Ann', 'Adams', '1 Elm St')",
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (3, 'Bob', 'Brown', '2 Oak Ave')",
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (4, 'Bob', 'Brown', '2 Oak Ave')",
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (5, 'Zoë', 'Ödegaard', 'Fjordveien 3')",
                 "INSERT INTO Dest (DestItem) VALUES ('Roof')",
             })
            c.exec(QString::fromUtf8(sql));
    }

    QString csv(const QByteArray& bytes, const char* name = "in.csv") const
    {
        const QString path = dir_.file(QString::fromLatin1(name));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }

    db::import::Plan analysed(frmMain& f, Kind kind, const QByteArray& bytes)
    {
        db::import::Plan plan;
        EXPECT_EQ(db::import::analyse(*f.S.db, csv(bytes), kind, plan), db::import::Outcome::Done);
        return plan;
    }

    QStringList rows(const char* sql) const { return dbtest::rowsOf(file_, QString::fromLatin1(sql)); }
};

QString reasonOn(const db::import::Plan& plan, std::int64_t line)
{
    for (const auto& p : plan.problems)
        if (p.line == line)
            return p.reason;
    return {};
}

// A line of a bad-lines table: the reason given, or a part of it; nullptr: the line is imported.
// The line is a string_view so that a NUL inside it ("Nul\0Last"sv) stays in the file.
struct BadLine {
    std::string_view line;
    const char* reason;
};

QByteArray fileOf(const QByteArray& header, const std::vector<BadLine>& cases)
{
    QByteArray bytes = header;
    for (const BadLine& c : cases)
        bytes += QByteArray(c.line.data(), static_cast<qsizetype>(c.line.size())) + "\r\n";
    return bytes;
}

// The line breaks inside a case's quoted fields: the next case starts that many lines further.
std::int64_t lineBreaks(std::string_view line)
{
    std::int64_t n = 0;
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '\n' || (line[i] == '\r' && (i + 1 == line.size() || line[i + 1] != '\n')))
            ++n;
    return n;
}

// Checks each line's reason (lines are numbered from 2, after the header) and returns how many
// the table says are imported.
std::int64_t expectReasons(const db::import::Plan& plan, const std::vector<BadLine>& cases)
{
    std::int64_t imported = 0;
    std::int64_t line = 2;
    for (std::size_t i = 0; i < cases.size(); line += 1 + lineBreaks(cases[i].line), ++i) {
        SCOPED_TRACE(std::string(cases[i].line));
        const QString reason = reasonOn(plan, line);
        if (!cases[i].reason) {
            EXPECT_TRUE(reason.isEmpty()) << reason.toStdString();
            ++imported;
        } else {
            EXPECT_TRUE(reason.contains(QString::fromUtf8(cases[i].reason))) << reason.toStdString();
        }
    }
    return imported;
}

TEST_F(ImportTest, MemberLinesThatCannotBeImportedAndWhy)
{
    auto& f = open();
    const QByteArray header = "Member ID,First Name,Last Name,Address,Zip,Notes\r\n";
    const std::vector<BadLine> cases = {
        {",Cy,Clark,3 Pine Rd,13501", nullptr},
        {",,,3 Pine Rd,", "missing first name; missing last name"},
        {",  ,  ,3 Pine Rd,", "missing first name; missing last name"},
        {",,Acme Hardware,3 Pine Rd,", "missing first name"},
        {",Cy,,3 Pine Rd,", "missing last name"},
        {",',Clark,3 Pine Rd,", "missing first name"},
        {",'=Cy,'-Clark,'-3 Pine Rd,'+1", nullptr},
        {",Cy,Clark,,", "missing address"},
        {",Cy,Clark,'NONE,", nullptr},
        {"2,Cy,Clark,3 Pine Rd,", "Member ID 2 is already on file"},
        {"40,Di,Dee,4 Ash,", nullptr},
        {"40,Ed,Eve,5 Ash,", "Member ID 40 is also on line"},
        {"x7,Ed,Eve,5 Ash,", "unreadable member ID: 'x7'"},
        {"-3,Ed,Eve,5 Ash,", "member ID '-3' must be from 1 to 2,147,483,647"},
        {",Cy,Clark,3 Pine Rd,123456789012345678901", "over-long text: Zip Code has 21 characters, the field holds 20"},
        {",Cy,Clark,3 Pine Rd,12345678901234567890", nullptr},
        {",,,,13501", "missing first name; missing last name; missing address"},
        // What no box of Add a New Member lets a user type; Notes alone takes tabs and line breaks.
        {",Cy,Nul\0Last,3 Pine Rd,"sv, "control character: Last Name has U+0000 at character 4"},
        {",C\ty,Clark,3 Pine Rd,", "control character: First Name has a tab at character 2"},
        {",Cy,Clark,\"3 Pine Rd\r\nUnit 2\",", "control character: Address has a line break at character 10"},
        {",Cy,Clark,\"3 Pine Rd\nUnit 2\",", "control character: Address has a line break at character 10"},
        {",Cy,Clark,3 Pine Rd,\x1b[2J", "control character: Zip Code has U+001B at character 1"},
        {",Cy,Clark,3 Pine Rd,135\x7f" "01", "control character: Zip Code has U+007F at character 4"},
        {",Cy,Clark,3 Pine Rd,135\xc2\x85" "01", "control character: Zip Code has U+0085 at character 4"},
        {",\xf0\x9f\x8e\x89\x01,Clark,3 Pine Rd,", "control character: First Name has U+0001 at character 2"},
        {",Cy,Clark,3 Pine Rd,,\"a\tb\r\nc\rd\ne\"", nullptr},
        {",Cy,Clark,3 Pine Rd,,\"a\x0b" "b\"", "control character: Notes has U+000B at character 2"},
        {",'\t,Clark,3 Pine Rd,", "control character: First Name has a tab at character 1; missing first name"},
        // Last: it runs to the end of the file.
        {",Cy,\"Clark", "a quoted field is not closed"},
    };
    const db::import::Plan plan = analysed(f, Kind::Members, fileOf(header, cases));
    ASSERT_TRUE(plan.columns.missing.isEmpty());
    EXPECT_EQ(plan.lines, std::ssize(cases));
    const std::int64_t imported = expectReasons(plan, cases);
    EXPECT_EQ(plan.importable(), imported);
    EXPECT_EQ(plan.problems.size() + plan.members.size(), cases.size());
}

TEST_F(ImportTest, DonationLinesThatCannotBeImportedAndWhy)
{
    auto& f = open();
    const QByteArray header = "ID,First Name,Last Name,Address,Amount,Fund,Date,Check\r\n";
    const std::vector<BadLine> cases = {
        {"2,,,,25,Roof,3/12/2004,", nullptr},
        {",ann,ADAMS, 1 elm st ,$25,Roof,2004-03-12,101", nullptr},
        {"99,,,,25,Roof,3/12/2004,", "no such member: Member ID 99"},
        {",Ann,Adams,9 Elm St,25,Roof,3/12/2004,", "no such member: Ann Adams, 9 Elm St"},
        {",Bob,Brown,2 Oak Ave,25,Roof,3/12/2004,", "more than one member is Bob Brown, 2 Oak Ave"},
        {",,,1 Elm St,25,Roof,3/12/2004,", "missing name"},
        {",'ann,'Adams,'1 Elm St,25,'Roof,3/12/2004,", nullptr},
        {"2,,,,25,',3/12/2004,", "missing fund"},
        {"2,,,,25,Ro\0of,3/12/2004,"sv, "control character: Fund has U+0000 at character 3"},
        {"2,,,,25,\"Roof\r\nRepair\",3/12/2004,", "control character: Fund has a line break at character 5"},
        {"2,,,,25,\tRoof,3/12/2004,", "control character: Fund has a tab at character 1"},
        {",,Adams,1 Elm St,25,Roof,3/12/2004,", "no such member: Adams, 1 Elm St"},
        {"2,,,,abc,Roof,3/12/2004,", "unreadable amount: 'abc'"},
        {"2,,,,,Roof,3/12/2004,", "unreadable amount: the amount is blank"},
        {"2,,,,(25),Roof,3/12/2004,", "is not above zero"},
        {"2,,,,0,Roof,3/12/2004,", "is not above zero"},
        {"2,,,,25,Roof,2/30/2004,", "unreadable date: '2/30/2004'"},
        {"2,,,,25,Roof,,", "unreadable date: the date is blank"},
        {"2,,,,25,,3/12/2004,", "missing fund"},
        {"2,,,,25,Roof,3/12/2004,12a", "unreadable check number"},
        {"2,,,,25,Roof,3/12/2004,99999999999", "check number '99999999999' must be from 0 to 2,147,483,647"},
        {"2,,,,25,A fund whose name runs on well past the fifty characters,3/12/2004,", "over-long text: Fund has 56 characters, the field holds 50"},
        {"x,,,,25,Roof,3/12/2004,", "unreadable member ID"},
        {"99,,,,x,Roof,13/13/2004,", "unreadable amount: 'x'; unreadable date: '13/13/2004'; no such member"},
        {"5,,,,\"1.234,50\",roof,12 Mar 2004,0", nullptr},
    };
    const db::import::Plan plan = analysed(f, Kind::Donations, fileOf(header, cases));
    ASSERT_TRUE(plan.columns.missing.isEmpty());
    const std::int64_t imported = expectReasons(plan, cases);
    EXPECT_EQ(plan.importable(), imported);
    EXPECT_TRUE(plan.newDestinations.isEmpty()) << "'roof' is the listed Roof";
}

TEST_F(ImportTest, WhatTheImportedLinesBecome)
{
    auto& f = open();
    db::import::Written written;
    db::import::Plan members = analysed(f, Kind::Members,
        "\xEF\xBB\xBFSurname,Given Name,Street,Town,Province,Postcode,Telephone,Comments,E-mail\r\n"
        "Clark,Cy,\"3 Pine Rd, Unit 2\",Utica,NY,13501,555-0100,\"said \"\"hi\"\"\r\ntwice\",cy@example.org\r\n"
        "Dee,Di,4 Ash,,,,,,\r\n");
    EXPECT_EQ(members.columns.ignored, QStringList{"E-mail"});
    ASSERT_EQ(db::import::write(*f.S.db, members, {}, written), db::import::Outcome::Done);
    EXPECT_EQ(written.members, 2);
    EXPECT_EQ(rows("SELECT * FROM Members WHERE MemberID > 5 ORDER BY MemberID"),
              (QStringList{"6|Cy|Clark|3 Pine Rd, Unit 2|Utica|NY|13501|555-0100|said \"hi\"\r\ntwice",
                           "7|Di|Dee|4 Ash|<null>|<null>|<null>|<null>|<null>"}));

    db::import::Plan gifts = analysed(f, Kind::Donations,
        "Member ID,Gift,Destination,Gift Date,Cheque\r\n"
        "6,\"1,234.50\",Bells,3/12/2004,101\r\n"
        "7,25,bells,2004-03-13 10:30,\r\n"
        "6,$0.05,ROOF,12 Mar 2004,0\r\n");
    EXPECT_EQ(gifts.newDestinations, QStringList{"Bells"}) << "letter case ignored, the first spelling kept";
    ASSERT_EQ(db::import::write(*f.S.db, gifts, {}, written), db::import::Outcome::Done);
    EXPECT_EQ(written.donations, 3);
    EXPECT_EQ(written.destinations, 1);
    EXPECT_EQ(rows("SELECT PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID FROM Payments ORDER BY PaymentID"),
              (QStringList{"12345000|101|Bells|2004-03-12 00:00:00|6", "250000|<null>|bells|2004-03-13 10:30:00|7",
                           "500|0|ROOF|2004-03-12 00:00:00|6"}));
    EXPECT_EQ(rows("SELECT DestItem FROM Dest WHERE DestItem IN ('Bells', 'Roof') ORDER BY DestItem"),
              (QStringList{"Bells", "Roof"}));
}

TEST_F(ImportTest, MembersWithNumbersOfTheirOwnNeverCollideWithNewNumbers)
{
    auto& f = open();
    // The line without a number comes first; written first it would take 6, which a later line
    // gives itself.
    db::import::Plan plan = analysed(f, Kind::Members, "ID,First Name,Last Name,Address\r\n,New,One,1 A St\r\n6,Own,Six,6 A St\r\n");
    db::import::Written written;
    ASSERT_EQ(db::import::write(*f.S.db, plan, {}, written), db::import::Outcome::Done);
    EXPECT_EQ(rows("SELECT MemberID, LastName FROM Members WHERE MemberID > 5 ORDER BY MemberID"),
              (QStringList{"6|Six", "7|One"}));
}

TEST_F(ImportTest, TheProgramsOwnExportReadsBackIntoABlankFile)
{
    const QString source = dir_.file(QStringLiteral("Source.qdb"));
    db::DemoOptions demo;
    demo.members = 150;
    demo.donations = 1500;
    db::writeDemo(source, demo);
    {
        sqlite::Connection c(source, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
        for (const char* sql : {
                 // The demo keeps a few households under the last name alone; the import asks for
                 // both names, as Add a New Member does.
                 "UPDATE Members SET FirstName = 'The' WHERE FirstName IS NULL OR trim(FirstName) = ''",
                 "INSERT INTO Members (FirstName, LastName, Address, City, Notes) VALUES ('  Jo ', 'O''Brien, Jr.', '12 \"Oak\" St, Unit 5', 'Zürich', 'line one\nline two\r\n\tthree')",
                 "INSERT INTO Members (FirstName, LastName, Address, PostalCode, HomePhone) VALUES ('山田', '太郎', '東京都', ',', '\"\"')",
                 "INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) VALUES (10050, NULL, 'Bells, \"new\"', '2002-01-02 10:30:00', 2)",
             })
            c.exec(QString::fromUtf8(sql));
    }
    build();
    open(source);
    ASSERT_FALSE(window_->S.OpenDbPath.isEmpty());
    // The donations as the export writes them now (the donors' names after the member number)
    // and as earlier versions wrote them (no names): both read back.
    const QString members = dir_.file(QStringLiteral("members.csv"));
    const QString withNames = dir_.file(QStringLiteral("donations.csv"));
    const QString earlier = dir_.file(QStringLiteral("donations-earlier.csv"));
    ASSERT_EQ(reports::exportMembers(*window_->S.db, members, {}), reports::ExportResult::Written);
    const QString query = QStringLiteral(
        "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] Order by PaymentID");
    auto grid = window_->S.db->openRecordset(query);
    ASSERT_EQ(reports::exportDonations(*window_->S.db, grid->plan(), withNames, {}), reports::ExportResult::Written);
    ASSERT_EQ(reports::exportQuery(*window_->S.db, grid->plan(), earlier, {}), reports::ExportResult::Written);
    grid.reset();
    window_->mnuFileClose_Click();

    int round = 0;
    for (const QString& donations : {withNames, earlier}) {
        SCOPED_TRACE(donations.toStdString());
        // A blank file: the fixture's members are not in it.
        const QString target = dir_.file(QStringLiteral("Blank%1.qdb").arg(++round));
        db::writeTemplate(target);
        open(target);
        auto& f = *window_;
        db::import::Plan plan;
        db::import::Written written;
        ASSERT_EQ(db::import::analyse(*f.S.db, members, Kind::Members, plan), db::import::Outcome::Done);
        ASSERT_EQ(plan.problems.size(), 1u);
        EXPECT_EQ(plan.problems[0].reason, "Member ID 1 is already on file") << "the blank file's own member 1";
        ASSERT_EQ(db::import::write(*f.S.db, plan, {}, written), db::import::Outcome::Done);
        ASSERT_EQ(db::import::analyse(*f.S.db, donations, Kind::Donations, plan), db::import::Outcome::Done);
        EXPECT_TRUE(plan.problems.empty()) << plan.problems[0].reason.toStdString();
        // The names are read (a donation of a blank member number would be found by them, given
        // an address), not passed over as columns the import does not know.
        EXPECT_EQ(plan.columns.ignored, QStringList{QStringLiteral("PaymentID")});
        ASSERT_EQ(db::import::write(*f.S.db, plan, {}, written), db::import::Outcome::Done);
        f.mnuFileClose_Click();

        const char* const same[] = {
            "SELECT * FROM Members WHERE MemberID > 1 ORDER BY MemberID",
            "SELECT PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID FROM Payments ORDER BY PaymentID",
            "SELECT count(*) FROM Payments",
        };
        // A CSV field cannot tell an empty text from no value: the members' optional fields are
        // compared with both read as empty.
        auto noNulls = [](QStringList rows) { return rows.replaceInStrings(QStringLiteral("<null>"), QString()); };
        for (const char* sql : same) {
            SCOPED_TRACE(sql);
            const bool isMembers = QByteArray(sql).contains("Members");
            const QStringList before = dbtest::rowsOf(source, QString::fromLatin1(sql));
            const QStringList after = dbtest::rowsOf(target, QString::fromLatin1(sql));
            EXPECT_GT(before.size(), 0);
            EXPECT_EQ(isMembers ? noNulls(after) : after, isMembers ? noNulls(before) : before);
        }
        // Every fund the donations use is on the destination list.
        EXPECT_EQ(dbtest::rowsOf(target, QStringLiteral("SELECT DISTINCT Destination FROM Payments WHERE Destination NOT IN (SELECT DestItem FROM Dest)")),
                  QStringList());
    }
}

TEST_F(ImportTest, ACancelDuringTheWriteLeavesTheFileAsItWas)
{
    auto& f = open();
    QByteArray bytes = "Last Name,First Name,Address\r\n";
    for (int i = 0; i < 10000; ++i)
        bytes += "Lee,A" + QByteArray::number(i) + ",1 Elm St\r\n";
    const db::import::Plan plan = analysed(f, Kind::Members, bytes);
    ASSERT_EQ(plan.importable(), 10000);
    const QStringList before = rows("SELECT * FROM Members");
    for (int stopAt : {1, 2, 3}) {
        SCOPED_TRACE(stopAt);
        int calls = 0;
        db::import::Written written;
        EXPECT_EQ(db::import::write(*f.S.db, plan, [&](std::int64_t, std::int64_t) { return ++calls < stopAt; }, written),
                  db::import::Outcome::Cancelled);
        EXPECT_EQ(calls, stopAt);
        EXPECT_EQ(written.members, 0);
        EXPECT_EQ(rows("SELECT * FROM Members"), before);
        EXPECT_TRUE(sqlite3_get_autocommit(f.S.db->connection().handle())) << "no transaction left open";
    }
}

// ---- The command, as a user gives it -----------------------------------------------------------

TEST_F(ImportTest, TheCommandFromTheMenuToTheSummary)
{
    auto& f = open();
    quiltest::enterExecutive(f, ui());
    ASSERT_TRUE(f.mnuFileImport->isEnabled());
    QByteArray bytes = "First Name,Last Name,Address,Favourite Colour\r\n";
    for (int i = 0; i < 1204; ++i)
        bytes += "Al,Bo" + QByteArray::number(i) + ",1 Elm St,red\r\n";
    bytes += ",,2 Elm St,blue\r\n";
    const QString path = csv(bytes);
    const QByteArray before = dbtest::digest(file_);

    // Cancel in the preview: nothing written, nothing said.
    ui().clearLog();
    ui().queueFile(path);
    ui().queueDialog([](QDialog& d) {
        EXPECT_EQ(d.objectName(), "ImportPreview");
        EXPECT_TRUE(ui::child<QLabel>(d, QStringLiteral("lblSummary")).text().contains(QStringLiteral("1,204 of 1,205 lines")));
        auto& columns = ui::child<QTableWidget>(d, QStringLiteral("grdColumns"));
        EXPECT_EQ(columns.rowCount(), 4);
        EXPECT_EQ(columns.item(3, 1)->text(), "(ignored)");
        EXPECT_EQ(columns.item(1, 1)->text(), "Last Name");
        EXPECT_EQ(ui::child<QTableWidget>(d, QStringLiteral("grdRows")).rowCount(), db::import::kPreviewRows);
        auto* problems = ui::child<QTableView>(d, QStringLiteral("grdProblems")).model();
        EXPECT_EQ(problems->rowCount(), 1);
        EXPECT_EQ(problems->index(0, 0).data().toLongLong(), 1206);
        EXPECT_EQ(problems->index(0, 1).data().toString(), "missing first name; missing last name");
        ui::click(d, QStringLiteral("cmdCancel"));
    });
    f.mnuFileImportMembers_Click();
    EXPECT_TRUE(ui().messages().empty());
    EXPECT_FALSE(f.S.DialogCancelled);
    EXPECT_EQ(dbtest::digest(file_), before);

    // Import: the summary, and the view re-run onto the last member.
    ui().clearLog();
    ui().queueFile(path);
    ui().queueDialog([](QDialog& d) { ui::click(d, QStringLiteral("cmdImport")); });
    f.mnuFileImportMembers_Click();
    const auto messages = ui().messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].prompt, "1,204 members imported; 1 line left out.");
    EXPECT_EQ(messages[0].title, "QUIL");
    EXPECT_EQ(rows("SELECT count(*) FROM Members"), QStringList{"1209"});
    EXPECT_EQ(f.datPrimaryRS->recordset()->recordCount(), 1209) << "the view was re-run";
}

TEST_F(ImportTest, AFileWithoutTheRequiredColumnsIsRefusedWithNothingImported)
{
    auto& f = open();
    quiltest::enterExecutive(f, ui());
    const QByteArray before = dbtest::digest(file_);
    const struct {
        const char* name;
        Kind kind;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"members without an address column", Kind::Members, "First Name,Last Name\r\nAl,Bo\r\n", "Address"},
        {"donations without a member", Kind::Donations, "Amount,Fund,Date\r\n5,Roof,1/1/2004\r\n", "Member ID"},
        {"an empty file", Kind::Donations, "\r\n\r\n", "empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui().clearLog();
        ui().queueFile(csv(c.bytes));
        if (c.kind == Kind::Members)
            f.mnuFileImportMembers_Click();
        else
            f.mnuFileImportDonations_Click();
        const auto messages = ui().messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].prompt.contains(QLatin1String(c.says))) << messages[0].prompt.toStdString();
        EXPECT_TRUE(messages[0].prompt.contains(QStringLiteral("Nothing has been imported")));
        EXPECT_EQ(ui().pendingScripts(), 0) << "no preview";
        EXPECT_EQ(dbtest::digest(file_), before);
    }
}

} // namespace
