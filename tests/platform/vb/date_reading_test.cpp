#include "platform/vb/convert.h"
#include "platform/vb/format.h"

#include <gtest/gtest.h>

namespace {

struct DateCase {
    const char* text;
    const char* iso;
};

const DateCase Dates[] = {
    {"3/15/2001", "2001-03-15 00:00:00"},
    {"03/05/2001", "2001-03-05 00:00:00"},
    {"3-15-2001", "2001-03-15 00:00:00"},
    {"3.15.2001", "2001-03-15 00:00:00"},
    {"3/15/01", "2001-03-15 00:00:00"},
    {"1/1/29", "2029-01-01 00:00:00"},
    {"1/1/30", "1930-01-01 00:00:00"},
    {"12/31/99", "1999-12-31 00:00:00"},
    {"1/1/00", "2000-01-01 00:00:00"},
    {"1/1/5", "2005-01-01 00:00:00"},
    {"1/1/100", "0100-01-01 00:00:00"},
    {"1/1/0100", "0100-01-01 00:00:00"},
    {"12/31/9999", "9999-12-31 00:00:00"},
    {"2/29/2000", "2000-02-29 00:00:00"},
    {"2/29/2004", "2004-02-29 00:00:00"},
    {"2001-03-15", "2001-03-15 00:00:00"},
    {"2001/3/15", "2001-03-15 00:00:00"},
    {"2001-03-15T10:30:15", "2001-03-15 10:30:15"},
    {"15-Mar-2001", "2001-03-15 00:00:00"},
    {"15 March 2001", "2001-03-15 00:00:00"},
    {"15/mar/01", "2001-03-15 00:00:00"},
    {"March 15, 2001", "2001-03-15 00:00:00"},
    {"March 15,2001", "2001-03-15 00:00:00"},
    {"mar 15 2001", "2001-03-15 00:00:00"},
    {"Mar-15-2001", "2001-03-15 00:00:00"},
    {"Sept 1, 2001", "2001-09-01 00:00:00"},
    {"SEP 1 2001", "2001-09-01 00:00:00"},
    {"May 5, 05", "2005-05-05 00:00:00"},
    {"Thursday, March 15, 2001", "2001-03-15 00:00:00"},
    {"thu 3/15/2001", "2001-03-15 00:00:00"},
    {"Thu,3/15/2001", "2001-03-15 00:00:00"},
    {"3/15/2001 10:30", "2001-03-15 10:30:00"},
    {"3/15/2001 10:30:15", "2001-03-15 10:30:15"},
    {"3/15/2001 10:30 PM", "2001-03-15 22:30:00"},
    {"3/15/2001 10:30:15pm", "2001-03-15 22:30:15"},
    {"3/15/2001 12:00 AM", "2001-03-15 00:00:00"},
    {"3/15/2001 12:00 PM", "2001-03-15 12:00:00"},
    {"3/15/2001 12:59:59 am", "2001-03-15 00:59:59"},
    {"3/15/2001 0:00", "2001-03-15 00:00:00"},
    {"3/15/2001 23:59:59", "2001-03-15 23:59:59"},
    {"3/15/2001 9:5", "2001-03-15 09:05:00"},
    {"15-Mar-2001 1:02:03 AM", "2001-03-15 01:02:03"},
    {"  3/15/2001  ", "2001-03-15 00:00:00"},
    {"\t3/15/2001\n", "2001-03-15 00:00:00"},
    {"3/15/2001   10:30", "2001-03-15 10:30:00"},
};

const char* const NotDates[] = {
    "", " ", "12", "1.5", "2001", "3/15", "2/30/2001", "2/29/2001", "2/29/1900", "4/31/2001",
    "13/1/2001", "0/1/2001", "1/0/2001", "1/32/2001", "15/3/2001", "1/1/0099", "1/1/099",
    "1/1/12345", "1/1/10000", "3/15-2001", "3//15/2001", "3/015/2001", "001/15/2001",
    "3/15/2001 24:00", "3/15/2001 10:60", "3/15/2001 10:30:60", "3/15/2001 13:00 PM",
    "3/15/2001 0:30 AM", "3/15/2001 10", "3/15/2001 10:30 XM", "3/15/2001 PM", "3/15/2001T10:30",
    "2001-03-15T", "2001-03-15 T10:30", "10:30", "10:30 PM", "March 2001", "Foo 15, 2001",
    "15-Foo-2001", "15-Mar 2001", "Friday, March 15, 2001", "Thursday", "Thu3/15/2001", "3/15/2001 10:30 PM extra",
    "3/15/2001,", "3/15/2001 10:30:15.5", "\xd9\xa3/\xd9\xa1\xd9\xa5/2001", "3/15/2001\xc2\xa0",
};

TEST(ReadDate, ReadsTheTypedForms)
{
    for (const DateCase& c : Dates) {
        SCOPED_TRACE(c.text);
        const std::optional<vb::DateTime> d = vb::readDate(QString::fromUtf8(c.text));
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(d->toIso().toStdString(), c.iso);
    }
}

TEST(ReadDate, RejectsImpossibleAndIncompleteDates)
{
    for (const char* text : NotDates) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(vb::readDate(QString::fromUtf8(text)).has_value());
    }
}

TEST(ReadDate, IsDateAndEveryConversionAgreeWithIt)
{
    std::vector<const char*> texts;
    for (const DateCase& c : Dates)
        texts.push_back(c.text);
    texts.insert(texts.end(), std::begin(NotDates), std::end(NotDates));
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const QString s = QString::fromUtf8(text);
        const std::optional<vb::DateTime> d = vb::readDate(s);
        EXPECT_EQ(vb::isDate(s), d.has_value());
        EXPECT_EQ(vb::isDate(vb::Value(s)), d.has_value());
        if (d)
            EXPECT_EQ(vb::Value(s).toDate(), *d);
        else
            EXPECT_THROW(vb::Value(s).toDate(), vb::ConversionError);
    }
}

TEST(ReadDate, ReadsBackWhatTheDateFormatsWrite)
{
    for (QDate day(1999, 12, 1); day <= QDate(2001, 3, 1); day = day.addDays(1)) {
        const vb::DateTime d(day, QTime(day.day() % 24, day.month() * 4, day.dayOfYear() % 60));
        SCOPED_TRACE(d.toIso().toStdString());
        EXPECT_EQ(vb::readDate(vb::generalDate(d)), d);
        EXPECT_EQ(vb::readDate(vb::shortDate(d)), vb::DateTime(day));
        EXPECT_EQ(vb::readDate(vb::longDate(d)), vb::DateTime(day));
    }
    for (const QDate& day : {QDate(100, 1, 1), QDate(999, 12, 31), QDate(9999, 12, 31)}) {
        EXPECT_EQ(vb::readDate(vb::shortDate(vb::DateTime(day))), vb::DateTime(day));
        EXPECT_EQ(vb::readDate(vb::longDate(vb::DateTime(day))), vb::DateTime(day));
    }
}

} // namespace
