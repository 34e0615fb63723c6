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
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace dao {

class Recordset;
class WriteUnit;

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
    // For reading. Every write goes through a WriteUnit (write_unit.h): outside one the
    // connection is query-only and refuses it.
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
    // Every write unit runs this first; so does a copy of the file taken through the connection.
    void finishPendingReads();

    // Run before the outermost write unit begins (nested units are inside one that passed): it
    // may wait for work that must end before the file changes, or throw to refuse the write.
    void setWriteGate(std::function<void()> gate) { writeGate_ = std::move(gate); }

    // Rises when a write unit ends (committed or rolled back) and when the database closes; a
    // dynaset's kept rows and a grid's are read again when it has moved. A snapshot's rows stay
    // until a requery.
    std::uint64_t writeGeneration() const { return writeGeneration_; }
    // Moves it by hand, for a write made through another connection to the file (a tool, a test).
    void noteWrite();

    // Calls onWrite after every move of the write generation, for as long as the watch returned
    // is kept. It is called from inside the writing code, maybe in the middle of a command: a
    // watcher notes that it must read again and does so later, when the command is over.
    using WriteWatch = std::shared_ptr<const std::function<void()>>;
    [[nodiscard]] WriteWatch watchWrites(std::function<void()> onWrite);

    // For record sets: while a unit is open, what a set changes in its own rows (a key appended,
    // a row marked deleted) is logged with how to put it back, which a rollback does. A set that
    // lets go of its rows (a requery, its end) forgets what it logged.
    bool isWriting() const { return unitDepth_ > 0; }
    void logUndo(const void* owner, std::function<void()> undo);
    void forgetUndo(const void* owner);

private:
    friend class StatementLease;
    friend class WriteUnit;
    void giveBack(const QString& sql, sqlite::Statement statement);
    void setWritable(bool writable) noexcept;
    void undoSince(std::size_t mark) noexcept;

    struct Undo {
        const void* owner;
        std::function<void()> undo;
    };

    QString path_;
    sqlite::Connection connection_;
    jet::Catalog catalog_;
    bool readOnly_;
    std::uint64_t writeGeneration_ = 0;
    QHash<QString, jet::SelectPlan> plans_;  // translations by source text
    std::unordered_multimap<QString, sqlite::Statement> statements_;
    std::vector<PendingRead*> pendingReads_;
    std::function<void()> writeGate_;
    int unitDepth_ = 0;
    std::vector<Undo> undo_;
    std::vector<std::weak_ptr<const std::function<void()>>> watchers_;
};

} // namespace dao
