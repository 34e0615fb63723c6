#pragma once
// The period a report covers, as the treasurer types it: two dates, read as the program reads
// dates, the first not after the last. A refusal is a value with its message, made here once.
#include <QDate>
#include <QString>
#include <optional>

namespace reports {

struct Period {
    QDate first;
    QDate last;
};

struct PeriodReading {
    std::optional<Period> period;
    QString refusal;    // set when period is none
    int wrongBox = -1;  // 0: the first day, 1: the last day
};

PeriodReading readPeriod(const QString& firstText, const QString& lastText);

// "January 1, 2025 - December 31, 2025"; one day alone when both are the same.
QString periodInWords(const Period& period);

} // namespace reports
