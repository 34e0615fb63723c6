#include "db/import_values.h"

#include "platform/vb/convert.h"
#include "schema/number_limits.h"

#include <QRegularExpression>
#include <limits>
#include <stdexcept>

namespace db::import {

namespace {

// The smallest amount a donation may have.
constexpr vb::Currency kSmallestAmount = vb::Currency::fromRaw(db::kGiftAmounts.lowest);

// A whole number as the text gives it, digits with an optional sign; none for anything else. A
// number beyond 64 bits reads as the largest, which lies beyond every range.
std::optional<std::int64_t> wholeNumber(const QString& trimmed)
{
    static const QRegularExpression digits(QStringLiteral(R"(^[+-]?[0-9]+$)"));
    if (!digits.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = trimmed.toLongLong(&ok);
    if (ok)
        return static_cast<std::int64_t>(n);
    return trimmed.startsWith(u'-') ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
}

// "1.234,50", "1.234.567,5", "25,50": dots only between groups of three, a decimal comma with
// one or two digits. Such a text cannot be a US amount (its groups would be wrong), so reading
// it the European way never changes what a US text means.
QString fromEuropean(const QString& text)
{
    static const QRegularExpression european(QStringLiteral(R"(^(\D*?)(\d{1,3}(?:\.\d{3})*|\d+),(\d{1,2})(\D*)$)"));
    const QRegularExpressionMatch m = european.match(text.trimmed());
    if (!m.hasMatch())
        return text;
    QString whole = m.captured(2);
    whole.remove(u'.');
    return m.captured(1) + whole + u'.' + m.captured(3) + m.captured(4);
}

} // namespace

std::variant<vb::Currency, Refusal> readAmount(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return Refusal{QStringLiteral("unreadable amount: the amount is blank")};
    std::optional<vb::Currency> amount;
    const QString outOfRange = db::outOfRange(QStringLiteral("amount '%1'").arg(trimmed), db::kGiftAmounts);
    try {
        amount = vb::readCurrency(trimmed);
        if (!amount)
            amount = vb::readCurrency(fromEuropean(trimmed));
    } catch (const std::overflow_error&) {
        return Refusal{outOfRange};  // beyond even the currency
    }
    if (!amount)
        return Refusal{QStringLiteral("unreadable amount: '%1'").arg(trimmed)};
    if (*amount < kSmallestAmount)
        return Refusal{QStringLiteral("amount '%1' is not above zero; a donation is at least 0.01").arg(trimmed)};
    if (!db::kGiftAmounts.holds(*amount))
        return Refusal{outOfRange};
    return *amount;
}

std::variant<vb::DateTime, Refusal> readDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return Refusal{QStringLiteral("unreadable date: the date is blank")};
    if (const std::optional<vb::DateTime> date = vb::readDate(trimmed))
        return *date;
    return Refusal{QStringLiteral("unreadable date: '%1'").arg(trimmed)};
}

std::variant<std::optional<std::int32_t>, Refusal> readCheck(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::optional<std::int32_t>();
    const std::optional<std::int64_t> n = wholeNumber(trimmed);
    if (!n)
        return Refusal{QStringLiteral("unreadable check number: '%1'").arg(trimmed)};
    if (!db::kCheckNumbers.holds(*n))
        return Refusal{db::outOfRange(QStringLiteral("check number '%1'").arg(trimmed), db::kCheckNumbers)};
    return std::optional<std::int32_t>(static_cast<std::int32_t>(*n));
}

std::variant<std::int64_t, Refusal> readMemberId(const QString& text)
{
    const QString trimmed = text.trimmed();
    const std::optional<std::int64_t> n = wholeNumber(trimmed);
    if (!n)
        return Refusal{QStringLiteral("unreadable member ID: '%1'").arg(trimmed)};
    if (!db::kMemberNumbers.holds(*n))
        return Refusal{db::outOfRange(QStringLiteral("member ID '%1'").arg(trimmed), db::kMemberNumbers)};
    return *n;
}

} // namespace db::import
