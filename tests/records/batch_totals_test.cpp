// Batch Totals: the batch line's text and the balance check as gifts are added, deleted and
// corrected; the dialog's reading of the expected figures; and through the real window, the
// line following Add Donations (a split check counting its lines), Delete Donation and grid
// corrections, End Batch asking when the batch does not balance, and the batch ending with the
// file and with the program, the donations kept every time.
#include "grid_fixture.h"
#include "records/batch_dialog.h"
#include "records/batch_totals.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <functional>

namespace {

using records::BatchTotals;
using vb::Currency;

Currency money(const char* text)
{
    return *Currency::fromDecimalText(QString::fromLatin1(text));
}

TEST(BatchTotalsTest, TheLineAndTheBalanceFollowEveryGiftAddedDeletedOrCorrected)
{
    struct Step {
        char op;  // '+' add, '-' remove, '=' amend
        std::int64_t id;
        const char* amount;
        const char* line;
        bool balances;
        const char* differences;
    };
    struct Case {
        const char* what;
        std::int64_t gifts;
        const char* total;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"an empty batch", 40, "1275", {{'-', 9, "0", "Batch: 0 of 40 gifts, $0.00 of $1,275.00", false,
                                         "Gifts: 0 recorded, 40 expected (40 fewer than expected).\n"
                                         "Total: $0.00 recorded, $1,275.00 expected ($1,275.00 short)."}}},
        {"one gift expected", 1, "25", {{'+', 7, "25", "Batch: 1 of 1 gift, $25.00 of $25.00", true, ""}}},
        {"filled, then over",
         3,
         "310",
         {{'+', 11, "100", "Batch: 1 of 3 gifts, $100.00 of $310.00", false,
           "Gifts: 1 recorded, 3 expected (2 fewer than expected).\nTotal: $100.00 recorded, $310.00 expected ($210.00 short)."},
          {'+', 12, "200", "Batch: 2 of 3 gifts, $300.00 of $310.00", false,
           "Gifts: 2 recorded, 3 expected (1 fewer than expected).\nTotal: $300.00 recorded, $310.00 expected ($10.00 short)."},
          {'+', 13, "10", "Batch: 3 of 3 gifts, $310.00 of $310.00", true, ""},
          {'+', 14, "1234.5", "Batch: 4 of 3 gifts, $1,544.50 of $310.00", false,
           "Gifts: 4 recorded, 3 expected (1 more than expected).\nTotal: $1,544.50 recorded, $310.00 expected ($1,234.50 over)."},
          {'-', 14, "0", "Batch: 3 of 3 gifts, $310.00 of $310.00", true, ""}}},
        {"the right count, a wrong amount corrected",
         2,
         "50",
         {{'+', 1, "25", "Batch: 1 of 2 gifts, $25.00 of $50.00", false,
           "Gifts: 1 recorded, 2 expected (1 fewer than expected).\nTotal: $25.00 recorded, $50.00 expected ($25.00 short)."},
          {'+', 2, "52", "Batch: 2 of 2 gifts, $77.00 of $50.00", false, "Total: $77.00 recorded, $50.00 expected ($27.00 over)."},
          {'=', 2, "25", "Batch: 2 of 2 gifts, $50.00 of $50.00", true, ""},
          {'=', 99, "1000", "Batch: 2 of 2 gifts, $50.00 of $50.00", true, ""}}},
        {"cents and sub-cent amounts",
         2,
         "0.03",
         {{'+', 5, "0.015", "Batch: 1 of 2 gifts, $0.02 of $0.03", false,
           "Gifts: 1 recorded, 2 expected (1 fewer than expected).\nTotal: $0.02 recorded, $0.03 expected ($0.02 short)."},
          {'+', 6, "0.015", "Batch: 2 of 2 gifts, $0.03 of $0.03", true, ""}}},
        {"a gift deleted twice counts once", 2, "20",
         {{'+', 3, "10", "Batch: 1 of 2 gifts, $10.00 of $20.00", false,
           "Gifts: 1 recorded, 2 expected (1 fewer than expected).\nTotal: $10.00 recorded, $20.00 expected ($10.00 short)."},
          {'-', 3, "0", "Batch: 0 of 2 gifts, $0.00 of $20.00", false,
           "Gifts: 0 recorded, 2 expected (2 fewer than expected).\nTotal: $0.00 recorded, $20.00 expected ($20.00 short)."},
          {'-', 3, "0", "Batch: 0 of 2 gifts, $0.00 of $20.00", false,
           "Gifts: 0 recorded, 2 expected (2 fewer than expected).\nTotal: $0.00 recorded, $20.00 expected ($20.00 short)."}}},
        // Amounts from a file some other tool wrote: the total passes what a total can hold and
        // is not available until a correction brings it back.
        {"a total beyond the range", 2, "20",
         {{'+', 1, "922337203685477.5807", "Batch: 1 of 2 gifts, $922,337,203,685,477.58 of $20.00", false,
           "Gifts: 1 recorded, 2 expected (1 fewer than expected).\n"
           "Total: $922,337,203,685,477.58 recorded, $20.00 expected ($922,337,203,685,457.58 over)."},
          {'+', 2, "0.0001", "Batch: 2 of 2 gifts, Not Available of $20.00", false,
           "Total: Not Available recorded, $20.00 expected."},
          {'=', 1, "19.9999", "Batch: 2 of 2 gifts, $20.00 of $20.00", true, ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BatchTotals batch(c.gifts, money(c.total));
        for (const Step& s : c.steps) {
            SCOPED_TRACE(s.line);
            switch (s.op) {
            case '+': batch.add(s.id, money(s.amount)); break;
            case '-': batch.remove(s.id); break;
            default: batch.amend(s.id, money(s.amount)); break;
            }
            EXPECT_EQ(batch.progressText(), QString::fromLatin1(s.line));
            EXPECT_EQ(batch.balances(), s.balances);
            EXPECT_EQ(batch.differences(), QString::fromLatin1(s.differences));
        }
    }
}

TEST(BatchTotalsTest, TheExpectedFiguresAreAWholeCountAndAnAmountAboveZero)
{
    struct Case {
        const char* gifts;
        const char* total;
        int wrongBox;  // -1: accepted
        std::int64_t readGifts;
        const char* readTotal;
    };
    const Case cases[] = {
        {"40", "$1,275.00", -1, 40, "1275"},
        {" 3 ", "310", -1, 3, "310"},
        {"1", "0.01", -1, 1, "0.01"},
        {"999999", "999999999", -1, 999999, "999999999"},
        {"", "10", 0, 0, ""},
        {"0", "10", 0, 0, ""},
        {"-2", "10", 0, 0, ""},
        {"2.5", "10", 0, 0, ""},
        {"ten", "10", 0, 0, ""},
        {"1000000", "10", 0, 0, ""},
        {"2", "", 1, 0, ""},
        {"2", "0", 1, 0, ""},
        {"2", "-5", 1, 0, ""},
        {"2", "lots", 1, 0, ""},
        {"2", "1e30", 1, 0, ""},
        {"2", "1000000000", 1, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.gifts) + " / " + c.total);
        const records::BatchReading read = records::readBatchExpectation(QString::fromLatin1(c.gifts), QString::fromLatin1(c.total));
        EXPECT_EQ(read.wrongBox, c.wrongBox);
        ASSERT_EQ(read.expectation.has_value(), c.wrongBox < 0);
        if (read.expectation) {
            EXPECT_EQ(read.expectation->gifts, c.readGifts);
            EXPECT_EQ(read.expectation->total, money(c.readTotal));
            EXPECT_TRUE(read.refusal.isEmpty());
        } else {
            EXPECT_FALSE(read.refusal.isEmpty());
        }
    }
}

// ---- Through the window --------------------------------------------------------------------

class BatchWindowTest : public gridtest::GridTest {
protected:
    // Types the destination over what the box holds, key by key, as a user does.
    static void typeDestination(QDialog& d, const char* text)
    {
        QLineEdit* box = ui::child<QComboBox>(d, "Combo1").lineEdit();
        box->selectAll();
        for (QChar c : QString::fromLatin1(text)) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
        }
    }

    void startBatch(frmMain& f, const char* gifts, const char* total)
    {
        ui().queueDialog([gifts, total](QDialog& d) {
            ui::child<QLineEdit>(d, "txtGifts").setText(QString::fromLatin1(gifts));
            ui::child<QLineEdit>(d, "txtTotal").setText(QString::fromLatin1(total));
            ui::click(d, "cmdOK");
        });
        f.mnuEditBatch_Click();
    }

    void addDonation(frmMain& f, const char* amount)
    {
        ui().queueDialog([amount](QDialog& d) {
            ui::child<QLineEdit>(d, "Text1(0)").setText(QString::fromLatin1(amount));
            ui::child<QLineEdit>(d, "Text1(1)").setText(QStringLiteral("123"));
            typeDestination(d, "Roof");
            ui::child<QLineEdit>(d, "Text1(3)").setText(QStringLiteral("6/1/2004"));
            ui::click(d, "Command1");
        });
        f.mnuEditAddPay_Click();
    }

    // A check of `total` split into the lines given.
    void addSplit(frmMain& f, const char* total, std::vector<const char*> lines)
    {
        ui().queueDialog([total, lines](QDialog& d) {
            ui::child<QLineEdit>(d, "Text1(0)").setText(QString::fromLatin1(total));
            ui::child<QLineEdit>(d, "Text1(1)").setText(QStringLiteral("900"));
            ui::child<QLineEdit>(d, "Text1(3)").setText(QStringLiteral("6/2/2004"));
            ui::click(d, "Option2");
            ui::click(d, "Command1");
            for (const char* line : lines) {
                ui::child<QLineEdit>(d, "Text1(0)").setText(QString::fromLatin1(line));
                typeDestination(d, "Music");
                ui::click(d, "Command1");
            }
        });
        f.mnuEditAddPay_Click();
    }

    void deleteDonation(frmMain& f, int paymentId)
    {
        const int row = rowOf(f, paymentId);
        ASSERT_GE(row, 0) << paymentId;
        f.grdDataGrid->setCurrentIndex(grid(f).index(row, 0));
        ui().queueAnswer(ui::Yes);
        f.mnuEditDelPay_Click();
    }

    void correctAmount(frmMain& f, int paymentId, const char* amount)
    {
        const int row = rowOf(f, paymentId);
        ASSERT_GE(row, 0) << paymentId;
        grid(f).setData(grid(f).index(row, 1), QString::fromLatin1(amount));
    }

    static QString line(const frmMain& f) { return f.lblBatch->isHidden() ? QStringLiteral("<hidden>") : f.lblBatch->text(); }

    std::int64_t paymentCount() const
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral("SELECT count(*) FROM Payments"));
        s.step();
        return s.int64(0);
    }

    std::int64_t lastPayment() const
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral("SELECT max(PaymentID) FROM Payments"));
        s.step();
        return s.int64(0);
    }
};

