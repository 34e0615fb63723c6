#include "platform/vb/format.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

namespace {

using vb::Currency;
using vb::DateTime;
using vb::Value;

struct FormatCase {
    Value value;
    const char* shown;
};

Currency money(const char* text)
{
    return *Currency::fromDecimalText(QString::fromUtf8(text));
}

void expectFormats(QStringView formatString, std::initializer_list<FormatCase> cases)
{
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.value.toText().toStdString() + " with " + formatString.toString().toStdString());
        EXPECT_EQ(vb::format(c.value, formatString).toStdString(), c.shown);
    }
}

const DateTime Ides(QDate(2001, 3, 15));
const DateTime IdesEvening(QDate(2001, 3, 15), QTime(22, 30));

TEST(FormatMoney, DollarsSeparatorsAndTwoDecimals)
{
    for (const char* spelling : {"$##,##0.00", "$#,##0.00", "\"$\"#,##0.00"}) {
        expectFormats(QString::fromUtf8(spelling), {
            {1234.5, "$1,234.50"},
            {0.5, "$0.50"},
            {-3, "-$3.00"},
            {0, "$0.00"},
            {999.0, "$999.00"},
            {1000.0, "$1,000.00"},
            {std::int64_t{1000000}, "$1,000,000.00"},
            {money("1234567.891"), "$1,234,567.89"},
            {money("-0.5"), "-$0.50"},
            {1e20, "$100,000,000,000,000,000,000.00"},
            {true, "-$1.00"},
        });
    }
}

TEST(FormatMoney, RoundsHalvesToEvenAndDropsTheSignOfZero)
{
    expectFormats(u"$##,##0.00", {
        {0.125, "$0.12"},
        {0.375, "$0.38"},
        {money("0.125"), "$0.12"},
        {money("0.135"), "$0.14"},
        {money("0.1251"), "$0.13"},
        {999.995, "$1,000.00"},
        {-0.015, "-$0.02"},
        {-0.005, "$0.00"},
        {-0.001, "$0.00"},
        {Currency::fromRaw(std::numeric_limits<std::int64_t>::max()), "$922,337,203,685,477.58"},
        {Currency::fromRaw(std::numeric_limits<std::int64_t>::min()), "-$922,337,203,685,477.58"},
    });
}

TEST(FormatMoney, NumericTextsAreFormattedOtherTextsKept)
{
    expectFormats(u"$##,##0.00", {
        {"1234.5", "$1,234.50"},
        {"(5)", "-$5.00"},
        {" $1,234 ", "$1,234.00"},
        {"abc", "abc"},
        {"12abc", "12abc"},
        {"", ""},
        {Value(), ""},
        {Ides, "3/15/2001"},
    });
}

TEST(FormatCount, WholeNumbersWithSeparatorsAndNothingForZero)
{
    expectFormats(u"##,###", {
        {12345, "12,345"},
        {0, ""},
        {0.4, ""},
        {0.5, ""},
        {1.5, "2"},
        {2.5, "2"},
        {-1234, "-1,234"},
        {-0.2, ""},
        {999, "999"},
        {1000, "1,000"},
        {1234567, "1,234,567"},
        {money("1234.5"), "1,234"},
        {money("1235.5"), "1,236"},
        {"1,234", "1,234"},
        {"abc", "abc"},
    });
}

TEST(FormatBare, WholeNumberWithoutSeparators)
{
    expectFormats(u"#######", {
        {1234567, "1234567"},
        {0, ""},
        {1234567.5, "1234568"},
        {1234566.5, "1234566"},
        {-42, "-42"},
        {std::numeric_limits<std::int64_t>::min(), "-9223372036854775808"},
    });
}

TEST(FormatDate, TheNamedDateFormats)
{
    const DateTime justAfterMidnight(QDate(2001, 3, 15), QTime(0, 0, 1));
    const DateTime noon(QDate(2001, 3, 15), QTime(12, 0));
    expectFormats(u"general date", {
        {Ides, "3/15/2001"},
        {IdesEvening, "3/15/2001 10:30:00 PM"},
        {justAfterMidnight, "3/15/2001 12:00:01 AM"},
        {noon, "3/15/2001 12:00:00 PM"},
        {DateTime(QDate(1999, 12, 31), QTime(9, 5, 7)), "12/31/1999 9:05:07 AM"},
    });
    expectFormats(u"short date", {
        {Ides, "3/15/2001"},
        {IdesEvening, "3/15/2001"},
        {DateTime(QDate(100, 1, 1)), "1/1/0100"},
    });
    expectFormats(u"long date", {
        {Ides, "Thursday, March 15, 2001"},
        {DateTime(QDate(2000, 2, 29)), "Tuesday, February 29, 2000"},
    });
    expectFormats(u"dd-mmm-yy", {
        {Ides, "15-Mar-01"},
        {DateTime(QDate(1999, 1, 5)), "05-Jan-99"},
        {DateTime(QDate(2000, 12, 31)), "31-Dec-00"},
    });
    expectFormats(u"General Date", {{IdesEvening, "3/15/2001 10:30:00 PM"}});
    expectFormats(u"SHORT DATE", {{Ides, "3/15/2001"}});
}

TEST(FormatDate, DateTextsAreFormattedOtherValuesKept)
{
    expectFormats(u"short date", {
        {"March 15, 2001 10:30 PM", "3/15/2001"},
        {"hello", "hello"},
        {"12", "12"},
        {std::int64_t{5}, "5"},
        {Value(), ""},
    });
    expectFormats(u"general date", {{"2001-03-15T22:30:00", "3/15/2001 10:30:00 PM"}});
    EXPECT_EQ(vb::shortDate(DateTime(QDate())).toStdString(), "");
}

TEST(Format, UnknownFormatStringsThrow)
{
    for (const char* bad : {"", "currency", "$#,##0", "mm/dd/yyyy", "##,##0.00", "short  date"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(vb::format(1, QString::fromUtf8(bad)), std::invalid_argument);
        EXPECT_THROW(vb::format(Value(), QString::fromUtf8(bad)), std::invalid_argument);
    }
}

TEST(Format, IgnoresTheLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString amount = vb::format(1234.5, u"$##,##0.00");
    const QString date = vb::format(IdesEvening, u"general date");
    const QString longDate = vb::longDate(Ides);
    QLocale::setDefault(saved);
    EXPECT_EQ(amount.toStdString(), "$1,234.50");
    EXPECT_EQ(date.toStdString(), "3/15/2001 10:30:00 PM");
    EXPECT_EQ(longDate.toStdString(), "Thursday, March 15, 2001");
}

} // namespace
