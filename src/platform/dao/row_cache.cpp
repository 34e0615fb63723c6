#include "row_cache.h"

#include "database.h"
#include "field_codec.h"
#include "keyset.h"

#include <algorithm>

namespace dao {

namespace {

constexpr std::size_t kCachedBlocks = 16;
constexpr std::size_t kCachedSingles = 8;

} // namespace

void RowCache::clear()
{
    blocks_.clear();
    singles_.clear();
    lastVisited_ = -2;
}

void RowCache::close()
{
    clear();
    fetch_ = StatementLease();
    fetchOne_ = StatementLease();
}

void RowCache::fill(std::vector<Row> rows)
{
    const auto generation = db_.writeGeneration();
    const int count = static_cast<int>(rows.size());
    for (int i = 0; i < count; ++i) {
        Block& b = blocks_[i / kBlockRows];
        if (b.rows.empty()) {
            b.generation = generation;
            b.rows.resize(static_cast<std::size_t>(std::min(kBlockRows, count - i)));
        }
        b.rows[static_cast<std::size_t>(i % kBlockRows)] = std::move(rows[static_cast<std::size_t>(i)]);
    }
}

const std::optional<Row>& RowCache::row(int p)
{
    // Whatever is cached already answers; otherwise a step to a neighbour reads its block, and
    // a jump reads the one row.
    const std::uint64_t generation = db_.writeGeneration();
    const bool stepping = p == lastVisited_ + 1 || p == lastVisited_ - 1;
    lastVisited_ = p;
    const int index = p / kBlockRows;
    const auto slot = static_cast<std::size_t>(p % kBlockRows);
    if (const auto cached = blocks_.find(index); cached != blocks_.end() && cached->second.generation == generation) {
        cached->second.lastUse = ++useCounter_;
        return cached->second.rows[slot];
    }
    if (const auto alone = singles_.find(p); alone != singles_.end() && alone->second.generation == generation)
        return single(p).row;
    return stepping ? block(index).rows[slot] : single(p).row;
}

// The cached entry for `key` when nothing was written since it was read, marked as just used.
// Otherwise nullptr, and a full cache drops the entry used longest ago, for the one the caller
// reads next.
template <class Entry>
const Entry* RowCache::fresh(std::map<int, Entry>& cache, int key, std::size_t capacity)
{
    auto it = cache.find(key);
    if (it != cache.end() && it->second.generation == db_.writeGeneration()) {
        it->second.lastUse = ++useCounter_;
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

const RowCache::Block& RowCache::block(int index)
{
    if (const Block* cached = fresh(blocks_, index, kCachedBlocks))
        return *cached;
    if (!fetch_.isValid())
        fetch_ = db_.lease(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)")
                               .arg(plan_.selectList, jet::quotedName(plan_.table), sqlite::placeholders(kBlockRows)));
    sqlite::Statement& s = *fetch_;
    const sqlite::ResetOnExit rewind(s);
    const int first = index * kBlockRows;
    const int count = std::min(kBlockRows, keys_.size() - first);
    for (int i = 0; i < kBlockRows; ++i) {
        if (i < count)
            s.bind(i + 1, keys_.key(first + i));
        else
            s.bindNull(i + 1);
    }
    Block b;
    b.generation = db_.writeGeneration();
    b.lastUse = ++useCounter_;
    b.rows.resize(static_cast<std::size_t>(count));
    // The engine returns the rows in its own order: each goes to the place of its key.
    while (s.step()) {
        const auto key = s.int64(0);
        Row r = readRow(s, 1, plan_.columns);
        for (int i = 0; i < count; ++i)
            if (keys_.key(first + i) == key) {
                b.rows[static_cast<std::size_t>(i)] = std::move(r);
                break;
            }
    }
    return blocks_[index] = std::move(b);
}

void RowCache::keep(int p, Row row)
{
    fresh(singles_, p, kCachedSingles);  // makes room
    Single one;
    one.generation = db_.writeGeneration();
    one.lastUse = ++useCounter_;
    one.row = std::move(row);
    singles_[p] = std::move(one);
}

const RowCache::Single& RowCache::single(int p)
{
    if (const Single* cached = fresh(singles_, p, kCachedSingles))
        return *cached;
    if (!fetchOne_.isValid())
        fetchOne_ = db_.lease(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(plan_.selectList, jet::quotedName(plan_.table)));
    sqlite::Statement& s = *fetchOne_;
    const sqlite::ResetOnExit rewind(s);
    Single one;
    one.generation = db_.writeGeneration();
    one.lastUse = ++useCounter_;
    s.bind(1, keys_.key(p));
    if (s.step())
        one.row = readRow(s, 0, plan_.columns);
    return singles_[p] = std::move(one);
}

} // namespace dao
