#pragma once

#include "Order.h"

#include <QVariant>

#include <memory>
#include <utility>
#include <vector>

namespace store {

// The rows a cursor shows, in its order: positions into one Order (a whole table's, or the rows
// of one master value), narrowed by the filter expression and the filter callback, with the place
// of a new row that is not posted yet. A plain value that reads nothing from the database, so
// that moving, counting and find-nearest are arithmetic on two vectors.
//
// Positions count the new row. With stored rows A B C and the new row placed at 1, position 0 is
// A, 1 the new row (row id -1), 2 is B and 3 is C; count() is 4.
class RowList {
public:
    RowList() = default;
    // Every row of a whole-table order.
    explicit RowList(std::shared_ptr<const Order> order);
    // The rows whose leading index field holds `value`: they share the key, so they stand in
    // row-id order. `rowids` ascending.
    static RowList range(const QString &field, const QVariant &value, std::vector<qint64> rowids);

    // Keeps the rows whose row id is among `passing` (in any order), as the filter expression
    // found them.
    void keepRowIds(const std::vector<qint64> &passing);
    // Keeps the rows for which accept(rowid) is true, asked in list order. When accept throws the
    // list is left as it was.
    template <class Accept>
    void keepIf(Accept &&accept);

    int count() const { return int(m_sel.size()) + (m_newAt >= 0 ? 1 : 0); }
    int storedCount() const { return int(m_sel.size()); } // the new row aside
    // The row id at a position; -1 for the new row and outside the list.
    qint64 rowAt(int position) const;
    // The position of a row whose key in the order is `key`; -1 when the list does not show it.
    int positionOf(qint64 rowid, const SortKey &key) const;
    // The first row whose key is at or after `key`; past the last row, the last row; -1 when
    // there are no stored rows.
    int nearest(const SortKey &key) const;
    // Shows a row of the order that the filters hide (a row just posted that no longer passes)
    // and answers its position; -1 when the order does not hold it.
    int show(qint64 rowid, const SortKey &key);

    // The unposted new row: at `position` (0 to storedCount()), or nowhere.
    int newRowAt() const { return m_newAt; }
    void placeNewRow(int position) { m_newAt = position; }
    void dropNewRow() { m_newAt = -1; }

    // A list built by range() remembers its value; the key every one of its rows has.
    bool isRange() const { return m_isRange; }
    const QVariant &rangeValue() const { return m_rangeValue; }
    const SortKey &rangeKey() const { return m_rangeKey; }
    // From now on the list is treated as a whole-table one (a detail detached from its master).
    void forgetRange() { m_isRange = false; }

    const Order *order() const { return m_order.get(); }

private:
    // A list position for an index into m_sel, stepping over the new row.
    int listPosition(int selected) const { return m_newAt >= 0 && selected >= m_newAt ? selected + 1 : selected; }

    std::shared_ptr<const Order> m_order;
    std::vector<int> m_sel; // positions in m_order that pass, ascending
    int m_newAt = -1;       // where the new row stands among the list's positions; -1 when none
    bool m_isRange = false;
    QVariant m_rangeValue;
    SortKey m_rangeKey;
};

template <class Accept>
void RowList::keepIf(Accept &&accept)
{
    std::vector<int> kept;
    kept.reserve(m_sel.size());
    for (int p : m_sel)
        if (accept(m_order->rowids[size_t(p)]))
            kept.push_back(p);
    m_sel = std::move(kept);
}

} // namespace store
