#include "qt_mapping.h"

#include <QStringList>

namespace ui::qt {

QMessageBox::StandardButton standardButtonFor(int answer)
{
    switch (answer) {
    case OK: return QMessageBox::Ok;
    case Cancel: return QMessageBox::Cancel;
    case Abort: return QMessageBox::Abort;
    case Retry: return QMessageBox::Retry;
    case Ignore: return QMessageBox::Ignore;
    case Yes: return QMessageBox::Yes;
    case No: return QMessageBox::No;
    default: return QMessageBox::NoButton;
    }
}

int answerFor(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok: return OK;
    case QMessageBox::Cancel: return Cancel;
    case QMessageBox::Abort: return Abort;
    case QMessageBox::Retry: return Retry;
    case QMessageBox::Ignore: return Ignore;
    case QMessageBox::Yes: return Yes;
    case QMessageBox::No: return No;
    default: return 0;
    }
}

QMessageBox::Icon iconFor(Icon icon)
{
    switch (icon) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

namespace {
// Qt separates the patterns of one filter with blanks, the classic dialogs with semicolons.
QString patternList(const QString& patterns)
{
    QStringList parts = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (auto& p : parts)
        p = p.trimmed();
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}
} // namespace

QString nameFilters(const QString& filter)
{
    if (filter.trimmed().isEmpty())
        return {};
    if (!filter.contains(QLatin1Char('|')))
        return patternList(filter);

    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = patternList(parts[i + 1]);
        if (patterns.isEmpty())
            continue;
        const QString description = parts[i].trimmed();
        filters << (description.isEmpty() ? patterns : QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

bool isPattern(const QString& name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

} // namespace ui::qt
