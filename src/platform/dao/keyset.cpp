#include "keyset.h"

#include <algorithm>

namespace dao {

void Keyset::assign(std::vector<std::int64_t> keys)
{
    keys_ = std::move(keys);
    keys_.shrink_to_fit();
    deleted_.assign(keys_.size(), false);
    deletedCount_ = 0;
    ascending_ = std::is_sorted(keys_.begin(), keys_.end());
    index_.clear();
    index_.shrink_to_fit();
}

void Keyset::append(std::int64_t key)
{
    if (!keys_.empty() && key < keys_.back())
        ascending_ = false;
    keys_.push_back(key);
    deleted_.push_back(false);
    if (!index_.empty()) {
        const std::pair<std::int64_t, int> entry{key, size() - 1};
        index_.insert(std::lower_bound(index_.begin(), index_.end(), entry), entry);
    }
}

void Keyset::extend(const std::vector<std::int64_t>& more)
{
    if (more.empty())
        return;
    if (ascending_ && ((!keys_.empty() && more.front() < keys_.back()) || !std::is_sorted(more.begin(), more.end())))
        ascending_ = false;
    keys_.insert(keys_.end(), more.begin(), more.end());
    deleted_.resize(keys_.size(), false);
    index_.clear();
}

void Keyset::markDeleted(int position)
{
    if (!deleted_[static_cast<std::size_t>(position)]) {
        deleted_[static_cast<std::size_t>(position)] = true;
        ++deletedCount_;
    }
}

void Keyset::removeLast()
{
    if (keys_.empty())
        return;
    unmarkDeleted(size() - 1);
    keys_.pop_back();
    deleted_.pop_back();
    index_.clear();  // built again when a look-up needs it
    ascending_ = std::is_sorted(keys_.begin(), keys_.end());
}

void Keyset::unmarkDeleted(int position)
{
    if (deleted_[static_cast<std::size_t>(position)]) {
        deleted_[static_cast<std::size_t>(position)] = false;
        --deletedCount_;
    }
}

const std::vector<std::pair<std::int64_t, int>>& Keyset::sortedIndex() const
{
    if (index_.empty() && !keys_.empty()) {
        index_.reserve(keys_.size());
        for (std::size_t i = 0; i < keys_.size(); ++i)
            index_.emplace_back(keys_[i], static_cast<int>(i));
        std::sort(index_.begin(), index_.end());
    }
    return index_;
}

int Keyset::positionOf(std::int64_t key) const
{
    if (ascending_) {
        const auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
        return it != keys_.end() && *it == key ? static_cast<int>(it - keys_.begin()) : -1;
    }
    const auto& index = sortedIndex();
    const auto it = std::lower_bound(index.begin(), index.end(), std::pair<std::int64_t, int>{key, -1});
    return it != index.end() && it->first == key ? it->second : -1;
}

int Keyset::firstOf(const std::vector<std::int64_t>& candidates, int start) const
{
    if (candidates.empty() || start >= size())
        return -1;
    start = std::max(start, 0);
    // Each candidate costs a binary search; past a share of the keyset, one pass is cheaper.
    if (candidates.size() < keys_.size() / 16 + 16) {
        int best = -1;
        for (std::int64_t k : candidates) {
            const int p = positionOf(k);
            if (p >= start && !isDeleted(p) && (best < 0 || p < best))
                best = p;
        }
        return best;
    }
    std::vector<std::int64_t> wanted(candidates);
    std::sort(wanted.begin(), wanted.end());
    for (int p = start; p < size(); ++p)
        if (!isDeleted(p) && std::binary_search(wanted.begin(), wanted.end(), keys_[static_cast<std::size_t>(p)]))
            return p;
    return -1;
}

} // namespace dao
