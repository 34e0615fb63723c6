#pragma once
// A thin RAII layer over SQLCipher's sqlite3 C API: a keyed connection and prepared statements.
// Errors become jet::DbError with the engine's message.
#include "platform/jet/db_error.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace sqlite {

class Statement;

class Connection {
public:
    enum class Mode { ReadWrite, ReadOnly, Create };

    Connection() = default;
    // Opens the file, keys it with the password (empty: no key), gives the connection a large
    // page cache, registers the dialect's collation and functions. Opening does not read the
    // file: a wrong key or a foreign file fails at the first statement (see verifyReadable).
    Connection(const QString& path, const QByteArray& key, Mode mode);
    ~Connection();
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool isOpen() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_; }
    void close();

    // Runs the first statement against the file, so that a wrong key, a foreign or a damaged
    // file fails here with a clear error instead of later.
    void verifyReadable(const QString& pathForMessages);

    void exec(const QString& sql);
    Statement prepare(const QString& sql);
    std::int64_t lastInsertRowid() const;
    int changes() const;

    // Raises the DbError for the connection's last failure, with the given number when the
    // engine's own code has no closer match.
    [[noreturn]] void raise(int rc, const QString& context = {}) const;

private:
    sqlite3* db_ = nullptr;
};

class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return stmt_ != nullptr; }
    sqlite3_stmt* handle() const { return stmt_; }

    Statement& bindNull(int index);
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, double value);
    Statement& bind(int index, const QString& value);
    // Steps once: true while a row is there, false when done. Throws DbError on failure.
    bool step();
    void reset();  // also clears the bindings

    int columnCount() const;
    bool isNull(int column) const;
    std::int64_t int64(int column) const;
    double real(int column) const;
    QString text(int column) const;
    int columnType(int column) const;  // SQLITE_INTEGER, SQLITE_TEXT, ...

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

// Resets a statement kept for reuse when the scope ends, however it ends: its next use starts
// from the top with no bindings, and it holds no read open meanwhile.
class ResetOnExit {
public:
    explicit ResetOnExit(Statement& statement) : statement_(statement) {}
    ~ResetOnExit() { statement_.reset(); }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    Statement& statement_;
};

// "?,?,?": the parameter markers of a statement's text for `count` values.
QString placeholders(int count);

// Maps an engine result code to the classic error number and description for a file.
jet::DbError errorFor(int rc, const QString& engineMessage, const QString& path = {});

// RAII transaction: rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Connection* connection_;
    bool done_ = false;
};

} // namespace sqlite
