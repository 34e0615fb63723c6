#include "currency.h"

#include "decimal.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace vb {
namespace {

[[noreturn]] void overflow()
{
    throw std::overflow_error("Currency overflow");
}

constexpr std::uint64_t PositiveLimit = std::numeric_limits<std::int64_t>::max();
constexpr std::uint64_t NegativeLimit = PositiveLimit + 1;

template <typename Char>
bool isDigit(Char c)
{
    return c >= Char('0') && c <= Char('9');
}

// Reads "[sign] digits [. digits] [e [sign] digits]" straight from the characters and rounds
// it to ten-thousandths, halves to even. Works digit by digit on the text, so that no
// intermediate double can bend the value and nothing is allocated.
template <typename Char>
std::optional<Currency> parseDecimal(const Char* p, const Char* end)
{
    bool negative = false;
    if (p != end && (*p == Char('+') || *p == Char('-')))
        negative = *p++ == Char('-');
    const Char* mantissa = p;
    long long intDigits = 0;
    long long fracDigits = 0;
    for (; p != end && isDigit(*p); ++p)
        ++intDigits;
    if (p != end && *p == Char('.'))
        for (++p; p != end && isDigit(*p); ++p)
            ++fracDigits;
    if (intDigits + fracDigits == 0)
        return std::nullopt;
    long long exponent = 0;
    if (p != end && (*p == Char('e') || *p == Char('E'))) {
        ++p;
        bool negativeExponent = false;
        if (p != end && (*p == Char('+') || *p == Char('-')))
            negativeExponent = *p++ == Char('-');
        if (p == end || !isDigit(*p))
            return std::nullopt;
        // Beyond a million the result is zero or an overflow anyway.
        for (; p != end && isDigit(*p); ++p)
            if (exponent < 1'000'000)
                exponent = exponent * 10 + (*p - Char('0'));
        if (negativeExponent)
            exponent = -exponent;
    }
    if (p != end)
        return std::nullopt;

    // The mantissa digits without the point, numbered 0..count-1.
    const long long count = intDigits + fracDigits;
    auto digitAt = [&](long long k) {
        return static_cast<unsigned>(mantissa[k + (k >= intDigits ? 1 : 0)] - Char('0'));
    };
    // How many leading digits form the whole number of ten-thousandths.
    const long long keep = intDigits + exponent + 4;
    const std::uint64_t limit = negative ? NegativeLimit : PositiveLimit;
    std::uint64_t units = 0;
    auto push = [&](unsigned digit) {
        if (units > (limit - digit) / 10)
            overflow();
        units = units * 10 + digit;
    };
    const long long kept = std::min(keep, count);
    for (long long k = 0; k < kept; ++k)
        push(digitAt(k));
    if (units != 0)
        for (long long k = count; k < keep; ++k)
            push(0);  // overflows within twenty steps at most
    if (keep < count && keep >= 0) {
        const unsigned first = digitAt(keep);
        bool rest = false;
        for (long long k = keep + 1; k < count && !rest; ++k)
            rest = digitAt(k) != 0;
        if (first > 5 || (first == 5 && (rest || (units & 1) != 0))) {
            if (units == limit)
                overflow();
            ++units;
        }
    }
    return Currency::fromRaw(negative ? static_cast<std::int64_t>(0 - units)
                                      : static_cast<std::int64_t>(units));
}

} // namespace

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e15)
        overflow();
    // Rounding the shortest decimal form of the double rather than value × 10000 makes a
    // double convert exactly as its text does: 1.00005 is a tie, as typed.
    char buffer[32];
    const char* end = detail::writeShortest(value, buffer);
    return *parseDecimal<char>(buffer, end);
}

std::optional<Currency> Currency::fromDecimalText(QStringView text)
{
    const char16_t* begin = text.utf16();
    return parseDecimal<char16_t>(begin, begin + text.size());
}

QString Currency::toString() const
{
    const std::uint64_t magnitude = raw_ < 0 ? 0 - static_cast<std::uint64_t>(raw_)
                                             : static_cast<std::uint64_t>(raw_);
    std::uint64_t whole = magnitude / Scale;
    auto fraction = static_cast<unsigned>(magnitude % Scale);
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    char* p = end;
    if (fraction != 0) {
        int places = 4;
        for (; fraction % 10 == 0; --places)
            fraction /= 10;
        for (; places > 0; --places, fraction /= 10)
            *--p = static_cast<char>('0' + fraction % 10);
        *--p = '.';
    }
    do {
        *--p = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (raw_ < 0)
        *--p = '-';
    return QString::fromLatin1(p, end - p);
}

Currency Currency::operator-() const
{
    if (raw_ == std::numeric_limits<std::int64_t>::min())
        overflow();
    return fromRaw(-raw_);
}

Currency Currency::operator+(Currency other) const
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(raw_, other.raw_, &sum))
        overflow();
    return fromRaw(sum);
}

Currency Currency::operator-(Currency other) const
{
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(raw_, other.raw_, &difference))
        overflow();
    return fromRaw(difference);
}

Currency Currency::operator*(std::int64_t factor) const
{
    std::int64_t product = 0;
    if (__builtin_mul_overflow(raw_, factor, &product))
        overflow();
    return fromRaw(product);
}

} // namespace vb
