#include "database.h"

#include "recordset.h"
#include "platform/jet/db_error.h"
#include "platform/jet/translator.h"

#include <algorithm>

namespace dao {

Database::Database(QString path, sqlite::Connection connection, bool readOnly)
    : path_(std::move(path)), connection_(std::move(connection)), readOnly_(readOnly)
{
    reloadCatalog();
}

Database::~Database() = default;

namespace {
constexpr qsizetype kPlanCacheSize = 256;
} // namespace

void Database::addPendingRead(PendingRead* read)
{
    if (std::find(pendingReads_.begin(), pendingReads_.end(), read) == pendingReads_.end())
        pendingReads_.push_back(read);
}

void Database::removePendingRead(PendingRead* read)
{
    std::erase(pendingReads_, read);
}

void Database::finishPendingReads()
{
    // Finishing a read removes it from the list: work on a copy.
    const auto reads = pendingReads_;
    for (PendingRead* read : reads)
        read->finishRead();
}

void Database::close()
{
    const auto reads = pendingReads_;
    for (PendingRead* read : reads)
        read->abandonRead();
    statements_.clear();
    connection_.close();
    ++writeGeneration_;
}

sqlite::Connection& Database::connection()
{
    if (!connection_.isOpen())
        throw jet::DbError(jet::err::EngineError, QStringLiteral("Object invalid or no longer set: the database '%1' is closed.").arg(path_));
    return connection_;
}

void Database::reloadCatalog()
{
    plans_.clear();
    statements_.clear();
    if (connection_.isOpen())
        catalog_ = jet::Catalog::read(connection_.handle());
}

StatementLease Database::lease(const QString& sql)
{
    auto it = statements_.find(sql);
    if (it == statements_.end())
        return StatementLease(this, sql, connection().prepare(sql));
    sqlite::Statement s = std::move(it->second);
    statements_.erase(it);
    return StatementLease(this, sql, std::move(s));
}

void Database::giveBack(const QString& sql, sqlite::Statement statement)
{
    // A statement the pool does not keep is finalized here, which also ends its read.
    if (!connection_.isOpen() || !statement.isValid() || statements_.size() >= kStatementPoolLimit)
        return;
    statement.reset();
    statements_.emplace(sql, std::move(statement));
}

std::unique_ptr<Recordset> Database::openRecordset(const QString& source)
{
    connection();  // fails clearly on a closed database
    auto it = plans_.constFind(source);
    if (it == plans_.constEnd()) {
        if (plans_.size() >= kPlanCacheSize)
            plans_.clear();
        it = plans_.insert(source, jet::translateSelect(source, catalog_));
    }
    return std::make_unique<Recordset>(shared_from_this(), *it);
}

int Database::execute(const QString& statement)
{
    if (readOnly_)
        throw jet::DbError(jet::err::ReadOnlyDatabase, QStringLiteral("Cannot update. Database or object is read-only."));
    const QString sql = jet::translateStatement(statement, catalog_);
    finishPendingReads();
    connection().exec(sql);
    noteWrite();
    return connection_.changes();
}

} // namespace dao
