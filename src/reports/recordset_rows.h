#pragma once
// A record set as the rows of a report: counts from its keyset, rows read by position as the
// pages ask for them, so a report over a million donations reads the lines of the pages shown.
#include "platform/report/data_source.h"

#include <memory>

namespace dao { class Recordset; }

namespace reports {

class RecordsetRows : public report::DataSource {
public:
    explicit RecordsetRows(std::unique_ptr<dao::Recordset> recordset);
    ~RecordsetRows() override;

    QStringList fieldNames() const override { return fields_; }
    int count() override;
    // A row deleted through the record set since it was opened reads as nulls.
    std::vector<vb::Value> row(int index) override;

    dao::Recordset& recordset() { return *recordset_; }

private:
    std::unique_ptr<dao::Recordset> recordset_;
    QStringList fields_;
};

QStringList fieldNamesOf(const dao::Recordset& recordset);

} // namespace reports
