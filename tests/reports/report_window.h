#pragma once
// The real main window over a copy of the template holding the report tests' members and
// donations, opened through the program's Open command with the scripted UI, and the Print
// command driven from a user's point of view: a report type chosen in Select Report, entries
// selected, a date range, OK; the preview's page model, the questions, the files.
//
//   id  name                 address                    city / state / zip          donations (id amount check destination date)
//   2   John Smith           12 Main St                 Boston MA 02108             1 $100.00 1001 Roof 1/15/2001
//                                                                                   2 $150.50 1002 New Roof 6/1/2001
//                                                                                   3 $25.25 1003 Roof 2/1/2002
//   3   Seán O'Brien         7 {Oak} Rd \ Apt "B"       Cambridge MA 02139          4 $11.00 17 St. Mary's Fund 3/3/2001
//                                                                                   5 $0.05 0 {General} \ Fund 12/31/2001
//   4   Back\Slash Zoë 🎉     (empty)                    Montréal QC H2X 1Y4         6 $500.00 2000 General Fund 12/31/2000
//   5   (no first) 李        255-character address      Springfield IL 62701        none
//   -   donation 7 $7.00 70 Roof 4/4/2001 by member 99, who does not exist
#include "platform/dao/sqlite.h"
#include "platform/report/preview.h"
#include "platform/report/report.h"
#include "platform/ui/scripted_ui.h"
#include "platform/vb/format.h"
#include "reports/printouts.h"
#include "reports/report_commands.h"
#include "support/qstring_printer.h"
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <gtest/gtest.h>

namespace reporttest {

inline const QString kLongAddress = QStringLiteral("1 Long Road ").repeated(21) + QStringLiteral("End");

inline void writeReportData(sqlite::Connection& c)
{
    c.exec(QStringLiteral("UPDATE Passwords SET OrgName = 'Grace & Truth', OrgAdd = '1 Church St', "
                          "OrgPhone = '555-0100', OrgEmail = 'office@grace.example'"));
    const QString statements[] = {
        QStringLiteral("INSERT INTO Members VALUES (2, 'John', 'Smith', '12 Main St', 'Boston', 'MA', '02108', '617-555-0101', 'Usher')"),
        QStringLiteral("INSERT INTO Members VALUES (3, 'Seán', 'O''Brien', '7 {Oak} Rd \\ Apt \"B\"', 'Cambridge', 'MA', '02139', '617-555-0102', '')"),
        QStringLiteral("INSERT INTO Members VALUES (4, 'Zoë 🎉', 'Back\\Slash', NULL, 'Montréal', 'QC', 'H2X 1Y4', NULL, NULL)"),
        QStringLiteral("INSERT INTO Members VALUES (5, NULL, '李', '%1', 'Springfield', 'IL', '62701', '217-555-0100', '')").arg(kLongAddress.left(255)),
        QStringLiteral("INSERT INTO Payments VALUES (1, 1000000, 1001, 'Roof', '2001-01-15 00:00:00', 2)"),
        QStringLiteral("INSERT INTO Payments VALUES (2, 1505000, 1002, 'New Roof', '2001-06-01 00:00:00', 2)"),
        QStringLiteral("INSERT INTO Payments VALUES (3, 252500, 1003, 'Roof', '2002-02-01 00:00:00', 2)"),
        QStringLiteral("INSERT INTO Payments VALUES (4, 110000, 17, 'St. Mary''s Fund', '2001-03-03 00:00:00', 3)"),
        QStringLiteral("INSERT INTO Payments VALUES (5, 500, 0, '{General} \\ Fund', '2001-12-31 00:00:00', 3)"),
        QStringLiteral("INSERT INTO Payments VALUES (6, 5000000, 2000, 'General Fund', '2000-12-31 00:00:00', 4)"),
        QStringLiteral("INSERT INTO Payments VALUES (7, 70000, 70, 'Roof', '2001-04-04 00:00:00', 99)"),
    };
    for (const QString& sql : statements)
        c.exec(sql);
}

// What a user does in Select Report.
struct Choice {
    int type = 1;
    std::function<void(Printouts&)> select;  // entries, dates; null: nothing more
    bool ok = true;                          // false: Cancel
};

class ReportWindowTest : public quiltest::WindowTest<> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (HasFatalFailure())
            return;
        sqlite::Connection c = keyed();
        writeReportData(c);
    }

    // Opened, with the pause of the report run taken out.
    frmMain& opened()
    {
        frmMain& f = open();
        f.timer = [] {
            static float now = 100.0F;
            return now += 1.0F;
        };
        commands(f).PrintOnDefaultPrinter = [](const report::Report&) { return false; };
        ui_->clearLog();
        return f;
    }

    static ReportCommands& commands(frmMain& f) { return static_cast<ReportCommands&>(*f.reports); }

    // Queues the Select Report script for the next Print.
    void queueChoice(const Choice& choice)
    {
        ui().queueDialog([choice](QDialog& d) {
            auto& p = static_cast<Printouts&>(d);
            ASSERT_EQ(p.objectName(), "Printouts");
            ui::click(p, QStringLiteral("PrnOp(%1)").arg(choice.type));
            if (choice.select)
                choice.select(p);
            ui::click(p, choice.ok ? "Command1" : "Command2");
        });
    }

    // Queues a preview script that keeps the pages of the report it shows, as text.
    void queuePreview(QString* pages)
    {
        ui().queueDialog([pages](QDialog& d) {
            auto& preview = dynamic_cast<report::ReportPreview&>(d);
            const report::Pages& r = preview.report();
            *pages = QStringLiteral("%1 \"%2\", pages: %3\n").arg(r.name(), preview.windowTitle()).arg(r.pageCount());
            for (int n = 1; n <= r.pageCount(); ++n)
                *pages += u'\n' + report::describe(r.page(n));
            // The date the report shows is today's: golden texts name it so.
            pages->replace(vb::longDate(vb::DateTime::today()), QStringLiteral("<today>"));
            preview.close();
        });
    }

    // Selects the entries whose texts are given, as Ctrl-clicks do.
    static void selectEntries(Printouts& p, const QStringList& texts)
    {
        for (const QString& t : texts) {
            const auto found = p.PrnList->findItems(t, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << t.toStdString();
            found.front()->setSelected(true);
        }
    }

    // Rows of a table as "a|b|c" lines, in rowid order.
    QStringList tableRows(const QString& sql)
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(sql);
        QStringList out;
        while (s.step()) {
            QStringList cells;
            for (int i = 0; i < s.columnCount(); ++i)
                cells << (s.isNull(i) ? QStringLiteral("<null>") : s.text(i));
            out << cells.join(u'|');
        }
        return out;
    }
};

} // namespace reporttest
