#include "platform/vb/convert.h"
#include "platform/vb/value.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

namespace {

using vb::Currency;
using vb::DateTime;
using vb::Type;
using vb::Value;

Currency money(const char* text)
{
    return *Currency::fromDecimalText(QString::fromUtf8(text));
}

const DateTime Ides(QDate(2001, 3, 15));

TEST(Value, KnowsItsType)
{
    EXPECT_EQ(Value().type(), Type::Null);
    EXPECT_EQ(Value(true).type(), Type::Boolean);
    EXPECT_EQ(Value(3).type(), Type::Long);
    EXPECT_EQ(Value(std::int64_t{3}).type(), Type::Long);
    EXPECT_EQ(Value(3.0).type(), Type::Double);
    EXPECT_EQ(Value(money("3")).type(), Type::Currency);
    EXPECT_EQ(Value(Ides).type(), Type::Date);
    EXPECT_EQ(Value("3").type(), Type::Text);
    EXPECT_THROW(Value("3").asLong(), std::bad_variant_access);
}

TEST(Value, ToTextShowsPlainForms)
{
    const struct {
        Value value;
        const char* text;
    } cases[] = {
        {Value(), ""},
        {42, "42"},
        {std::int64_t{-7}, "-7"},
        {1234.5, "1234.5"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.30000000000000004"},
        {1e20, "100000000000000000000"},
        {1e-7, "0.0000001"},
        {-0.0, "0"},
        {-2.5, "-2.5"},
        {money("1234.5"), "1234.5"},
        {Ides, "3/15/2001"},
        {DateTime(QDate(2001, 3, 15), QTime(22, 30)), "3/15/2001 10:30:00 PM"},
        {true, "True"},
        {false, "False"},
        {"abc", "abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value.toText().toStdString(), c.text);
    }
}

TEST(Value, ToDoubleReadsNumbersNumericTextsAndDateSerials)
{
    const struct {
        Value value;
        double number;
    } cases[] = {
        {true, -1},
        {false, 0},
        {5, 5},
        {2.25, 2.25},
        {money("1.25"), 1.25},
        {"1,234.5", 1234.5},
        {" (2) ", -2},
        {Ides, 36965},
        {DateTime(QDate(1900, 1, 1)), 2},
        {DateTime(QDate(1899, 12, 30), QTime(6, 0)), 0.25},
        {DateTime(QDate(1899, 12, 29), QTime(12, 0)), -1.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toText().toStdString());
        EXPECT_EQ(c.value.toDouble(), c.number);
    }
}

TEST(Value, ToLongRoundsHalvesToEven)
{
    const struct {
        Value value;
        std::int64_t number;
    } cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {"2.5", 2},
        {"$1,234.5", 1234},
        {money("2.5"), 2},
        {money("3.5"), 4},
        {money("-2.5"), -2},
        {money("-3.5"), -4},
        {money("2.5001"), 3},
        {money("-2.4999"), -2},
        {true, -1},
        {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::max()},
        {DateTime(QDate(1900, 1, 1), QTime(12, 0)), 2},
        {DateTime(QDate(1900, 1, 2), QTime(12, 0)), 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toText().toStdString());
        EXPECT_EQ(c.value.toLong(), c.number);
    }
    EXPECT_THROW(Value("1e30").toLong(), std::overflow_error);
}

TEST(Value, ToCurrencyIsExactForTexts)
{
    EXPECT_EQ(Value("$1,234.56785").toCurrency().raw(), 12345678);
    EXPECT_EQ(Value("0.000050000000000000000001").toCurrency().raw(), 1);
    EXPECT_EQ(Value(3).toCurrency(), money("3"));
    EXPECT_EQ(Value(1.00005).toCurrency(), money("1"));
    EXPECT_EQ(Value(true).toCurrency(), money("-1"));
    EXPECT_EQ(Value(DateTime(QDate(1900, 1, 1), QTime(6, 0))).toCurrency(), money("2.25"));
    EXPECT_THROW(Value(std::int64_t{1'000'000'000'000'000}).toCurrency(), std::overflow_error);
    EXPECT_THROW(Value("1e300").toCurrency(), std::overflow_error);
}

TEST(Value, ToDateTakesDatesAndDateTextsOnly)
{
    EXPECT_EQ(Value(Ides).toDate(), Ides);
    EXPECT_EQ(Value("3/15/2001 10:30 PM").toDate(), DateTime(QDate(2001, 3, 15), QTime(22, 30)));
}

TEST(Value, ConversionsWithoutAReadingAreTypeMismatches)
{
    const Value nothing;
    for (const Value& v : {nothing, Value("abc"), Value("12abc"), Value(""), Value("3/15/2001")}) {
        SCOPED_TRACE(v.toText().toStdString());
        EXPECT_THROW(v.toDouble(), vb::ConversionError);
        EXPECT_THROW(v.toLong(), vb::ConversionError);
        EXPECT_THROW(v.toCurrency(), vb::ConversionError);
    }
    for (const Value& v : {nothing, Value("12"), Value("2/30/2001"), Value(5), Value(36965.0), Value(true)}) {
        SCOPED_TRACE(v.toText().toStdString());
        EXPECT_THROW(v.toDate(), vb::ConversionError);
    }
    try {
        nothing.toDouble();
        FAIL() << "no exception";
    } catch (const vb::ConversionError& e) {
        EXPECT_EQ(e.number(), 13);
        EXPECT_STREQ(e.what(), "Type mismatch");
    }
}

TEST(Value, NumericAndDateTests)
{
    const struct {
        Value value;
        bool number;
        bool numeric;
        bool date;
    } cases[] = {
        {Value(), false, false, false},
        {true, true, true, false},
        {7, true, true, false},
        {7.5, true, true, false},
        {money("7"), true, true, false},
        {Ides, false, false, true},
        {"12", false, true, false},
        {"$1,234.50", false, true, false},
        {"3/15/2001", false, false, true},
        {"abc", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toText().toStdString());
        EXPECT_EQ(c.value.isNumber(), c.number);
        EXPECT_EQ(vb::isNumeric(c.value), c.numeric);
        EXPECT_EQ(vb::isDate(c.value), c.date);
    }
    // A QString argument picks the text overloads rather than being ambiguous.
    const QString typed = QStringLiteral("12");
    EXPECT_TRUE(vb::isNumeric(typed));
    EXPECT_FALSE(vb::isDate(typed));
}

} // namespace
