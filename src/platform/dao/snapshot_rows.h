#pragma once
// The rows of a Distinct or aggregate query, read whole when the set opens and held in memory;
// read-only, since such a row stands for no one row of a table.
#include "platform/dao/row_source.h"
#include "platform/jet/translator.h"

namespace dao {

class Database;

class SnapshotRows final : public RowSource {
public:
    // The database and the plan must outlive the rows: the record set owns all three.
    SnapshotRows(Database& db, const jet::SelectPlan& plan) : db_(db), plan_(plan) {}

    void requery() override;
    void close() override { rows_.clear(); }

    int size() const override { return static_cast<int>(rows_.size()); }
    bool reach(int position) override { return position < size(); }
    void readAll() override {}

    const Row* rowAt(int position) override { return &rows_[static_cast<std::size_t>(position)]; }
    bool isDeleted(int) const override { return false; }
    int deletedCount() const override { return 0; }

    Bookmark bookmarkAt(int position) const override { return position; }
    int positionOf(Bookmark bookmark) const override { return static_cast<int>(bookmark); }

    int firstMatch(const Condition& condition, int start) override;
    std::int64_t keyAt(int position) const override;
    void added(std::int64_t key) override;
    void markDeleted(int position) override;
    // A snapshot refuses writes, so there is never anything to put back.
    void undoAdded() override {}
    void undoDeleted(int) override {}

private:
    Database& db_;
    const jet::SelectPlan& plan_;
    std::vector<Row> rows_;
};

} // namespace dao
