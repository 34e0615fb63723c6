#include "recordset_list_model.h"

#include "platform/dao/recordset.h"

#include <exception>

namespace data {

RecordsetListModel::RecordsetListModel(std::vector<LineText> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns))
{
}

RecordsetListModel::~RecordsetListModel() = default;

void RecordsetListModel::setRecordset(std::unique_ptr<dao::Recordset> recordset)
{
    beginResetModel();
    watch_.reset();
    recordset_ = std::move(recordset);
    rows_ = 0;
    if (recordset_) {
        try {
            rows_ = recordset_->recordCount();
        } catch (...) {
            recordset_.reset();
            endResetModel();
            throw;
        }
        // The lines are made from the rows when painted: after a write they are made again,
        // once the command that wrote is over.
        watch_ = recordset_->database()->watchWrites([this] {
            if (readAgainQueued_)
                return;
            readAgainQueued_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    readAgainQueued_ = false;
                    if (rows_ > 0)
                        emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
                },
                Qt::QueuedConnection);
        });
    }
    endResetModel();
}

QString RecordsetListModel::text(int row, int column) const
{
    if (!recordset_ || row < 0 || row >= rows_ || column < 0 || column >= static_cast<int>(columns_.size()))
        return {};
    try {
        const auto values = recordset_->rowAt(row);
        return values ? columns_[static_cast<std::size_t>(column)](*values) : QString();
    } catch (const std::exception&) {
        // A line the file cannot give (the file closed under it) shows empty; painting goes on.
        return {};
    }
}

int RecordsetListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int RecordsetListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant RecordsetListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row(), index.column());
}

} // namespace data
