#pragma once
// A dynaset's rows through a keyset cursor. Opening reads a query of a few rows whole, keys and
// rows in one statement; a larger one reads only its ordered row keys, 8,192 at a time as moves,
// positions, finds and counts reach them, so that opening a million donations does not wait for
// the last key. Rows are read by key when they are visited (RowCache).
#include "platform/dao/database.h"
#include "platform/dao/keyset.h"
#include "platform/dao/row_cache.h"
#include "platform/dao/row_source.h"

namespace dao {

class KeysetRows final : public RowSource, public PendingRead {
public:
    // The database and the plan must outlive the rows: the record set owns all three.
    KeysetRows(Database& db, const jet::SelectPlan& plan) : db_(db), plan_(plan), cache_(db, plan, keys_) {}
    ~KeysetRows() override;

    void requery() override;
    void close() override;

    int size() const override { return keys_.size(); }
    bool reach(int position) override;
    void readAll() override { finishRead(); }

    const Row* rowAt(int position) override;
    bool isDeleted(int position) const override { return keys_.isDeleted(position); }
    int deletedCount() const override { return keys_.deletedCount(); }

    Bookmark bookmarkAt(int position) const override { return keys_.key(position); }
    int positionOf(Bookmark bookmark) const override { return keys_.positionOf(bookmark); }

    int firstMatch(const Condition& condition, int start) override;
    std::int64_t keyAt(int position) const override { return keys_.key(position); }
    void added(std::int64_t key) override { keys_.append(key); }
    void markDeleted(int position) override { keys_.markDeleted(position); }
    void undoAdded() override { keys_.removeLast(); }
    void undoDeleted(int position) override { keys_.unmarkDeleted(position); }

    // PendingRead: the database finishes the key read before a write, abandons it at close.
    void finishRead() override;
    void abandonRead() override;

private:
    bool keysPending() const { return keyReader_.isValid(); }
    void startKeyReader();
    void readKeyChunk();

    Database& db_;
    const jet::SelectPlan& plan_;
    Keyset keys_;
    RowCache cache_;
    sqlite::Statement keyReader_;  // the key query, while keys remain to be read
};

} // namespace dao
