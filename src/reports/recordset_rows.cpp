#include "reports/recordset_rows.h"

#include "platform/dao/recordset.h"
#include "platform/report/report_error.h"

namespace reports {

QStringList fieldNamesOf(const dao::Recordset& recordset)
{
    QStringList names;
    for (int i = 0; i < recordset.fieldCount(); ++i)
        names << recordset.fieldName(i);
    return names;
}

RecordsetRows::RecordsetRows(std::unique_ptr<dao::Recordset> recordset)
    : recordset_(std::move(recordset)), fields_(fieldNamesOf(*recordset_))
{
}

RecordsetRows::~RecordsetRows() = default;

int RecordsetRows::count()
{
    return recordset_->positionCount();
}

std::vector<vb::Value> RecordsetRows::row(int index)
{
    if (index < 0 || index >= count())
        throw report::ReportError(QStringLiteral("Row %1 is outside the report's %2 rows.").arg(index).arg(count()));
    if (std::optional<std::vector<vb::Value>> values = recordset_->rowAt(index))
        return std::move(*values);
    return std::vector<vb::Value>(static_cast<std::size_t>(fields_.size()));
}

} // namespace reports
