// Every total the program shows, prints or exports, on a file where one member's gifts reach the
// edge of what a total can hold and on one where they pass it: a total within the range is exact
// to the ten-thousandth, one beyond it reads "Not Available" everywhere, and no figure shown is
// an earlier member's.
#include "report_window.h"

#include "platform/data/data_control.h"
#include "platform/vb/format.h"
#include "reports/csv_export.h"
#include "reports/csv_writer.h"

#include <QFile>
#include <QLabel>
#include <QTableView>
#include <limits>

namespace {

using reporttest::ReportWindowTest;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
// John Smith's (member 2) three gifts of the report data, in ten-thousandths.
constexpr std::int64_t kSmithsGifts = 1000000 + 1505000 + 252500;
// The Roof fund's three gifts (donations 1, 3 and 7).
constexpr std::int64_t kRoofGifts = 1000000 + 252500 + 70000;

QString money(std::int64_t raw)
{
    return vb::format(vb::Value(vb::Currency::fromRaw(raw)), u"$##,##0.00");
}

class TotalsTest : public ReportWindowTest {
protected:
    // A fourth gift of member 2 to the Roof fund.
    void addSmithsGift(std::int64_t raw)
    {
        keyed().exec(QStringLiteral("INSERT INTO Payments VALUES (8, %1, 1004, 'Roof', '2001-07-01 00:00:00', 2)").arg(raw));
    }

    // Opened with the totals computed and the grid shown, as Executive mode has them.
    frmMain& withTotals()
    {
        frmMain& f = opened();
        // The sort fields Form_Load gives the window, which the fixture does not run.
        f.S.StandardMode = false;
        f.grdDataGrid->show();
        f.records->RequeryView();
        return f;
    }

    static QString memberTotal(frmMain& f, std::int64_t member)
    {
        f.datPrimaryRS->moveFirst();
        while (f.datPrimaryRS->recordset()->field(QStringLiteral("MemberID")).toLong() != member)
            f.datPrimaryRS->moveNext();
        return f.Label7->text();
    }

    // The preview's text items of one control, top to bottom, page after page.
    QStringList printed(frmMain& f, int type, const char* control)
    {
        QString pages;
        queueChoice({type, type == 0 ? std::function<void(Printouts&)>([](Printouts& p) { ui::click(p, "Check1"); })
                                     : std::function<void(Printouts&)>()});
        queuePreview(&pages);
        f.mnuFilePrint_Click();
        QStringList texts;
        for (const QString& line : pages.split(u'\n'))
            if (line.contains(QStringLiteral(".%1 ").arg(QLatin1String(control))))
                texts << line.section(u'"', 1, 1);
        return texts;
    }

    QString fundLine(frmMain& f, const QString& fund)
    {
        const QString path = dir_.file(QStringLiteral("funds.csv"));
        EXPECT_EQ(reports::exportFundTotals(*f.S.db, {}, {}, path, {}, nullptr), reports::ExportResult::Written);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n")))
            if (line.startsWith(fund + u','))
                return line;
        return {};
    }
};

TEST_F(TotalsTest, TotalsAreExactToTheEdgeAndNotAvailableBeyondItEverywhere)
{
    const QString na = vb::notAvailable();
    QByteArray roofAtTheEdge;
    reports::csv::appendAmount(roofAtTheEdge, kMax - kSmithsGifts + kRoofGifts);
    const struct {
        const char* what;
        std::int64_t gift;     // member 2's fourth gift
        QString smith;         // member 2's total in the grid and on the statement
        QString everything;    // List View, the accountant's and the statements' grand totals
        QString roof;          // the fund totals' line of the Roof fund
    } cases[] = {
        {"member 2's gifts add up to the largest total", kMax - kSmithsGifts, money(kMax), na,
         QStringLiteral("Roof,4,") + QString::fromLatin1(roofAtTheEdge)},
        {"one gift alone is the largest total", kMax, na, na, QStringLiteral("Roof,4,") + na},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        QFile::remove(file_);
        ui().clearLog();
        SetUp();
        addSmithsGift(c.gift);
        frmMain& f = withTotals();

        // Member View: from a member whose total shows to one whose total cannot, and back.
        EXPECT_EQ(memberTotal(f, 3), money(110000 + 500));
        EXPECT_EQ(memberTotal(f, 2), c.smith) << "never member 3's figure";
        EXPECT_EQ(f.Label2->text(), "4");
        EXPECT_EQ(memberTotal(f, 3), money(110000 + 500));

        f.mnuListView_Click();
        EXPECT_EQ(f.Label7->text(), c.everything);
        EXPECT_EQ(f.Label2->text(), "8");
        f.mnuMemView_Click();

        EXPECT_EQ(printed(f, 1, "Label24"), QStringList{c.everything}) << "the accountant's grand total";
        const QStringList footers = printed(f, 0, "Function1");
        EXPECT_EQ(f.S.ReportGrandTotal, c.everything) << "the statements' grand total";
        EXPECT_TRUE(footers.contains(c.smith)) << footers.join(u'|').toStdString();
        EXPECT_TRUE(footers.contains(money(110000 + 500))) << "member 3's statement";
        EXPECT_EQ(fundLine(f, QStringLiteral("Roof")), c.roof);
        EXPECT_EQ(fundLine(f, QStringLiteral("General Fund")), "General Fund,1,500.00");
        EXPECT_TRUE(ui().messages().empty()) << ui().trace().join(u'|').toStdString();
    }
}

// A file some other tool changed: an amount that is no number leaves its totals not available
// rather than counted as nothing.
TEST_F(TotalsTest, AnAmountThatIsNoNumberMakesItsTotalsNotAvailable)
{
    keyed().exec(QStringLiteral("INSERT INTO Payments VALUES (8, 'lots', 1004, 'Roof', '2001-07-01 00:00:00', 2)"));
    frmMain& f = withTotals();
    EXPECT_EQ(memberTotal(f, 3), money(110500));
    EXPECT_EQ(memberTotal(f, 2), vb::notAvailable());
    EXPECT_EQ(fundLine(f, QStringLiteral("Roof")), QStringLiteral("Roof,4,") + vb::notAvailable());
    EXPECT_EQ(printed(f, 1, "Label24"), QStringList{vb::notAvailable()});
}

} // namespace
