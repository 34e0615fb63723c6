#include "reports/deposit_list.h"

#include "reports/layout_controls.h"

#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/report/memory_source.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"
#include "reports/layout_controls.h"
#include "reports/report_layouts.h"

#include <sqlcipher/sqlite3.h>

namespace reports {

namespace {

QString money(const std::optional<vb::Currency>& amount)
{
    return vb::formatTotal(amount, u"$##,##0.00");
}

QString gifts(std::int64_t n)
{
    return n == 1 ? QStringLiteral("1 gift") : QStringLiteral("%1 gifts").arg(giftCount(n));
}

} // namespace

std::vector<DepositGift> readDepositGifts(dao::Database& db, const std::vector<std::int64_t>& paymentIds)
{
    sqlite::Statement s = db.connection().prepare(QStringLiteral(
        "SELECT p.PaymentID, trim(ifnull(m.FirstName, '') || ' ' || ifnull(m.LastName, '')), p.CheckNumber, p.Destination, "
        "p.PaymentAmount FROM Payments AS p LEFT JOIN Members AS m ON m.MemberID = p.MemberID WHERE p.PaymentID = ?1"));
    std::vector<DepositGift> out;
    out.reserve(paymentIds.size());
    for (const std::int64_t id : paymentIds) {
        s.reset();
        s.bind(1, id);
        if (!s.step())
            continue;  // deleted meanwhile by another way than Delete Donation
        DepositGift g;
        g.paymentId = s.int64(0);
        g.donor = s.text(1);
        g.check = sqlite3_column_type(s.handle(), 2) == SQLITE_INTEGER ? s.int64(2) : 0;
        g.destination = s.text(3);
        if (sqlite3_column_type(s.handle(), 4) == SQLITE_INTEGER)
            g.amount = vb::Currency::fromRaw(s.int64(4));
        out.push_back(std::move(g));
    }
    return out;
}

std::unique_ptr<report::Report> depositListReport(const std::vector<DepositGift>& list, const BatchGifts& batch,
                                                  const Letterhead& letterhead, report::ReportOptions options)
{
    struct Kind {
        QString caption;
        std::vector<std::vector<vb::Value>> rows;
        vb::CurrencySum subtotal;
    };
    Kind kinds[2] = {{QStringLiteral("Checks"), {}, {}}, {QStringLiteral("Cash"), {}, {}}};
    vb::CurrencySum total;
    for (const DepositGift& g : list) {
        Kind& k = kinds[g.check == 0 ? 1 : 0];
        k.rows.push_back({vb::Value(g.donor), g.check == 0 ? vb::Value(QString()) : vb::Value(g.check), vb::Value(g.destination),
                          g.amount ? vb::Value(*g.amount) : vb::Value()});
        if (g.amount) {
            k.subtotal.add(*g.amount);
            total.add(*g.amount);
        } else {
            k.subtotal.spoil();
            total.spoil();
        }
    }
    // A kind without gifts takes no place on the page.
    std::vector<std::vector<vb::Value>> parents;
    std::vector<const Kind*> shown;
    for (const Kind& k : kinds)
        if (!k.rows.empty()) {
            parents.push_back({vb::Value(k.caption), vb::Value(gifts(static_cast<std::int64_t>(k.rows.size()))), vb::Value(money(k.subtotal.value()))});
            shown.push_back(&k);
        }
    auto rows = std::make_shared<report::MemorySource>(
        QStringList{QStringLiteral("Kind"), QStringLiteral("Count"), QStringLiteral("Subtotal")}, std::move(parents));
    rows->addMember(kDepositGifts, {QStringLiteral("Donor"), QStringLiteral("CheckNumber"), QStringLiteral("Destination"),
                                    QStringLiteral("PaymentAmount")});
    for (std::size_t i = 0; i < shown.size(); ++i)
        rows->addChildren(static_cast<int>(i), kDepositGifts, shown[i]->rows);

    report::Layout layout = DepositRPT();
    fillLetterhead(layout, letterhead, false);
    layout.control(u"lblGifts").caption = gifts(static_cast<std::int64_t>(list.size()));
    layout.control(u"lblTotal").caption = money(total.value());
    layout.control(u"lblExpectedGifts").caption = gifts(batch.expectedGifts);
    layout.control(u"lblExpectedTotal").caption = money(batch.expectedTotal);
    layout.control(u"lblBalance").caption =
        batch.differences.isEmpty() ? QStringLiteral("The batch balances.")
                                    : controls::literally(QStringLiteral("THE BATCH DID NOT BALANCE. ") + QString(batch.differences).replace(u'\n', u' '));
    return std::make_unique<report::Report>(std::move(layout), std::move(rows), options);
}

} // namespace reports
