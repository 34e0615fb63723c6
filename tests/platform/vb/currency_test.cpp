#include "platform/vb/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

using vb::Currency;

constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();

struct TextCase {
    const char* text;
    std::int64_t raw;
};

std::optional<Currency> read(const char* text)
{
    return Currency::fromDecimalText(QString::fromUtf8(text));
}

TEST(CurrencyText, ReadsExactlyAndRoundsHalvesToEven)
{
    const TextCase cases[] = {
        {"0", 0},
        {"7", 70000},
        {"-1234.5", -12345000},
        {"+2", 20000},
        {".5", 5000},
        {"5.", 50000},
        {"000123.4500", 1234500},
        {"0.1", 1000},
        {"12.34567", 123457},
        {"0.00005", 0},         // tie, 0 is even
        {"0.00015", 2},         // tie, up to the even 2
        {"0.00025", 2},         // tie, down to the even 2
        {"0.000250001", 3},     // just above the tie
        {"0.000249999", 2},
        {"-0.00015", -2},
        {"-0.00005", 0},
        {"1e3", 10000000},
        {"1.5E-2", 150},
        {"12345e-4", 12345},
        {"1.5e-4", 2},
        {"1e-5", 0},
        {"0e999999999", 0},
        {"1e-999999999", 0},
        {"922337203685477.5807", Max},
        {"922337203685477.58074999", Max},
        {"-922337203685477.5808", Min},
        {"-922337203685477.58084", Min},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<Currency> value = read(c.text);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->raw(), c.raw);
    }
}

TEST(CurrencyText, RejectsAnythingButAPlainNumber)
{
    for (const char* text : {"", "-", "+", ".", "-.", "e5", "1e", "1e+", "1.2.3", " 1", "1 ", "$1",
                             "1,000", "--1", "1e5.5", "abc", "1d2", "0x10", "(5)", "5-", "\xd9\xa3"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(read(text).has_value());
    }
}

TEST(CurrencyText, NumbersBeyondTheRangeOverflow)
{
    for (const char* text : {"922337203685477.5808", "922337203685477.58075", "-922337203685477.5809",
                             "1e15", "-1e15", "1e999999999", "99999999999999999999999"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(read(text), std::overflow_error);
    }
}

TEST(CurrencyText, ToStringIsPlainWithoutTrailingZerosAndReadsBack)
{
    const TextCase cases[] = {
        {"0", 0},
        {"7", 70000},
        {"1000", 10000000},
        {"1234.5", 12345000},
        {"-0.25", -2500},
        {"0.01", 100},
        {"0.0001", 1},
        {"-0.0001", -1},
        {"1.2345", 12345},
        {"922337203685477.5807", Max},
        {"-922337203685477.5808", Min},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        const Currency value = Currency::fromRaw(c.raw);
        EXPECT_EQ(value.toString().toStdString(), c.text);
        EXPECT_EQ(Currency::fromDecimalText(value.toString()), value);
    }
}

TEST(CurrencyDouble, RoundsAsTheShortestDecimalFormReads)
{
    const struct {
        double value;
        std::int64_t raw;
    } cases[] = {
        {0.5, 5000},
        {1234.5, 12345000},
        {0.1, 1000},
        {0.1 + 0.2, 3000},
        {1.00005, 10000},   // a tie as written, to the even 1.0000
        {1.00015, 10002},
        {-2.00025, -20002},
        {1e-300, 0},
        {-0.0, 0},
        {922337203685477.0, 9223372036854770000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Currency::fromDouble(c.value).raw(), c.raw);
    }
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e15, -1e15, 9.3e14}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(Currency::fromDouble(bad), std::overflow_error);
    }
}

TEST(CurrencyArithmetic, IsExact)
{
    Currency sum;
    const Currency cent = *read("0.01");
    for (int i = 0; i < 1'000'000; ++i)
        sum += cent;
    EXPECT_EQ(sum, Currency::fromUnits(10000));

    EXPECT_EQ(*read("1.5") + *read("2.25"), *read("3.75"));
    EXPECT_EQ(*read("5") - *read("7.5"), *read("-2.5"));
    EXPECT_EQ(*read("1.25") * 3, *read("3.75"));
    EXPECT_EQ(-*read("-0.0001"), Currency::fromRaw(1));
    EXPECT_EQ(read("-4.5")->abs(), *read("4.5"));
    EXPECT_LT(*read("-1"), *read("0.0001"));
    EXPECT_DOUBLE_EQ(read("-1234.5678")->toDouble(), -1234.5678);
}

