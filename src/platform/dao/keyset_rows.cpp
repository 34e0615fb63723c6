#include "keyset_rows.h"

#include "field_codec.h"

namespace dao {

namespace {

// A query that selects at most this many rows is read whole at open, keys and rows in one
// statement; a larger one reads only its keys, which costs far less than its rows.
constexpr int kReadWholeRows = 1024;
constexpr int kKeyChunk = 8192;

} // namespace

KeysetRows::~KeysetRows()
{
    abandonRead();
}

void KeysetRows::requery()
{
    abandonRead();
    cache_.clear();
    // Most queries the program runs select a handful of rows (one member's donations, a name
    // search): read them whole in one statement. Only a larger result falls back to reading its
    // keys alone. A result that is sorted after a scan of the table goes straight to its keys:
    // trying to read it whole would cost as much as reading them.
    if (plan_.keysFirst) {
        startKeyReader();
        return;
    }
    QString probe = QStringLiteral("SELECT rowid, %1 FROM %2").arg(plan_.selectList, jet::quotedName(plan_.table));
    if (!plan_.where.isEmpty())
        probe += QStringLiteral(" WHERE ") + plan_.where;
    if (!plan_.orderBy.isEmpty())
        probe += QStringLiteral(" ORDER BY ") + plan_.orderBy;
    probe += QStringLiteral(" LIMIT %1").arg(kReadWholeRows + 1);
    std::vector<std::int64_t> keys;
    std::vector<Row> rows;
    {
        StatementLease s = db_.lease(probe);
        while (s->step() && static_cast<int>(keys.size()) <= kReadWholeRows) {
            keys.push_back(s->int64(0));
            rows.push_back(readRow(*s, 1, plan_.columns));
        }
    }
    if (static_cast<int>(keys.size()) <= kReadWholeRows) {
        keys_.assign(std::move(keys));
        cache_.fill(std::move(rows));
        return;
    }
    startKeyReader();
}

void KeysetRows::startKeyReader()
{
    keys_.assign({});
    keyReader_ = db_.connection().prepare(plan_.keySql());
    db_.addPendingRead(this);
    readKeyChunk();
}

void KeysetRows::close()
{
    abandonRead();
    keys_.assign({});
    cache_.close();
}

bool KeysetRows::reach(int p)
{
    while (p >= keys_.size() && keysPending())
        readKeyChunk();
    return p < keys_.size();
}

void KeysetRows::readKeyChunk()
{
    std::vector<std::int64_t> more;
    more.reserve(kKeyChunk);
    bool done = false;
    try {
        while (static_cast<int>(more.size()) < kKeyChunk) {
            if (!keyReader_.step()) {
                done = true;
                break;
            }
            more.push_back(keyReader_.int64(0));
        }
    } catch (...) {
        abandonRead();  // a failed read stays failed: the keys so far are all the set has
        throw;
    }
    keys_.extend(more);
    if (done)
        abandonRead();
}

void KeysetRows::finishRead()
{
    while (keysPending())
        readKeyChunk();
}

void KeysetRows::abandonRead()
{
    if (keyReader_.isValid()) {
        keyReader_ = sqlite::Statement();
        db_.removePendingRead(this);
    }
}

const Row* KeysetRows::rowAt(int p)
{
    if (keys_.isDeleted(p))
        return nullptr;
    const std::optional<Row>& row = cache_.row(p);
    return row ? &*row : nullptr;
}

namespace {

void bindValues(sqlite::Statement& s, const std::vector<jet::SqlValue>& values, int first)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        std::visit([&](const auto& v) { s.bind(first + static_cast<int>(i), v); }, values[i]);
}

// A find's statement with the condition's values bound from parameter `first` on: pooled, or
// for a one-off condition one of its own.
class FindStatement {
public:
    FindStatement(Database& db, const QString& sql, const Condition& condition, int first)
    {
        if (condition.oneOff)
            own_ = db.connection().prepare(sql);
        else
            lease_ = db.lease(sql);
        bindValues(**this, condition.values, first);
    }
    sqlite::Statement& operator*() { return lease_.isValid() ? *lease_ : own_; }

private:
    StatementLease lease_;
    sqlite::Statement own_;
};

} // namespace

int KeysetRows::firstMatch(const Condition& condition, int start)
{
    const QString table = jet::quotedName(plan_.table);
    // The match's row comes with its key: the caller visits it next, and a look-up of its own
    // would cost as much as the find.
    if (!keys_.isAscending()) {
        // The keyset is in another order: every matching key is placed by the keyset, and the
        // first position from `start` wins. The rows of the first few are kept (mostly there is
        // one); a criterion that many rows meet reads the winner's when it is visited.
        constexpr std::size_t kRowsKept = 16;
        std::vector<std::int64_t> candidates;
        std::vector<Row> rows;
        FindStatement find(db_, QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %3").arg(plan_.selectList, table, condition.sql),
                           condition, 1);
        sqlite::Statement& s = *find;
        while (s.step()) {
            candidates.push_back(s.int64(0));
            if (rows.size() < kRowsKept)
                rows.push_back(readRow(s, 1, plan_.columns));
        }
        const int p = keys_.firstOf(candidates, start);
        if (p >= 0)
            for (std::size_t i = 0; i < rows.size(); ++i)
                if (candidates[i] == keys_.key(p)) {
                    cache_.keep(p, std::move(rows[i]));
                    break;
                }
        return p;
    }
    // Keyset order is key order: ask the engine for matching keys from the start key up, in
    // order, a batch at a time; an index on the criterion makes this a look-up.
    constexpr int kBatch = 256;
    static const QString batch = QString::number(kBatch);
    const QString sql = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid >= ? AND (%3) ORDER BY rowid LIMIT %4")
                            .arg(plan_.selectList, table, condition.sql, batch);
    FindStatement find(db_, sql, condition, 2);
    sqlite::Statement& s = *find;
    std::int64_t from = keys_.key(start);
    for (;;) {
        s.bind(1, from);
        int n = 0;
        std::int64_t last = from;
        while (s.step()) {
            ++n;
            last = s.int64(0);
            const int p = keys_.positionOf(last);
            if (p >= start && !keys_.isDeleted(p)) {
                cache_.keep(p, readRow(s, 1, plan_.columns));
                return p;
            }
        }
        s.reset();  // which clears the bindings too
        if (n < kBatch)
            return -1;
        from = last + 1;
        bindValues(s, condition.values, 2);
    }
}

} // namespace dao
