// A check split over several destinations: the running balance and the dialog's states, lines
// refused, and the lines written all together or not at all when the file refuses one of them.
#include "platform/dao/write_unit.h"
#include "entry_fixture.h"

#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

using entrytest::EntryTest;

class SplitTest : public EntryTest {
protected:
    void SetUp() override
    {
        EntryTest::SetUp();
        member = addMembers({{"Ann", "Lee", "3 Bay Rd"}}).at(0);
    }

    // The check's total with its number: the first OK of a multiple donation.
    static void startSplit(QDialog& d, const QString& total, const QString& check, const QString& date = "6/1/2004")
    {
        text1(d, 0).setText(total);
        text1(d, 1).setText(check);
        text1(d, 3).setText(date);
        ui::click(d, "Option2");
        ui::click(d, "Command1");
    }

    static void line(QDialog& d, const QString& amount, const QString& destination)
    {
        text1(d, 0).setText(amount);
        typeDestination(d, destination);
        ui::click(d, "Command1");
    }

    // Makes the file refuse a donation row with this destination, as a full disk or a damaged
    // page would refuse it half-way through.
    void refuseDestination(entrytest::EntryMain& f, const QString& destination)
    {
        dao::WriteUnit unit(*f.S.db);
        auto& c = unit.connection();
        c.exec("DROP TRIGGER IF EXISTS refuse");
        c.exec(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE INSERT ON Payments WHEN NEW.Destination = '%1' "
                              "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END")
                   .arg(destination));
        unit.commit();
    }

    std::int64_t member = 0;
};

TEST_F(SplitTest, OneHundredOverSixtyAndFortyWritesTwoRowsOfOneCheck)
{
    auto& f = open();
    ui().queueDialog([](QDialog& d) {
        startSplit(d, "100", "123");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(text1(d, 1).text(), "$100.00");
        EXPECT_FALSE(text1(d, 1).isEnabled());
        EXPECT_TRUE(text1(d, 0).text().isEmpty());
        EXPECT_EQ(ui::child<QLabel>(d, "Label1(1)").text(), "Balance");
        EXPECT_TRUE(ui::child<QLabel>(d, "Label1(1)").font().bold());
        EXPECT_TRUE(ui::child<QLabel>(d, "Label1(0)").font().bold());
        for (const char* off : {"Text1(3)", "Command3", "Command4", "Option1", "Option2"})
            EXPECT_FALSE(ui::child<QWidget>(d, off).isEnabled()) << off;
        auto& combo = ui::child<QComboBox>(d, "Combo1");
        EXPECT_TRUE(combo.isEnabled());
        EXPECT_TRUE(combo.currentText().isEmpty());

        line(d, "60", "Roof");
        EXPECT_EQ(text1(d, 1).text(), "$40.00");
        EXPECT_TRUE(text1(d, 0).text().isEmpty());
        EXPECT_TRUE(combo.currentText().isEmpty());
        EXPECT_EQ(items(&ui::child<QListWidget>(d, "A_List")), QStringList{"60"});
        EXPECT_EQ(items(&ui::child<QListWidget>(d, "D_List")), QStringList{"Roof"});

        chooseDestination(d, "General Fund");
        text1(d, 0).setText("40");
        ui::click(d, "Command1");
        EXPECT_FALSE(d.isVisible());
    });
    f.mnuEditAddPay_Click();

    const auto rows = payments();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].amount, "60");
    EXPECT_EQ(rows[0].destination, "Roof");
    EXPECT_EQ(rows[1].amount, "40");
    EXPECT_EQ(rows[1].destination, "General Fund");
    for (const auto& r : rows) {
        EXPECT_EQ(r.check, 123);
        EXPECT_EQ(r.date, "2004-06-01 00:00:00");
        EXPECT_EQ(r.member, member);
    }
    EXPECT_TRUE(ui().messages().empty());
}

