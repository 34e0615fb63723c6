// The deposit list offered as a batch ends (End Batch, the file closing): its gifts with donor,
// check number, destination and amount, checks and cash apart with counts and subtotals checked
// against the file's own sums over the batch's rows, the total against the one expected, and a
// batch that did not balance saying so on the page.
#include "grid_fixture.h"
#include "platform/report/page.h"
#include "platform/report/preview.h"
#include "platform/report/render.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

namespace {

struct Gift {
    int member;
    const char* amount;
    const char* check;  // "" for cash
    const char* destination;
};

class DepositListTest : public gridtest::GridTest {
protected:
    void record(frmMain& f, const Gift& g)
    {
        goToMember(f, g.member);
        ui().queueDialog([g](QDialog& d) {
            ui::child<QLineEdit>(d, "Text1(0)").setText(QString::fromLatin1(g.amount));
            ui::child<QLineEdit>(d, "Text1(1)").setText(QString::fromLatin1(g.check));
            ui::child<QComboBox>(d, "Combo1").setEditText(QString::fromUtf8(g.destination));
            ui::child<QLineEdit>(d, "Text1(3)").setText(QStringLiteral("6/1/2004"));
            ui::click(d, "Command1");
        });
        f.mnuEditAddPay_Click();
    }

    // The file's count and sum of the batch's gifts, checks (true) or cash (false).
    std::pair<std::int64_t, std::int64_t> sums(std::int64_t after, bool checks) const
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral("SELECT count(*), ifnull(sum(PaymentAmount), 0) FROM Payments "
                                                       "WHERE PaymentID > ?1 AND (ifnull(CheckNumber, 0) = 0) = ?2"));
        s.bind(1, after).bind(2, static_cast<std::int64_t>(checks ? 0 : 1));
        s.step();
        return {s.int64(0), s.int64(1)};
    }

    std::int64_t lastPayment() const
    {
        sqlite::Connection c = keyed();
        sqlite::Statement s = c.prepare(QStringLiteral("SELECT max(PaymentID) FROM Payments"));
        s.step();
        return s.int64(0);
    }
};

QString money(std::int64_t tenThousandths)
{
    return vb::format(vb::Value(vb::Currency::fromRaw(tenThousandths)), u"$##,##0.00");
}

QString gifts(std::int64_t n)
{
    return n == 1 ? QStringLiteral("1 gift") : QStringLiteral("%1 gifts").arg(n);
}

TEST_F(DepositListTest, TheListShowsEveryGiftChecksAndCashApartAndWhetherTheBatchBalanced)
{
    enum class End { Button, Close };
    const struct {
        const char* what;
        const char* gifts;
        const char* total;
        std::vector<Gift> recorded;
        End end;
        const char* balance;  // the page's line about the balance
    } cases[] = {
        {"balanced, checks and cash, ended by End Batch", "4", "187.50",
         {{2, "100", "101", "Roof"}, {3, "50", "", "Music"}, {3, "25", "7", "roof"}, {4, "12.50", "", "Église 100%"}}, End::Button,
         "The batch balances."},
        {"short, checks only, ended as the file closes", "2", "100", {{2, "40", "2345", "Roof"}}, End::Close,
         "THE BATCH DID NOT BALANCE. Gifts: 1 recorded, 2 expected (1 fewer than expected). "
         "Total: $40.00 recorded, $100.00 expected ($60.00 short)."},
    };
    int kept = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        frmMain& f = executive();
        ui().queueDialog([&c](QDialog& d) {
            ui::child<QLineEdit>(d, "txtGifts").setText(QString::fromLatin1(c.gifts));
            ui::child<QLineEdit>(d, "txtTotal").setText(QString::fromLatin1(c.total));
            ui::click(d, "cmdOK");
        });
        f.mnuEditBatch_Click();
        const std::int64_t before = lastPayment();
        for (const Gift& g : c.recorded)
            record(f, g);
        ASSERT_EQ(lastPayment(), before + static_cast<std::int64_t>(c.recorded.size())) << "every gift recorded";
        const auto checks = sums(before, true);
        const auto cash = sums(before, false);

        ui().clearLog();
        QString page;
        int pages = 0;
        if (c.end == End::Button)
            ui().queueDialog([](QDialog& d) { ui::click(d, "cmdEnd"); });
        ui().queueAnswer(ui::OK);   // what End Batch or the close says of the balance
        ui().queueAnswer(ui::Yes);  // the deposit list
        ui().queueDialog([&](QDialog& d) {
            auto& preview = dynamic_cast<report::ReportPreview&>(d);
            pages = preview.pageCount();
            page = report::describe(preview.report().page(1));
            // QUIL_KEEP_PDF=<folder> keeps the lists, to be looked at (pdftoppm -png).
            if (qEnvironmentVariableIsSet("QUIL_KEEP_PDF"))
                report::exportPdf(preview.report(), QDir(qEnvironmentVariable("QUIL_KEEP_PDF")).filePath(QStringLiteral("DepositRPT-%1.pdf").arg(++kept)),
                                  {1, pages}, preview.windowTitle());
            d.reject();
        });
        if (c.end == End::Button)
            f.mnuEditBatch_Click();
        else
            f.mnuFileClose_Click();
        EXPECT_EQ(pages, 1);
        for (const Gift& g : c.recorded) {
            EXPECT_TRUE(page.contains(QString::fromUtf8(g.destination))) << g.destination << "\n" << page.toStdString();
            if (*g.check) {  // cash has no check number
                EXPECT_TRUE(page.contains(QString::fromLatin1(g.check))) << g.check;
            }
        }
        const std::pair<int, const char*> donors[] = {{2, "Ann Adams"}, {3, "Bob Brown"}, {4, "Cy Clark"}};
        for (const auto& [member, donor] : donors) {
            bool gave = false;
            for (const Gift& g : c.recorded)
                gave = gave || g.member == member;
            EXPECT_EQ(page.contains(QString::fromLatin1(donor)), gave) << donor;
        }
        EXPECT_EQ(page.contains(QStringLiteral("Checks")), checks.first > 0);
        EXPECT_EQ(page.contains(QStringLiteral("Cash")), cash.first > 0);
        for (const auto& kind : {checks, cash})
            if (kind.first > 0) {
                EXPECT_TRUE(page.contains(gifts(kind.first))) << page.toStdString();
                EXPECT_TRUE(page.contains(money(kind.second))) << page.toStdString();
            }
        EXPECT_TRUE(page.contains(money(checks.second + cash.second))) << "the batch total";
        EXPECT_TRUE(page.contains(gifts(checks.first + cash.first)));
        EXPECT_TRUE(page.contains(money(vb::Currency::fromDecimalText(QString::fromLatin1(c.total))->raw()))) << "the total expected";
        EXPECT_TRUE(page.contains(QString::fromUtf8(c.balance))) << page.toStdString();
        EXPECT_EQ(page.contains(QStringLiteral("DID NOT BALANCE")), QByteArray(c.balance).contains("NOT"));
        TearDown();
        QFile::remove(file_);
        SetUp();
    }
}

