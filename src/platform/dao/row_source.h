#pragma once
// Where a record set's rows come from. A dynaset reads them through a keyset cursor
// (KeysetRows); a snapshot holds the rows of a Distinct or aggregate query in memory
// (SnapshotRows). The record set moves, finds, edits and bookmarks through this interface and
// never asks which of the two it has. Private to the dao library.
#include "platform/dao/recordset.h"
#include "platform/jet/translator.h"
#include "platform/vb/value.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace dao {

using Row = std::vector<vb::Value>;

// A SQLite condition on a set's table and the values of its parameters, in order.
// A condition with its literals written out is prepared for its one use: kept in the statement
// pool, such statements would fill it and shut out the ones that are used again.
struct Condition {
    QString sql;
    std::vector<jet::SqlValue> values;
    bool oneOff = false;
};

class RowSource {
public:
    virtual ~RowSource() = default;

    // Runs the query again; whatever was read before is dropped.
    virtual void requery() = 0;
    // Lets go of every row, key and statement: the source is empty until it is requeried.
    virtual void close() = 0;

    // Positions known so far: every row of a snapshot, the keys read yet of a keyset. A row
    // deleted through the set keeps its position until the next requery.
    virtual int size() const = 0;
    // Reads as far as a position (not below 0); true when there is a position there.
    virtual bool reach(int position) = 0;
    // Reads to the end of the query, so that size() counts every position.
    virtual void readAll() = 0;

    // The row at a position reached; nullptr for a row deleted, through this set or elsewhere.
    virtual const Row* rowAt(int position) = 0;
    // Whether the row at a position reached was deleted through this set.
    virtual bool isDeleted(int position) const = 0;
    virtual int deletedCount() const = 0;

    // What names a row for as long as the set lives: a keyset's row key, a snapshot's position.
    virtual Bookmark bookmarkAt(int position) const = 0;
    // The position of a bookmark among the positions known, or one outside them.
    virtual int positionOf(Bookmark bookmark) const = 0;

    // Finding and writing go by row key, which only a keyset has: a snapshot refuses them (3326).
    // The first position from `start` on, skipping deleted rows, whose row meets a SQLite
    // condition; -1 when none does. Expects every key read.
    virtual int firstMatch(const Condition& condition, int start) = 0;
    virtual std::int64_t keyAt(int position) const = 0;
    // A row added through the set joins its end.
    virtual void added(std::int64_t key) = 0;
    virtual void markDeleted(int position) = 0;
    // A rolled-back write puts back what the set changed: the last key it added, a row it
    // marked deleted.
    virtual void undoAdded() = 0;
    virtual void undoDeleted(int position) = 0;
};

} // namespace dao
