#include "datetime.h"

#include <QDateTime>

namespace vb {
namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Reads exactly `width` digits at `p`; -1 when any is not a digit.
int fixedDigits(const char16_t* p, int width)
{
    int value = 0;
    for (int i = 0; i < width; ++i) {
        if (!isDigit(p[i]))
            return -1;
        value = value * 10 + (p[i] - u'0');
    }
    return value;
}

char* putDigits(char* p, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        p[i] = static_cast<char>('0' + value % 10);
    return p + width;
}

} // namespace

DateTime::DateTime(QDate date, QTime time)
    : julianDay_(date.toJulianDay()), seconds_(time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0)
{
}

DateTime DateTime::today()
{
    return DateTime(QDate::currentDate());
}

DateTime DateTime::now()
{
    const QDateTime current = QDateTime::currentDateTime();
    return DateTime(current.date(), current.time());
}

QDate DateTime::date() const
{
    return QDate::fromJulianDay(julianDay_);
}

QTime DateTime::time() const
{
    return QTime::fromMSecsSinceStartOfDay(seconds_ * 1000);
}

QString DateTime::toIso() const
{
    int year = 0;
    int month = 0;
    int day = 0;
    date().getDate(&year, &month, &day);
    if (year < 1 || year > 9999)
        return QString();  // no four-digit form; only invalid or synthetic dates get here
    char buffer[19];
    char* p = putDigits(buffer, year, 4);
    *p++ = '-';
    p = putDigits(p, month, 2);
    *p++ = '-';
    p = putDigits(p, day, 2);
    *p++ = ' ';
    p = putDigits(p, seconds_ / 3600, 2);
    *p++ = ':';
    p = putDigits(p, seconds_ / 60 % 60, 2);
    *p++ = ':';
    putDigits(p, seconds_ % 60, 2);
    return QString::fromLatin1(buffer, sizeof buffer);
}

std::optional<DateTime> DateTime::fromIso(QStringView text)
{
    // Hand-parsed: the database hands out these texts by the million.
    const qsizetype size = text.size();
    if (size != 10 && size != 19)
        return std::nullopt;
    const char16_t* p = text.utf16();
    const int year = fixedDigits(p, 4);
    const int month = fixedDigits(p + 5, 2);
    const int day = fixedDigits(p + 8, 2);
    if (p[4] != u'-' || p[7] != u'-' || year < 0 || month < 0 || day < 0
        || !QDate::isValid(year, month, day))
        return std::nullopt;
    DateTime result;
    result.julianDay_ = QDate(year, month, day).toJulianDay();
    if (size == 19) {
        const int hour = fixedDigits(p + 11, 2);
        const int minute = fixedDigits(p + 14, 2);
        const int second = fixedDigits(p + 17, 2);
        if ((p[10] != u' ' && p[10] != u'T') || p[13] != u':' || p[16] != u':' || hour < 0
            || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
            return std::nullopt;
        result.seconds_ = (hour * 60 + minute) * 60 + second;
    }
    return result;
}

} // namespace vb
