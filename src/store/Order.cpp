#include "Order.h"

namespace store {

int Order::compareKey(size_t i, const SortKey &key) const
{
    const int c = compareKeys(keys[i], key);
    return descending ? -c : c;
}

int Order::compare(size_t i, const SortKey &key, qint64 rowid) const
{
    const int c = compareKey(i, key);
    if (c != 0)
        return c;
    return rowids[i] < rowid ? -1 : (rowids[i] > rowid ? 1 : 0);
}

size_t Order::lowerBound(const SortKey &key, qint64 rowid) const
{
    size_t lo = 0, hi = rowids.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (compare(mid, key, rowid) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace store
