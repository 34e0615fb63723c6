#pragma once
// The one way to write to an open database. A unit finishes every pending key read (so no key
// list takes in a row added meanwhile), begins a transaction, and ends in a commit or, when it
// goes out of scope without one, a rollback; either way the database's write generation moves,
// so every view bound to the file reads its rows again without the command having to remember.
// Outside a unit the connection refuses writes (PRAGMA query_only), so a write that forgot its
// unit fails at once instead of leaving a view stale.
//
// The outermost unit first passes the database's write gate (Database::setWriteGate), where the
// program waits for the open's background page check and the day's backup copy.
//
// Units nest: one opened inside another is a savepoint of the outer transaction. A record set's
// own writes open a unit of their own, so they join the command's unit when there is one.
// A rollback also puts back what record sets changed in their own rows meanwhile (a row marked
// deleted, a key appended), so a set never shows what the file does not hold.
#include "platform/dao/sqlite.h"

#include <cstddef>

namespace dao {

class Database;

class WriteUnit {
public:
    // Refuses a database opened read-only (3027) or closed.
    explicit WriteUnit(Database& database);
    ~WriteUnit();
    WriteUnit(const WriteUnit&) = delete;
    WriteUnit& operator=(const WriteUnit&) = delete;

    void commit();

    Database& database() { return db_; }
    // For the statements the dialect does not express (a prepared insert run many times).
    sqlite::Connection& connection();

private:
    void end();

    Database& db_;
    bool outermost_ = false;
    bool done_ = false;
    std::size_t undoMark_ = 0;
};

} // namespace dao
