// File > Fund Totals through the window: the page's figures read back from the PDF against the
// file's own sums over the same rows, the period as typed (refused when it cannot be one), a
// period without gifts, the preview, and a PDF that cannot be written.
#include "platform/report/preview.h"
#include "platform/report/report.h"
#include "platform/ui/object_names.h"
#include "platform/vb/convert.h"
#include "platform/vb/currency.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"
#include "reports/fund_totals_dialog.h"
#include "reports/report_period.h"
#include "support/pdf_tools.h"
#include "support/window_fixture.h"

#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>

namespace {

struct Gift {
    std::int64_t tenThousandths;
    const char* destination;
    const char* date;  // as stored
};

class FundTotalsTest : public quiltest::WindowTest<> {
protected:
    void addGifts(const std::vector<Gift>& gifts)
    {
        sqlite::Connection c = keyed();
        sqlite::Transaction t(c);
        for (const Gift& g : gifts) {
            sqlite::Statement s = c.prepare(QStringLiteral(
                "INSERT INTO Payments (MemberID, PaymentAmount, CheckNumber, Destination, PaymentDate) VALUES (1, ?, 0, ?, ?)"));
            s.bind(1, g.tenThousandths).bind(2, QString::fromUtf8(g.destination)).bind(3, QString::fromLatin1(g.date));
            s.step();
        }
        t.commit();
    }

    // The dialog as the user fills it, ending on one of its buttons, then Close.
    void queuePeriod(const QString& from, const QString& to, const char* button)
    {
        ui().queueDialog([from, to, button](QDialog& d) {
            ui::child<QLineEdit>(d, "txtFrom").setText(from);
            ui::child<QLineEdit>(d, "txtTo").setText(to);
            ui::click(d, button);
            if (d.isVisible())
                ui::click(d, "cmdClose");
        });
    }

