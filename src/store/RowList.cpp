#include "RowList.h"

#include <algorithm>
#include <unordered_set>

namespace store {

RowList::RowList(std::shared_ptr<const Order> order) : m_order(std::move(order))
{
    m_sel.resize(m_order->rowids.size());
    for (size_t p = 0; p < m_sel.size(); ++p)
        m_sel[p] = int(p);
}

RowList RowList::range(const QString &field, const QVariant &value, std::vector<qint64> rowids)
{
    auto order = std::make_shared<Order>();
    order->field = field;
    const SortKey key = SortKey::fromValue(value, false);
    order->keys.assign(rowids.size(), key);
    order->rowids = std::move(rowids);
    RowList list(std::move(order));
    list.m_isRange = true;
    list.m_rangeValue = value;
    list.m_rangeKey = key;
    return list;
}

void RowList::keepRowIds(const std::vector<qint64> &passing)
{
    qint64 highest = 0;
    for (qint64 id : passing)
        highest = std::max(highest, id);
    const auto &rowids = m_order->rowids;
    size_t out = 0;
    if (highest < (qint64(1) << 24)) {
        // Row ids are dense: one bit per row id beats hashing.
        std::vector<bool> pass(size_t(highest) + 1, false);
        for (qint64 id : passing)
            if (id >= 0)
                pass[size_t(id)] = true;
        for (int p : m_sel) {
            const qint64 id = rowids[size_t(p)];
            if (id >= 0 && id <= highest && pass[size_t(id)])
                m_sel[out++] = p;
        }
    } else {
        const std::unordered_set<qint64> pass(passing.begin(), passing.end());
        for (int p : m_sel)
            if (pass.count(rowids[size_t(p)]))
                m_sel[out++] = p;
    }
    m_sel.resize(out);
}

qint64 RowList::rowAt(int position) const
{
    if (position < 0 || position >= count())
        return -1;
    if (m_newAt >= 0) {
        if (position == m_newAt)
            return -1;
        if (position > m_newAt)
            --position;
    }
    return m_order->rowids[size_t(m_sel[size_t(position)])];
}

int RowList::positionOf(qint64 rowid, const SortKey &key) const
{
    if (rowid < 0 || m_sel.empty())
        return -1;
    // Place the row by its key in the order, then find that place among the rows that pass.
    const size_t lo = m_order->lowerBound(key, rowid);
    if (lo < m_order->rowids.size() && m_order->rowids[lo] == rowid) {
        const auto it = std::lower_bound(m_sel.begin(), m_sel.end(), int(lo));
        if (it != m_sel.end() && *it == int(lo))
            return listPosition(int(it - m_sel.begin()));
        return -1;
    }
    // The stored key moved since the order was read: look the row up the slow way.
    for (size_t i = 0; i < m_sel.size(); ++i)
        if (m_order->rowids[size_t(m_sel[i])] == rowid)
            return listPosition(int(i));
    return -1;
}

int RowList::nearest(const SortKey &key) const
{
    if (m_sel.empty())
        return -1;
    const auto it = std::lower_bound(m_sel.begin(), m_sel.end(), 0,
                                     [&](int p, int) { return m_order->compareKey(size_t(p), key) < 0; });
    const int selected = std::min(int(it - m_sel.begin()), int(m_sel.size()) - 1);
    return listPosition(selected);
}

int RowList::show(qint64 rowid, const SortKey &key)
{
    if (!m_order)
        return -1;
    const size_t lo = m_order->lowerBound(key, rowid);
    if (lo >= m_order->rowids.size() || m_order->rowids[lo] != rowid)
        return -1;
    const auto it = std::lower_bound(m_sel.begin(), m_sel.end(), int(lo));
    if (it != m_sel.end() && *it == int(lo))
        return listPosition(int(it - m_sel.begin())); // shown already
    const int selected = int(it - m_sel.begin());
    m_sel.insert(it, int(lo));
    return listPosition(selected);
}

} // namespace store
