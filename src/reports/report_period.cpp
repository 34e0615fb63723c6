#include "reports/report_period.h"

#include "platform/vb/convert.h"

#include <QLocale>

namespace reports {

namespace {

std::optional<QDate> dayOf(const QString& text)
{
    const std::optional<vb::DateTime> read = vb::readDate(text.trimmed());
    if (!read || !read->date().isValid())
        return std::nullopt;
    return read->date();
}

} // namespace

PeriodReading readPeriod(const QString& firstText, const QString& lastText)
{
    PeriodReading out;
    const std::optional<QDate> first = dayOf(firstText);
    if (!first) {
        out.refusal = QStringLiteral("Type the first day of the period as a date, such as 1/1/2025.");
        out.wrongBox = 0;
        return out;
    }
    const std::optional<QDate> last = dayOf(lastText);
    if (!last) {
        out.refusal = QStringLiteral("Type the last day of the period as a date, such as 12/31/2025.");
        out.wrongBox = 1;
        return out;
    }
    if (*first > *last) {
        out.refusal = QStringLiteral("The first day of the period comes after the last day.");
        out.wrongBox = 0;
        return out;
    }
    out.period = Period{*first, *last};
    return out;
}

QString periodInWords(const Period& period)
{
    // The program's texts are English whatever the system's language.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString format = QStringLiteral("MMMM d, yyyy");
    if (period.first == period.last)
        return english.toString(period.first, format);
    return english.toString(period.first, format) + QStringLiteral(" - ") + english.toString(period.last, format);
}

} // namespace reports
