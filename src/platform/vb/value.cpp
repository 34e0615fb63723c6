#include "value.h"

#include "convert.h"
#include "decimal.h"
#include "format.h"

namespace vb {
namespace {

constexpr std::int64_t SerialZero = 2415019;  // julian day of 1899-12-30, day 0 of the serial

// The classic date serial: whole days since 1899-12-30, the time as a fraction of a day that
// points away from zero (noon of 12/29/1899 is -1.5).
double dateSerial(const DateTime& d)
{
    const auto days = static_cast<double>(d.date().toJulianDay() - SerialZero);
    const double fraction = d.time().msecsSinceStartOfDay() / 86'400'000.0;
    return days < 0 ? days - fraction : days + fraction;
}

// Whole units rounded half to even, straight from the ten-thousandths.
std::int64_t roundedUnits(Currency c)
{
    const std::int64_t raw = c.raw();
    std::int64_t whole = raw / Currency::Scale;  // toward zero
    const std::int64_t rest = raw % Currency::Scale;
    const std::int64_t half = Currency::Scale / 2;
    const std::int64_t magnitude = rest < 0 ? -rest : rest;
    if (magnitude > half || (magnitude == half && whole % 2 != 0))
        whole += raw < 0 ? -1 : 1;
    return whole;
}

[[noreturn]] void mismatch()
{
    throw ConversionError();
}

} // namespace

bool Value::isNumber() const
{
    const Type t = type();
    return t == Type::Boolean || t == Type::Long || t == Type::Double || t == Type::Currency;
}

QString Value::toText() const
{
    switch (type()) {
    case Type::Null:
        return QString();
    case Type::Boolean:
        return asBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Long:
        return QString::number(asLong());
    case Type::Double:
        return detail::plainDecimal(asDouble());
    case Type::Currency:
        return asCurrency().toString();
    case Type::Date:
        return generalDate(asDate());
    case Type::Text:
        return asText();
    }
    return QString();
}

double Value::toDouble() const
{
    switch (type()) {
    case Type::Boolean:
        return asBool() ? -1.0 : 0.0;
    case Type::Long:
        return static_cast<double>(asLong());
    case Type::Double:
        return asDouble();
    case Type::Currency:
        return asCurrency().toDouble();
    case Type::Date:
        return dateSerial(asDate());
    case Type::Text:
        if (const std::optional<double> number = readNumber(asText()))
            return *number;
        break;
    case Type::Null:
        break;
    }
    mismatch();
}

std::int64_t Value::toLong() const
{
    switch (type()) {
    case Type::Boolean:
        return asBool() ? -1 : 0;
    case Type::Long:
        return asLong();
    case Type::Currency:
        return roundedUnits(asCurrency());
    default:
        return roundHalfEven(toDouble());
    }
}

Currency Value::toCurrency() const
{
    switch (type()) {
    case Type::Boolean:
        return Currency::fromUnits(asBool() ? -1 : 0);
    case Type::Long:
        return Currency::fromUnits(asLong());
    case Type::Currency:
        return asCurrency();
    case Type::Text:
        // Exactly as typed, without a double in between.
        if (const std::optional<Currency> money = readCurrency(asText()))
            return *money;
        mismatch();
    default:
        return Currency::fromDouble(toDouble());
    }
}

DateTime Value::toDate() const
{
    if (type() == Type::Date)
        return asDate();
    if (type() == Type::Text)
        if (const std::optional<DateTime> date = readDate(asText()))
            return *date;
    mismatch();
}

} // namespace vb
