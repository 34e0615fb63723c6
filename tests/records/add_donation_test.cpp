// Add Donation with a single donation: the dialog as it opens, what OK accepts and refuses, the
// check number, the remembered date across openings, Cancel, and a member-less file.
#include "entry_fixture.h"

#include "platform/data/data_control.h"
#include "platform/vb/format.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace {

using entrytest::EntryTest;

class AddDonationTest : public EntryTest {
protected:
    void SetUp() override
    {
        EntryTest::SetUp();
        member = addMembers({{"John", "Smith", "12 Oak St"}}).at(0);
    }

    // Runs the command with a script that fills the dialog; the script decides how it ends.
    void addDonation(entrytest::EntryMain& f, ui::ScriptedUi::DialogScript script)
    {
        ui().queueDialog(std::move(script));
        f.mnuEditAddPay_Click();
        EXPECT_FALSE(f.S.DialogCancelled) << "the command sets it back";
    }

    static void fill(QDialog& d, const QString& amount, const QString& check, const QString& destination,
                     const QString& date = {})
    {
        text1(d, 0).setText(amount);
        text1(d, 1).setText(check);
        typeDestination(d, destination);
        if (!date.isEmpty())
            text1(d, 3).setText(date);
    }

    static QString today() { return vb::shortDate(vb::DateTime::today()); }

    std::int64_t member = 0;
};

TEST_F(AddDonationTest, TheDialogOpensWithItsCaptionsAndStartingStates)
{
    auto& f = open();
    addDonation(f, [&](QDialog& d) {
        EXPECT_EQ(d.objectName(), "AddPayment");
        EXPECT_EQ(d.windowTitle(), "Add Donations");
        EXPECT_EQ(ui::child<QGroupBox>(d, "Frame1").title(), "Enter Donation Info");
        EXPECT_EQ(ui::child<QLabel>(d, "Label2").text(), "Donation for John Smith");
        const char* const labels[][2] = {
            {"Label1(0)", "Amount"}, {"Label1(1)", "Check #"}, {"Label1(2)", "Destination"}, {"Label1(3)", "Donation Date"}};
        for (const auto& l : labels)
            EXPECT_EQ(ui::child<QLabel>(d, l[0]).text(), l[1]);
        const char* const buttons[][2] = {
            {"Check1", "Remember &Date"},
            {"Option1", "&Single Donation"},
            {"Option2", "&Multiple Donation"},
            {"Command1", "&OK"},
            {"Command2", "&Cancel"},
            {"Command3", "        &Add item             to Destination"},
            {"Command4", "    &Remove item        from Destination"},
        };
        for (const auto& b : buttons)
            EXPECT_EQ(ui::child<QAbstractButton>(d, b[0]).text(), b[1]);
        EXPECT_TRUE(ui::child<QRadioButton>(d, "Option1").isChecked());
        EXPECT_FALSE(ui::child<QRadioButton>(d, "Option2").isEnabled());
        EXPECT_FALSE(ui::child<QPushButton>(d, "Command3").isEnabled());
        EXPECT_FALSE(ui::child<QPushButton>(d, "Command4").isEnabled());
        EXPECT_FALSE(ui::child<QCheckBox>(d, "Check1").isChecked());
        EXPECT_EQ(text1(d, 3).text(), today());
        auto& combo = ui::child<QComboBox>(d, "Combo1");
        EXPECT_EQ(combo.count(), 1);
        EXPECT_EQ(combo.itemText(0), "General Fund");
        EXPECT_EQ(combo.currentIndex(), -1);
        EXPECT_TRUE(combo.currentText().isEmpty());
        for (const char* hidden : {"A_List", "D_List", "Data1"})
            EXPECT_TRUE(ui::child<QWidget>(d, hidden).isHidden()) << hidden;
        ui::click(d, "Command2");
    });
}

TEST_F(AddDonationTest, ASingleDonationWritesOneRowForTheCurrentMember)
{
    auto& f = open();
    const int before = f.datSecondaryRS->recordset()->recordCount();
    addDonation(f, [](QDialog& d) {
        fill(d, "1,234.5", "", "Roof Repair", "3/15/2001");
        ui::click(d, "Command1");
        EXPECT_FALSE(d.isVisible());
    });
    const auto rows = payments();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].amount, "1234.5");
    EXPECT_EQ(rows[0].check, 0) << "an empty Check # box is check 0";
    EXPECT_EQ(rows[0].destination, "Roof Repair");
    EXPECT_EQ(rows[0].date, "2001-03-15 00:00:00");
    EXPECT_EQ(rows[0].member, member);
    // The row stands at the end of the grid's record set and is its current row.
    dao::Recordset* grid = f.datSecondaryRS->recordset();
    EXPECT_EQ(grid->recordCount(), before + 1);
    EXPECT_EQ(grid->field("Destination").toText(), "Roof Repair");
    EXPECT_TRUE(f.grdDataGrid->isHidden()) << "Standard mode keeps the grid hidden";
    EXPECT_TRUE(ui().messages().empty());
}

