#include "decimal.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace vb::detail {

char* writeShortest(double finite, char* buffer)
{
    return std::to_chars(buffer, buffer + 32, finite, std::chars_format::scientific).ptr;
}

ShortestDecimal shortestDecimal(double finite)
{
    ShortestDecimal d;
    if (finite == 0.0)
        return d;
    char buffer[32];
    const char* end = writeShortest(finite, buffer);
    const char* p = buffer;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; p != end && *p != 'e'; ++p)
        if (*p != '.')
            d.digits[d.count++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
    while (d.count > 1 && d.digits[d.count - 1] == '0')
        --d.count;
    // The text was d.ddd × 10^exponent; the struct keeps an integer mantissa.
    d.exponent = exponent - (d.count - 1);
    return d;
}

QString plainDecimal(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    const ShortestDecimal d = shortestDecimal(value);
    if (d.count == 0)
        return QStringLiteral("0");
    std::string out;
    out.reserve(static_cast<std::size_t>(d.count + std::abs(d.exponent) + 3));
    if (d.negative)
        out += '-';
    const int point = d.count + d.exponent;  // digits before the decimal point
    if (d.exponent >= 0) {
        out.append(d.digits, static_cast<std::size_t>(d.count));
        out.append(static_cast<std::size_t>(d.exponent), '0');
    } else if (point > 0) {
        out.append(d.digits, static_cast<std::size_t>(point));
        out += '.';
        out.append(d.digits + point, static_cast<std::size_t>(d.count - point));
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out.append(d.digits, static_cast<std::size_t>(d.count));
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

namespace {

// Power of ten of the first significant digit, to tell an overflow from an underflow; the
// exponent is clamped so that absurd exponents cannot wrap around.
long long magnitude(std::string_view plain)
{
    std::size_t i = plain.front() == '-' ? 1 : 0;
    long long position = 0;  // digits seen before the point, minus zeros skipped after it
    bool afterPoint = false;
    bool found = false;
    for (; i < plain.size() && plain[i] != 'e' && plain[i] != 'E'; ++i) {
        const char c = plain[i];
        if (c == '.') {
            afterPoint = true;
        } else if (!found && c == '0') {
            if (afterPoint)
                --position;
        } else if (!found) {
            found = true;
            position = afterPoint ? position - 1 : 0;
        } else if (!afterPoint) {
            ++position;
        }
    }
    if (!found)
        return -1;  // zero
    long long exponent = 0;
    if (i < plain.size()) {
        ++i;
        bool negative = false;
        if (i < plain.size() && (plain[i] == '+' || plain[i] == '-'))
            negative = plain[i++] == '-';
        for (; i < plain.size(); ++i)
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (plain[i] - '0');
        if (negative)
            exponent = -exponent;
    }
    return position + exponent;
}

} // namespace

std::optional<double> plainToDouble(std::string_view plain)
{
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (magnitude(plain) >= 0)
            return std::nullopt;
        return 0.0;
    }
    if (ec != std::errc() || ptr != plain.data() + plain.size())
        return std::nullopt;  // not reached with checked input
    return value == 0.0 ? 0.0 : value;  // no negative zero
}

} // namespace vb::detail