TEST_F(SplitTest, LinesBeyondTheBalanceOrWithoutDestinationAreRefused)
{
    auto& f = open();
    ui().queueDialog([](QDialog& d) {
        startSplit(d, "100", "77");
        line(d, "60", "Roof");
        line(d, "50", "Organ");
        EXPECT_EQ(text1(d, 1).text(), "$40.00") << "the balance stays";
        line(d, "40", "");
        line(d, "0", "Organ");
        EXPECT_EQ(items(&ui::child<QListWidget>(d, "A_List")), QStringList{"60"});
        EXPECT_TRUE(d.isVisible());
        ui::click(d, "Command2");  // lines already taken are dropped too
    });
    f.mnuEditAddPay_Click();

    EXPECT_EQ(prompts(), (QStringList{"Excessive Amount", "Must enter a Destination",
                                      "Amount must be a number greater than Zero"}));
    EXPECT_EQ(ui().trace().indexOf("beep"), ui().trace().indexOf("message: Excessive Amount") - 1)
        << "a beep comes before the excess message";
    EXPECT_TRUE(payments().empty());
    EXPECT_FALSE(f.S.DialogCancelled);
}

TEST_F(SplitTest, ARemainderBelowOneCentClosesTheSplit)
{
    // It shows as $0.00 and no line may be smaller than a cent: waiting for it would leave Cancel
    // as the only way out.
    auto& f = open();
    ui().queueDialog([](QDialog& d) {
        startSplit(d, "100.005", "5");
        line(d, "60", "Roof");
        line(d, "40", "Organ");
        EXPECT_FALSE(d.isVisible());
    });
    f.mnuEditAddPay_Click();
    EXPECT_EQ(payments().size(), 2u);
}

TEST_F(SplitTest, ALineTheFileRefusesLeavesNoRowOfTheCheckAndSaysSo)
{
    auto& f = open();
    refuseDestination(f, "Organ");
    dao::Recordset* grid = f.datSecondaryRS->recordset();
    const int before = grid->recordCount();
    ui().queueDialog([](QDialog& d) {
        startSplit(d, "100", "9");
        line(d, "60", "Roof");
        line(d, "40", "Organ");
        // The dialog stays open, the refused line typed again and not yet accepted.
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(text1(d, 1).text(), "$40.00");
        EXPECT_EQ(text1(d, 0).text(), "40");
        EXPECT_EQ(ui::child<QComboBox>(d, "Combo1").currentText(), "Organ");
        EXPECT_EQ(items(&ui::child<QListWidget>(d, "A_List")), QStringList{"60"});
        ui::click(d, "Command2");
    });
    f.mnuEditAddPay_Click();

    EXPECT_TRUE(payments().empty()) << "the first line went with the second";
    const auto messages = ui().messages();
    ASSERT_EQ(messages.size(), 1u) << prompts().join(" / ").toStdString();
    const ui::Message& m = messages[0];
    EXPECT_EQ(m.title, "QUIL Data Error");
    EXPECT_EQ(m.icon, ui::Icon::Critical);
    EXPECT_TRUE(m.prompt.startsWith("The donations were not recorded: nothing has been written.")) << m.prompt.toStdString();
    EXPECT_TRUE(m.prompt.contains("refused by the test")) << m.prompt.toStdString();
    EXPECT_EQ(ui().beepCount(), 1);
    // The grid holds no row that the file does not have.
    grid = f.datSecondaryRS->recordset();
    EXPECT_EQ(grid->recordCount(), before);
    for (int i = 0; i < grid->recordCount(); ++i)
        EXPECT_TRUE(grid->rowAt(i).has_value());

    // The next donation is written as usual: no transaction was left open.
    ui().queueDialog([](QDialog& d) {
        text1(d, 0).setText("15");
        typeDestination(d, "Roof");
        ui::click(d, "Command1");
    });
    f.mnuEditAddPay_Click();
    ASSERT_EQ(payments().size(), 1u);
    EXPECT_EQ(payments()[0].amount, "15");
}

