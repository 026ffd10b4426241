// The cursor's row list on its own: positions over filtered lists, the unposted new row,
// find-nearest and ranges, on orders made by hand (no database).
#include "store/RowList.h"

#include <QtTest>

#include <stdexcept>

using store::Order;
using store::RowList;
using store::SortKey;

namespace {

using RowIds = QList<qint64>;

// An order by a numeric key: row ids with their keys, already in key order.
std::shared_ptr<const Order> numericOrder(const RowIds &rowids, const QList<double> &keys, bool descending = false)
{
    auto order = std::make_shared<Order>();
    order->field = QStringLiteral("N");
    order->descending = descending;
    for (int i = 0; i < rowids.size(); ++i) {
        order->rowids.push_back(rowids[i]);
        order->keys.push_back(SortKey::fromValue(keys[i], false));
    }
    return order;
}

SortKey key(double n)
{
    return SortKey::fromValue(n, false);
}

// The row ids at every position, the new row as -1.
RowIds rowsOf(const RowList &list)
{
    RowIds out;
    for (int i = 0; i < list.count(); ++i)
        out << list.rowAt(i);
    return out;
}

// Rows 10..50 with keys 1..5; keys run as the row ids do.
const RowIds FiveRows{10, 20, 30, 40, 50};
const QList<double> FiveKeys{1, 2, 3, 4, 5};

// The five rows narrowed to `passing` (empty: no filter), with the new row at newAt (-1: none).
RowList fiveRows(const RowIds &passing, int newAt)
{
    RowList list(numericOrder(FiveRows, FiveKeys));
    if (!passing.isEmpty())
        list.keepRowIds(std::vector<qint64>(passing.begin(), passing.end()));
    if (newAt >= 0)
        list.placeNewRow(newAt);
    return list;
}

} // namespace

class TestRowList : public QObject {
    Q_OBJECT

private slots:
    void positions_data();
    void positions();
    void nearest_data();
    void nearest();
    void nearestInDescendingOrder();
    void rowWhoseKeyMovedIsStillFound();
    void rangeWithFilter();
    void hiddenRowCanBeShown();
    void filterThatThrowsLeavesTheListAsItWas();
    void sparseRowIdsFilterLikeDenseOnes();
};

void TestRowList::positions_data()
{
    QTest::addColumn<RowIds>("passing"); // the filter expression's rows; empty: no filter
    QTest::addColumn<int>("newAt");      // -1: no new row
    QTest::addColumn<RowIds>("expected");
    QTest::newRow("whole order") << RowIds{} << -1 << RowIds{10, 20, 30, 40, 50};
    QTest::newRow("filtered") << RowIds{40, 20, 99} << -1 << RowIds{20, 40};
    QTest::newRow("filter passes nothing") << RowIds{99} << -1 << RowIds{};
    QTest::newRow("new row at the end") << RowIds{} << 5 << RowIds{10, 20, 30, 40, 50, -1};
    QTest::newRow("new row at the start") << RowIds{} << 0 << RowIds{-1, 10, 20, 30, 40, 50};
    QTest::newRow("new row inside a filtered list") << RowIds{20, 40, 50} << 1 << RowIds{20, -1, 40, 50};
    QTest::newRow("new row in an empty list") << RowIds{99} << 0 << RowIds{-1};
}

// count, rowAt and positionOf agree, the new row and hidden rows included.
void TestRowList::positions()
{
    QFETCH(RowIds, passing);
    QFETCH(int, newAt);
    QFETCH(RowIds, expected);
    const RowList list = fiveRows(passing, newAt);
    QCOMPARE(list.count(), int(expected.size()));
    QCOMPARE(rowsOf(list), expected);
    QCOMPARE(list.rowAt(-1), qint64(-1));
    QCOMPARE(list.rowAt(list.count()), qint64(-1));
    for (int i = 0; i < FiveRows.size(); ++i)
        QCOMPARE(list.positionOf(FiveRows[i], key(FiveKeys[i])), int(expected.indexOf(FiveRows[i])));
    QCOMPARE(list.positionOf(-1, key(0)), -1); // the new row is not found by row id
    QCOMPARE(list.positionOf(77, key(3)), -1); // nor is a row the order does not hold
}

