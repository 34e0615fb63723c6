#pragma once
// The inside of a record set: its key list, how it reads more keys, and the rows it keeps.
// Private to the dao library: only recordset.cpp includes it.
#include "database.h"
#include "field_codec.h"
#include "keyset.h"
#include "recordset.h"
#include "platform/jet/db_error.h"

#include <QHash>
#include <map>

namespace dao {

namespace rowcache {

// Rows are read by key in blocks: one statement brings a screenful, and a walk through a few
// hundred rows costs a few statements instead of one per row.
constexpr int kBlockRows = 64;
constexpr std::size_t kCachedBlocks = 16;
// A query that selects at most this many rows is read whole at open, keys and rows in one
// statement; a larger one reads only its keys, which costs far less than its rows.
constexpr int kReadWholeRows = 1024;
constexpr std::size_t kCachedSingles = 8;
// A larger query's keys are read this many at a time as the record set needs them, so that
// opening a million donations does not wait for the last key.
constexpr int kKeyChunk = 8192;

[[noreturn]] inline void noCurrentRecord()
{
    throw jet::DbError(jet::err::NoCurrentRecord, QStringLiteral("No current record."));
}

inline QString placeholders(int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += i ? QStringLiteral(",?") : QStringLiteral("?");
    return s;
}

} // namespace rowcache

using Row = std::vector<vb::Value>;

class Recordset::Impl : public PendingRead {
public:
    std::shared_ptr<Database> db;
    jet::Table table;  // a copy: the catalog may be read again while the set lives
    bool snapshot = false;

    // Dynaset
    Keyset keys;
    struct Block {
        std::uint64_t generation = 0;
        std::uint64_t lastUse = 0;
        std::vector<std::optional<Row>> rows;
    };
    std::map<int, Block> blocks;
    // Rows reached by a jump (a find, a bookmark, a position) are read alone: a block would
    // read 63 rows nobody asked for.
    struct Single {
        std::uint64_t generation = 0;
        std::uint64_t lastUse = 0;
        std::optional<Row> row;
    };
    std::map<int, Single> singles;
    int lastVisited = -2;
    std::uint64_t useCounter = 0;
    // Leased at the first block or jump and held for the set's life: a walk reads many blocks.
    StatementLease fetchStatement, singleStatement;

    QHash<QString, QString> criteria;  // find criteria as translated

    // The key query, while keys remain to be read.
    sqlite::Statement keyReader;

    ~Impl() override { abandonRead(); }

    bool keysPending() const { return keyReader.isValid(); }

    // Moves skip rows this record set deleted itself, as the classic engine does.
    int skipDeleted(int p, int step)
    {
        if (snapshot)
            return p;
        while (p >= 0 && ensure(p) && keys.isDeleted(p))
            p += step;
        return p;
    }

    // Reads keys until position p is loaded or the query is done; true when p exists.
    bool ensure(int p)
    {
        while (p >= keys.size() && keysPending())
            readKeyChunk();
        return p < size();
    }

    void readKeyChunk()
    {
        std::vector<std::int64_t> more;
        more.reserve(rowcache::kKeyChunk);
        bool done = false;
        try {
            while (static_cast<int>(more.size()) < rowcache::kKeyChunk) {
                if (!keyReader.step()) {
                    done = true;
                    break;
                }
                more.push_back(keyReader.int64(0));
            }
        } catch (...) {
            abandonRead();
            throw;
        }
        keys.extend(more);
        if (done)
            abandonRead();
    }

    void finishRead() override
    {
        while (keysPending())
            readKeyChunk();
    }

    void abandonRead() override
    {
        if (keyReader.isValid()) {
            keyReader = sqlite::Statement();
            if (db)
                db->removePendingRead(this);
        }
    }

    // Snapshot
    std::vector<Row> rows;

    int position = -1;  // -1: before the first row; size(): after the last
    std::vector<std::optional<vb::Value>> pending;
    Bookmark lastModified = -1;

    int size() const { return snapshot ? static_cast<int>(rows.size()) : keys.size(); }

    sqlite::Connection& connection() { return db->connection(); }

    static QString quotedTable(const jet::SelectPlan& plan)
    {
        return jet::quotedName(plan.table);
    }

    Row readRow(const sqlite::Statement& s, int firstColumn, const jet::SelectPlan& plan) const
    {
        const int n = static_cast<int>(plan.columns.size());
        Row r;
        r.reserve(static_cast<std::size_t>(n));
        for (int c = 0; c < n; ++c)
            r.push_back(readField(s, c + firstColumn, plan.columns[static_cast<std::size_t>(c)].type));
        return r;
    }

