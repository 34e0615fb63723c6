// The counters that number new members and donations end where the long integer ends: Add
// Member, Add Donation and the imports refuse, with one message that says what mends it, the
// rows the file can no longer number, and leave the file as it was; a counter that a crafted
// file left past that end is set back by Repair / Compress once no member stands beyond it.
#include "grid_fixture.h"

#include "db/csv_import.h"
#include "db/db_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <limits>

namespace {

using gridtest::GridTest;

class CountersTest : public GridTest {
protected:
    // Add Member with the names and address typed and OK pressed; a dialog still open afterwards
    // is cancelled. Returns the messages it gave.
    QStringList addMember(frmMain& f, bool* stayedOpen = nullptr)
    {
        ui().clearLog();
        ui().queueDialog([stayedOpen](QDialog& d) {
            const char* const texts[] = {"Nia", "New", "2 Elm St"};
            for (int i = 0; i < 3; ++i)
                ui::child<QLineEdit>(d, QStringLiteral("NewMem(%1)").arg(i)).setText(QString::fromLatin1(texts[i]));
            ui::click(d, "Command1");
            if (stayedOpen)
                *stayedOpen = d.isVisible();
            if (d.isVisible())
                ui::click(d, "Command2");
        });
        f.mnuEditAddMem_Click();
        return prompts();
    }

    QStringList addDonation(frmMain& f, bool* stayedOpen)
    {
        ui().clearLog();
        ui().queueDialog([stayedOpen](QDialog& d) {
            ui::child<QLineEdit>(d, "Text1(0)").setText(QStringLiteral("25"));
            ui::child<QComboBox>(d, "Combo1").setEditText(QStringLiteral("Roof"));
            ui::click(d, "Command1");
            *stayedOpen = d.isVisible();
            if (d.isVisible())
                ui::click(d, "Command2");
        });
        f.mnuEditAddPay_Click();
        return prompts();
    }

    QStringList prompts()
    {
        QStringList out;
        for (const ui::Message& m : ui().messages())
            out << m.prompt;
        return out;
    }

