#pragma once
// The ordered row keys of a dynaset: eight bytes a row plus a bit for rows deleted through it.
#include <cstdint>
#include <utility>
#include <vector>

namespace dao {

class Keyset {
public:
    void assign(std::vector<std::int64_t> keys);
    void append(std::int64_t key);
    // Keys read later from the same query, in its order.
    void extend(const std::vector<std::int64_t>& more);

    int size() const { return static_cast<int>(keys_.size()); }
    std::int64_t key(int position) const { return keys_[static_cast<std::size_t>(position)]; }
    bool isDeleted(int position) const { return deleted_[static_cast<std::size_t>(position)]; }
    void markDeleted(int position);
    // A rolled-back write puts these back: the last key appended, a row marked deleted.
    void removeLast();
    void unmarkDeleted(int position);
    int deletedCount() const { return deletedCount_; }
    bool isAscending() const { return ascending_; }

    // Position of a key, -1 when the keyset does not hold it. A binary search: over the keys
    // themselves when they ascend (a table in key order), else over a sorted index of them that
    // is built the first time a look-up needs it.
    int positionOf(std::int64_t key) const;
    // The first position at or after start whose key is among the given ones, skipping deleted
    // rows; -1 when none is.
    int firstOf(const std::vector<std::int64_t>& candidates, int start) const;

private:
    const std::vector<std::pair<std::int64_t, int>>& sortedIndex() const;

    std::vector<std::int64_t> keys_;
    std::vector<bool> deleted_;
    int deletedCount_ = 0;
    bool ascending_ = true;
    // (key, position) sorted by key, for keysets in another order; empty until needed.
    mutable std::vector<std::pair<std::int64_t, int>> index_;
};

} // namespace dao
