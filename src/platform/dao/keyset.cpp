#include "keyset.h"

#include <algorithm>
#include <unordered_set>

namespace dao {

void Keyset::assign(std::vector<std::int64_t> keys)
{
    keys_ = std::move(keys);
    keys_.shrink_to_fit();
    deleted_.assign(keys_.size(), false);
    deletedCount_ = 0;
    ascending_ = std::is_sorted(keys_.begin(), keys_.end());
}

void Keyset::append(std::int64_t key)
{
    if (!keys_.empty() && key < keys_.back())
        ascending_ = false;
    keys_.push_back(key);
    deleted_.push_back(false);
}

void Keyset::markDeleted(int position)
{
    if (!deleted_[static_cast<std::size_t>(position)]) {
        deleted_[static_cast<std::size_t>(position)] = true;
        ++deletedCount_;
    }
}

int Keyset::positionOf(std::int64_t key) const
{
    if (ascending_) {
        const auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
        return it != keys_.end() && *it == key ? static_cast<int>(it - keys_.begin()) : -1;
    }
    const auto it = std::find(keys_.begin(), keys_.end(), key);
    return it == keys_.end() ? -1 : static_cast<int>(it - keys_.begin());
}

int Keyset::firstOf(std::vector<std::int64_t> candidates, int start) const
{
    if (candidates.empty() || start >= size())
        return -1;
    start = std::max(start, 0);
    // Few candidates in an ascending keyset: look each one up. Otherwise walk the keyset once.
    if (ascending_ && candidates.size() < 64) {
        int best = -1;
        for (std::int64_t k : candidates) {
            const int p = positionOf(k);
            if (p >= start && !isDeleted(p) && (best < 0 || p < best))
                best = p;
        }
        return best;
    }
    const std::unordered_set<std::int64_t> wanted(candidates.begin(), candidates.end());
    for (int p = start; p < size(); ++p)
        if (!isDeleted(p) && wanted.count(keys_[static_cast<std::size_t>(p)]))
            return p;
    return -1;
}

} // namespace dao