// A command that failed while it showed the view again (a report on a failing disk) can leave
// the grid without its list; the next donation must still be recorded, not refused.
TEST_F(AddDonationTest, AGridLeftWithoutItsListIsReadAgainBeforeTheDonationIsWritten)
{
    auto& f = open();
    // The list is read again through the view's own query, with the sort fields the window
    // starts with.
    f.datSecondaryRS->setRecordset(nullptr);
    addDonation(f, [&](QDialog& d) {
        fill(d, "25", "", "Roof Repair");
        ui::click(d, "Command1");
        EXPECT_FALSE(d.isVisible()) << (ui().messages().empty() ? std::string() : ui().messages().back().prompt.toStdString());
    });
    const auto rows = payments();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].member, member);
    ASSERT_NE(f.datSecondaryRS->recordset(), nullptr);
    EXPECT_EQ(f.datSecondaryRS->recordset()->field("Destination").toText(), "Roof Repair");
    EXPECT_TRUE(ui().messages().empty()) << ui().messages().front().prompt.toStdString();
}

TEST_F(AddDonationTest, OutsideStandardModeTheGridIsShownAgain)
{
    auto& f = open();
    f.S.StandardMode = false;
    addDonation(f, [](QDialog& d) {
        fill(d, "5", "", "General Fund");
        ui::click(d, "Command1");
    });
    EXPECT_FALSE(f.grdDataGrid->isHidden());
}

TEST_F(AddDonationTest, RefusedEntriesKeepTheDialogOpenWithItsMessage)
{
    struct Case {
        const char* amount;
        const char* check;
        const char* destination;
        const char* date;
        const char* message;  // nullptr: accepted
    };
    const Case cases[] = {
        {"0.005", "", "Roof", "1/2/2003", "Amount must be a number greater than Zero"},
        {"0", "", "Roof", "1/2/2003", "Amount must be a number greater than Zero"},
        {"abc", "", "Roof", "1/2/2003", "Amount must be a number greater than Zero"},
        {"", "", "Roof", "1/2/2003", "Amount must be a number greater than Zero"},
        {"-5", "", "Roof", "1/2/2003", "Amount must be a number greater than Zero"},
        {"1e300", "", "Roof", "1/2/2003", "Amount must be from $0.01 to $999,999,999.99"},
        {"10", "0", "Roof", "1/2/2003", "Check must be a number greater than Zero"},
        {"10", "a12", "Roof", "1/2/2003", "Check must be a number greater than Zero"},
        {"10", "0.4", "Roof", "1/2/2003", "Check must be a number greater than Zero"},
        {"10", "99999999999", "Roof", "1/2/2003", "Check # must be from 1 to 2,147,483,647"},
        {"10", "", "", "1/2/2003", "Must enter a Destination"},
        {"10", "", "Roof", "2/30/2003", "Not a valid Date"},
        {"10", "", "Roof", "", "Not a valid Date"},
        {"0.01", "", "Roof", "1/2/2003", nullptr},
        {"$12.50", "7", "Roof", "1/2/2003", nullptr},
    };
    auto& f = open();
    for (const Case& c : cases) {
        ui().clearLog();
        bool stayedOpen = false;
        addDonation(f, [&](QDialog& d) {
            fill(d, c.amount, c.check, c.destination, c.date);
            if (!*c.date)
                text1(d, 3).clear();
            ui::click(d, "Command1");
            stayedOpen = d.isVisible();
            if (stayedOpen) {
                EXPECT_EQ(text1(d, 0).text(), c.amount) << "typed contents stay";
                ui::click(d, "Command2");
            }
        });
        const auto messages = ui().messages();
        if (c.message) {
            EXPECT_TRUE(stayedOpen) << c.amount << " / " << c.check;
            ASSERT_EQ(messages.size(), 1u) << c.message;
            EXPECT_EQ(messages[0].prompt, c.message);
            EXPECT_EQ(messages[0].title, "QUIL");
            EXPECT_EQ(messages[0].icon, ui::Icon::Information);
        } else {
            EXPECT_FALSE(stayedOpen) << c.amount;
            EXPECT_TRUE(messages.empty()) << c.amount;
        }
    }
    const auto rows = payments();
    ASSERT_EQ(rows.size(), 2u) << "only the accepted entries were written";
    EXPECT_EQ(rows[0].amount, "0.01");
    EXPECT_EQ(rows[1].amount, "12.5");
    EXPECT_EQ(rows[1].check, 7);
}

