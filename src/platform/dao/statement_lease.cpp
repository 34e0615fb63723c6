#include "statement_lease.h"

#include "database.h"

#include <utility>

namespace dao {

StatementLease::StatementLease(Database* pool, QString sql, sqlite::Statement statement)
    : pool_(pool), sql_(std::move(sql)), statement_(std::move(statement))
{
}

StatementLease::~StatementLease()
{
    giveBack();
}

StatementLease::StatementLease(StatementLease&& other) noexcept
    : pool_(std::exchange(other.pool_, nullptr)), sql_(std::move(other.sql_)), statement_(std::move(other.statement_))
{
}

StatementLease& StatementLease::operator=(StatementLease&& other) noexcept
{
    if (this != &other) {
        giveBack();
        pool_ = std::exchange(other.pool_, nullptr);
        sql_ = std::move(other.sql_);
        statement_ = std::move(other.statement_);
    }
    return *this;
}

void StatementLease::giveBack() noexcept
{
    if (pool_ && statement_.isValid())
        pool_->giveBack(sql_, std::move(statement_));
    pool_ = nullptr;
    statement_ = sqlite::Statement();  // finalizes one the pool did not take
}

} // namespace dao
