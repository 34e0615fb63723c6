#include "filters/donation_clause.h"

#include "platform/jet/translator.h"
#include "platform/vb/convert.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

namespace filters {

namespace {

// Positions of the captions in DonationClause::captions (FilterCaptions 9..22).
enum Caption {
    AmountOperator = 0, Amount, AmountRangeMark, AmountTo,
    CheckOperator, Check, CheckTo, CheckRangeMark,
    DestinationMode, Destination,
    DateOperator, Date, DateRangeMark, DateTo,
};

const QString kAnd = QStringLiteral(" and ");

// The operator of an amount, check-number or date row goes into the clause as it stands: only
// the items the dialog lists are taken, anything else counts as no choice.
bool comparison(const QString& op)
{
    return op == u"=" || op == u">" || op == u"<";
}

// The clause and captions as they are being built; the refusal ends the building.
struct Builder {
    explicit Builder(const DonationCriteria& criteria) : c(criteria) { captions.fill(QStringLiteral(" ")); }

    const DonationCriteria& c;
    QString where = QStringLiteral(" WHERE ");
    std::array<QString, kDonationCaptions> captions;
    QString refusal;

    const QString& op(int row) const { return c.operators[static_cast<std::size_t>(row)]; }
    const QString& value(int box) const { return c.values[static_cast<std::size_t>(box)]; }
    void caption(Caption k, const QString& text) { captions[static_cast<std::size_t>(k)] = text; }
    bool refuse(const QString& message)
    {
        refusal = message;
        return false;
    }
};

// An amount as the dialect reads it, within what the currency type holds.
std::optional<QString> amountText(Builder& b, const QString& typed)
{
    try {
        if (const auto amount = vb::readCurrency(typed))
            return amount->toString();
    } catch (const std::overflow_error&) {
        b.refuse(QStringLiteral("The Payment Amount is too large."));
        return std::nullopt;
    }
    b.refuse(QStringLiteral("The Payment Amount must be a number, such as 25 or 12.50."));
    return std::nullopt;
}

// A check number, within what the field holds.
std::optional<double> checkNumber(Builder& b, const QString& typed)
{
    const auto number = vb::readNumber(typed);
    if (!number) {
        b.refuse(QStringLiteral("The Check Number must be a number, such as 1001."));
        return std::nullopt;
    }
    if (std::fabs(*number) > std::numeric_limits<std::int32_t>::max()) {
        b.refuse(QStringLiteral("The Check Number is too large."));
        return std::nullopt;
    }
    return number;
}

QString plain(double number)
{
    return vb::Value(number).toText();
}

bool amountRow(Builder& b)
{
    const QString& o = b.op(0);
    const QString& a = b.value(0);
    if (!comparison(o) || a.isEmpty())
        return true;
    const auto from = amountText(b, a);
    if (!from)
        return false;
    b.caption(AmountOperator, o);
    b.caption(Amount, a);
    const QString& to = b.value(1);
    if (b.c.ranges[0] && !to.isEmpty()) {
        const auto upTo = amountText(b, to);
        if (!upTo)
            return false;
        // Strictly between the two, cents included: "> 10 < 20" keeps $10.50 and $19.99.
        b.where += QStringLiteral("[PaymentAmount] >") + *from + kAnd + QStringLiteral("[PaymentAmount] <") + *upTo + kAnd;
        b.caption(AmountRangeMark, QStringLiteral("<"));
        b.caption(AmountTo, to);
    } else {
        b.where += QStringLiteral("[PaymentAmount] ") + o + *from + kAnd;
    }
    return true;
}

bool checkRow(Builder& b)
{
    const QString& o = b.op(1);
    const QString& a = b.value(2);
    if (!comparison(o) || a.isEmpty())
        return true;
    const auto from = checkNumber(b, a);
    if (!from)
        return false;
    b.caption(CheckOperator, o);
    b.caption(Check, a);
    const QString& to = b.value(3);
    if (b.c.ranges[1] && !to.isEmpty()) {
        const auto upTo = checkNumber(b, to);
        if (!upTo)
            return false;
        // Check numbers are whole: the ones above the first value and below the second.
        const auto lo = static_cast<std::int64_t>(std::floor(*from)) + 1;
        const auto hi = static_cast<std::int64_t>(std::ceil(*upTo)) - 1;
        b.where += QStringLiteral("[CheckNumber] Between %1 and %2").arg(lo).arg(hi) + kAnd;
        b.caption(CheckTo, to);
        b.caption(CheckRangeMark, QStringLiteral("<"));
    } else {
        b.where += QStringLiteral("[CheckNumber] ") + o + plain(*from) + kAnd;
    }
    return true;
}

bool destinationRow(Builder& b)
{
    const QString& m = b.op(2);
    const QString& d = b.value(4);
    if (m.isEmpty() || d.isEmpty())
        return true;
    if (d.contains(QChar(0)))
        return b.refuse(QStringLiteral("The Destination holds a character that cannot be searched for."));
    b.caption(DestinationMode, m);
    b.caption(Destination, d);
    b.where += QStringLiteral("[Destination] ");
    if (m == u"Contains")
        b.where += QStringLiteral("Like ") + jet::quoted(u'*' + jet::likeLiteral(d) + u'*') + kAnd;
    else
        b.where += QStringLiteral("= ") + jet::quoted(d) + kAnd;
    return true;
}

bool dateRow(Builder& b)
{
    const QString& p = b.op(3);
    const QString& d1 = b.value(5);
    if ((!comparison(p) && p != u"From") || d1.isEmpty())
        return true;
    const auto first = vb::readDate(d1);
    if (!first)
        return b.refuse(QStringLiteral("Invalid  'From'  Date"));
    if (p != u"From") {
        b.caption(DateOperator, p);
        b.caption(Date, d1);
        // Written back as month/day/year (and the time when there is one), however it was typed.
        b.where += QStringLiteral("[PaymentDate] ") + p + u'#' + vb::generalDate(*first) + u'#' + kAnd;
        return true;
    }
    const QString& d2 = b.value(6);
    const auto second = vb::readDate(d2);
    if (!second)
        return b.refuse(QStringLiteral("Invalid  'To'  Date"));
    b.caption(DateOperator, p);
    b.caption(Date, d1);
    b.caption(DateTo, d2);
    b.caption(DateRangeMark, QStringLiteral("To"));
    b.where += QStringLiteral("[PaymentDate] Between #") + vb::shortDate(*first) + QStringLiteral("# and #")
               + vb::shortDate(*second) + u'#' + kAnd;
    return true;
}

} // namespace

DonationClause donationClause(const DonationCriteria& criteria)
{
    Builder b(criteria);
    DonationClause result;
    if (!amountRow(b) || !checkRow(b) || !destinationRow(b) || !dateRow(b)) {
        result.refusal = b.refusal;
        return result;
    }
    // Without its last "and ", the clause ends with the blank after its last condition.
    if (b.where != u" WHERE ") {
        b.where.chop(4);
        result.filter = b.where;
    }
    result.captions = b.captions;
    return result;
}

} // namespace filters
