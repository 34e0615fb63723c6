#include "schema/csv_text.h"

namespace db::csvtext {

QString written(const QString& stored)
{
    if (!needsGuard(stored))
        return stored;
    QString text(QLatin1Char{kGuard});
    text += stored;
    return text;
}

QString stored(const QString& field)
{
    // A text without the guard is handed on shared, not copied: an import reads millions.
    return field.startsWith(QLatin1Char(kGuard)) ? field.mid(1) : field;
}

} // namespace db::csvtext
