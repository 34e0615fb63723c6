#include "reports/fund_totals.h"

#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/text_fold.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <algorithm>
#include <sqlcipher/sqlite3.h>

namespace reports {

QString fundKey(const QString& destination)
{
    return destination.toCaseFolded();
}


namespace {

// Often enough for a moving bar and a prompt Cancel, too seldom to cost anything.
constexpr std::int64_t kAskEvery = 4096;

} // namespace

std::optional<std::vector<FundTotal>> fundTotals(dao::Database& db, std::optional<vb::DateTime> from,
                                                 std::optional<vb::DateTime> to, const KeepScanning& keepScanning)
{
    // Summed here rather than by GROUP BY: grouping a million rows under the file's collation
    // sorts them all, while a scan into a table of a few funds costs the scan alone.
    QString sql = QStringLiteral("SELECT Destination, PaymentAmount FROM Payments");
    QStringList conditions;
    if (from)
        conditions << QStringLiteral("PaymentDate >= ?1");
    if (to)
        conditions << QStringLiteral("PaymentDate < ?2");
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sqlite::Statement rows = db.connection().prepare(sql);
    if (from)
        rows.bind(1, vb::DateTime(from->date()).toIso());
    // Up to the end of the last day: the first moment of the next one is outside.
    if (to)
        rows.bind(2, vb::DateTime(to->date().addDays(1)).toIso());

    // Keyed by the case-folded name: destinations that differ in letter case are one fund.
    QHash<QString, FundTotal> funds;
    QHash<QByteArray, QString> folded;  // the stored spellings met, to fold each once
    std::int64_t scanned = 0;
    while (rows.step()) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(rows.handle(), 0));
        const bool isNull = text == nullptr;
        // Looked up in place: a million rows name a handful of spellings, and only a new one is
        // copied.
        const QByteArray spelling = isNull ? QByteArray() : QByteArray::fromRawData(text, sqlite3_column_bytes(rows.handle(), 0));
        auto known = folded.find(spelling);
        if (known == folded.end()) {
            const QByteArray copy(spelling.constData(), spelling.size());
            known = folded.insert(copy, isNull ? QString() : fundKey(QString::fromUtf8(copy)));
        }
        FundTotal& fund = funds[*known];
        if (fund.count == 0)
            fund.name = QString::fromUtf8(spelling);
        ++fund.count;
        if (const int stored = sqlite3_column_type(rows.handle(), 1); stored != SQLITE_NULL) {
            // An amount is a whole number of ten-thousandths; anything else is no amount, and
            // the fund's total cannot be computed.
            if (stored == SQLITE_INTEGER)
                fund.total.addRaw(rows.int64(1));
            else
                fund.total.spoil();
            fund.anyAmount = true;
        }
        if (++scanned % kAskEvery == 0 && keepScanning && !keepScanning())
            return std::nullopt;
    }

    std::vector<std::pair<QString, FundTotal>> ordered(funds.keyValueBegin(), funds.keyValueEnd());
    // In the order the file's collation gives the funds, as a GROUP BY Destination would list them.
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return jet::compareFolded(a.first, b.first) < 0; });
    std::vector<FundTotal> out;
    out.reserve(ordered.size());
    for (auto& entry : ordered)
        out.push_back(std::move(entry.second));
    return out;
}

FundTotal grandTotal(const std::vector<FundTotal>& funds)
{
    FundTotal all;
    for (const FundTotal& fund : funds) {
        all.count += fund.count;
        all.total.addSum(fund.total);
        all.anyAmount = all.anyAmount || fund.anyAmount;
    }
    return all;
}

} // namespace reports