TEST(CurrencyArithmetic, OverflowThrowsInsteadOfWrapping)
{
    const Currency max = Currency::fromRaw(Max);
    const Currency min = Currency::fromRaw(Min);
    const Currency tiny = Currency::fromRaw(1);
    EXPECT_THROW(max + tiny, std::overflow_error);
    EXPECT_THROW(min - tiny, std::overflow_error);
    EXPECT_THROW(tiny - min, std::overflow_error);
    EXPECT_THROW(-min, std::overflow_error);
    EXPECT_THROW(min.abs(), std::overflow_error);
    EXPECT_THROW(min * -1, std::overflow_error);
    EXPECT_THROW(Currency::fromRaw(Max / 2 + 1) * 2, std::overflow_error);
    Currency total = max;
    EXPECT_THROW(total += tiny, std::overflow_error);
    EXPECT_EQ(total, max);  // unchanged after the failed addition

    EXPECT_EQ(max - max, Currency());
    EXPECT_EQ(min + max, Currency::fromRaw(-1));
    EXPECT_EQ(Currency::fromUnits(922337203685477).raw(), 9223372036854770000);
    EXPECT_EQ(Currency::fromUnits(-922337203685477).raw(), -9223372036854770000);
    EXPECT_THROW(Currency::fromUnits(922337203685478), std::overflow_error);
    EXPECT_THROW(Currency::fromUnits(-922337203685478), std::overflow_error);
}

// The largest gift the program takes, in ten-thousandths: 922,338 of them pass 64 bits.
constexpr std::int64_t LargestGift = 9'999'999'999'900;

TEST(CurrencySum, AddsWithoutOverflowAndSaysWhenTheTotalLeavesTheRange)
{
    struct Case {
        const char* what;
        std::vector<std::int64_t> raws;
        std::int64_t wholes = 0;  // added as whole units, after the raws
        bool spoil = false;
        std::optional<std::int64_t> total;
    };
    const std::vector<std::int64_t> aMillionLargestGifts(1'000'000, LargestGift);
    const Case cases[] = {
        {"nothing", {}, 0, false, 0},
        {"exactly the largest total", {Max - 807, 807}, 0, false, Max},
        {"one past it", {Max, 1}, 0, false, std::nullopt},
        {"past it and back: exact, not an overflow", {Max, Max, Min, 1}, 0, false, Max},
        {"down to the smallest total", {Min + 1, -1}, 0, false, Min},
        {"one below it", {Min, -1}, 0, false, std::nullopt},
        {"a million of the largest gifts", aMillionLargestGifts, 0, false, std::nullopt},
        {"whole units scaled without overflow", {}, 922'337'203'685'477, false, 9'223'372'036'854'770'000},
        {"whole units beyond the range", {}, Max, false, std::nullopt},
        {"a value that is no amount", {100, 200}, 0, true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vb::CurrencySum sum;
        for (std::int64_t raw : c.raws)
            sum.addRaw(raw);
        if (c.wholes)
            sum.addWhole(c.wholes);
        if (c.spoil)
            sum.spoil();
        const std::optional<Currency> total = sum.value();
        ASSERT_EQ(total.has_value(), c.total.has_value());
        if (total) {
            EXPECT_EQ(total->raw(), *c.total);
        }
        EXPECT_EQ(sum.spoiled(), c.spoil);
        EXPECT_EQ(sum.beyondRange(), !c.spoil && !c.total);
    }
    // Sums of sums: the largest gift a million times over in halves is the same total.
    vb::CurrencySum half, whole;
    for (int i = 0; i < 1000; ++i)
        half.add(Currency::fromRaw(LargestGift));
    whole.addSum(half);
    whole.addSum(half);
    EXPECT_EQ(whole.value()->raw(), 2000 * LargestGift);
}

} // namespace