void TestRowList::nearest_data()
{
    QTest::addColumn<RowIds>("passing");
    QTest::addColumn<int>("newAt");
    QTest::addColumn<double>("sought");
    QTest::addColumn<int>("expected");
    QTest::newRow("before the first") << RowIds{} << -1 << 0.0 << 0;
    QTest::newRow("equal") << RowIds{} << -1 << 3.0 << 2;
    QTest::newRow("between two") << RowIds{} << -1 << 3.5 << 3;
    QTest::newRow("past the last: the last") << RowIds{} << -1 << 9.0 << 4;
    QTest::newRow("equal to a hidden row: the next shown") << RowIds{10, 50} << -1 << 3.0 << 1;
    QTest::newRow("past the last shown: the last shown") << RowIds{10, 20} << -1 << 4.0 << 1;
    QTest::newRow("steps over the new row before it") << RowIds{} << 1 << 3.0 << 3;
    QTest::newRow("empty list") << RowIds{99} << -1 << 3.0 << -1;
}

void TestRowList::nearest()
{
    QFETCH(RowIds, passing);
    QFETCH(int, newAt);
    QFETCH(double, sought);
    QFETCH(int, expected);
    const RowList list = fiveRows(passing, newAt);
    QCOMPARE(list.nearest(key(sought)), expected);
}

void TestRowList::nearestInDescendingOrder()
{
    // A ranking: the highest count first, ties by row id.
    RowList list(numericOrder({3, 1, 2, 4}, {9, 5, 5, 1}, true));
    QCOMPARE(list.nearest(key(7)), 1); // the first at or below 7
    QCOMPARE(list.nearest(key(5)), 1);
    QCOMPARE(list.nearest(key(0)), 3);
    QCOMPARE(list.positionOf(2, key(5)), 2);
}

void TestRowList::rowWhoseKeyMovedIsStillFound()
{
    // Another cursor changed row 20's key since the order was read: placing it by its new key
    // misses, and the list looks it up one row at a time.
    RowList list(numericOrder(FiveRows, FiveKeys));
    list.keepRowIds({20, 30, 40});
    QCOMPARE(list.positionOf(20, key(4.5)), 0);
    QCOMPARE(list.positionOf(10, key(4.5)), -1); // hidden, wherever its key is
}

void TestRowList::rangeWithFilter()
{
    RowList list = RowList::range(QStringLiteral("KPlanta"), 7, {3, 8, 12, 20});
    QVERIFY(list.isRange());
    QCOMPARE(list.rangeValue(), QVariant(7));
    list.keepIf([](qint64 rowid) { return rowid != 8; });
    QCOMPARE(rowsOf(list), (RowIds{3, 12, 20}));
    // Every row of a range has the range's key.
    QCOMPARE(store::compareKeys(list.rangeKey(), key(7)), 0);
    QCOMPARE(list.positionOf(12, list.rangeKey()), 1);
    QCOMPARE(list.positionOf(8, list.rangeKey()), -1);
    QCOMPARE(list.nearest(list.rangeKey()), 0);
    list.forgetRange();
    QVERIFY(!list.isRange());
    QCOMPARE(list.count(), 3); // the rows stay

    const RowList none = RowList::range(QStringLiteral("KPlanta"), QVariant(), {});
    QCOMPARE(none.count(), 0);
    QCOMPARE(none.nearest(key(1)), -1);
}

void TestRowList::hiddenRowCanBeShown()
{
    RowList list(numericOrder(FiveRows, FiveKeys));
    list.keepRowIds({10, 50});
    QCOMPARE(list.show(30, key(3)), 1);
    QCOMPARE(rowsOf(list), (RowIds{10, 30, 50}));
    QCOMPARE(list.show(30, key(3)), 1); // shown already: nothing changes
    QCOMPARE(list.show(77, key(3)), -1);
    QCOMPARE(list.count(), 3);
}

void TestRowList::filterThatThrowsLeavesTheListAsItWas()
{
    RowList list(numericOrder(FiveRows, FiveKeys));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, list.keepIf([](qint64 rowid) {
        if (rowid == 40)
            throw std::runtime_error("no");
        return rowid == 10;
    }));
    QCOMPARE(rowsOf(list), FiveRows);
}

void TestRowList::sparseRowIdsFilterLikeDenseOnes()
{
    // Row ids far apart are filtered through a hash rather than a bitmap; same answer.
    const qint64 far = qint64(1) << 40;
    RowList list(numericOrder({5, far, far + 1, 9}, {1, 2, 3, 4}));
    list.keepRowIds({9, far + 1, -3});
    QCOMPARE(rowsOf(list), (RowIds{far + 1, 9}));
}

QTEST_GUILESS_MAIN(TestRowList)
#include "tst_rowlist.moc"