TEST_F(DepositListTest, NoSaysNothingMoreAndABatchWithoutGiftsOffersNone)
{
    frmMain& f = executive();
    ui().queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, "txtGifts").setText(QStringLiteral("1"));
        ui::child<QLineEdit>(d, "txtTotal").setText(QStringLiteral("10"));
        ui::click(d, "cmdOK");
    });
    f.mnuEditBatch_Click();
    record(f, {2, "10", "55", "Roof"});

    // No: the question alone, no preview.
    ui().clearLog();
    ui().queueDialog([](QDialog& d) { ui::click(d, "cmdEnd"); });
    ui().queueAnswers({ui::OK, ui::No});
    f.mnuEditBatch_Click();
    ASSERT_EQ(ui().messages().size(), 2u);
    EXPECT_EQ(ui().messages()[1].buttons, ui::Buttons::YesNo);
    for (const ui::Event& e : ui().events())
        EXPECT_FALSE(e.kind == ui::Event::Kind::Modal && e.text == QStringLiteral("DepositRPT")) << "no preview";

    // A batch ended before any gift was recorded has nothing to deposit: no offer.
    ui().queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, "txtGifts").setText(QStringLiteral("1"));
        ui::child<QLineEdit>(d, "txtTotal").setText(QStringLiteral("10"));
        ui::click(d, "cmdOK");
    });
    f.mnuEditBatch_Click();
    ui().clearLog();
    ui().queueAnswer(ui::OK);
    f.mnuFileClose_Click();
    ASSERT_EQ(ui().messages().size(), 1u) << "the note that it does not balance, and no offer";
    EXPECT_EQ(ui().messages()[0].buttons, ui::Buttons::OKOnly);

    // The system ending the program (a shutdown, a kill) waits for no question: a balanced
    // batch ends without a word.
    f.S.DbFileName = file_;
    f.files->mnuFileOpen_Click();
    f.S.StandardMode = false;
    ui().queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, "txtGifts").setText(QStringLiteral("1"));
        ui::child<QLineEdit>(d, "txtTotal").setText(QStringLiteral("20"));
        ui::click(d, "cmdOK");
    });
    f.mnuEditBatch_Click();
    record(f, {3, "20", "77", "Roof"});
    ASSERT_TRUE(quiltest::recordsOf(f).Batch && quiltest::recordsOf(f).Batch->balances());
    ui().clearLog();
    f.QuitOnRequest();
    EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
    EXPECT_FALSE(quiltest::recordsOf(f).Batch.has_value());
}

} // namespace
