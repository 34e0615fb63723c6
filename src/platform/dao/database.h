#pragma once
// One open database file: record sets and statements in the program's dialect over a keyed
// SQLCipher connection.
#include "platform/dao/sqlite.h"
#include "platform/dao/statement_lease.h"
#include "platform/jet/catalog.h"
#include "platform/jet/translator.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace dao {

class Recordset;

// A record set still reading its keys from an open statement. Before anything is written, every
// such read is finished, so that no key list takes in a row added or misses one deleted meanwhile.
class PendingRead {
public:
    virtual ~PendingRead() = default;
    virtual void finishRead() = 0;
    virtual void abandonRead() = 0;  // the database is closing
};

class Database : public std::enable_shared_from_this<Database> {
public:
    // Use Workspace::openDatabase; this is for it and for tools that hold a connection already.
    Database(QString path, sqlite::Connection connection, bool readOnly);
    ~Database();

    const QString& name() const { return path_; }  // the file's path
    bool isOpen() const { return connection_.isOpen(); }
    bool isReadOnly() const { return readOnly_; }
    void close();  // record sets still open on it fail afterwards with a clear error

    // A table name or a dialect SELECT. Updatable queries over one table give a dynaset
    // (a keyset cursor); Distinct and aggregate queries give a read-only snapshot.
    std::unique_ptr<Recordset> openRecordset(const QString& source);
    // DELETE or UPDATE in the dialect; returns the number of rows changed.
    int execute(const QString& statement);

    const jet::Catalog& catalog() const { return catalog_; }
    void reloadCatalog();
    sqlite::Connection& connection();

    // Prepared statements are kept for reuse: preparing costs more than running the small
    // queries the program issues most. A leased statement is the holder's until the lease ends;
    // then it returns to the pool, which keeps at most kStatementPoolLimit of them. A closed
    // database takes nothing back.
    static constexpr std::size_t kStatementPoolLimit = 64;
    StatementLease lease(const QString& sql);
    std::size_t pooledStatements() const { return statements_.size(); }

    void addPendingRead(PendingRead* read);
    void removePendingRead(PendingRead* read);
    // Every write through this database runs this first; code that writes through connection()
    // directly must call it too.
    void finishPendingReads();

    // Rises with every write through this database and when it closes; a dynaset's kept rows
    // and a grid's are read again when it has moved. A snapshot's rows stay until a requery.
    std::uint64_t writeGeneration() const { return writeGeneration_; }
    void noteWrite() { ++writeGeneration_; }

private:
    friend class StatementLease;
    void giveBack(const QString& sql, sqlite::Statement statement);

    QString path_;
    sqlite::Connection connection_;
    jet::Catalog catalog_;
    bool readOnly_;
    std::uint64_t writeGeneration_ = 0;
    QHash<QString, jet::SelectPlan> plans_;  // translations by source text
    std::unordered_multimap<QString, sqlite::Statement> statements_;
    std::vector<PendingRead*> pendingReads_;
};

} // namespace dao
