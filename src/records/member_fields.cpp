#include "records/member_fields.h"

#include "db/schema.h"

namespace records {

int memberFieldSize(const QString& field)
{
    const db::TableDef* members = db::findTable(u"Members");
    if (!members)
        return 0;
    for (const db::ColumnDef& column : members->columns)
        if (field.compare(QLatin1String(column.name), Qt::CaseInsensitive) == 0)
            return column.type == jet::FieldType::Text ? column.size : 0;
    return 0;
}

} // namespace records
