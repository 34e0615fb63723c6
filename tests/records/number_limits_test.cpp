// Every box, grid cell and import line that takes a number, given a value just inside and just
// outside its column's range: the one inside is stored as typed, the one outside is refused with
// one message naming where it was typed, and the file is left byte for byte as it was.
#include "grid_fixture.h"

#include "db/csv_import.h"
#include "db/db_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <sqlcipher/sqlite3.h>

namespace {

using gridtest::GridTest;

enum class Entry {
    DonationAmount,  // Add Donations, the Amount box
    DonationCheck,   // Add Donations, the Check # box
    GridAmount,      // the grid's PaymentAmount cell of donation 1
    GridCheck,       // its CheckNumber cell
    GridMember,      // its MemberID cell
    ImportAmount,    // a donation line's amount
    ImportCheck,     // a donation line's check number
    ImportGiver,     // a donation line's member number
    ImportMember,    // a member line's own number
};

struct Limit {
    Entry entry;
    const char* typed;
    const char* stored;   // the value afterwards, as the program reads it; nullptr: refused
    const char* message;  // the refusal, naming the box, column or line
    const char* setUp = nullptr;  // SQL run on the file before it opens
};

class NumberLimitsTest : public GridTest {
protected:
    // Runs one entry on the open window standing on member 2; returns the messages it gave.
    QStringList enter(frmMain& f, const Limit& c)
    {
        ui().clearLog();
        switch (c.entry) {
        case Entry::DonationAmount:
        case Entry::DonationCheck: {
            const bool amount = c.entry == Entry::DonationAmount;
            ui().queueDialog([&](QDialog& d) {
                ui::child<QLineEdit>(d, "Text1(0)").setText(amount ? QString::fromUtf8(c.typed) : QStringLiteral("25"));
                ui::child<QLineEdit>(d, "Text1(1)").setText(amount ? QString() : QString::fromUtf8(c.typed));
                ui::child<QComboBox>(d, "Combo1").setEditText(QStringLiteral("Roof"));
                ui::child<QLineEdit>(d, "Text1(3)").setText(QStringLiteral("3/15/2001"));
                ui::click(d, "Command1");
                if (d.isVisible())
                    ui::click(d, "Command2");
            });
            f.mnuEditAddPay_Click();
            break;
        }
        case Entry::GridAmount:
        case Entry::GridCheck:
        case Entry::GridMember: {
            const int column = c.entry == Entry::GridAmount ? 1 : c.entry == Entry::GridCheck ? 2 : 5;
            grid(f).setData(grid(f).index(rowOf(f, 1), column), QString::fromUtf8(c.typed));
            break;
        }
        case Entry::ImportAmount:
        case Entry::ImportCheck:
        case Entry::ImportGiver:
        case Entry::ImportMember:
            return importLine(f, c);
        }
        QStringList out;
        for (const ui::Message& m : ui().messages())
            out << m.prompt;
        return out;
    }

