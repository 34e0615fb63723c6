#pragma once
// A calendar date with a time of day, as the program stores donation dates: no time zone, one
// second resolution. Stored in the database as ISO-8601 text "YYYY-MM-DD HH:MM:SS", which sorts
// and compares correctly as text.
#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>
#include <compare>
#include <cstdint>
#include <optional>

namespace vb {

class DateTime {
public:
    DateTime() = default;  // 1899-12-30 00:00:00, the zero of the classic date type
    explicit DateTime(QDate date, QTime time = QTime(0, 0));

    static DateTime today();
    static DateTime now();

    QDate date() const;
    QTime time() const;
    bool hasTime() const { return seconds_ != 0; }  // a time other than midnight
    bool isValid() const { return date().isValid(); }

    // "YYYY-MM-DD HH:MM:SS"
    QString toIso() const;
    // Reads "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS" (also with 'T'); nullopt otherwise.
    static std::optional<DateTime> fromIso(QStringView text);

    friend auto operator<=>(const DateTime&, const DateTime&) = default;
    friend bool operator==(const DateTime&, const DateTime&) = default;

private:
    std::int64_t julianDay_ = 2415019;  // 1899-12-30
    int seconds_ = 0;                   // seconds since midnight, 0..86399
};

} // namespace vb
