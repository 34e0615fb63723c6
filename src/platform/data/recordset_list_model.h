#pragma once
// A list over a record set whose lines are made only when a view asks for them, that is as they
// are painted: a search that finds ten thousand members costs their keys and the screenful
// shown, not ten thousand lines made in advance. Each column is a line function of the row's
// values; two views showing two columns of one model (the match list and its hidden member
// numbers) stay in step by construction.
#include "platform/dao/database.h"
#include "platform/vb/value.h"

#include <QAbstractTableModel>
#include <functional>
#include <memory>
#include <vector>

namespace dao { class Recordset; }

namespace data {

class RecordsetListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using LineText = std::function<QString(const std::vector<vb::Value>& row)>;

    explicit RecordsetListModel(std::vector<LineText> columns, QObject* parent = nullptr);
    ~RecordsetListModel() override;

    // Shows the rows of the set, which the model keeps until the next one; null empties the list.
    // The count is read here, the rows only when asked for.
    void setRecordset(std::unique_ptr<dao::Recordset> recordset);
    dao::Recordset* recordset() const { return recordset_.get(); }

    // The line of a row in a column; "" for a row deleted meanwhile or one the file cannot give.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<LineText> columns_;
    std::unique_ptr<dao::Recordset> recordset_;
    int rows_ = 0;
    dao::Database::WriteWatch watch_;
    bool readAgainQueued_ = false;
};

} // namespace data
