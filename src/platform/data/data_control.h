#pragma once
// The data source control: a record source (table name or dialect SELECT), the record set it
// yields, and a navigator bar (first / previous / caption / next / last) that moves through it.
// Its events are synchronous and re-entrant: a handler may refresh or move again.
#include "platform/dao/recordset.h"

#include <QString>
#include <QWidget>
#include <memory>

class QLabel;
class QToolButton;

namespace dao { class Database; }

namespace data {

// What a validate handler is told before a record action.
enum class Action { MoveFirst, MovePrevious, MoveNext, MoveLast, AddNew, Update, Delete, Find, Bookmark, Close, Unload };

class DataControl : public QWidget {
    Q_OBJECT

public:
    explicit DataControl(QWidget* parent = nullptr);
    ~DataControl() override;

    // The database record sources are opened on (none: refresh detaches).
    void setDatabase(std::shared_ptr<dao::Database> database);
    std::shared_ptr<dao::Database> database() const;

    QString recordSource() const;
    void setRecordSource(const QString& source);

    // The record set; attachable from outside, and detachable with nullptr.
    dao::Recordset* recordset() const;
    void setRecordset(std::unique_ptr<dao::Recordset> recordset);

    QString caption() const;
    void setCaption(const QString& caption);

    // Re-runs the record source; the first row becomes current. Raises the error event (and
    // rethrows unless a handler answered "continue"). Validate is raised with Close first when a
    // record set is attached; cancelling it stops the refresh.
    void refresh();
    // Writes the pending edit of the current row (bound boxes' changes). False when the engine
    // refused it and an error handler let the refusal pass: the boxes keep the typed texts.
    bool updateRecord();

    // For bound controls answering aboutToLeaveRow: starts an edit of the current row when none
    // is pending and sets the field. The control writes the row once, after every bound control
    // has had its say.
    void writeField(const QString& field, const vb::Value& value);

    // Moves through the record set as the navigator buttons do, raising validate first and
    // reposition after.
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();
    // Tells listeners that the current row changed through the record set directly.
    void notifyReposition();

signals:
    // After every change of the current row, refresh included. A refresh or move that a handler
    // asks for meanwhile takes effect at once, and the listeners hear one more reposition when
    // the current one is over, so they all end on the final row.
    void reposition();
    // Before each record action; a handler may set *cancel to stop it.
    void validate(data::Action action, bool* cancel);
    // An engine error; a handler sets *continueSilently to suppress the control's own message.
    void error(int number, const QString& description, bool* continueSilently);
    // Bound boxes write their pending changes when this fires (before the row changes).
    void aboutToLeaveRow();
    // The write of those changes was refused and dropped: the boxes keep the typed texts as
    // changes still to be written, not as what the row holds.
    void rowWriteRefused();
    // The file was written (by whatever command, committed or rolled back): raised once the
    // command is over, when the event loop turns, so the bound views read what they show again.
    void fileWritten();

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace data