    db::import::Plan importMembers(frmMain& f, const QByteArray& lines)
    {
        const QString path = dir_.file(QStringLiteral("members.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("Member ID,First Name,Last Name,Address\r\n" + lines);
        file.close();
        db::import::Plan plan;
        EXPECT_EQ(db::import::analyse(*f.S.db, path, db::import::Kind::Members, plan), db::import::Outcome::Done);
        return plan;
    }

    QStringList rows(const char* sql) const { return dbtest::rowsOf(file_, QString::fromLatin1(sql)); }
};

// The file of the issue: an import by an older program gave a member the largest 64-bit number,
// and every later Add Member failed with "database or disk is full".
TEST_F(CountersTest, ACounterLeftAtTheEndOfSixtyFourBitsSaysWhatMendsItAndRepairMendsIt)
{
    keyed().exec("INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (9223372036854775807, 'Max', 'Id', '1 Elm')");
    frmMain& f = executive();
    const QByteArray before = dbtest::digest(file_);

    bool stayedOpen = false;
    QStringList said = addMember(f, &stayedOpen);
    EXPECT_TRUE(stayedOpen) << "the typed member is not lost";
    ASSERT_EQ(said.size(), 1) << said.join(u'|').toStdString();
    EXPECT_EQ(said[0], "No new member can be added: member number 9223372036854775807 lies beyond 2,147,483,647, the "
                       "highest number a member can have, and new numbers would follow it. Once that member is deleted, "
                       "File > Repair / Compress sets the numbering back.");
    EXPECT_EQ(dbtest::digest(file_), before);

    // Deleting the member: the counter still stands where it was, and the message says so.
    // After the view's re-run the last member is current: the one beyond the range.
    ASSERT_EQ(f.datPrimaryRS->recordset()->field(QStringLiteral("MemberID")).toLong(), std::numeric_limits<std::int64_t>::max());
    ui().clearLog();
    ui().queueDialog([](QDialog& d) {
        QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : &d, &alt);
        ui::click(d, "Command1");
    });
    f.mnuEditDelMem_Click();
    EXPECT_EQ(rows("SELECT count(*) FROM Members WHERE MemberID > 4"), QStringList{"0"}) << prompts().join(u'|').toStdString();
    said = addMember(f);
    ASSERT_EQ(said.size(), 1) << said.join(u'|').toStdString();
    EXPECT_EQ(said[0], "No new member can be added: this file's member numbering stands past its end (2,147,483,647). "
                       "File > Repair / Compress sets it back to the highest member number in use.");

    // Repair / Compress sets the counter back to the highest number in use; the next member
    // takes the number after it.
    ui().clearLog();
    f.files->mnuCompact_Click();
    EXPECT_EQ(prompts(), QStringList{"Database Repaired / Compressed successfully"});
    EXPECT_EQ(rows("SELECT seq FROM sqlite_sequence WHERE name = 'Members'"), QStringList{"4"});
    said = addMember(f, &stayedOpen);
    EXPECT_TRUE(said.isEmpty()) << said.join(u'|').toStdString();
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(rows("SELECT MemberID FROM Members WHERE LastName = 'New'"), QStringList{"5"});
}

TEST_F(CountersTest, MemberAndDonationNumbersEndAtTheLongIntegersEnd)
{
    keyed().exec("INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (2147483645, 'Al', 'Most', '1 End St')");
    frmMain& f = executive();

    // Two numbers are left: the import takes them in the file's order and refuses the rest,
    // each on its line.
    db::import::Plan plan = importMembers(f, ",A,One,1 A St\r\n,B,Two,2 A St\r\n,C,Three,3 A St\r\n,D,Four,4 A St\r\n");
    EXPECT_EQ(plan.importable(), 2);
    ASSERT_EQ(plan.problems.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(plan.problems[i].line, static_cast<std::int64_t>(i) + 4);
        EXPECT_EQ(plan.problems[i].reason, "no new member number is left (member numbers end at 2,147,483,647)");
    }
    db::import::Written written;
    ASSERT_EQ(db::import::write(*f.S.db, plan, {}, written), db::import::Outcome::Done);
    EXPECT_EQ(rows("SELECT MemberID, LastName FROM Members WHERE MemberID > 4 ORDER BY MemberID"),
              (QStringList{"2147483645|Most", "2147483646|One", "2147483647|Two"}));

    // Nothing is left: Add Member refuses and keeps what was typed, the file as it was; an
    // import line with a number of its own still goes in.
    f.records->RequeryView();
    const QByteArray before = dbtest::digest(file_);
    bool stayedOpen = false;
    const QStringList said = addMember(f, &stayedOpen);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(said, QStringList{"No new member can be added: member numbers end at 2,147,483,647, and this file has given "
                                "out the last one."});
    EXPECT_EQ(dbtest::digest(file_), before);
    plan = importMembers(f, "7,Own,Number,7 A St\r\n,No,Number,8 A St\r\n");
    EXPECT_EQ(plan.importable(), 1);
    ASSERT_EQ(plan.problems.size(), 1u);
    EXPECT_EQ(plan.problems[0].line, 3);

    // The donations' counter at its end: Add Donation keeps the dialog and writes nothing.
    keyed().exec("INSERT INTO Payments VALUES (2147483647, 100, 0, 'Roof', '2001-01-01 00:00:00', 2)");
    f.records->RequeryView();
    goToMember(f, 2);
    const QByteArray beforeGift = dbtest::digest(file_);
    const QStringList gift = addDonation(f, &stayedOpen);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(gift, QStringList{"No new donation can be added: donation numbers end at 2,147,483,647, and this file has "
                                "given out the last one."});
    EXPECT_EQ(dbtest::digest(file_), beforeGift);
}

} // namespace
