// Select Report through the real window: what each report type does to the dialog's controls
// (the entries listed, the list, OK, Select All Entries, Select All Dates and the date boxes),
// the selection rules, the date check on OK, Cancel and the close box, and the entries' member
// ids kept apart from their texts.
#include "report_window.h"

#include "platform/vb/convert.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

namespace {

using reporttest::Choice;
using reporttest::ReportWindowTest;

struct TypeCase {
    int type;
    QStringList entries;  // as listed, in order
    bool listEnabled;
    bool okEnabled;       // right after the choice, before any click on the list
    bool selectAllEnabled;
    bool allDatesEnabled;
};

TEST_F(ReportWindowTest, EachReportTypeSetsTheDialogsControls)
{
    frmMain& f = opened();
    const QStringList members = {"Back\\Slash, Zoë 🎉 \\4", "Donors, Anonymous \\1", "O'Brien, Seán \\3", "Smith, John \\2", "李,  \\5"};
    const TypeCase cases[] = {
        {0, members, true, false, true, true},
        {1, {}, false, true, false, true},
        {2, {"General Fund", "New Roof", "Roof", "St. Mary's Fund", "{General} \\ Fund"}, true, false, true, true},
        {3, {}, true, true, false, true},
        {4, members, true, false, true, false},
    };
    bool inspected = false;
    ui().queueDialog([&](QDialog& d) {
        auto& p = static_cast<Printouts&>(d);
        EXPECT_EQ(p.windowTitle(), "Select Report");
        EXPECT_EQ(p.Frame2->title(), "Type of Report");
        EXPECT_EQ(p.Frame1->title(), "Select Items to Print");
        EXPECT_EQ(p.Frame3->title(), "Dates");
        const char* types[] = {"&Member Statements", "&Accountant Statement", "Ca&tegory Statements",
                               "Current &Filtered Statement", "Create Mail Merge &Data File"};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(p.PrnOp[static_cast<std::size_t>(i)]->text(), types[i]);
        // As it opens: no type, nothing to select, all dates.
        EXPECT_EQ(f.S.ReportType, 69);
        EXPECT_FALSE(p.Command1->isEnabled());
        EXPECT_FALSE(p.Check1->isEnabled());
        EXPECT_TRUE(p.Check2->isChecked());
        EXPECT_FALSE(p.P_Date[0]->isEnabled());
        EXPECT_TRUE(p.AddPic->isHidden());
        EXPECT_EQ(p.Label2[0]->text(), "BLANK");
        for (const TypeCase& c : cases) {
            SCOPED_TRACE(c.type);
            ui::click(p, QStringLiteral("PrnOp(%1)").arg(c.type));
            EXPECT_EQ(f.S.ReportType, c.type);
            QStringList listed;
            for (int i = 0; i < p.PrnList->count(); ++i)
                listed << p.PrnList->item(i)->text();
            EXPECT_EQ(listed, c.entries);
            EXPECT_EQ(p.PrnList->isEnabled(), c.listEnabled);
            EXPECT_EQ(p.Command1->isEnabled(), c.okEnabled);
            EXPECT_TRUE(p.Command2->isEnabled());
            EXPECT_EQ(p.Check1->isEnabled(), c.selectAllEnabled);
            EXPECT_EQ(p.Check2->isEnabled(), c.allDatesEnabled);
            EXPECT_TRUE(p.AddPic->isHidden());
            EXPECT_TRUE(p.Picture2->isHidden());
            if (c.type == 0 || c.type == 4) {
                EXPECT_EQ(p.Label2[1]->text(), "100%");  // the last member shows 100
                EXPECT_EQ(p.Label2[0]->text(), "Adding Entries");
            }
        }
        inspected = true;
        ui::click(p, "Command2");
    });
    f.mnuFilePrint_Click();
    EXPECT_TRUE(inspected);
}

TEST_F(ReportWindowTest, SelectionAndDateRules)
{
    frmMain& f = opened();
    ui().queueDialog([&](QDialog& d) {
        auto& p = static_cast<Printouts&>(d);
        // Member entries keep the member's id apart from the text: the backslash in a name
        // does not change whom an entry names.
        ui::click(p, "PrnOp(0)");
        const QListWidgetItem* slash = p.PrnList->findItems("Back\\Slash, Zoë 🎉 \\4", Qt::MatchExactly).value(0);
        ASSERT_NE(slash, nullptr);
        EXPECT_EQ(slash->data(reports::kMemberIdRole).toLongLong(), 4);

        // A click on the list enables OK; Select All Entries selects and clears every entry.
        p.PrnList->item(1)->setSelected(true);
        EXPECT_TRUE(p.Command1->isEnabled());
        ui::click(p, "Check1");
        EXPECT_EQ(p.PrnList->selectedItems().size(), 5);
        EXPECT_EQ(p.selectedMemberIds(), (std::vector<std::int64_t>{4, 1, 3, 2, 5}));  // in the list's order
        ui::click(p, "Check1");
        EXPECT_TRUE(p.PrnList->selectedItems().isEmpty());

        // Another type keeps the tick when its list has entries; the new entries start unselected.
        ui::click(p, "Check1");
        ui::click(p, "PrnOp(2)");
        EXPECT_TRUE(p.Check1->isChecked());
        EXPECT_TRUE(p.PrnList->selectedItems().isEmpty());
        EXPECT_FALSE(p.Command1->isEnabled());
        ui::click(p, "PrnOp(1)");  // no entries: unticked and disabled
        EXPECT_FALSE(p.Check1->isChecked());
        EXPECT_FALSE(p.Check1->isEnabled());

        // Unticking Select All Dates enables the dates, except for the filtered statement,
        // which always covers every date.
        ui::click(p, "Check2");
        EXPECT_TRUE(p.P_Date[0]->isEnabled());
        EXPECT_TRUE(p.P_Date[1]->isEnabled());
        ui::click(p, "PrnOp(3)");
        EXPECT_TRUE(p.Check2->isChecked());
        EXPECT_FALSE(p.P_Date[0]->isEnabled());
        ui::click(p, "Check2");
        EXPECT_TRUE(p.Check2->isChecked());
        EXPECT_FALSE(p.P_Date[1]->isEnabled());
        ui::click(p, "Command2");
    });
    f.mnuFilePrint_Click();
    EXPECT_EQ(ui().pendingScripts(), 0);
}

struct DateCase {
    const char* from;
    const char* to;
    bool accepted;
};

TEST_F(ReportWindowTest, OkReadsTheDatesOnlyWhenNotAllDatesAndRefusesAReversedRange)
{
    frmMain& f = opened();
    const DateCase cases[] = {
        {"", "12/31/2001", false},       {"1/1/2001", "", false},          {"2/30/2001", "3/1/2001", false},
        {"someday", "1/1/2001", false},  {"1/1/2001", "12/31/2001", true}, {"2001-01-01", "12/31/2001", true},
        {"12/31/2001", "1/1/2001", false},  // a range that ends before it starts
        {"3/2/2001", "3/1/2001", false},    {"3/1/2001", "3/1/2001", true},   {"3/1/2001 18:00", "3/1/2001", true},
    };
    for (const DateCase& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " .. " + c.to);
        ui().clearLog();
        bool stayedOpen = false;
        ui().queueDialog([&](QDialog& d) {
            auto& p = static_cast<Printouts&>(d);
            ui::click(p, "PrnOp(1)");
            ui::click(p, "Check2");
            p.P_Date[0]->setText(QString::fromUtf8(c.from));
            p.P_Date[1]->setText(QString::fromUtf8(c.to));
            ui::click(p, "Command1");
            stayedOpen = p.isVisible();
            if (stayedOpen)
                ui::click(p, "Command2");
        });
        if (c.accepted)
            ui().queueDialog([](QDialog& d) { d.close(); });  // the preview of the report run
        f.S.ReportFromDate = vb::DateTime();
        f.mnuFilePrint_Click();
        EXPECT_EQ(stayedOpen, !c.accepted);
        QStringList prompts;
        for (const ui::Message& m : ui().messages())
            prompts << m.prompt;
        if (c.accepted) {
            EXPECT_EQ(f.S.ReportFromDate, *vb::readDate(QString::fromUtf8(c.from)));
            EXPECT_FALSE(prompts.contains("Date(s) Not valid"));
        } else {
            EXPECT_EQ(prompts, QStringList{"Date(s) Not valid"});
            EXPECT_EQ(ui().messages().front().title, f.S.AppTitle);
            EXPECT_EQ(f.S.ReportFromDate, vb::DateTime());
        }
    }
    // With all dates ticked, whatever the boxes hold does not matter.
    ui().clearLog();
    ui().queueDialog([](QDialog& d) {
        auto& p = static_cast<Printouts&>(d);
        ui::click(p, "PrnOp(1)");
        p.P_Date[0]->setText("nonsense");
        ui::click(p, "Command1");
    });
    ui().queueDialog([](QDialog& d) { d.close(); });
    f.mnuFilePrint_Click();
    EXPECT_TRUE(ui().messages().empty());
    EXPECT_EQ(ui().trace().filter("dialog:").size(), 2);
}

