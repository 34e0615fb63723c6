#include "database.h"

#include "recordset.h"
#include "write_unit.h"
#include "platform/jet/db_error.h"
#include "platform/jet/translator.h"

#include <algorithm>

namespace dao {

Database::Database(QString path, sqlite::Connection connection, bool readOnly)
    : path_(std::move(path)), connection_(std::move(connection)), readOnly_(readOnly)
{
    reloadCatalog();
    setWritable(false);
}

Database::~Database() = default;

namespace {
constexpr qsizetype kPlanCacheSize = 256;

// Whether SQLite would walk a whole index only for its order, fetching every row by key to test
// the condition ("SCAN TABLE Payments USING INDEX PaymentsDate"). Scanning the table and sorting
// the rows that pass costs at most as much, and far less when few pass (a donation filter over
// a million donations: 0.08 s against 0.27 s).
bool walksIndexForOrder(sqlite::Connection& connection, const jet::SelectPlan& plan)
{
    sqlite::Statement explain = connection.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + plan.keySql());
    while (explain.step()) {
        const QString step = explain.text(3);
        if (step.startsWith(u"SCAN TABLE") && step.contains(u" USING INDEX ") && !step.contains(u"COVERING"))
            return true;
    }
    return false;
}

jet::SelectPlan planFor(const QString& source, const jet::Catalog& catalog, sqlite::Connection& connection)
{
    jet::SelectPlan plan = jet::translateSelect(source, catalog);
    if (plan.updatable && !plan.where.isEmpty() && !plan.orderBy.isEmpty() && walksIndexForOrder(connection, plan)) {
        plan.orderBy = plan.orderBySorting;
        plan.keysFirst = true;
    }
    return plan;
}
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

void Database::noteWrite()
{
    ++writeGeneration_;
    // A watcher may let go of its watch, or take another, while it is told: work on a copy.
    std::erase_if(watchers_, [](const auto& w) { return w.expired(); });
    const auto watchers = watchers_;
    for (const auto& w : watchers)
        if (const auto onWrite = w.lock())
            (*onWrite)();
}

Database::WriteWatch Database::watchWrites(std::function<void()> onWrite)
{
    auto watch = std::make_shared<const std::function<void()>>(std::move(onWrite));
    std::erase_if(watchers_, [](const auto& w) { return w.expired(); });
    watchers_.push_back(watch);
    return watch;
}

void Database::setWritable(bool writable) noexcept
{
    if (!connection_.isOpen())
        return;
    try {
        connection_.exec(writable ? QStringLiteral("PRAGMA query_only = 0") : QStringLiteral("PRAGMA query_only = 1"));
    } catch (const jet::DbError&) {
        // The pragma touches no file; a connection that cannot run it cannot write either.
    }
}

void Database::logUndo(const void* owner, std::function<void()> undo)
{
    if (unitDepth_ > 0)
        undo_.push_back({owner, std::move(undo)});
}

void Database::forgetUndo(const void* owner)
{
    std::erase_if(undo_, [owner](const Undo& u) { return u.owner == owner; });
}

void Database::undoSince(std::size_t mark) noexcept
{
    // Latest first: an appended key is undone while it is still the last one.
    while (undo_.size() > mark) {
        const std::function<void()> undo = std::move(undo_.back().undo);
        undo_.pop_back();
        undo();
    }
}

void Database::close()
{
    const auto reads = pendingReads_;
    for (PendingRead* read : reads)
        read->abandonRead();
    statements_.clear();
    undo_.clear();
    writeGate_ = nullptr;
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
        it = plans_.insert(source, planFor(source, catalog_, connection()));
    }
    return std::make_unique<Recordset>(shared_from_this(), *it);
}

int Database::execute(const QString& statement)
{
    if (readOnly_)
        throw jet::DbError(jet::err::ReadOnlyDatabase, QStringLiteral("Cannot update. Database or object is read-only."));
    const QString sql = jet::translateStatement(statement, catalog_);
    WriteUnit unit(*this);
    unit.connection().exec(sql);
    const int changed = connection_.changes();
    unit.commit();
    return changed;
}

} // namespace dao
