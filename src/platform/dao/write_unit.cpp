#include "write_unit.h"

#include "database.h"
#include "platform/jet/db_error.h"

namespace dao {

namespace {
const QString kSavepoint = QStringLiteral("quil_write");
}

WriteUnit::WriteUnit(Database& database) : db_(database)
{
    if (db_.isReadOnly())
        throw jet::DbError(jet::err::ReadOnlyDatabase, QStringLiteral("Cannot update. Database or object is read-only."));
    sqlite::Connection& connection = db_.connection();  // fails clearly on a closed database
    if (db_.unitDepth_ == 0 && db_.writeGate_) {
        // A copy: the gate may be replaced while it runs (the file closed by what it waited for).
        const std::function<void()> gate = db_.writeGate_;
        gate();
    }
    db_.finishPendingReads();
    outermost_ = db_.unitDepth_ == 0;
    if (outermost_) {
        db_.setWritable(true);
        try {
            connection.exec(QStringLiteral("BEGIN IMMEDIATE"));
        } catch (...) {
            db_.setWritable(false);
            throw;
        }
    } else {
        connection.exec(QStringLiteral("SAVEPOINT ") + kSavepoint);
    }
    undoMark_ = db_.undo_.size();
    ++db_.unitDepth_;
}

sqlite::Connection& WriteUnit::connection()
{
    return db_.connection();
}

void WriteUnit::commit()
{
    if (done_)
        return;
    db_.connection().exec(outermost_ ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + kSavepoint);
    done_ = true;
    if (outermost_)
        db_.undo_.clear();  // what the sets changed is now what the file holds
    end();
}

WriteUnit::~WriteUnit()
{
    if (done_)
        return;
    try {
        if (outermost_) {
            db_.connection().exec(QStringLiteral("ROLLBACK"));
        } else {
            db_.connection().exec(QStringLiteral("ROLLBACK TO ") + kSavepoint);
            db_.connection().exec(QStringLiteral("RELEASE ") + kSavepoint);
        }
    } catch (const jet::DbError&) {
        // A failed rollback leaves SQLite's own automatic rollback in charge; the sets are put
        // back all the same, since the file keeps none of the unit's changes either way.
    }
    db_.undoSince(undoMark_);
    end();
}

void WriteUnit::end()
{
    --db_.unitDepth_;
    if (outermost_)
        db_.setWritable(false);
    db_.noteWrite();
}

} // namespace dao
