#include "platform/vb/datetime.h"

#include <gtest/gtest.h>

namespace {

using vb::DateTime;

TEST(DateTime, DefaultIsTheClassicZero)
{
    const DateTime zero;
    EXPECT_EQ(zero.date(), QDate(1899, 12, 30));
    EXPECT_EQ(zero.time(), QTime(0, 0));
    EXPECT_FALSE(zero.hasTime());
    EXPECT_TRUE(zero.isValid());
    EXPECT_EQ(zero.toIso().toStdString(), "1899-12-30 00:00:00");
    EXPECT_EQ(DateTime(QDate(1899, 12, 30)), zero);
}

TEST(DateTime, KeepsWholeSeconds)
{
    const DateTime d(QDate(2001, 3, 15), QTime(22, 30, 5, 999));
    EXPECT_EQ(d.time(), QTime(22, 30, 5));
    EXPECT_TRUE(d.hasTime());
    EXPECT_TRUE(DateTime(QDate(2001, 3, 15), QTime(0, 0, 1)).hasTime());
    EXPECT_FALSE(DateTime(QDate(2001, 3, 15), QTime()).hasTime());
    EXPECT_FALSE(DateTime(QDate()).isValid());
}

TEST(DateTime, ReadsTheStoredIsoForms)
{
    const struct {
        const char* text;
        QDate date;
        QTime time;
    } cases[] = {
        {"2001-03-15", QDate(2001, 3, 15), QTime(0, 0)},
        {"2001-03-15 22:30:05", QDate(2001, 3, 15), QTime(22, 30, 5)},
        {"2001-03-15T22:30:05", QDate(2001, 3, 15), QTime(22, 30, 5)},
        {"2000-02-29 00:00:00", QDate(2000, 2, 29), QTime(0, 0)},
        {"9999-12-31 23:59:59", QDate(9999, 12, 31), QTime(23, 59, 59)},
        {"0001-01-01", QDate(1, 1, 1), QTime(0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<DateTime> d = DateTime::fromIso(QString::fromUtf8(c.text));
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(d->date(), c.date);
        EXPECT_EQ(d->time(), c.time);
    }
}

TEST(DateTime, RejectsEveryOtherText)
{
    for (const char* text :
         {"", "2001-3-15", "2001-02-29", "1900-02-29", "2001-13-01", "2001-00-10", "2001-01-00",
          "2001-04-31", "2001-03-15 24:00:00", "2001-03-15 23:60:00", "2001-03-15 23:59:60",
          "2001-03-15 10:30", "2001-03-15 1:30:00", "2001-03-15 10:30:00 ", " 2001-03-15",
          "2001/03/15", "20010315", "2001-03-15x10:30:00", "2001-03-15 10-30-00", "0000-01-01",
          "+001-01-01", "2001-03-1a", "2001-03-15 10:30:0a", "\xd9\xa2\xd9\xa0\xd9\xa0\xd9\xa1-03-15"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(DateTime::fromIso(QString::fromUtf8(text)).has_value());
    }
}

TEST(DateTime, IsoTextRoundTripsAndSortsLikeTheDates)
{
    std::optional<DateTime> previous;
    QString previousText;
    for (QDate day(1899, 12, 25); day <= QDate(1901, 3, 5); day = day.addDays(13)) {
        for (const QTime& time : {QTime(0, 0), QTime(0, 0, 1), QTime(12, 0), QTime(23, 59, 59)}) {
            const DateTime d(day, time);
            const QString text = d.toIso();
            SCOPED_TRACE(text.toStdString());
            EXPECT_EQ(DateTime::fromIso(text), d);
            if (previous) {
                EXPECT_LT(*previous, d);
                EXPECT_LT(previousText, text);
            }
            previous = d;
            previousText = text;
        }
    }
    EXPECT_EQ(DateTime(QDate(100, 1, 2), QTime(3, 4, 5)).toIso().toStdString(), "0100-01-02 03:04:05");
}

} // namespace