    // The import's analysis and write of a file of one line; the line's reason when it is refused.
    QStringList importLine(frmMain& f, const Limit& c)
    {
        const QByteArray typed(c.typed);
        QByteArray bytes;
        db::import::Kind kind = db::import::Kind::Donations;
        switch (c.entry) {
        case Entry::ImportAmount: bytes = "Member ID,Amount,Fund,Date,Check\r\n2," + typed + ",Roof,3/12/2004,\r\n"; break;
        case Entry::ImportCheck: bytes = "Member ID,Amount,Fund,Date,Check\r\n2,25,Roof,3/12/2004," + typed + "\r\n"; break;
        case Entry::ImportGiver: bytes = "Member ID,Amount,Fund,Date,Check\r\n" + typed + ",25,Roof,3/12/2004,\r\n"; break;
        default:
            kind = db::import::Kind::Members;
            bytes = "Member ID,First Name,Last Name,Address\r\n" + typed + ",Max,Id,1 Elm\r\n";
            break;
        }
        const QString path = dir_.file(QStringLiteral("line.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        db::import::Plan plan;
        EXPECT_EQ(db::import::analyse(*f.S.db, path, kind, plan), db::import::Outcome::Done);
        QStringList reasons;
        for (const db::import::Problem& p : plan.problems) {
            EXPECT_EQ(p.line, 2) << "the reason names the file's line";
            reasons << p.reason;
        }
        if (plan.importable() > 0) {
            db::import::Written written;
            EXPECT_EQ(db::import::write(*f.S.db, plan, {}, written), db::import::Outcome::Done);
        }
        return reasons;
    }

    // The value the entry stored, as the program reads it.
    QString storedBy(const frmMain& f, const Limit& c) const
    {
        switch (c.entry) {
        case Entry::DonationAmount:
        case Entry::ImportAmount: return stored(f, newestPayment(), "PaymentAmount");
        case Entry::DonationCheck:
        case Entry::ImportCheck: return stored(f, newestPayment(), "CheckNumber");
        case Entry::ImportGiver: return stored(f, newestPayment(), "MemberID");
        case Entry::GridAmount: return stored(f, 1, "PaymentAmount");
        case Entry::GridCheck: return stored(f, 1, "CheckNumber");
        case Entry::GridMember: return stored(f, 1, "MemberID");
        case Entry::ImportMember:
            return dbtest::rowsOf(file_, QStringLiteral("SELECT MemberID FROM Members WHERE LastName = 'Id'")).join(u' ');
        }
        return {};
    }

    int newestPayment() const
    {
        return dbtest::rowsOf(file_, QStringLiteral("SELECT max(PaymentID) FROM Payments")).value(0).toInt();
    }
};

TEST_F(NumberLimitsTest, EachNumberIsStoredInsideItsRangeAndRefusedOutsideWithOneMessage)
{
    const char* const amountRange = "must be from $0.01 to $999,999,999.99";
    const char* const aMemberAtTheEnd =
        "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (2147483647, 'Last', 'Number', '9 End St')";
    const Limit cases[] = {
        {Entry::DonationAmount, "999,999,999.99", "999999999.99", nullptr},
        {Entry::DonationAmount, "0.01", "0.01", nullptr},
        {Entry::DonationAmount, "1000000000", nullptr, "Amount must be from $0.01 to $999,999,999.99"},
        {Entry::DonationAmount, "922337203685477.58", nullptr, "Amount must be from $0.01 to $999,999,999.99"},
        {Entry::DonationAmount, "0.009", nullptr, "Amount must be a number greater than Zero"},
        {Entry::DonationCheck, "2147483647", "2147483647", nullptr},
        {Entry::DonationCheck, "1", "1", nullptr},
        {Entry::DonationCheck, "2147483648", nullptr, "Check # must be from 1 to 2,147,483,647"},
        {Entry::DonationCheck, "0", nullptr, "Check must be a number greater than Zero"},

        {Entry::GridAmount, "999999999.99", "999999999.99", nullptr},
        {Entry::GridAmount, "-0.01", "0.01", nullptr},
        {Entry::GridAmount, "999999999.9901", nullptr, "PaymentAmount must be from $0.01 to $999,999,999.99"},
        {Entry::GridAmount, "-922337203685477.5808", nullptr, "PaymentAmount must be from $0.01 to $999,999,999.99"},
        {Entry::GridAmount, "0", nullptr, "PaymentAmount must be from $0.01 to $999,999,999.99"},
        {Entry::GridCheck, "2147483647", "2147483647", nullptr},
        {Entry::GridCheck, "0", "0", nullptr},
        {Entry::GridCheck, "2147483648", nullptr, "CheckNumber must be from 0 to 2,147,483,647"},
        {Entry::GridCheck, "-9223372036854775808", nullptr, "CheckNumber must be from 0 to 2,147,483,647"},
        {Entry::GridMember, "2147483647", "2147483647", nullptr, aMemberAtTheEnd},
        {Entry::GridMember, "1", "1", nullptr},
        {Entry::GridMember, "2147483648", nullptr, "MemberID must be from 1 to 2,147,483,647"},
        {Entry::GridMember, "0", nullptr, "MemberID must be from 1 to 2,147,483,647"},

        {Entry::ImportAmount, "999999999.99", "999999999.99", nullptr},
        {Entry::ImportAmount, "0.01", "0.01", nullptr},
        {Entry::ImportAmount, "1000000000.00", nullptr, amountRange},
        {Entry::ImportAmount, "922337203685477.5807", nullptr, "amount '922337203685477.5807' must be from $0.01 to $999,999,999.99"},
        {Entry::ImportAmount, "0.00", nullptr, "amount '0.00' is not above zero"},
        {Entry::ImportCheck, "2147483647", "2147483647", nullptr},
        {Entry::ImportCheck, "0", "0", nullptr},
        {Entry::ImportCheck, "2147483648", nullptr, "check number '2147483648' must be from 0 to 2,147,483,647"},
        {Entry::ImportCheck, "-1", nullptr, "check number '-1' must be from 0 to 2,147,483,647"},
        {Entry::ImportGiver, "2147483647", "2147483647", nullptr, aMemberAtTheEnd},
        {Entry::ImportGiver, "2147483648", nullptr, "member ID '2147483648' must be from 1 to 2,147,483,647"},
        {Entry::ImportGiver, "0", nullptr, "member ID '0' must be from 1 to 2,147,483,647"},
        {Entry::ImportMember, "2147483647", "2147483647", nullptr},
        {Entry::ImportMember, "2147483648", nullptr, "member ID '2147483648' must be from 1 to 2,147,483,647"},
        {Entry::ImportMember, "9223372036854775807", nullptr, "member ID '9223372036854775807' must be from 1 to 2,147,483,647"},
        {Entry::ImportMember, "99999999999999999999", nullptr, "must be from 1 to 2,147,483,647"},
    };
    for (const Limit& c : cases) {
        SCOPED_TRACE(QStringLiteral("entry %1, typed '%2'").arg(static_cast<int>(c.entry)).arg(QString::fromUtf8(c.typed)).toStdString());
        restart();
        if (c.setUp)
            keyed().exec(QString::fromUtf8(c.setUp));
        frmMain& f = executive();
        goToMember(f, 2);
        ui().clearLog();
        const QByteArray before = dbtest::digest(file_);
        const QStringList said = enter(f, c);
        if (c.stored) {
            EXPECT_TRUE(said.isEmpty()) << said.join(u'|').toStdString();
            EXPECT_EQ(storedBy(f, c), QString::fromUtf8(c.stored));
        } else {
            ASSERT_EQ(said.size(), 1) << said.join(u'|').toStdString();
            EXPECT_TRUE(said[0].contains(QString::fromUtf8(c.message))) << said[0].toStdString();
            EXPECT_EQ(dbtest::digest(file_), before) << "the file is as it was";
        }
        EXPECT_TRUE(sqlite3_get_autocommit(f.S.db->connection().handle())) << "no transaction left open";
    }
}

} // namespace
