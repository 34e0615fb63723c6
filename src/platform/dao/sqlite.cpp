#include "sqlite.h"

#include "derived_keys.h"
#include "platform/jet/sql_functions.h"

#include <sqlcipher/sqlite3.h>

#include <utility>

namespace sqlite {

namespace {

// SQLCipher decrypts a page every time it enters the page cache; a cache as large as a typical
// file keeps repeated queries from paying for decryption again. Negative means KiB: 256 MiB.
constexpr const char* kCacheSize = "PRAGMA cache_size=-262144";

// Another copy writing the same file holds its lock for a few milliseconds; waiting this long
// before calling the file in use lets both finish their work.
constexpr int kBusyTimeoutMs = 2000;

// The file a connection works on, for messages; "" for a connection without one.
QString fileOf(sqlite3* db)
{
    const char* name = db ? sqlite3_db_filename(db, "main") : nullptr;
    return name ? QString::fromUtf8(name) : QString();
}

} // namespace

jet::DbError errorFor(int rc, const QString& engineMessage, const QString& path)
{
    const QString file = path.isEmpty() ? QStringLiteral("the database") : QStringLiteral("'%1'").arg(path);
    // On a write, SQLite finds the file it opened no longer under its name.
    if (rc == SQLITE_READONLY_DBMOVED)
        return {jet::err::FileNotFound,
                QStringLiteral("The file %1 was deleted, moved or renamed while it was open; the change was not saved. "
                               "Close the database and open the file where it is now.")
                    .arg(file)};
    switch (rc & 0xFF) {
    case SQLITE_NOTADB:
        return {jet::err::NotValidPassword,
                QStringLiteral("Not a valid password, or %1 is not a database file.").arg(file)};
    case SQLITE_CORRUPT:
        return {jet::err::DatabaseCorrupt,
                QStringLiteral("Cannot open %1: the file is damaged (%2).").arg(file, engineMessage)};
    case SQLITE_CANTOPEN:
        return {jet::err::CannotOpenFile,
                QStringLiteral("The database engine cannot open the file %1.").arg(file)};
    case SQLITE_READONLY:
        return {jet::err::ReadOnlyDatabase,
                QStringLiteral("Cannot update. Database or object is read-only.")};
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return {jet::err::CannotOpenFile,
                QStringLiteral("You do not have permission to use %1.").arg(file)};
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {jet::err::CannotOpenFile,
                QStringLiteral("The file %1 is in use by another program.").arg(file)};
    // Only jet_sum reports these from a running statement: a total that cannot be computed.
    case SQLITE_RANGE:
        return {jet::err::Overflow, engineMessage};
    case SQLITE_MISMATCH:
        return {jet::err::TypeMismatch, engineMessage};
    case SQLITE_IOERR:
    case SQLITE_FULL:
        return {jet::err::DiskOrNetworkError, QStringLiteral("Disk or network error (%1).").arg(engineMessage)};
    default:
        return {jet::err::EngineError, engineMessage.isEmpty() ? QStringLiteral("Database engine error %1.").arg(rc)
                                                               : engineMessage};
    }
}

Connection::Connection(const QString& path, const QByteArray& key, Mode mode)
{
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case Mode::ReadWrite: flags |= SQLITE_OPEN_READWRITE; break;
    case Mode::ReadOnly: flags |= SQLITE_OPEN_READONLY; break;
    case Mode::Create: flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE; break;
    }
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
        close();
        throw errorFor(rc, message, path);
    }
    const QByteArray keyed = connectionKey(path, key);
    if (!keyed.isEmpty() && sqlite3_key(db_, keyed.constData(), static_cast<int>(keyed.size())) != SQLITE_OK) {
        close();
        throw jet::DbError(jet::err::EngineError, QStringLiteral("The database engine could not key '%1'.").arg(path));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // A file's own schema must not call the program's functions from its views and triggers.
    // The schema check refuses such files; engines that know this setting get it as well.
    if (sqlite3_libversion_number() >= 3031000)
        sqlite3_exec(db_, "PRAGMA trusted_schema=OFF", nullptr, nullptr, nullptr);
    jet::registerSqlFunctions(db_);
    // A connection setting: it reads nothing, so it cannot fail for a foreign file.
    sqlite3_exec(db_, kCacheSize, nullptr, nullptr, nullptr);
}

Connection::~Connection()
{
    close();
}

Connection::Connection(Connection&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

Connection& Connection::operator=(Connection&& other) noexcept
{
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

void Connection::close()
{
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void Connection::verifyReadable(const QString& pathForMessages)
{
    // The first read of the schema is where a wrong key, a foreign or a damaged file shows.
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(db_, "SELECT count(*) FROM sqlite_master", -1, &s, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(s);
        if (rc == SQLITE_ROW)
            rc = SQLITE_OK;
    }
    sqlite3_finalize(s);
    if (rc != SQLITE_OK)
        throw errorFor(rc, QString::fromUtf8(sqlite3_errmsg(db_)), pathForMessages);
}

void Connection::exec(const QString& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text = message ? QString::fromUtf8(message) : QString();
        sqlite3_free(message);
        throw errorFor(sqlite3_extended_errcode(db_), text, fileOf(db_));
    }
}

Statement Connection::prepare(const QString& sql)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr);
    if (rc != SQLITE_OK)
        raise(rc, sql);
    return Statement(db_, stmt);
}

std::int64_t Connection::lastInsertRowid() const
{
    return sqlite3_last_insert_rowid(db_);
}

int Connection::changes() const
{
    return sqlite3_changes(db_);
}

void Connection::raise(int rc, const QString& context) const
{
    QString message = QString::fromUtf8(sqlite3_errmsg(db_));
    if (!context.isEmpty() && (rc & 0xFF) == SQLITE_ERROR)
        message += QStringLiteral(" in: ") + context;
    throw errorFor(rc, message, fileOf(db_));
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

Statement& Statement::bindNull(int index)
{
    sqlite3_bind_null(stmt_, index);
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value)
{
    sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

Statement& Statement::bind(int index, double value)
{
    sqlite3_bind_double(stmt_, index, value);
    return *this;
}

Statement& Statement::bind(int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_reset(stmt_);
    throw errorFor(rc, message, fileOf(db_));
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t Statement::int64(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

double Statement::real(int column) const
{
    return sqlite3_column_double(stmt_, column);
}

QString Statement::text(int column) const
{
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return t ? QString::fromUtf8(t, sqlite3_column_bytes(stmt_, column)) : QString();
}

int Statement::columnType(int column) const
{
    return sqlite3_column_type(stmt_, column);
}

QString placeholders(int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += i ? QStringLiteral(",?") : QStringLiteral("?");
    return s;
}

Transaction::Transaction(Connection& connection) : connection_(&connection)
{
    connection_->exec(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction()
{
    if (!done_) {
        try {
            connection_->exec(QStringLiteral("ROLLBACK"));
        } catch (const jet::DbError&) {
            // A failed rollback leaves SQLite's own automatic rollback in charge.
        }
    }
}

void Transaction::commit()
{
    connection_->exec(QStringLiteral("COMMIT"));
    done_ = true;
}

} // namespace sqlite