TEST_F(SplitTest, FiveLinesAreWrittenAllOrNoneWhereverTheFileRefuses)
{
    auto& f = open();
    const char* const amounts[] = {"10", "20", "30", "15", "25"};
    std::size_t written = 0;
    for (int refused = 0; refused <= 5; ++refused) {  // 0: the file refuses nothing
        refuseDestination(f, refused ? QStringLiteral("Line %1").arg(refused) : QStringLiteral("none"));
        ui().clearLog();
        ui().queueDialog([&](QDialog& d) {
            startSplit(d, "100", "555");
            for (int i = 0; i < 5; ++i)
                line(d, amounts[i], QStringLiteral("Line %1").arg(i + 1));
            // A refused write keeps the dialog open; the script leaves it, which cancels it.
            EXPECT_EQ(d.isVisible(), refused != 0);
        });
        f.mnuEditAddPay_Click();

        const auto rows = payments();
        if (refused == 0) {
            ASSERT_EQ(rows.size(), written + 5);
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(rows[written + i].amount, amounts[i]);
                EXPECT_EQ(rows[written + i].destination, QStringLiteral("Line %1").arg(i + 1));
                EXPECT_EQ(rows[written + i].check, 555);
            }
            written += 5;
            EXPECT_TRUE(ui().messages().empty());
        } else {
            EXPECT_EQ(rows.size(), written) << "refused at line " << refused;
            EXPECT_EQ(ui().messages().size(), 1u) << "refused at line " << refused;
        }
    }
}

TEST_F(SplitTest, AFullDiskKeepsTheDialogOpenWithEverythingTypedUntilTheWriteSucceeds)
{
    auto& f = open();
    auto& c = f.S.db->connection();
    // The file may not grow, and its pages are filled with rows the size of a donation, so the
    // dialog's rows find no room: the engine answers "database or disk is full".
    const auto fillTheDisk = [&] {
        sqlite::Statement pages = c.prepare("PRAGMA page_count");
        ASSERT_TRUE(pages.step());
        c.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages.int64(0) + 2));
        // One statement at a time: the engine rolls a whole transaction back on a full disk.
        c.exec("PRAGMA synchronous = OFF");
        bool full = false;
        for (int i = 0; i < 20000 && !full; ++i) {
            try {
                dao::WriteUnit unit(*f.S.db);
                c.exec(QStringLiteral("INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                                      "VALUES (1, 1, 'Filler', '2004-06-01 00:00:00', %1)").arg(member));
                unit.commit();
            } catch (const jet::DbError& e) {
                ASSERT_EQ(e.number(), jet::err::DiskOrNetworkError) << e.description().toStdString();
                full = true;
            }
        }
        c.exec("PRAGMA synchronous = FULL");
        ASSERT_TRUE(full);
    };

    for (const bool split : {false, true}) {
        SCOPED_TRACE(split ? "split check" : "single donation");
        fillTheDisk();
        const std::size_t before = payments().size();
        ui().clearLog();
        ui().queueDialog([&](QDialog& d) {
            if (split) {
                startSplit(d, "100", "77");
                line(d, "60", "Roof");
                line(d, "40", "Organ");
            } else {
                text1(d, 0).setText("25");
                text1(d, 1).setText("31");
                typeDestination(d, "Organ");
                text1(d, 3).setText("6/2/2004");
                ui::click(d, "Command1");
            }
            ASSERT_TRUE(d.isVisible()) << "the dialog closed and what was typed is gone";
            ASSERT_EQ(ui().messages().size(), 1u);
            EXPECT_TRUE(ui().messages()[0].prompt.contains("(error 3043)")) << ui().messages()[0].prompt.toStdString();
            EXPECT_EQ(payments().size(), before);
            EXPECT_EQ(text1(d, 0).text(), split ? "40" : "25");
            EXPECT_EQ(ui::child<QComboBox>(d, "Combo1").currentText(), "Organ");
            EXPECT_EQ(text1(d, 1).text(), split ? "$40.00" : "31");
            EXPECT_EQ(text1(d, 3).text(), split ? "6/1/2004" : "6/2/2004");

            // Room again: the same OK now writes what was typed.
            c.exec("PRAGMA max_page_count = 1000000");
            ui::click(d, "Command1");
            EXPECT_FALSE(d.isVisible());
        });
        f.mnuEditAddPay_Click();
        EXPECT_EQ(ui().messages().size(), 1u);
        const auto rows = payments();
        ASSERT_EQ(rows.size(), before + (split ? 2 : 1));
        if (split) {
            EXPECT_EQ(rows[before].amount, "60");
            EXPECT_EQ(rows[before + 1].amount, "40");
            EXPECT_EQ(rows[before + 1].destination, "Organ");
            EXPECT_EQ(rows[before + 1].check, 77);
        } else {
            EXPECT_EQ(rows[before].amount, "25");
            EXPECT_EQ(rows[before].check, 31);
        }
    }
}

} // namespace
