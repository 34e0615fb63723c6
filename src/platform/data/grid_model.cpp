#include "grid_model.h"

#include "data_control.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "platform/vb/format.h"

#include <QBrush>
#include <algorithm>
#include <cstdlib>

namespace data {

namespace {

bool isNumberField(jet::FieldType type)
{
    switch (type) {
    case jet::FieldType::Counter:
    case jet::FieldType::Long:
    case jet::FieldType::Currency:
    case jet::FieldType::Double:
        return true;
    default:
        return false;
    }
}

} // namespace

GridModel::GridModel(DataControl* source, QObject* parent) : QAbstractTableModel(parent), source_(source)
{
    connect(source, &DataControl::reposition, this, &GridModel::sync);
    connect(source, &DataControl::fileWritten, this, &GridModel::sync);
    readShape();
}

GridModel::~GridModel() = default;

void GridModel::setColumnFormat(int column, const QString& format)
{
    if (column < 0)
        return;
    if (static_cast<std::size_t>(column) >= formats_.size())
        formats_.resize(static_cast<std::size_t>(column) + 1);
    if (formats_[static_cast<std::size_t>(column)] == format)
        return;
    formats_[static_cast<std::size_t>(column)] = format;
    for (auto& [row, cached] : cache_)
        if (static_cast<std::size_t>(column) < cached.shown.size())
            cached.shown[static_cast<std::size_t>(column)].reset();
    if (column < columns_ && rows_ > 0)
        emit dataChanged(index(0, column), index(rows_ - 1, column), {Qt::DisplayRole});
}

QString GridModel::columnFormat(int column) const
{
    return column >= 0 && static_cast<std::size_t>(column) < formats_.size() ? formats_[static_cast<std::size_t>(column)]
                                                                              : QString();
}

void GridModel::setForeColor(const QColor& colour)
{
    if (colour == foreColor_)
        return;
    foreColor_ = colour;
    if (rows_ > 0 && columns_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1), {Qt::ForegroundRole});
    emit coloursChanged();
}

void GridModel::setBackColor(const QColor& colour)
{
    if (colour == backColor_)
        return;
    backColor_ = colour;
    if (rows_ > 0 && columns_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1), {Qt::BackgroundRole});
    emit coloursChanged();
}

void GridModel::setCacheRows(int rows)
{
    cacheRows_ = std::max(1, rows);
    trimCache(0);
}

void GridModel::setShown(bool shown)
{
    if (shown == shown_)
        return;
    shown_ = shown;
    beginResetModel();
    readShape();
    endResetModel();
}

dao::Recordset* GridModel::live() const
{
    dao::Recordset* rs = source_ ? source_->recordset() : nullptr;
    return rs && rs->serial() == shownSerial_ ? rs : nullptr;
}

std::uint64_t GridModel::writeGeneration() const
{
    if (!source_)
        return 0;
    const auto db = source_->database();
    return db ? db->writeGeneration() : 0;
}

void GridModel::readShape()
{
    cache_.clear();
    deleted_.clear();
    dao::Recordset* rs = shown_ && source_ ? source_->recordset() : nullptr;
    shownSerial_ = rs ? rs->serial() : 0;
    rows_ = positions_ = columns_ = 0;
    cacheGeneration_ = writeGeneration();
    if (!rs)
        return;
    try {
        positions_ = rs->positionCount();
        rows_ = rs->recordCount();
        columns_ = rs->fieldCount();
        if (rows_ != positions_)
            for (int p = 0; p < positions_; ++p)
                if (rs->isDeletedAt(p))
                    deleted_.push_back(p);
    } catch (const jet::DbError&) {
        // A set whose keys cannot be read (its database was closed) shows as empty.
        rows_ = positions_ = columns_ = 0;
        deleted_.clear();
    }
}

void GridModel::sync()
{
    dao::Recordset* rs = shown_ && source_ ? source_->recordset() : nullptr;
    if (!rs || rs->serial() != shownSerial_) {
        if (rs || shownSerial_ || rows_ || columns_) {
            beginResetModel();
            readShape();
            endResetModel();
        }
        return;
    }
    int positions = 0;
    int rows = 0;
    try {
        positions = rs->positionCount();
        rows = rs->recordCount();
    } catch (const jet::DbError&) {
        beginResetModel();
        readShape();
        endResetModel();
        return;
    }
    const int deleted = positions - rows;
    if (deleted != static_cast<int>(deleted_.size()) || positions < positions_) {
        // A row went away: grid rows after it move up, which a reset says most simply.
        beginResetModel();
        readShape();
        endResetModel();
        return;
    }
    if (positions > positions_) {
        // Rows added through the set join its end.
        beginInsertRows(QModelIndex(), rows_, rows_ + (positions - positions_) - 1);
        positions_ = positions;
        rows_ = rows;
        endInsertRows();
    }
    if (writeGeneration() != cacheGeneration_) {
        cache_.clear();
        cacheGeneration_ = writeGeneration();
        if (rows_ > 0 && columns_ > 0)
            emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
    }
}

int GridModel::positionOfRow(int row) const
{
    int position = row;
    for (int d : deleted_) {
        if (d > position)
            break;
        ++position;
    }
    return position;
}