TEST_F(AddDonationTest, CheckNumbersAreRoundedHalfToEvenAndCorrectionsCount)
{
    auto& f = open();
    addDonation(f, [](QDialog& d) {
        fill(d, "10", "12.5", "Roof");
        ui::click(d, "Command1");
    });
    addDonation(f, [](QDialog& d) {
        fill(d, "10", "13.5", "Roof");
        ui::click(d, "Command1");
    });
    // A number typed before a refused OK is not the one written when the user corrects it ...
    addDonation(f, [](QDialog& d) {
        fill(d, "10", "12", "");
        ui::click(d, "Command1");  // Must enter a Destination
        text1(d, 1).setText("15");
        typeDestination(d, "Roof");
        ui::click(d, "Command1");
    });
    // ... nor when the box is emptied afterwards.
    addDonation(f, [](QDialog& d) {
        fill(d, "10", "12", "", "2/30/2001");
        ui::click(d, "Command1");  // Must enter a Destination
        text1(d, 1).clear();
        typeDestination(d, "Roof");
        text1(d, 3).setText("3/1/2001");
        ui::click(d, "Command1");
    });
    const auto rows = payments();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].check, 12);
    EXPECT_EQ(rows[1].check, 14);
    EXPECT_EQ(rows[2].check, 15);
    EXPECT_EQ(rows[3].check, 0);
}

TEST_F(AddDonationTest, MultipleDonationNeedsACheckNumber)
{
    auto& f = open();
    addDonation(f, [](QDialog& d) {
        auto& single = ui::child<QRadioButton>(d, "Option1");
        auto& multiple = ui::child<QRadioButton>(d, "Option2");
        auto& combo = ui::child<QComboBox>(d, "Combo1");
        EXPECT_FALSE(multiple.isEnabled());
        text1(d, 1).setText("101");
        EXPECT_TRUE(multiple.isEnabled());
        typeDestination(d, "Roof");
        ui::click(d, "Option2");
        // The check's total comes first, without a destination.
        EXPECT_TRUE(combo.currentText().isEmpty());
        EXPECT_FALSE(combo.isEnabled());
        text1(d, 1).clear();
        EXPECT_TRUE(single.isChecked());
        EXPECT_FALSE(multiple.isEnabled());
        EXPECT_TRUE(combo.isEnabled());
        ui::click(d, "Command2");
    });
    EXPECT_TRUE(payments().empty());
}

TEST_F(AddDonationTest, TheRememberedDateComesBackAtTheNextOpeningsUntilUnticked)
{
    auto& f = open();
    struct Opening {
        const char* date;      // typed before OK or Cancel
        bool tick;
        bool ok;
        const char* expectedNext;  // nullptr: today's date, unticked
    };
    const Opening openings[] = {
        {"3/15/2001", true, true, "3/15/2001"},
        {"3/16/2001", true, false, "3/16/2001"},   // Cancel remembers too
        {"4/1/2001", false, true, nullptr},         // unticked: forgotten
        {"5/5/2005", true, false, "5/5/2005"},
        {"5/45/2005", true, false, nullptr},        // a date that cannot be read is forgotten
    };
    for (const Opening& o : openings) {
        addDonation(f, [&](QDialog& d) {
            fill(d, "10", "", "Roof", o.date);
            ui::child<QCheckBox>(d, "Check1").setChecked(o.tick);
            ui::click(d, o.ok ? "Command1" : "Command2");
        });
        addDonation(f, [&](QDialog& d) {
            EXPECT_EQ(text1(d, 3).text(), o.expectedNext ? QString(o.expectedNext) : today()) << o.date;
            EXPECT_EQ(ui::child<QCheckBox>(d, "Check1").isChecked(), o.expectedNext != nullptr) << o.date;
            ui::click(d, "Command2");
        });
    }
    EXPECT_EQ(payments().size(), 2u);
}

TEST_F(AddDonationTest, AnUnreadableDateToRememberIsReportedBeforeAnythingElse)
{
    auto& f = open();
    addDonation(f, [](QDialog& d) {
        fill(d, "", "", "", "13/45/2001");
        ui::child<QCheckBox>(d, "Check1").setChecked(true);
        ui::click(d, "Command1");
        ui::click(d, "Command2");
    });
    EXPECT_EQ(prompts(), QStringList{"Not a valid Date"});
}

TEST_F(AddDonationTest, CancelEscapeAndClosingWriteNothing)
{
    auto& f = open();
    addDonation(f, [](QDialog& d) {
        fill(d, "10", "", "Roof");
        ui::click(d, "Command2");
    });
    addDonation(f, [](QDialog& d) {
        fill(d, "10", "", "Roof");
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&d, &escape);
        EXPECT_FALSE(d.isVisible());
    });
    addDonation(f, [](QDialog& d) {
        fill(d, "10", "", "Roof");
        d.close();
    });
    EXPECT_TRUE(payments().empty());
    EXPECT_TRUE(f.grdDataGrid->isHidden());
}

TEST_F(AddDonationTest, AFileWithoutMembersGetsNoDonationWithoutAMember)
{
    {
        sqlite::Connection c = keyed();
        c.exec("DELETE FROM Members");
    }
    auto& f = open();
    ui().clearLog();  // what opening an empty file says is not the command's
    f.mnuEditAddPay_Click();
    EXPECT_EQ(ui().pendingScripts(), 0);
    EXPECT_EQ(ui().beepCount(), 1);
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(payments().empty());
    EXPECT_TRUE(ui().trace().filter("dialog:").isEmpty());
}

} // namespace
