#include "schema/number_limits.h"

#include "platform/vb/format.h"
#include "platform/vb/value.h"
#include "schema/schema.h"

namespace db {

NumberRange numberRange(QStringView table, QStringView column)
{
    if (const TableDef* def = findTable(table))
        for (const ColumnDef& c : def->columns)
            if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
                return c.range;
    return {};
}

QString boundText(const NumberRange& range, std::int64_t bound)
{
    if (range.unit == NumberRange::Unit::TenThousandths)
        return vb::format(vb::Value(vb::Currency::fromRaw(bound)), u"$##,##0.00");
    // "##,###" shows nothing for zero.
    return bound == 0 ? QStringLiteral("0") : vb::format(vb::Value(bound), u"##,###");
}

QString outOfRange(QStringView where, const NumberRange& range)
{
    return QStringLiteral("%1 must be from %2 to %3")
        .arg(where, boundText(range, range.lowest), boundText(range, range.highest));
}

} // namespace db