    void readKeys(const jet::SelectPlan& plan)
    {
        abandonRead();
        blocks.clear();
        singles.clear();
        lastVisited = -2;
        // Most queries the program runs select a handful of rows (one member's donations, a
        // name search): read them whole in one statement. Only a larger result falls back to
        // reading its keys alone.
        QString probe = QStringLiteral("SELECT rowid, %1 FROM %2").arg(plan.selectList, quotedTable(plan));
        if (!plan.where.isEmpty())
            probe += QStringLiteral(" WHERE ") + plan.where;
        if (!plan.orderBy.isEmpty())
            probe += QStringLiteral(" ORDER BY ") + plan.orderBy;
        probe += QStringLiteral(" LIMIT %1").arg(rowcache::kReadWholeRows + 1);
        std::vector<std::int64_t> k;
        std::vector<Row> rows;
        {
            StatementLease s = db->lease(probe);
            while (s->step() && static_cast<int>(k.size()) <= rowcache::kReadWholeRows) {
                k.push_back(s->int64(0));
                rows.push_back(readRow(*s, 1, plan));
            }
        }
        if (static_cast<int>(k.size()) <= rowcache::kReadWholeRows) {
            keys.assign(std::move(k));
            const auto generation = db->writeGeneration();
            for (std::size_t i = 0; i < rows.size(); ++i) {
                Block& b = blocks[static_cast<int>(i) / rowcache::kBlockRows];
                if (b.rows.empty()) {
                    b.generation = generation;
                    b.rows.resize(static_cast<std::size_t>(std::min<int>(rowcache::kBlockRows, keys.size() - static_cast<int>(i))));
                }
                b.rows[i % rowcache::kBlockRows] = std::move(rows[i]);
            }
            return;
        }
        keys.assign({});
        keyReader = connection().prepare(plan.keySql());
        db->addPendingRead(this);
        readKeyChunk();
    }

    void readSnapshot(const jet::SelectPlan& plan)
    {
        rows.clear();
        auto s = connection().prepare(plan.sql());
        const int n = static_cast<int>(plan.columns.size());
        while (s.step()) {
            Row r;
            r.reserve(static_cast<std::size_t>(n));
            for (int i = 0; i < n; ++i)
                r.push_back(readField(s, i, plan.columns[static_cast<std::size_t>(i)].type));
            rows.push_back(std::move(r));
        }
    }

    // The cached entry for `key` when nothing was written since it was read, marked as just used.
    // Otherwise nullptr, and a full cache drops the entry used longest ago, for the one the
    // caller reads next.
    template <class Entry>
    const Entry* fresh(std::map<int, Entry>& cache, int key, std::size_t capacity)
    {
        auto it = cache.find(key);
        if (it != cache.end() && it->second.generation == db->writeGeneration()) {
            it->second.lastUse = ++useCounter;
            return &it->second;
        }
        if (cache.size() >= capacity && it == cache.end()) {
            auto oldest = cache.begin();
            for (auto e = cache.begin(); e != cache.end(); ++e)
                if (e->second.lastUse < oldest->second.lastUse)
                    oldest = e;
            cache.erase(oldest);
        }
        return nullptr;
    }

    const Block& block(int index, const jet::SelectPlan& plan)
    {
        if (const Block* cached = fresh(blocks, index, rowcache::kCachedBlocks))
            return *cached;
        if (!fetchStatement.isValid())
            fetchStatement = db->lease(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)")
                                           .arg(plan.selectList, quotedTable(plan), rowcache::placeholders(rowcache::kBlockRows)));
        sqlite::Statement& s = *fetchStatement;
        const sqlite::ResetOnExit rewind(s);
        const int first = index * rowcache::kBlockRows;
        const int count = std::min(rowcache::kBlockRows, keys.size() - first);
        for (int i = 0; i < rowcache::kBlockRows; ++i) {
            if (i < count)
                s.bind(i + 1, keys.key(first + i));
            else
                s.bindNull(i + 1);
        }
        Block b;
        b.generation = db->writeGeneration();
        b.lastUse = ++useCounter;
        b.rows.resize(static_cast<std::size_t>(count));
        while (s.step()) {
            const auto key = s.int64(0);
            Row r = readRow(s, 1, plan);
            for (int i = 0; i < count; ++i)
                if (keys.key(first + i) == key) {
                    b.rows[static_cast<std::size_t>(i)] = std::move(r);
                    break;
                }
        }
        return blocks[index] = std::move(b);
    }

    // The row at a position, nullptr for a deleted one.
    const Row* rowAt(int p, const jet::SelectPlan& plan)
    {
        if (snapshot)
            return &rows[static_cast<std::size_t>(p)];
        if (keys.isDeleted(p))
            return nullptr;
        // Whatever is cached already answers; otherwise a step to a neighbour reads its block,
        // and a jump reads the one row.
        const std::uint64_t generation = db->writeGeneration();
        const bool stepping = p == lastVisited + 1 || p == lastVisited - 1;
        lastVisited = p;
        const auto cached = blocks.find(p / rowcache::kBlockRows);
        const auto alone = singles.find(p);
        const std::optional<Row>& row =
            cached != blocks.end() && cached->second.generation == generation
                ? block(p / rowcache::kBlockRows, plan).rows[static_cast<std::size_t>(p % rowcache::kBlockRows)]
            : alone != singles.end() && alone->second.generation == generation ? single(p, plan).row
            : stepping ? block(p / rowcache::kBlockRows, plan).rows[static_cast<std::size_t>(p % rowcache::kBlockRows)]
                       : single(p, plan).row;
        return row ? &*row : nullptr;
    }

    const Single& single(int p, const jet::SelectPlan& plan)
    {
        if (const Single* cached = fresh(singles, p, rowcache::kCachedSingles))
            return *cached;
        if (!singleStatement.isValid())
            singleStatement = db->lease(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(plan.selectList, quotedTable(plan)));
        sqlite::Statement& s = *singleStatement;
        const sqlite::ResetOnExit rewind(s);
        Single one;
        one.generation = db->writeGeneration();
        one.lastUse = ++useCounter;
        s.bind(1, keys.key(p));
        if (s.step())
            one.row = readRow(s, 0, plan);
        return singles[p] = std::move(one);
    }
};

} // namespace dao
