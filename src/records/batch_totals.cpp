#include "records/batch_totals.h"

#include "platform/vb/convert.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"

#include <stdexcept>

namespace records {

std::optional<vb::Currency> BatchTotals::total() const
{
    vb::CurrencySum sum;
    for (const auto& [id, amount] : recorded_)
        sum.add(amount);
    return sum.value();
}

bool BatchTotals::amend(std::int64_t paymentId, vb::Currency amount)
{
    const auto it = recorded_.find(paymentId);
    if (it == recorded_.end())
        return false;
    it->second = amount;
    return true;
}

BatchGifts BatchTotals::handedOver() const
{
    BatchGifts out;
    // Keys given out in rising order: the order the gifts were recorded.
    for (const auto& [id, amount] : recorded_)
        out.paymentIds.push_back(id);
    out.expectedGifts = expectedGifts_;
    out.expectedTotal = expectedTotal_;
    out.differences = differences();
    return out;
}

QString batchAmount(const std::optional<vb::Currency>& amount)
{
    return vb::formatTotal(amount, u"$##,##0.00");
}

QString BatchTotals::progressText() const
{
    return QStringLiteral("Batch: %1 of %2 %3, %4 of %5")
        .arg(gifts())
        .arg(expectedGifts_)
        .arg(expectedGifts_ == 1 ? QStringLiteral("gift") : QStringLiteral("gifts"))
        .arg(batchAmount(total()), batchAmount(expectedTotal_));
}

namespace {

QString giftsLine(std::int64_t recorded, std::int64_t expected)
{
    const std::int64_t gap = expected - recorded;
    const QString what = gap > 0 ? QStringLiteral("%1 fewer than expected").arg(gap) : QStringLiteral("%1 more than expected").arg(-gap);
    return QStringLiteral("Gifts: %1 recorded, %2 expected (%3).").arg(recorded).arg(expected).arg(what);
}

QString totalLine(const std::optional<vb::Currency>& total, vb::Currency expected)
{
    if (!total)
        return QStringLiteral("Total: %1 recorded, %2 expected.").arg(batchAmount(total), batchAmount(expected));
    // Both lie within the currency's range and are not negative: the gap cannot overflow.
    const vb::Currency recorded = *total;
    const vb::Currency gap = expected - recorded;
    const QString what = gap > vb::Currency() ? QStringLiteral("%1 short").arg(batchAmount(gap))
                                              : QStringLiteral("%1 over").arg(batchAmount(-gap));
    return QStringLiteral("Total: %1 recorded, %2 expected (%3).").arg(batchAmount(recorded), batchAmount(expected), what);
}

} // namespace

QString BatchTotals::differences() const
{
    QStringList lines;
    if (gifts() != expectedGifts_)
        lines << giftsLine(gifts(), expectedGifts_);
    if (total() != expectedTotal_)
        lines << totalLine(total(), expectedTotal_);
    return lines.join(u'\n');
}

BatchReading readBatchExpectation(const QString& giftsText, const QString& totalText)
{
    BatchReading out;
    bool whole = false;
    const std::int64_t gifts = giftsText.trimmed().toLongLong(&whole);
    if (!whole || gifts < 1 || gifts > 999999) {
        out.refusal = QStringLiteral("Type the number of gifts in the batch: a whole number from 1 to 999,999.");
        out.wrongBox = 0;
        return out;
    }
    std::optional<vb::Currency> total;
    try {
        total = vb::readCurrency(totalText.trimmed());
    } catch (const std::overflow_error&) {
        total.reset();
    }
    if (!total || *total <= vb::Currency() || *total > vb::Currency::fromUnits(999999999)) {
        out.refusal = QStringLiteral("Type the total of the batch: an amount above zero, such as 1,275.00.");
        out.wrongBox = 1;
        return out;
    }
    out.expectation = BatchExpectation{gifts, *total};
    return out;
}

} // namespace records
