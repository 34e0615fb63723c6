#pragma once
// A prepared statement lent by a database's pool. The holder uses it as its own; when the lease
// ends, however it ends (an exception unwinding included), the statement is reset and goes back
// to the pool, so nobody writes the give-back by hand and no failure path forgets it.
#include "platform/dao/sqlite.h"

#include <QString>

namespace dao {

class Database;

class StatementLease {
public:
    StatementLease() = default;  // holds nothing
    ~StatementLease();
    StatementLease(StatementLease&& other) noexcept;
    StatementLease& operator=(StatementLease&& other) noexcept;
    StatementLease(const StatementLease&) = delete;
    StatementLease& operator=(const StatementLease&) = delete;

    bool isValid() const { return statement_.isValid(); }
    sqlite::Statement& operator*() { return statement_; }
    sqlite::Statement* operator->() { return &statement_; }

private:
    friend class Database;
    // The pool must outlive the lease: record sets hold their database, and a local lease ends
    // before the caller lets go of it.
    StatementLease(Database* pool, QString sql, sqlite::Statement statement);
    void giveBack() noexcept;

    Database* pool_ = nullptr;
    QString sql_;
    sqlite::Statement statement_;
};

} // namespace dao
