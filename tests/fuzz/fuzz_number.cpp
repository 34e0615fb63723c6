// Number reading: nothing crashes, and the readers agree with each other on every input.
#include "platform/vb/convert.h"
#include "platform/vb/currency.h"
#include "platform/vb/format.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace {

void require(bool condition, const char* what, const QString& text)
{
    if (condition)
        return;
    std::fprintf(stderr, "%s: \"%s\"\n", what, qUtf8Printable(text));
    std::abort();
}

// Reads money, telling "no number" (nullopt) from "too large" (overflow set).
template <typename Read>
std::optional<vb::Currency> money(Read read, bool& overflow)
{
    overflow = false;
    try {
        return read();
    } catch (const std::overflow_error&) {
        overflow = true;
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    try {
        require(std::isfinite(vb::leadingNumber(text)), "leadingNumber is not finite", text);
    } catch (const std::overflow_error&) {
    }

    const std::optional<double> number = vb::readNumber(text);
    require(vb::isNumeric(text) == number.has_value(), "isNumeric disagrees with readNumber", text);
    require(vb::isNumeric(vb::Value(text)) == number.has_value(), "isNumeric(Value) disagrees", text);
    if (number) {
        require(std::isfinite(*number), "readNumber gave an infinite number", text);
        require(*number != 0 || !std::signbit(*number), "readNumber gave a negative zero", text);
    }

    bool readOverflow = false;
    const std::optional<vb::Currency> read = money([&] { return vb::readCurrency(text); }, readOverflow);
    require(number.has_value() == (read.has_value() || readOverflow),
            "readCurrency and readNumber disagree on what is a number", text);
    if (read) {
        const double distance = std::fabs(read->toDouble() - *number);
        require(distance <= 0.00005 + std::fabs(*number) * 1e-15, "readCurrency is far from readNumber", text);
        // The double may step over the limit that the exact reading just kept within.
        bool doubleOverflow = false;
        const std::optional<vb::Currency> viaDouble =
            money([&] { return vb::Currency::fromDouble(*number); }, doubleOverflow);
        require(viaDouble || std::fabs(*number) > 922337203685477.0, "fromDouble overflows too early", text);
        // Below 1e11 a double is finer than a ten-thousandth, so the two roundings meet.
        if (viaDouble && std::fabs(*number) < 1e11)
            require(std::llabs(viaDouble->raw() - read->raw()) <= 1, "fromDouble is far from readCurrency", text);
        require(vb::Currency::fromDecimalText(read->toString()) == read, "toString does not read back", text);
    }

    bool plainOverflow = false;
    const std::optional<vb::Currency> plain =
        money([&] { return vb::Currency::fromDecimalText(text); }, plainOverflow);
    if (plain || plainOverflow) {
        // A plain number is also a number in every other sense.
        require(number.has_value() || plainOverflow, "a plain number is not numeric", text);
        if (plain) {
            require(read == plain, "readCurrency differs from fromDecimalText on a plain number", text);
            require(vb::leadingNumber(text) == *number, "leadingNumber differs on a plain number", text);
        }
    }

    if (number) {
        if (std::fabs(*number) < 9e18) {
            const std::int64_t rounded = vb::roundHalfEven(*number);
            require(std::fabs(static_cast<double>(rounded) - *number) <= 0.5, "roundHalfEven is off", text);
        }
        const QString shown = vb::format(vb::Value(text), u"$##,##0.00");
        require(shown.startsWith(u'$') || shown.startsWith(u"-$"), "money format lost its dollar sign", text);
    }
    return 0;
}
