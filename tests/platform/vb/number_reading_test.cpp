#include "platform/vb/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

struct NumberCase {
    const char* text;
    double value;
};

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(LeadingNumber, ReadsTheLeadingNumberSkippingBlanks)
{
    const NumberCase cases[] = {
        {"12", 12},         {"12abc", 12},      {"abc", 0},          {"", 0},
        {" 1 234.5", 1234.5}, {"-3.5", -3.5},   {"+7", 7},           {"- 4", -4},
        {"1.2.3", 1.2},     {".5", 0.5},        {"-.5", -0.5},       {"5.", 5},
        {"1e3", 1000},      {"1E-2", 0.01},     {"1e", 1},           {"1e+", 1},
        {"1ex", 1},         {"2e 2", 200},      {"1,234", 1},        {"$5", 0},
        {"\t\n12\t3", 123}, {"1\r2", 1},        {"--5", 0},          {"-", 0},
        {".", 0},           {"0x1A", 0},        {"1e-400", 0},       {"007", 7},
        {"12 abc 34", 12},  {"3 - 2", 3},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(vb::leadingNumber(text(c.text)), c.value);
    }
    EXPECT_FALSE(std::signbit(vb::leadingNumber(u"-0")));
}

TEST(LeadingNumber, OverflowsBeyondTheRangeOfADouble)
{
    EXPECT_THROW(vb::leadingNumber(u"1e400"), std::overflow_error);
    EXPECT_THROW(vb::leadingNumber(u"-1 e 309"), std::overflow_error);
    EXPECT_EQ(vb::leadingNumber(u"1.7976931348623157e308"), std::numeric_limits<double>::max());
}

TEST(ReadNumber, AcceptsWholeTextNumbersAsTyped)
{
    const NumberCase cases[] = {
        {"12", 12},          {"-3.5", -3.5},          {" 42 ", 42},          {"1,234.50", 1234.5},
        {"1,234,567", 1234567}, {"$12.00", 12},       {"$1,234.50", 1234.5}, {"-$3.00", -3},
        {"$-3", -3},         {"(5)", -5},             {"($1,234.50)", -1234.5}, {"( 5 )", -5},
        {"5-", -5},          {"5+", 5},               {"+5", 5},             {".5", 0.5},
        {"5.", 5},           {"1.5e3", 1500},         {"1E-2", 0.01},        {"- 12", -12},
        {"\t7\r\n", 7},      {"0", 0},                {"1e-400", 0},         {"$ 5", 5},
        {"123,456.789", 123456.789},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> value = vb::readNumber(text(c.text));
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, c.value);
        EXPECT_TRUE(vb::isNumeric(text(c.text)));
    }
}

TEST(ReadNumber, RejectsTextsThatAreNotExactlyANumber)
{
    for (const char* bad :
         {"", " ", "12abc", "abc", "1.2.3", "$", "-", ".", "()", "(-5)", "-(5)", "-5-", "--5", "5 5",
          "1 234", "12,34", ",123", "1,,234", "1234,567", "1,234,", "1,234.5,6", "1.2,3", "1e",
          "1e+", "e5", "$$5", "5$", "(5", "5)", "1e400", "0x10", "&H10", "1d2", "\xd9\xa3",
          "\xef\xbc\x91"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(vb::readNumber(text(bad)).has_value());
        EXPECT_FALSE(vb::isNumeric(text(bad)));
    }
}

TEST(ReadCurrency, ReadsTheSameTextsExactly)
{
    const struct {
        const char* text;
        std::int64_t raw;
    } cases[] = {
        {"$1,234.56785", 12345678},      // tie, to the even 8
        {"(0.00015)", -2},
        {"1,234.5-", -12345000},
        {"0.000050000000000000000001", 1},  // a double would see the tie 0.00005 and give 0
        {"922,337,203,685,477.5807", std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<vb::Currency> value = vb::readCurrency(text(c.text));
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->raw(), c.raw);
    }
    EXPECT_FALSE(vb::readCurrency(u"abc").has_value());
    EXPECT_FALSE(vb::readCurrency(u"1e400").has_value());
    EXPECT_THROW(vb::readCurrency(u"$1,000,000,000,000,000"), std::overflow_error);
}

TEST(RoundHalfEven, RoundsTiesToTheEvenNeighbour)
{
    const struct {
        double value;
        std::int64_t rounded;
    } cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {1.5, 2},
        {-0.5, 0},
        {2.4999999999999996, 2},
        {2.5000000000000004, 3},
        {0.49999999999999994, 0},
        {-0.49999999999999994, 0},
        {-0.7, -1},
        {1e15 + 0.5, 1000000000000000},
        {4503599627370497.0, 4503599627370497},
        {9223372036854774784.0, 9223372036854774784},
        {-9223372036854775808.0, std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(vb::roundHalfEven(c.value), c.rounded);
    }
    for (double bad : {9223372036854775808.0, -9.3e18, 1e300, std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(vb::roundHalfEven(bad), std::overflow_error);
    }
}

} // namespace
