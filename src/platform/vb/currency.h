#pragma once
// Money as the program keeps it: a 64-bit count of ten-thousandths, so that sums over millions of
// donations stay exact. Arithmetic that would leave the 64-bit range throws std::overflow_error.
#include <QString>
#include <QStringView>
#include <compare>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

namespace vb {

class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(std::int64_t tenThousandths) { Currency c; c.raw_ = tenThousandths; return c; }
    // Throws std::overflow_error beyond the range, like the arithmetic below.
    static constexpr Currency fromUnits(std::int64_t whole)
    {
        if (whole > std::numeric_limits<std::int64_t>::max() / Scale
            || whole < std::numeric_limits<std::int64_t>::min() / Scale)
            throw std::overflow_error("Currency overflow");
        return fromRaw(whole * Scale);
    }
    // Rounds to four decimals, halves to even. Throws std::overflow_error when out of range or not finite.
    // A tie is judged on the shortest decimal form of the double, so 1.00005 rounds as typed.
    static Currency fromDouble(double value);
    // Exact decimal reading of a plain number ("-1234.5", "12.34567" rounds half to even at four
    // decimals, "1e3"). No currency sign, no separators, no blanks. nullopt when the text is no
    // such number; a number beyond the range throws std::overflow_error.
    static std::optional<Currency> fromDecimalText(QStringView text);

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return static_cast<double>(raw_) / Scale; }
    // Plain decimal without trailing zeros: "1234.5", "-0.25", "7".
    QString toString() const;

    Currency operator-() const;
    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency operator*(std::int64_t factor) const;
    Currency& operator+=(Currency other) { return *this = *this + other; }
    Currency& operator-=(Currency other) { return *this = *this - other; }
    Currency abs() const { return raw_ < 0 ? -*this : *this; }

    friend constexpr auto operator<=>(Currency, Currency) = default;
    friend constexpr bool operator==(Currency, Currency) = default;

private:
    std::int64_t raw_ = 0;
};

// A total of amounts that cannot overflow while it grows. One amount is at most 2^63
// ten-thousandths; 128 bits hold the sum of 2^64 of them, more rows than any file can store, so
// adding never fails and whether the total fits the currency is asked once, at the end. A value
// that is no amount (a text or a fraction of a ten-thousandth in a file changed by some other
// tool) makes the total one that cannot be computed: it is never a total that leaves it out.
class CurrencySum {
public:
    void add(Currency amount) { sum_ += amount.raw(); }
    void addRaw(std::int64_t tenThousandths) { sum_ += tenThousandths; }
    void addWhole(std::int64_t units) { sum_ += static_cast<Wide>(units) * Currency::Scale; }
    void addSum(const CurrencySum& other)
    {
        sum_ += other.sum_;
        spoiled_ = spoiled_ || other.spoiled_;
    }
    void spoil() { spoiled_ = true; }

    // The total; none when a value was no amount or the total lies beyond the currency's range.
    std::optional<Currency> value() const
    {
        if (spoiled_ || sum_ > std::numeric_limits<std::int64_t>::max() || sum_ < std::numeric_limits<std::int64_t>::min())
            return std::nullopt;
        return Currency::fromRaw(static_cast<std::int64_t>(sum_));
    }
    bool spoiled() const { return spoiled_; }
    bool beyondRange() const { return !spoiled_ && !value(); }

private:
    __extension__ typedef __int128 Wide;
    Wide sum_ = 0;
    bool spoiled_ = false;
};

} // namespace vb
