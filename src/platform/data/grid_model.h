#pragma once
// The table model of a data grid bound to a data control. Rows are read from the control's record
// set by keyset position when the view asks for them, and only the rows asked for lately are
// kept, so a list of a million donations costs the view no more than the screenful it shows.
// The grid neither adds nor deletes rows; a cell edit goes through the before- and after-update
// handlers the program supplies, and is written to the row only when the first lets it pass.
#include "platform/vb/value.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

class QTableView;

namespace dao { class Recordset; }
namespace jet { class DbError; }

namespace data {

class DataControl;

class GridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // Before a changed cell is written: the handler may change newValue or set cancel.
    using BeforeColUpdate = std::function<void(int column, const vb::Value& oldValue, vb::Value& newValue, bool& cancel)>;
    // After the cell was written.
    using AfterColUpdate = std::function<void(int column)>;
    // The engine refused the written value (a text too long, a date it cannot read).
    using WriteError = std::function<void(const jet::DbError& error)>;

    explicit GridModel(DataControl* source, QObject* parent = nullptr);
    ~GridModel() override;

    DataControl* source() const { return source_; }
    // The record set the grid shows; null when there is none or the grid is not shown.
    dao::Recordset* recordset() const { return live(); }

    // A grid that is not shown reads nothing, not even the key list of a long query: it shows
    // no rows until it is shown again. bindGrid follows the view's own visibility.
    void setShown(bool shown);
    bool isShown() const { return shown_; }

    // A format string of vb::format for a column's cells; "" shows the value as stored.
    void setColumnFormat(int column, const QString& format);
    QString columnFormat(int column) const;

    // A column's heading; without one the column is headed by its field name.
    void setColumnCaption(int column, const QString& caption);

    // Text and background of every cell; an invalid colour means the system's window colours.
    void setForeColor(const QColor& colour);
    QColor foreColor() const { return foreColor_; }
    void setBackColor(const QColor& colour);
    QColor backColor() const { return backColor_; }

    void setBeforeColUpdate(BeforeColUpdate handler) { before_ = std::move(handler); }
    void setAfterColUpdate(AfterColUpdate handler) { after_ = std::move(handler); }
    // Without a handler a refused write is shown in a message box.
    void setWriteError(WriteError handler) { writeError_ = std::move(handler); }

    // How many rows are kept once read: at least a screenful plus a margin either side.
    void setCacheRows(int rows);
    int cacheRows() const { return cacheRows_; }
    int cachedRowCount() const { return static_cast<int>(cache_.size()); }

    // Grid rows skip the rows deleted through the record set; keyset positions do not.
    int positionOfRow(int row) const;
    int rowOfPosition(int position) const;  // -1 for a deleted or missing row

    // Follows the record set after it changed: another set (a re-run query, told apart by its
    // serial, not its address) resets the grid, rows added through it are inserted, a row
    // deleted through it disappears, and a write anywhere makes the rows be read again. The
    // control's reposition runs this by itself.
    void sync();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void coloursChanged();

private:
    struct CachedRow {
        std::optional<std::vector<vb::Value>> values;  // none: the row was deleted elsewhere
        mutable std::vector<std::optional<QString>> shown;
    };

    // The record set the model shows, or null when the control has none or replaced it and has
    // not said so yet: the old set may be gone then, and its successor is not the set the rows
    // and the shape were read from.
    dao::Recordset* live() const;
    std::uint64_t writeGeneration() const;
    const CachedRow* row(int row) const;
    QString shownText(const CachedRow& cached, int column) const;
    void trimCache(int around) const;
    void readShape();
    void writeFailed(const jet::DbError& error);

    QPointer<DataControl> source_;
    bool shown_ = true;
    // The serial of the set the shape was read from, 0 for none. Not a pointer: a new set may
    // be opened where a freed one stood.
    std::uint64_t shownSerial_ = 0;
    int rows_ = 0;
    int positions_ = 0;
    int columns_ = 0;
    std::vector<int> deleted_;  // positions deleted through the set, ascending
    std::vector<QString> formats_;
    std::vector<QString> captions_;
    QColor foreColor_;
    QColor backColor_;
    BeforeColUpdate before_;
    AfterColUpdate after_;
    WriteError writeError_;
    int cacheRows_ = 256;
    mutable std::unordered_map<int, CachedRow> cache_;  // by grid row
    mutable std::uint64_t cacheGeneration_ = 0;
};

// Puts the model into the view and keeps the two in step: the view's current row is the record
// set's current row both ways (a click moves the record set and raises the control's
// reposition), and the view's empty area takes the grid's colours.
void bindGrid(QTableView* view, GridModel* model);

} // namespace data