    QString pdf(const char* name) const { return dir_.file(QString::fromLatin1(name)); }
};

QString money(std::int64_t tenThousandths)
{
    return vb::format(vb::Value(vb::Currency::fromRaw(tenThousandths)), u"$##,##0.00");
}

// The line of the PDF's text that begins with `name`, blanks around it ignored.
QString lineOf(const QString& text, const QString& name)
{
    for (const QString& line : text.split(u'\n'))
        if (line.trimmed().startsWith(name, Qt::CaseInsensitive))
            return line.simplified();
    return {};
}

TEST_F(FundTotalsTest, EveryFundsCountAndTotalAreTheFilesOwnSumsOverThePeriod)
{
    std::vector<Gift> gifts = {
        {100000, "Roof", "2000-12-31 23:59:59"},  {250000, "Roof", "2001-01-01 00:00:00"},
        {50000, "roof", "2001-06-01 00:00:00"},   {12345, "Bells, \"new\"", "2001-12-31 18:00:00"},
        {999999, "Organ", "2002-01-01 00:00:00"}, {10000, "Église", "2001-05-05 00:00:00"},
        {20000, "église", "2001-05-06 12:00:00"}, {1234567890000, "Building Fund", "2001-02-02 00:00:00"},
        {15000, "St. Mary's 100% Fund", "2001-03-03 00:00:00"},
    };
    // Enough funds in 2003 to take more than one page.
    std::vector<std::string> many;
    for (int i = 0; i < 70; ++i)
        many.push_back(QStringLiteral("Fund %1").arg(i, 3, 10, QLatin1Char('0')).toStdString());
    for (std::size_t i = 0; i < many.size(); ++i)
        gifts.push_back({static_cast<std::int64_t>(i + 1) * 10000, many[i].c_str(), "2003-07-01 00:00:00"});
    addGifts(gifts);
    auto& f = open();

    const struct {
        const char* name;
        const char* from;
        const char* to;
        const char* words;
        int pages;
    } cases[] = {
        {"the year 2001, both ends included", "1/1/2001", "12/31/2001", "January 1, 2001 - December 31, 2001", 1},
        {"one day", "12/31/2000", "12/31/2000", "December 31, 2000", 1},
        {"two years across the turn", "6/1/2001", "05/31/2002", "June 1, 2001 - May 31, 2002", 1},
        {"seventy funds", "1/1/2003", "12/31/2003", "January 1, 2003 - December 31, 2003", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui().clearLog();
        const QString path = pdf("totals.pdf");
        QFile::remove(path);
        queuePeriod(QString::fromLatin1(c.from), QString::fromLatin1(c.to), "cmdPdf");
        ui().queueFile(path);
        f.mnuFileFundTotals_Click();
        ASSERT_EQ(ui().messages().size(), 1u);
        EXPECT_EQ(ui().messages()[0].prompt, QStringLiteral("The fund totals were written to '%1'.").arg(path));
        EXPECT_EQ(quiltest::pdfPages(path), c.pages);
        const QString text = quiltest::pdfText(path);
        EXPECT_TRUE(text.contains(QStringLiteral("Fund Totals"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.words))) << text.toStdString();
        EXPECT_EQ(text.count(QStringLiteral("Destination")), c.pages) << "the captions on every page";

        // The file's own sums over the same rows; its collation makes Roof and roof one group.
        const QDate from = vb::readDate(QString::fromLatin1(c.from))->date();
        const QDate to = vb::readDate(QString::fromLatin1(c.to))->date();
        sqlite::Connection db = keyed();
        sqlite::Statement s = db.prepare(QStringLiteral(
            "SELECT Destination, count(*), sum(PaymentAmount) FROM Payments WHERE PaymentDate >= ?1 AND PaymentDate < ?2 "
            "GROUP BY Destination"));
        s.bind(1, from.toString(Qt::ISODate) + QStringLiteral(" 00:00:00"));
        s.bind(2, to.addDays(1).toString(Qt::ISODate) + QStringLiteral(" 00:00:00"));
        std::int64_t allCount = 0, allTotal = 0;
        int funds = 0;
        while (s.step()) {
            ++funds;
            const QString line = lineOf(text, s.text(0));
            SCOPED_TRACE(s.text(0).toStdString());
            ASSERT_FALSE(line.isEmpty()) << text.toStdString();
            EXPECT_TRUE(line.endsWith(QStringLiteral(" %1 %2").arg(vb::format(vb::Value(s.int64(1)), u"##,###"), money(s.int64(2)))))
                << line.toStdString();
            allCount += s.int64(1);
            allTotal += s.int64(2);
        }
        ASSERT_GT(funds, 0);
        EXPECT_EQ(lineOf(text, QStringLiteral("All funds")),
                  QStringLiteral("All funds %1 %2").arg(vb::format(vb::Value(allCount), u"##,###"), money(allTotal)));
        // No fund line but the file's: each line between the captions and the total is one.
        int lines = 0;
        for (const QString& line : text.split(u'\n'))
            if (line.trimmed().contains(QRegularExpression(QStringLiteral("\\$[0-9,]+\\.[0-9]{2}$"))) && !line.contains(QStringLiteral("All funds")))
                ++lines;
        EXPECT_EQ(lines, funds);
    }
}

TEST_F(FundTotalsTest, APeriodThatIsNoneIsRefusedAndOneWithoutGiftsWritesNothing)
{
    addGifts({{100000, "Roof", "2001-03-01 00:00:00"}});
    auto& f = open();
    const QString refusedFirst = QStringLiteral("Type the first day of the period as a date, such as 1/1/2025.");
    const QString refusedLast = QStringLiteral("Type the last day of the period as a date, such as 12/31/2025.");
    const QString reversed = QStringLiteral("The first day of the period comes after the last day.");
    const struct {
        const char* from;
        const char* to;
        QString message;
    } cases[] = {
        {"", "12/31/2001", refusedFirst},
        {"1/1/2001", "  ", refusedLast},
        {"13/45/2001", "12/31/2001", refusedFirst},
        {"1/1/2001", "soon", refusedLast},
        {"1/1/2001'); DROP TABLE Payments;--", "12/31/2001", refusedFirst},
        {"12/31/2001", "1/1/2001", reversed},
        {"1/1/2002", "12/31/2002", QStringLiteral("There are no gifts in the period January 1, 2002 - December 31, 2002.")},
        {"3/2/2001", "3/2/2001", QStringLiteral("There are no gifts in the period March 2, 2001.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " .. " + c.to);
        for (const char* button : {"cmdPreview", "cmdPdf"}) {
            ui().clearLog();
            queuePeriod(QString::fromLatin1(c.from), QString::fromLatin1(c.to), button);
            f.mnuFileFundTotals_Click();
            ASSERT_EQ(ui().messages().size(), 1u) << button;
            EXPECT_EQ(ui().messages()[0].prompt, c.message);
            EXPECT_EQ(ui().messages()[0].title, QStringLiteral("Fund Totals"));
            EXPECT_TRUE(ui().fileRequests().empty()) << "no file asked for";
            for (const ui::Event& e : ui().events())
                EXPECT_FALSE(e.kind == ui::Event::Kind::Modal && e.text != QStringLiteral("FundTotals")) << "no preview: " << e.text.toStdString();
        }
    }
}

TEST_F(FundTotalsTest, ThePreviewShowsThePageAndAPdfThatCannotBeWrittenLeavesNothing)
{
    addGifts({{1000000, "Roof", "2001-03-01 00:00:00"}, {2500, "Organ", "2001-03-02 00:00:00"}});
    auto& f = open();
    QString shown;
    queuePeriod(QStringLiteral("1/1/2001"), QStringLiteral("12/31/2001"), "cmdPreview");
    ui().queueDialog([&shown](QDialog& d) {
        auto& preview = dynamic_cast<report::ReportPreview&>(d);
        EXPECT_EQ(preview.windowTitle(), QStringLiteral("Fund Totals"));
        EXPECT_EQ(preview.pageCount(), 1);
        shown = report::describe(preview.report().page(1));
        d.reject();
    });
    f.mnuFileFundTotals_Click();
    EXPECT_TRUE(ui().messages().empty());
    for (const char* expected : {"Roof", "Organ", "$100.00", "$0.25", "$100.25", "All funds", "January 1, 2001 - December 31, 2001"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(expected))) << expected << "\n" << shown.toStdString();

    // A folder that is not there: one message, no file, and the dialog still usable.
    ui().clearLog();
    const QString gone = dir_.file(QStringLiteral("gone/totals.pdf"));
    queuePeriod(QStringLiteral("1/1/2001"), QStringLiteral("12/31/2001"), "cmdPdf");
    ui().queueFile(gone);
    f.mnuFileFundTotals_Click();
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].title, QStringLiteral("File Error"));
    EXPECT_TRUE(ui().messages()[0].prompt.endsWith(QStringLiteral("No file has been written."))) << ui().messages()[0].prompt.toStdString();
    EXPECT_FALSE(QFile::exists(dir_.file(QStringLiteral("gone"))));
    EXPECT_FALSE(ui().isBusyPointer());
}

} // namespace
