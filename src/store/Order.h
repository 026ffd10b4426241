#pragma once

#include "SortKey.h"

#include <QString>

#include <vector>

namespace store {

// The rows of a whole table in the order of one index, with each row's sort key. Immutable once
// built: a change to the table makes a new one, and cursors move to it when they refresh.
struct Order {
    QString field; // empty: ordered by rowid
    bool caseInsensitive = false;
    bool descending = false;
    std::vector<qint64> rowids;
    std::vector<SortKey> keys;

    // Compares key and rowid of position i with a key and rowid; descending indexes run from
    // the highest key down, ties always by ascending rowid.
    int compare(size_t i, const SortKey &key, qint64 rowid) const;
    int compareKey(size_t i, const SortKey &key) const;
    // The position where a row with this key and rowid stands, or would stand.
    size_t lowerBound(const SortKey &key, qint64 rowid) const;
};

} // namespace store
