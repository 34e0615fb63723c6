#include "database.h"

#include "recordset.h"
#include "platform/jet/db_error.h"
#include "platform/jet/translator.h"

namespace dao {

Database::Database(QString path, sqlite::Connection connection, bool readOnly)
    : path_(std::move(path)), connection_(std::move(connection)), readOnly_(readOnly)
{
    reloadCatalog();
}

Database::~Database() = default;

void Database::close()
{
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
    if (connection_.isOpen())
        catalog_ = jet::Catalog::read(connection_.handle());
}

std::unique_ptr<Recordset> Database::openRecordset(const QString& source)
{
    connection();  // fails clearly on a closed database
    return std::make_unique<Recordset>(shared_from_this(), jet::translateSelect(source, catalog_));
}

int Database::execute(const QString& statement)
{
    if (readOnly_)
        throw jet::DbError(jet::err::ReadOnlyDatabase, QStringLiteral("Cannot update. Database or object is read-only."));
    const QString sql = jet::translateStatement(statement, catalog_);
    connection().exec(sql);
    noteWrite();
    return connection_.changes();
}

} // namespace dao
