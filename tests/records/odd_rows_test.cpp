// Rows the program could not have written, put into a file by some other tool: a text or a
// number beyond the currency's range as an amount, names of thousands of characters, dates that
// are no dates, nulls where the program always writes a value, a donation of a member who does
// not exist. The file opens; the member, the grid, the totals and the reports show them without
// a crash (a value nothing can compute with is one "QUIL Data Error" message and the window
// goes on); the program's own writes next to them stay sound and leave the odd rows as they
// were.
#include "platform/dao/write_unit.h"
#include "grid_fixture.h"

#include "frame/dispatch.h"
#include "platform/data/data_control.h"
#include "platform/report/report.h"
#include "reports/recordset_rows.h"
#include "reports/report_layouts.h"
#include "reports/shaped_recordset.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace {

const QString kLongName = QStringLiteral("Wolfeschlegelsteinhausen").repeated(210).left(5000);

struct OddRow {
    const char* what;
    QStringList sql;  // run on the file before it is opened; member 5 is the last member
};

const OddRow kOddRows[] = {
    {"a text as an amount", {"INSERT INTO Payments VALUES (6, 'a lot', 7, 'Roof', '2001-05-05 00:00:00', 5)"}},
    {"an amount beyond the currency's range", {"INSERT INTO Payments VALUES (6, 1e300, 7, 'Roof', '2001-05-05 00:00:00', 5)"}},
    {"a negative amount beyond the range", {"INSERT INTO Payments VALUES (6, -1e300, 7, 'Roof', '2001-05-05 00:00:00', 5)"}},
    {"an amount as a fraction of a ten-thousandth", {"INSERT INTO Payments VALUES (6, 0.5, 7, 'Roof', '2001-05-05 00:00:00', 5)"}},
    {"5,000-character names",
     {QStringLiteral("UPDATE Members SET FirstName = '%1', LastName = '%1', Address = '%1' WHERE MemberID = 5").arg(kLongName),
      QStringLiteral("INSERT INTO Payments VALUES (6, 10000, 7, '%1', '2001-05-05 00:00:00', 5)").arg(kLongName),
      QStringLiteral("INSERT INTO Dest VALUES ('%1')").arg(kLongName)}},
    {"a date that is not a date", {"INSERT INTO Payments VALUES (6, 10000, 7, 'Roof', 'the day after tomorrow', 5)"}},
    {"a date as a number", {"INSERT INTO Payments VALUES (6, 10000, 7, 'Roof', 36526.5, 5)"}},
    {"a date of another form", {"INSERT INTO Payments VALUES (6, 10000, 7, 'Roof', '2001-13-45 25:61:61', 5)"}},
    {"nulls in every donation field", {"INSERT INTO Payments VALUES (6, NULL, NULL, NULL, NULL, 5)"}},
    {"nulls in every member field",
     {"UPDATE Members SET FirstName = NULL, LastName = NULL, Address = NULL, City = NULL, State = NULL, "
      "PostalCode = NULL, HomePhone = NULL, Notes = NULL WHERE MemberID = 5"}},
    {"a donation of nobody", {"INSERT INTO Payments VALUES (6, 10000, 7, 'Roof', '2001-05-05 00:00:00', NULL)"}},
    {"a donation of a member who does not exist", {"INSERT INTO Payments VALUES (6, 10000, 7, 'Roof', '2001-05-05 00:00:00', 999)"}},
    {"a text as a check number and a member number",
     {"INSERT INTO Payments VALUES (6, 10000, 'one', 'Roof', '2001-05-05 00:00:00', 5)",
      "INSERT INTO Payments VALUES (7, 10000, 3.5, 'Roof', '2001-05-05 00:00:00', 'five')"}},
    {"a check number beyond the long range", {"INSERT INTO Payments VALUES (6, 10000, 99999999999, 'Roof', '2001-05-05 00:00:00', 5)"}},
};

