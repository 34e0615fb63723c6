#include "format.h"

#include "convert.h"
#include "decimal.h"

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>

namespace vb {
namespace {

// ---- numbers ----------------------------------------------------------------------------------

struct NumberStyle {
    int decimals;
    bool dollar;
    bool separators;
    bool blankZero;  // "#" placeholders show nothing for a zero
};

// A number as sign, digits and a power of ten: value = ±digits × 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Decimal fromInteger(std::int64_t v)
{
    Decimal d;
    d.negative = v < 0;
    const std::uint64_t magnitude = d.negative ? 0 - static_cast<std::uint64_t>(v)
                                               : static_cast<std::uint64_t>(v);
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude).ptr;
    d.digits.assign(buffer, end);
    return d;
}

Decimal fromDouble(double v)
{
    const detail::ShortestDecimal s = detail::shortestDecimal(v);
    return {s.negative, std::string(s.view()), s.exponent};
}

Decimal fromCurrency(Currency c)
{
    Decimal d = fromInteger(c.raw());
    d.exponent = -4;
    return d;
}

// Adds one to a string of decimal digits.
void increment(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The digits of round(value × 10^decimals), halves to even, without leading zeros.
std::string scaledDigits(const Decimal& d, int decimals)
{
    std::string n = d.digits;
    const int shift = d.exponent + decimals;
    if (shift >= 0) {
        n.append(static_cast<std::size_t>(shift), '0');
    } else {
        const auto drop = static_cast<std::size_t>(-shift);
        if (drop > n.size()) {
            n.clear();  // below a tenth of the last place: rounds to zero
        } else {
            const std::size_t cut = n.size() - drop;
            const char first = n[cut];
            const bool rest = n.find_first_not_of('0', cut + 1) != std::string::npos;
            n.resize(cut);
            const bool odd = !n.empty() && (n.back() - '0') % 2 != 0;
            if (first > '5' || (first == '5' && (rest || odd)))
                increment(n);
        }
    }
    const std::size_t firstNonZero = n.find_first_not_of('0');
    n.erase(0, firstNonZero == std::string::npos ? n.size() : firstNonZero);
    return n;
}

QString formatNumber(const Decimal& d, const NumberStyle& style)
{
    std::string n = scaledDigits(d, style.decimals);
    if (n.empty() && style.blankZero)
        return QString();
    const bool negative = d.negative && !n.empty();  // no "-$0.00" for a rounded-away cent
    if (n.size() < static_cast<std::size_t>(style.decimals) + 1)
        n.insert(0, static_cast<std::size_t>(style.decimals) + 1 - n.size(), '0');
    const std::size_t whole = n.size() - static_cast<std::size_t>(style.decimals);

    std::string out;
    out.reserve(n.size() + n.size() / 3 + 3);
    if (negative)
        out += '-';
    if (style.dollar)
        out += '$';
    for (std::size_t i = 0; i < whole; ++i) {
        if (style.separators && i != 0 && (whole - i) % 3 == 0)
            out += ',';
        out += n[i];
    }
    if (style.decimals > 0) {
        out += '.';
        out.append(n, whole, std::string::npos);
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString formatNumberValue(const Value& value, const NumberStyle& style)
{
    switch (value.type()) {
    case Type::Boolean:
        return formatNumber(fromInteger(value.asBool() ? -1 : 0), style);
    case Type::Long:
        return formatNumber(fromInteger(value.asLong()), style);
    case Type::Double:
        if (!std::isfinite(value.asDouble()))
            return value.toText();
        return formatNumber(fromDouble(value.asDouble()), style);
    case Type::Currency:
        return formatNumber(fromCurrency(value.asCurrency()), style);
    case Type::Text:
        if (const std::optional<double> number = readNumber(value.asText()))
            return formatNumber(fromDouble(*number), style);
        return value.asText();
    case Type::Null:
    case Type::Date:
        break;
    }
    return value.toText();
}

// ---- dates ------------------------------------------------------------------------------------

constexpr std::array<const char*, 12> MonthNames = {
    "January", "February", "March", "April", "May", "June", "July",
    "August", "September", "October", "November", "December"};
constexpr std::array<const char*, 7> WeekdayNames = {
    "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

enum class DateStyle { General, Short, Long, DayMonthYear };

void appendNumber(std::string& out, int value, int width)
{
    char buffer[16];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value < 0 ? -value : value).ptr;
    if (value < 0)
        out += '-';
    for (auto digits = end - buffer; digits < width; ++digits)
        out += '0';
    out.append(buffer, end);
}

QString latin1(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

void appendShortDate(std::string& out, QDate date)
{
    appendNumber(out, date.month(), 1);
    out += '/';
    appendNumber(out, date.day(), 1);
    out += '/';
    appendNumber(out, date.year(), 4);
}

QString formatDate(const DateTime& d, DateStyle style)
{
    switch (style) {
    case DateStyle::General:
        return generalDate(d);
    case DateStyle::Short:
        return shortDate(d);
    case DateStyle::Long:
        return longDate(d);
    case DateStyle::DayMonthYear:
        break;
    }
    const QDate date = d.date();
    if (!date.isValid())
        return QString();
    std::string out;
    appendNumber(out, date.day(), 2);
    out += '-';
    out.append(MonthNames[static_cast<std::size_t>(date.month() - 1)], 3);
    out += '-';
    appendNumber(out, (date.year() % 100 + 100) % 100, 2);
    return latin1(out);
}

QString formatDateValue(const Value& value, DateStyle style)
{
    if (value.type() == Type::Date)
        return formatDate(value.asDate(), style);
    if (value.type() == Type::Text)
        if (const std::optional<DateTime> date = readDate(value.asText()))
            return formatDate(*date, style);
    return value.toText();
}

// ---- format strings ---------------------------------------------------------------------------

bool named(QStringView formatString, QStringView name)
{
    return formatString.compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

QString format(const Value& value, QStringView f)
{
    // The money format has a few equivalent spellings in the format language.
    static constexpr NumberStyle Money{2, true, true, false};
    static constexpr NumberStyle Count{0, false, true, true};
    static constexpr NumberStyle Bare{0, false, false, true};
    const NumberStyle* number = nullptr;
    DateStyle date = DateStyle::General;
    if (f == u"$##,##0.00" || f == u"$#,##0.00" || f == u"\"$\"#,##0.00" || f == u"\"$\"##,##0.00")
        number = &Money;
    else if (f == u"##,###" || f == u"#,###")
        number = &Count;
    else if (f == u"#######" || f == u"#")
        number = &Bare;
    else if (named(f, u"general date"))
        date = DateStyle::General;
    else if (named(f, u"short date"))
        date = DateStyle::Short;
    else if (named(f, u"long date"))
        date = DateStyle::Long;
    else if (named(f, u"dd-mmm-yy"))
        date = DateStyle::DayMonthYear;
    else
        throw std::invalid_argument("Unknown format string: " + f.toString().toStdString());

    if (value.isNull())
        return QString();
    return number ? formatNumberValue(value, *number) : formatDateValue(value, date);
}

QString shortDate(const DateTime& d)
{
    const QDate date = d.date();
    if (!date.isValid())
        return QString();
    std::string out;
    appendShortDate(out, date);
    return latin1(out);
}

QString longDate(const DateTime& d)
{
    const QDate date = d.date();
    if (!date.isValid())
        return QString();
    std::string out = WeekdayNames[static_cast<std::size_t>(date.dayOfWeek() - 1)];
    out += ", ";
    out += MonthNames[static_cast<std::size_t>(date.month() - 1)];
    out += ' ';
    appendNumber(out, date.day(), 1);
    out += ", ";
    appendNumber(out, date.year(), 4);
    return latin1(out);
}

QString generalDate(const DateTime& d)
{
    const QDate date = d.date();
    if (!date.isValid())
        return QString();
    std::string out;
    appendShortDate(out, date);
    if (d.hasTime()) {
        const QTime time = d.time();
        const int hour = time.hour();
        out += ' ';
        appendNumber(out, hour % 12 == 0 ? 12 : hour % 12, 1);
        out += ':';
        appendNumber(out, time.minute(), 2);
        out += ':';
        appendNumber(out, time.second(), 2);
        out += hour < 12 ? " AM" : " PM";
    }
    return latin1(out);
}

QString notAvailable()
{
    return QStringLiteral("Not Available");
}

QString formatTotal(const std::optional<Currency>& total, QStringView formatString)
{
    return total ? format(Value(*total), formatString) : notAvailable();
}

} // namespace vb