TEST_F(ReportWindowTest, CancelAndTheCloseBoxRunNoReport)
{
    frmMain& f = opened();
    const std::function<void(QDialog&)> endings[] = {
        [](QDialog& d) { ui::click(d, "PrnOp(1)"); ui::click(d, "Command2"); },
        [](QDialog& d) { ui::click(d, "PrnOp(1)"); d.close(); },
        [](QDialog& d) { ui::click(d, "PrnOp(1)"); d.reject(); },
    };
    for (const auto& ending : endings) {
        ui().clearLog();
        ui().queueDialog(ending);
        f.mnuFilePrint_Click();
        EXPECT_EQ(ui().trace(), QStringList{"dialog: Printouts"});
        EXPECT_FALSE(f.S.DialogCancelled);
        EXPECT_FALSE(f.S.SuppressReposition);
    }
}

// The member and destination lists stand in the order the file's own collation gives the same
// texts: letter case aside, accented letters where the file puts them, and characters beyond
// U+FFFF after U+FFFF (UTF-16 would put them before U+E000).
TEST_F(ReportWindowTest, TheListsStandInTheOrderOfTheFile)
{
    {
        sqlite::Connection c = keyed();
        const char* const names[][3] = {
            {"Émond", "Luc", "Église"}, {"Zimmerman", "Ann", "Zoo Fund"}, {"Bélanger", "Marc", "école"},
            {"Byrne", "Tom", "Building"}, {"belanger", "amy", "bells"},    {"Ｔａｎａｋａ", "Yui", "Ｆｕｎｄ"},
            {"𝒜lpha", "Bo", "𝒜rt"},       {"ÉMOND", "Zoé", "ÉCOLE B"},    {"émond", "", "Éa"},
        };
        for (const auto& n : names) {
            sqlite::Statement member = c.prepare("INSERT INTO Members (LastName, FirstName) VALUES (?, ?)");
            member.bind(1, QString::fromUtf8(n[0])).bind(2, QString::fromUtf8(n[1]));
            member.step();
            sqlite::Statement gift = c.prepare("INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                                               "VALUES (10000, 1, ?, '2001-01-01 00:00:00', last_insert_rowid())");
            gift.bind(1, QString::fromUtf8(n[2]));
            gift.step();
        }
    }
    const struct {
        int type;
        const char* fileOrder;  // the same texts, ordered by the file
    } cases[] = {
        {0, "SELECT LastName || ', ' || ifnull(FirstName, '') || ' \\' || MemberID AS entry FROM Members "
            "ORDER BY entry COLLATE JETNOCASE"},
        {2, "SELECT DISTINCT Destination FROM Payments ORDER BY Destination"},
    };
    frmMain& f = opened();
    std::vector<QStringList> listed;
    ui().queueDialog([&](QDialog& d) {
        auto& p = static_cast<Printouts&>(d);
        for (const auto& c : cases) {
            ui::click(p, QStringLiteral("PrnOp(%1)").arg(c.type));
            QStringList entries;
            for (int i = 0; i < p.PrnList->count(); ++i)
                entries << p.PrnList->item(i)->text();
            listed.push_back(entries);
        }
        ui::click(p, "Command2");
    });
    f.mnuFilePrint_Click();
    ASSERT_EQ(listed.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].type);
        EXPECT_EQ(listed[i], tableRows(QString::fromUtf8(cases[i].fileOrder)));
    }
}

} // namespace