TEST_F(BatchWindowTest, TheLineFollowsDonationsRecordedDeletedAndCorrectedInTheSession)
{
    frmMain& f = executive();
    goToMember(f, 2);
    EXPECT_EQ(line(f), "<hidden>");
    struct Step {
        const char* what;
        std::function<void(frmMain&)> act;
        const char* line;
    };
    const Step steps[] = {
        {"started", [this](frmMain& f) { startBatch(f, "5", "$1,275.00"); },
         "Batch: 0 of 5 gifts, $0.00 of $1,275.00"},
        {"one donation", [this](frmMain& f) { addDonation(f, "250"); }, "Batch: 1 of 5 gifts, $250.00 of $1,275.00"},
        {"a split check of three lines",
         [this](frmMain& f) { addSplit(f, "900", {"400", "300", "200"}); },
         "Batch: 4 of 5 gifts, $1,150.00 of $1,275.00"},
        {"a donation from before the batch deleted", [this](frmMain& f) { deleteDonation(f, 1); },
         "Batch: 4 of 5 gifts, $1,150.00 of $1,275.00"},
        {"a batch donation deleted", [this](frmMain& f) { deleteDonation(f, 6); },
         "Batch: 3 of 5 gifts, $900.00 of $1,275.00"},
        {"a batch amount corrected in the grid", [this](frmMain& f) { correctAmount(f, 7, "450"); },
         "Batch: 3 of 5 gifts, $950.00 of $1,275.00"},
        {"an older amount corrected", [this](frmMain& f) { correctAmount(f, 2, "1000"); },
         "Batch: 3 of 5 gifts, $950.00 of $1,275.00"},
        {"a cancelled dialog", [this](frmMain& f) {
             ui().queueDialog([](QDialog& d) { ui::click(d, "Command2"); });
             f.mnuEditAddPay_Click();
         },
         "Batch: 3 of 5 gifts, $950.00 of $1,275.00"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        ui().clearLog();
        s.act(f);
        EXPECT_EQ(line(f), s.line);
        for (const ui::Message& m : ui().messages())
            EXPECT_EQ(m.title, "Confirm Delete") << m.prompt.toStdString();
    }
    EXPECT_EQ(paymentCount(), 7) << "five before, four recorded, two deleted";
    EXPECT_EQ(lastPayment(), 9);
}

TEST_F(BatchWindowTest, EndingTheBatchPointsOutWhatDoesNotBalanceAndKeepsTheDonations)
{
    enum class End { Button, Close, Exit };
    struct Case {
        const char* what;
        const char* gifts;
        const char* total;
        std::vector<const char*> amounts;
        End end;
        int answer;  // to End Batch's question
        const char* message;  // "[title] prompt"; "" for none
        bool ended;
    };
    const char* twoShort = "Gifts: 1 recorded, 2 expected (1 fewer than expected).\n"
                           "Total: $40.00 recorded, $50.00 expected ($10.00 short).";
    const Case cases[] = {
        {"balanced, ended", "2", "50", {"20", "30"}, End::Button, ui::OK,
         "[Batch Totals] The batch balances: 2 gifts, $50.00.", true},
        {"short, ended anyway", "2", "50", {"40"}, End::Button, ui::Yes,
         "[Batch Totals] The batch does not balance.\n\n%1\n\nEnd the batch anyway? The donations recorded stay in the file.", true},
        {"short, kept going", "2", "50", {"40"}, End::Button, ui::No,
         "[Batch Totals] The batch does not balance.\n\n%1\n\nEnd the batch anyway? The donations recorded stay in the file.", false},
        {"over in amount only", "1", "50", {"60"}, End::Button, ui::Yes,
         "[Batch Totals] The batch does not balance.\n\nTotal: $60.00 recorded, $50.00 expected ($10.00 over).\n\n"
         "End the batch anyway? The donations recorded stay in the file.",
         true},
        {"short, the file closed", "2", "50", {"40"}, End::Close, ui::OK,
         "[Batch Totals] The batch ends as the file closes, and it does not balance.\n\n%1\n\n"
         "The donations recorded stay in the file.",
         true},
        {"balanced, the file closed", "1", "40", {"40"}, End::Close, ui::OK, "", true},
        {"short, the program ends", "2", "50", {"40"}, End::Exit, ui::OK,
         "[Batch Totals] The batch ends as the file closes, and it does not balance.\n\n%1\n\n"
         "The donations recorded stay in the file.",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frmMain& f = executive();
        startBatch(f, c.gifts, c.total);
        for (const char* amount : c.amounts)
            addDonation(f, amount);
        const std::int64_t recorded = paymentCount();
        ui().clearLog();
        bool dialogOpenAfter = false;
        switch (c.end) {
        case End::Button:
            ui().queueDialog([&](QDialog& d) {
                ui::click(d, "cmdEnd");
                dialogOpenAfter = d.isVisible();
                if (dialogOpenAfter)
                    ui::click(d, "cmdCancel");
            });
            ui().queueAnswer(c.answer);
            if (c.ended)
                ui().queueAnswer(ui::No);  // the deposit list offered as the batch ends
            f.mnuEditBatch_Click();
            break;
        case End::Close:
        case End::Exit:
            // The note on a batch that does not balance, then the deposit list's question.
            if (*c.message)
                ui().queueAnswer(c.answer);
            ui().queueAnswer(ui::No);
            if (c.end == End::Close)
                f.mnuFileClose_Click();
            else
                f.close();
            break;
        }
        QStringList said;
        for (const ui::Message& m : ui().messages())
            said << QStringLiteral("[%1] %2").arg(m.title, m.prompt);
        QString expected = QString::fromUtf8(c.message).contains(QLatin1String("%1"))
                               ? QString::fromUtf8(c.message).arg(QString::fromLatin1(twoShort))
                               : QString::fromUtf8(c.message);
        // An ended batch offers its deposit list, after whatever was said about its balance.
        if (c.ended)
            expected += QStringLiteral("%1[Batch Totals] Print the deposit list of the batch: its %2 %3, checks and cash apart?")
                            .arg(expected.isEmpty() ? QString() : QStringLiteral(" / "))
                            .arg(c.amounts.size())
                            .arg(c.amounts.size() == 1 ? QStringLiteral("gift") : QStringLiteral("gifts"));
        EXPECT_EQ(said.join(QStringLiteral(" / ")), expected);
        EXPECT_EQ(dialogOpenAfter, !c.ended) << "No keeps the dialog and the batch";
        auto& records = static_cast<RecordsCommands&>(*f.records);
        EXPECT_EQ(records.Batch.has_value(), !c.ended);
        EXPECT_EQ(f.lblBatch->isHidden(), c.ended);
        EXPECT_EQ(paymentCount(), recorded) << "the donations stay";
        TearDown();
        QFile::remove(file_);
        SetUp();
    }
}

} // namespace