int GridModel::rowOfPosition(int position) const
{
    if (position < 0 || position >= positions_)
        return -1;
    const auto at = std::lower_bound(deleted_.begin(), deleted_.end(), position);
    if (at != deleted_.end() && *at == position)
        return -1;
    return position - static_cast<int>(at - deleted_.begin());
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

// Once twice the rows to keep are held, keeps those nearest to the row asked for last; the view
// asks for the rows it shows.
void GridModel::trimCache(int around) const
{
    if (cache_.size() < static_cast<std::size_t>(2 * cacheRows_))
        return;
    std::vector<int> rows;
    rows.reserve(cache_.size());
    for (const auto& entry : cache_)
        rows.push_back(entry.first);
    const auto distance = [around](int a, int b) { return std::abs(a - around) < std::abs(b - around); };
    std::nth_element(rows.begin(), rows.begin() + cacheRows_, rows.end(), distance);
    for (auto r = rows.begin() + cacheRows_; r != rows.end(); ++r)
        cache_.erase(*r);
}

const GridModel::CachedRow* GridModel::row(int r) const
{
    dao::Recordset* rs = live();
    if (!rs || r < 0 || r >= rows_)
        return nullptr;
    if (const auto generation = writeGeneration(); generation != cacheGeneration_) {
        // Something was written: rows read before may show old values.
        cache_.clear();
        cacheGeneration_ = generation;
    }
    if (const auto found = cache_.find(r); found != cache_.end())
        return &found->second;
    CachedRow cached;
    try {
        cached.values = rs->rowAt(positionOfRow(r));
    } catch (const jet::DbError&) {
        return nullptr;  // the database is gone; the reset that follows clears the grid
    }
    cached.shown.resize(static_cast<std::size_t>(columns_));
    trimCache(r);
    return &cache_.insert_or_assign(r, std::move(cached)).first->second;
}

QString GridModel::shownText(const CachedRow& cached, int column) const
{
    auto& shown = cached.shown[static_cast<std::size_t>(column)];
    if (!shown) {
        const vb::Value& value = (*cached.values)[static_cast<std::size_t>(column)];
        const QString format = columnFormat(column);
        try {
            shown = format.isEmpty() ? value.toText() : vb::format(value, format);
        } catch (const std::exception&) {
            shown = value.toText();  // a format the formatter does not know shows the value as stored
        }
    }
    return *shown;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= columns_)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const CachedRow* cached = row(index.row());
        if (!cached)
            return {};
        if (!cached->values)
            return QStringLiteral("#Deleted");
        if (role == Qt::EditRole)
            return (*cached->values)[static_cast<std::size_t>(index.column())].toText();
        return shownText(*cached, index.column());
    }
    case Qt::ForegroundRole:
        return foreColor_.isValid() ? QVariant(QBrush(foreColor_)) : QVariant();
    case Qt::BackgroundRole:
        return backColor_.isValid() ? QVariant(QBrush(backColor_)) : QVariant();
    case Qt::TextAlignmentRole: {
        const dao::Recordset* rs = live();
        if (rs && isNumberField(rs->fieldType(index.column())))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

void GridModel::setColumnCaption(int column, const QString& caption)
{
    if (column < 0)
        return;
    const auto at = static_cast<std::size_t>(column);
    if (captions_.size() <= at)
        captions_.resize(at + 1);
    captions_[at] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const dao::Recordset* rs = live();
        if (rs && section >= 0 && section < columns_) {
            const auto at = static_cast<std::size_t>(section);
            if (at < captions_.size() && !captions_[at].isNull())
                return captions_[at];
            return rs->fieldName(section);
        }
        return {};
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const dao::Recordset* rs = live();
    if (rs && rs->isUpdatable())
        f |= Qt::ItemIsEditable;
    return f;
}

void GridModel::writeFailed(const jet::DbError& error)
{
    if (writeError_) {
        writeError_(error);
        return;
    }
    ui::message(ui::Beep::Yes, error.description(), ui::Buttons::OKOnly, ui::Icon::Critical, {});
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() >= columns_)
        return false;
    dao::Recordset* rs = live();
    if (!rs || !rs->isUpdatable())
        return false;
    const int column = index.column();
    const int position = positionOfRow(index.row());
    std::optional<std::vector<vb::Value>> current;
    try {
        current = rs->rowAt(position);
    } catch (const jet::DbError& e) {
        writeFailed(e);
        return false;
    }
    if (!current)
        return false;  // deleted meanwhile: nothing to write to
    const vb::Value oldValue = (*current)[static_cast<std::size_t>(column)];
    // The editor opened on this text (the edit role): a cell left as it was is no edit, so it is
    // neither judged nor written, and the handlers that follow a write do not run.
    if (value.toString() == oldValue.toText())
        return false;
    vb::Value newValue = value.isNull() ? vb::Value() : vb::Value(value.toString());
    const std::uint64_t judged = rs->serial();
    bool cancel = false;
    if (before_)
        before_(column, oldValue, newValue, cancel);
    // The handler may have run queries of its own; the set it judged for must still be shown.
    rs = live();
    if (cancel || !rs || rs->serial() != judged)
        return false;
    try {
        rs->setAbsolutePosition(position);
        rs->edit();
        rs->setField(column, newValue);
        rs->update();
    } catch (const jet::DbError& e) {
        if (rs->editMode() != dao::Recordset::EditMode::None)
            rs->cancelUpdate();
        writeFailed(e);
        return false;
    }
    cache_.erase(index.row());
    emit dataChanged(index, index);
    if (after_)
        after_(column);  // may re-run the query: nothing of the old set is used after this
    return true;
}

} // namespace data
