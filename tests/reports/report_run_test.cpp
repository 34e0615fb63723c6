// File > Print from choice to page: each report type run through the real window on the small
// file, its preview's page model against a golden text (tests/reports/golden/run_*.txt,
// QUIL_UPDATE_GOLDEN=1 rewrites them), the work table empty again afterwards, the criteria
// question only for the filtered statement, the criteria page saved as PDF on a system without
// a printer and read back, a list report exported from its preview and read back, and a failing
// fill that ends the run with one message and leaves the file as it was.
#include "report_window.h"

#include "platform/report/export_pages_dialog.h"
#include "support/pdf_tools.h"

#include <QFile>
#include <QLabel>
#include <QTableView>
#include <stdexcept>
#include <QRadioButton>

namespace {

using reporttest::Choice;
using reporttest::ReportWindowTest;

void expectGolden(const QString& name, const QString& actual)
{
    const QString path = QStringLiteral(QUIL_GOLDEN_DIR "/%1.txt").arg(name);
    QFile file(path);
    if (qEnvironmentVariableIsSet("QUIL_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        file.write(actual.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString() << " is missing; QUIL_UPDATE_GOLDEN=1 writes it";
    const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n');
    const QStringList lines = actual.split(u'\n');
    for (qsizetype i = 0; i < std::max(expected.size(), lines.size()); ++i) {
        const QString want = i < expected.size() ? expected[i] : QStringLiteral("(end of file)");
        const QString got = i < lines.size() ? lines[i] : QStringLiteral("(end of page model)");
        if (want != got) {
            ADD_FAILURE() << name.toStdString() << ".txt, line " << i + 1 << "\n  golden: " << want.toStdString()
                          << "\n  now:    " << got.toStdString();
            return;
        }
    }
}

struct RunCase {
    const char* golden;
    Choice choice;
    bool listView = false;
    QString memberFilter;
    QString donationFilter;
    QString trace;  // what the user saw, in order
};

void selectAll(Printouts& p) { ui::click(p, "Check1"); }

TEST_F(ReportWindowTest, EachReportTypeShowsItsPagesAndEmptiesItsWorkTable)
{
    frmMain& f = opened();
    const auto range2001 = [](Printouts& p) {
        ui::click(p, "Check2");
        p.P_Date[0]->setText("1/1/2001");
        p.P_Date[1]->setText("12/31/2001");
    };
    const RunCase cases[] = {
        // Every member's statement for 2001: member 5 has no donation in it and still gets a page.
        {"run_member_statements", {0, [&](Printouts& p) { selectAll(p); range2001(p); }}, false, {}, {},
         "dialog: Printouts|dialog: MemberRPT"},
        // Two members picked, out of the list's order of names.
        {"run_member_statements_two", {0, [&](Printouts& p) { selectEntries(p, {"Smith, John \\2", "李,  \\5"}); }}, false, {}, {},
         "dialog: Printouts|dialog: MemberRPT"},
        // No member selected: an empty report with a total of $0.00.
        {"run_member_statements_none", {0, [](Printouts& p) { ui::click(p, "Check1"); ui::click(p, "Check1"); }}, false, {}, {},
         "dialog: Printouts|dialog: MemberRPT"},
        // Every donation, the one without a member included.
        {"run_accountant", {1, {}}, false, {}, {}, "dialog: Printouts|dialog: ListRPT"},
        {"run_accountant_empty_range",
         {1, [](Printouts& p) { ui::click(p, "Check2"); p.P_Date[0]->setText("1/1/1990"); p.P_Date[1]->setText("12/31/1990"); }},
         false, {}, {}, "dialog: Printouts|dialog: ListRPT"},
        // Two destinations, one with an apostrophe, one with braces and a backslash.
        {"run_category", {2, [&](Printouts& p) { selectEntries(p, {"St. Mary's Fund", "{General} \\ Fund", "Roof"}); }}, false, {}, {},
         "dialog: Printouts|dialog: ListRPT"},
        // The filtered statement in the List View: the donation filter's rows; then the question.
        {"run_filtered_list", {3, {}}, true, {}, QStringLiteral(" WHERE [PaymentAmount] >100 "),
         "dialog: Printouts|dialog: ListRPT|message: Print Filter Criteria ?"},
        // In the Member View: the member filter's members with the donation filter's donations.
        {"run_filtered_members", {3, {}}, false, QStringLiteral("[City] Like 'Boston' OR [City] Like 'Cambridge' "),
         QStringLiteral(" WHERE [PaymentAmount] <100 "), "dialog: Printouts|dialog: MemberRPT|message: Print Filter Criteria ?"},
        // A member filter that selects nobody: an empty report, not a stopped run.
        {"run_filtered_nobody", {3, {}}, false, QStringLiteral("[City] Like 'Nowhere' "), {},
         "dialog: Printouts|dialog: MemberRPT|message: Print Filter Criteria ?"},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.golden);
        ui().clearLog();
        f.S.ListViewActive = c.listView;
        f.S.MemberFilter = c.memberFilter;
        f.S.DonationFilter = c.donationFilter;
        QString pages;
        queueChoice(c.choice);
        queuePreview(&pages);
        ui().queueAnswer(ui::No);
        f.mnuFilePrint_Click();
        EXPECT_EQ(ui().trace().join(u'|'), c.trace);
        expectGolden(QString::fromLatin1(c.golden), pages);
        EXPECT_EQ(tableRows("SELECT count(*) FROM ListTable"), QStringList{"0"});
        EXPECT_EQ(tableRows("SELECT count(*) FROM MemFullName"), QStringList{"0"});
        EXPECT_FALSE(f.S.SuppressReposition);
        EXPECT_FALSE(f.S.FilterReportActive);
        EXPECT_FALSE(f.Picture2->isVisible());
    }
}

// The logo a report prints is the one File > Properties left in force, from the next report on:
// never the picture loaded when the file was opened.
TEST_F(ReportWindowTest, TheLogoPrintedIsTheOneInForceNow)
{
    const QString newLogo = dir_.file("new logo.jpg");
    ASSERT_TRUE(QImage(30, 10, QImage::Format_RGB32).save(newLogo));
    const QString notAPicture = dir_.file("notes.jpg");
    {
        QFile text(notAPicture);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("not a picture");
    }
    const struct {
        const char* name;
        QString logo;       // typed into the logo box
        const char* shown;  // the page header's image
    } cases[] = {
        {"a new picture", newLogo, "(picture 30x10)"},
        {"no logo", "", "(no picture)"},
        {"a name of one character", "x", "(no picture)"},
        {"a file that is no picture", notAPicture, "(no picture)"},
        {"the program folder's logo by its short name", "quil.jpg", "(picture 40x20)"},
        {"a new picture again", newLogo, "(picture 30x10)"},
    };
    frmMain& f = opened();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui().queueDialog([&](QDialog& d) {
            ui::child<QLineEdit>(d, "Text1(4)").setText(c.logo);
            ui::click(d, "Command2");
        });
        f.mnuQuilProperties_Click();
        QString pages;
        queueChoice({1, {}});
        queuePreview(&pages);
        f.mnuFilePrint_Click();
        const QStringList images = pages.split(u'\n').filter("Section2.Image1");
        ASSERT_FALSE(images.isEmpty()) << pages.toStdString();
        for (const QString& line : images)
            EXPECT_TRUE(line.endsWith(QLatin1String(c.shown))) << line.toStdString();
    }
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
}

TEST_F(ReportWindowTest, TheCriteriaPageGoesToThePrinterOrWithoutOneToAPdfFile)
{
    frmMain& f = opened();
    f.S.ListViewActive = true;
    f.S.DonationFilter = QStringLiteral(" WHERE [Destination] Like '*Roof*' ");
    f.S.FilterCaptions.fill(QStringLiteral(" "));
    f.S.FilterCaptions[2] = QStringLiteral(" O'Brien {x} \\ 🎉");
    f.S.FilterCaptions[17] = QStringLiteral("Contains");
    f.S.FilterCaptions[18] = QStringLiteral("Roof");

    // A printer: the first page goes to it, no dialog.
    int printed = 0;
    commands(f).PrintOnDefaultPrinter = [&](const report::Report& r) {
        ++printed;
        EXPECT_EQ(r.layout().name, "CurFltRpt");
        EXPECT_EQ(r.pageCount(), 1);
        return true;
    };
    QString pages;
    queueChoice({3, {}});
    queuePreview(&pages);
    ui().queueAnswer(ui::Yes);
    f.mnuFilePrint_Click();
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(ui().trace(), (QStringList{"dialog: Printouts", "dialog: ListRPT", "message: Print Filter Criteria ?"}));

    // No printer: a PDF file instead, its name given ".pdf".
    commands(f).PrintOnDefaultPrinter = [](const report::Report&) { return false; };
    ui().clearLog();
    const QString chosen = dir_.file("criteria");
    queueChoice({3, {}});
    queuePreview(&pages);
    ui().queueAnswer(ui::Yes);
    ui().queueFile(chosen);
    f.mnuFilePrint_Click();
    ASSERT_TRUE(QFile::exists(chosen + ".pdf"));
    EXPECT_EQ(quiltest::pdfPages(chosen + ".pdf"), 1);
    const QString text = quiltest::pdfText(chosen + ".pdf");
    for (const char* expected : {"Last Name", "O'Brien {x} \\", "Contains", "Roof", "Payment Date"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();

    // No printer and the save dialog cancelled: nothing written, the run ends cleanly.
    ui().clearLog();
    queueChoice({3, {}});
    queuePreview(&pages);
    ui().queueAnswer(ui::Yes);
    ui().queueFileCancel();
    f.mnuFilePrint_Click();
    EXPECT_EQ(ui().messages().size(), 1U);
    EXPECT_EQ(tableRows("SELECT count(*) FROM ListTable"), QStringList{"0"});
}

TEST_F(ReportWindowTest, AnExportedStatementReadsBackWithItsHeadingAndTotals)
{
    frmMain& f = opened();
    const QString path = dir_.file("accountant.pdf");
    queueChoice({1, {}});
    ui().queueDialog([&](QDialog& d) {
        ui().queueDialog([](QDialog& pagesDialog) { ui::click(pagesDialog, "cmdOK"); });  // all pages
        ui().queueFile(path);
        ui::click(d, "cmdExport");
        d.close();
    });
    f.mnuFilePrint_Click();
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(quiltest::pdfPages(path), 2);
    const QString text = quiltest::pdfText(path);
    for (const char* expected : {"Grace & Truth", "Accountant Report", "Total Records:", "Grand Total:", "$793.80", "Seán O'Brien",
                                 "{General} \\ Fund", "St. Mary's Fund", "Page", "of"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

TEST_F(ReportWindowTest, AFailingFillEndsTheRunWithOneMessageAndChangesNothing)
{
    frmMain& f = opened();
    {
        sqlite::Connection c = keyed();
        c.exec("CREATE TRIGGER Refuse BEFORE INSERT ON ListTable WHEN NEW.PaymentID = 5 BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    }
    // The file's schema changed under the open connection: reopen it so the trigger counts.
    open(file_);
    f.timer = [] {
        static float now = 100.0F;
        return now += 1.0F;
    };
    ui().clearLog();
    // The Current Filtered Statement in the List View is the list report that fills ListTable.
    f.S.ListViewActive = true;
    queueChoice({3, {}});
    f.mnuFilePrint_Click();
    ASSERT_EQ(ui().messages().size(), 1U);
    EXPECT_EQ(ui().messages().front().title, "QUIL Data Error");
    EXPECT_TRUE(ui().messages().front().prompt.contains("disk full"));
    EXPECT_EQ(tableRows("SELECT count(*) FROM ListTable"), QStringList{"0"});
    EXPECT_FALSE(f.Picture2->isVisible());
    EXPECT_FALSE(f.S.SuppressReposition);
    EXPECT_FALSE(ui().isBusyPointer());
}

// After the fill: a run that fails while the report is built empties the work table again, and
// an emptying the file refuses after the preview is told as such, not as a report not made.
TEST_F(ReportWindowTest, AFailureAfterTheFillEmptiesTheWorkTableOrSaysTheReportWasShown)
{
    struct Case {
        const char* what;
        int type;                // 3: ListTable (current filtered, List View), 0: MemFullName (member statements)
        bool previewFails;       // the preview throws, as a read the file refuses would
        bool refuseEmptying;     // the file refuses every delete from the work table
        const char* prompt;      // how the one message begins
        const char* rowsLeft;    // rows of the work table afterwards
    };
    const Case cases[] = {
        {"list report, preview fails", 3, true, false, "The report could not be made.", "0"},
        {"member report, preview fails", 0, true, false, "The report could not be made.", "0"},
        {"list report, emptying refused", 3, false, true, "The report was shown, but its rows", "7"},
        {"member report, emptying refused", 0, false, true, "The report was shown, but its rows", "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const char* table = c.type == 3 ? "ListTable" : "MemFullName";
        // The window's connection sees the trigger written behind it (the schema is read again).
        frmMain& f = opened();
        f.S.ListViewActive = c.type == 3;
        {
            sqlite::Connection k = keyed();
            k.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
            if (c.refuseEmptying)
                k.exec(QStringLiteral("CREATE TRIGGER Refuse BEFORE DELETE ON %1 BEGIN SELECT RAISE(ABORT, 'refused by the test'); END")
                           .arg(QLatin1String(table)));
        }
        Choice choice{c.type, {}};
        if (c.type == 0)
            choice.select = [](Printouts& p) { ui::click(p, "Check1"); };  // every member
        queueChoice(choice);
        const bool fails = c.previewFails;
        ui().queueDialog([fails](QDialog& d) {
            if (fails)
                throw std::runtime_error("unreadable page");
            d.close();
        });
        // A filtered list report shown asks whether to print its criteria first.
        const bool asked = c.type == 3 && !c.previewFails;
        if (asked)
            ui().queueAnswer(ui::No);
        f.mnuFilePrint_Click();
        ASSERT_EQ(ui().messages().size(), asked ? 2U : 1U) << ui().trace().join(u'|').toStdString();
        EXPECT_EQ(ui().messages().back().title, "QUIL Data Error");
        EXPECT_TRUE(ui().messages().back().prompt.startsWith(QString::fromLatin1(c.prompt)))
            << ui().messages().back().prompt.toStdString();
        EXPECT_EQ(tableRows(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))), QStringList{c.rowsLeft});
        EXPECT_FALSE(ui().isBusyPointer());
        // The open check refuses a file with a schema object it does not know.
        keyed().exec(QStringLiteral("DROP TRIGGER IF EXISTS Refuse"));
    }
}

} // namespace

namespace {

// The grid's rows as "PaymentID" lines, and its column count.
QString gridShape(frmMain& f)
{
    const QAbstractItemModel* m = f.grdDataGrid->model();
    QStringList ids;
    for (int r = 0; r < m->rowCount(); ++r)
        ids << m->data(m->index(r, 0)).toString();
    return QStringLiteral("%1 columns: %2").arg(m->columnCount()).arg(ids.join(u' '));
}

} // namespace

// A report releases the donation list while it runs; List View must show it again afterwards,
// whatever report ran, and the export of the donations in view must still find them.
TEST_F(ReportWindowTest, ListViewShowsItsDonationsAgainAfterEveryReport)
{
    frmMain& f = opened();
    f.grdDataGrid->show();  // a grid that is not shown reads no rows
    f.mnuListView_Click();
    ASSERT_EQ(f.S.ViewName, "List View");
    const QString before = gridShape(f);
    ASSERT_GT(f.grdDataGrid->model()->rowCount(), 0) << before.toStdString();
    const QString status = f.Label2->text() + u'|' + f.Label7->text();  // the count and the total
    for (int type : {0, 1, 2, 3}) {
        SCOPED_TRACE(type);
        QString pages;
        queueChoice({type, [](Printouts& p) {
                          // Every entry, where the report lists entries to choose from.
                          if (auto* all = p.findChild<QCheckBox*>("Check1"); all && all->isEnabled() && all->isVisible())
                              ui::click(p, "Check1");
                      }});
        queuePreview(&pages);
        ui().queueAnswer(ui::No);  // the filter criteria question, where it is asked
        f.mnuFilePrint_Click();
        EXPECT_FALSE(pages.isEmpty());
        EXPECT_EQ(gridShape(f), before);
        EXPECT_EQ(f.Label2->text() + u'|' + f.Label7->text(), status);
        EXPECT_EQ(f.S.GridQueryState, GridQuery::ListLoaded);
    }
}