class OddRowsTest : public gridtest::GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        if (HasFatalFailure())
            return;
        sqlite::Connection c = keyed();
        c.exec("INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (5, 'Odd', 'Row', '5 Elm St')");
    }

    // Every row of a table as text, in key order: what the program must leave as it was.
    QStringList dump(const char* table)
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)));
        QStringList rows;
        while (s.step()) {
            QStringList values;
            for (int i = 0; i < s.columnCount(); ++i)
                values << (s.isNull(i) ? QStringLiteral("<null>") : QStringLiteral("%1:%2").arg(s.columnType(i)).arg(s.text(i)));
            rows << values.join(u'|');
        }
        return rows;
    }

    // Runs a step as a menu command runs: what it lets through becomes the dispatch's message.
    void asCommand(frmMain& f, const std::function<void()>& step) { frame::RunHandler(f, frame::Origin::Menu, step); }

    // Whatever the program showed: only its own data-error and empty-result messages.
    void expectOnlyDataMessages(const char* what)
    {
        for (const ui::Message& m : ui().messages())
            EXPECT_TRUE(m.title == "QUIL Data Error" || m.title == "Bad Query")
                << what << ": " << m.title.toStdString() << ": " << m.prompt.toStdString();
    }

    // The work tables filled as the report procedures fill them, and the member and the
    // accountant reports laid out page by page.
    void runReports(frmMain& f)
    {
        dao::WriteUnit unit(*f.S.db);
        auto& c = unit.connection();
        c.exec("DELETE FROM MemFullName");
        c.exec("DELETE FROM ListTable");
        c.exec("INSERT INTO MemFullName (MemberID, FullName, Address, CityStateZip, HomePhone, FirstName, LastName, City, State, "
               "PostalCode, Notes) SELECT MemberID, FirstName || ' ' || LastName, Address, City || ', ' || State || '   ' || "
               "PostalCode, HomePhone, FirstName, LastName, City, State, PostalCode, Notes FROM Members");
        c.exec("INSERT INTO ListTable (MemberID, PaymentID, PaymentAmount, PaymentDate, CheckNumber, Destination, FullName) "
               "SELECT p.MemberID, PaymentID, PaymentAmount, PaymentDate, CheckNumber, Destination, FirstName || ' ' || LastName "
               "FROM Payments p LEFT JOIN Members m ON m.MemberID = p.MemberID");
        unit.commit();
        report::ReportOptions options;
        options.date = vb::DateTime(QDate(2001, 3, 15));
        asCommand(f, [&] {
            auto shaped = std::make_shared<reports::ShapedRecordset>(
                f.S.db, QStringLiteral("SHAPE {SELECT * FROM MemFullName} APPEND ({SELECT * FROM Payments Order by [PaymentDate]} "
                                       "AS QuilPay RELATE MemberID TO MemberID),SUM(QuilPay.paymentamount) AS Gtotal"));
            const report::Report member(reports::MemberRPT(), shaped, options);
            EXPECT_GE(member.walk().size(), 1u);
        });
        asCommand(f, [&] {
            auto rows = std::make_shared<reports::RecordsetRows>(f.S.db->openRecordset("SELECT * FROM ListTable Order by [PaymentDate]"));
            const report::Report list(reports::ListRPT(), rows, options);
            EXPECT_GE(list.walk().size(), 1u);
        });
    }
};

TEST_F(OddRowsTest, OddRowsOpenShowAndReportAndTheProgramsWritesStaySound)
{
    for (const OddRow& odd : kOddRows) {
        SCOPED_TRACE(odd.what);
        // A fresh copy of the file for every row.
        window_.reset();
        dao::Engine::instance().defaultWorkspace().close();
        QFile::remove(file_);
        SetUp();
        {
            sqlite::Connection c = keyed();
            for (const QString& sql : odd.sql)
                c.exec(sql);
        }
        const QStringList members = dump("Members");
        const QStringList payments = dump("Payments");

        // Opens, in Executive mode's state, standing on the odd member.
        frmMain& f = executive();
        ASSERT_EQ(f.S.OpenDbPath, file_) << ui().trace().join(" | ").toStdString();
        EXPECT_EQ(currentMember(f), 5);

        // Shows: every cell of the grid, the member's fields, the totals.
        asCommand(f, [&] {
            const data::GridModel& m = grid(f);
            for (int r = 0; r < m.rowCount(); ++r)
                for (int col = 0; col < m.columnCount(); ++col)
                    m.data(m.index(r, col));
        });
        asCommand(f, [&] { f.records->ShowListTotal(); });
        for (int id : {2, 3, 4, 5})
            asCommand(f, [&] { goToMember(f, id); });
        EXPECT_EQ(currentMember(f), 5);
        f.grdDataGrid->grab();
        f.grab();
        expectOnlyDataMessages(odd.what);

        // Reports.
        ui().clearLog();
        runReports(f);
        expectOnlyDataMessages(odd.what);

        // The program's own write: a donation for the odd member through the Add Donations
        // dialog, which stays within the screen whatever the name.
        ui().clearLog();
        ui().queueDialog([&](QDialog& d) {
            EXPECT_LT(d.sizeHint().width(), 1000) << "the dialog is wider than a screen";
            ui::child<QLineEdit>(d, "Text1(0)").setText("12.5");
            ui::child<QComboBox>(d, "Combo1").setEditText("Organ");
            ui::child<QLineEdit>(d, "Text1(3)").setText("7/4/2001");
            ui::click(d, "Command1");
        });
        asCommand(f, [&] { f.mnuEditAddPay_Click(); });
        expectOnlyDataMessages(odd.what);
        asCommand(f, [&] { goToMember(f, 2); });
        asCommand(f, [&] { goToMember(f, 5); });
        window_->files->mnuFileClose_Click();

        // The file is sound, the odd rows are as they were, and the new donation is there.
        sqlite::Connection c = keyed();
        sqlite::Statement check = c.prepare("PRAGMA integrity_check");
        ASSERT_TRUE(check.step());
        EXPECT_EQ(check.text(0), "ok");
        EXPECT_EQ(dump("Members"), members);
        QStringList after = dump("Payments");
        ASSERT_EQ(after.size(), payments.size() + 1);
        EXPECT_EQ(after.mid(0, payments.size()), payments);
        EXPECT_TRUE(after.last().contains("|1:125000|1:0|3:Organ|3:2001-07-04 00:00:00|1:5")) << after.last().toStdString();
    }
}

} // namespace
