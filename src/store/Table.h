#pragma once

#include "Database.h"
#include "Error.h"
#include "FilterExpression.h"
#include "RecordCache.h"
#include "RowList.h"
#include "Session.h"

#include <QObject>
#include <QPointer>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace store {

// A cursor on one stored table: the ordered list of the rows that pass its range, filter expression
// and filter callback (a RowList), a current row, and a record buffer for editing. Moving,
// counting and find-nearest work on the in-memory list; records are read by row id through a
// RecordCache, memos and pictures only when asked for.
//
// Where the cursor stands. recNo() is the current row's position in the list (0-based, the
// unposted new row counted); bof() and eof() say that a move ran into the start or the end.
// Two rules hold after every operation:
//   - an empty list has no current row: recNo() is -1 and bof() and eof() are both true;
//   - a list with rows always has a current row: 0 <= recNo() < recordCount().
// Operation by operation:
//   open, first, setMaster, and a master's move (a detail follows it): the first row; bof; eof
//     only when empty.
//   last: the last row; eof; bof only when empty.
//   next: nothing at eof. Otherwise clears bof and moves one row on; on the last row it stays
//     there and sets eof. prior is its mirror image.
//   moveTo(n): n cut to the list; clears bof and eof. Nothing when the list is empty or n is
//     the current row.
//   findNearest, findKey, locate, gotoBookmark: on the row found, bof and eof cleared; when
//     nothing is found nothing changes.
//   append: the new row at the end of the list; bof and eof cleared. insert: the new row at the
//     current position, pushing the current row one down.
//   post: on the posted row; a row that the filters now hide stays in view until the next
//     refresh (not in a detail, whose rows are only its master's). bof and eof as they were.
//   cancel: of an insert, the position where the new row stood, cut to the list; of an edit, no
//     move. bof and eof as they were.
//   remove: the position where the removed row stood, cut to the list (the next row, or the new
//     last one); bof and eof cleared.
//   refresh, setFilter, setFiltered: on the current row when it still shows, otherwise the same
//     position cut to the list; bof and eof cleared.
//   setIndexName: on the current row in the new order (the first row when it is gone); bof and
//     eof as they were.
//   close, emptyTable: no row; bof and eof.
// A worked example, rows A B C in the current order:
//   open()    A  recNo 0  bof
//   next()    B  recNo 1
//   next()    C  recNo 2       on the last row, not yet past it
//   next()    C  recNo 2  eof  the move past the end stays on the last row
//   next()    C  recNo 2  eof  nothing happens, not even afterScroll
//   prior()   B  recNo 1
//   prior()   A  recNo 0
//   prior()   A  recNo 0  bof
//   last()    C  recNo 2  eof
//   append()  the new row, recNo 3 of 4
//   cancel()  C  recNo 2
// so "first(); while (!eof()) { ...; next(); }" visits each row once.
class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class PostAction { Fail, Abort };
    using Bookmark = qint64;

    Table(Session &session, const QString &tableName, QObject *parent = nullptr);
    ~Table() override;

    QString tableName() const { return m_tableName; }
    Database &database() const { return *m_db; }
    const TableInfo &info() const;

    // --- set-up (allowed while closed or open) ---
    void setIndexName(const QString &indexName);
    QString indexName() const { return m_indexName; }
    // Chooses the named index whose field is `field`, or the primary index when it orders by it.
    void setIndexFieldName(const QString &field);
    void addIndex(const QString &name, const QString &field, bool caseInsensitive);
    QStringList indexNames() const;

    void setFilter(const QString &expression); // Field=Value terms joined with " and "
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    // Decides for each row whether it shows; reads the row under test through value()/rowId().
    std::function<bool(const Table &)> filterRecord;

    // Shows only the rows whose leading field of the current index equals `masterField` of the
    // master's current record, and follows the master when it moves. nullptr detaches.
    void setMaster(Table *master, const QString &masterField);
    Table *master() const { return m_master; }

    // A column taken from the row of `through` whose `keyField` equals this row's `sourceField`;
    // null when `through` does not show such a row (its filter hides it, or there is none).
    void addLookupField(const QString &name, const QString &sourceField, Table *through, const QString &keyField,
                        const QString &resultField, int width = 0);
    void setLookupResultField(const QString &name, const QString &resultField);
    // A column computed by onCalcFields through setCalcValue.
    void addCalcField(const QString &name, int width = 0);

    // --- events ---
    std::function<void(Table &)> afterScroll;
    std::function<void(Table &)> afterInsert;
    std::function<void(Table &)> afterPost;
    std::function<void(Table &)> onCalcFields;
    std::function<void(Table &, const Error &, PostAction &)> onPostError;

    // --- open / close ---
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    // Re-reads the rows (seeing what other cursors posted) and stays on the current row when it
    // still shows.
    void refresh();

    // --- moving ---
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recordCount() const; // rows that pass, the unposted new row included
    int recNo() const { return m_pos; } // 0-based; -1 when empty
    void moveTo(int position);
    bool isEmpty() const { return recordCount() == 0; }

    // Nearest row at or after `text` in the current index; past the last row, the last row.
    // False only when there are no rows.
    bool findNearest(const QVariant &value);
    // The row whose primary index value is `key`, among the rows that pass.
    bool findKey(const QVariant &key);
    // The first row (in the current order) whose fields equal the values.
    bool locate(const QStringList &fields, const QVariantList &values, bool caseInsensitive = false);
    bool locate(const QString &field, const QVariant &value, bool caseInsensitive = false)
    {
        return locate(QStringList{field}, QVariantList{value}, caseInsensitive);
    }

    Bookmark bookmark() const { return rowId(); }
    bool gotoBookmark(Bookmark bookmark);

    // --- fields of the current record (or of the row under test in a callback) ---
    qint64 rowId() const;
    bool hasField(const QString &name) const;
    QVariant value(const QString &name) const;
    QString text(const QString &name) const { return value(name).toString(); }
    int asInt(const QString &name) const { return value(name).toInt(); }
    bool asBool(const QString &name) const { return value(name).toBool(); }
    bool isNull(const QString &name) const { return value(name).isNull(); }
    void setValue(const QString &name, const QVariant &value);
    void setCalcValue(const QString &name, const QVariant &value);
    int fieldWidth(const QString &name) const;
    bool isLookupOrCalc(const QString &name) const;

    // Value of a row of the list without moving to it (for grids).
    QVariant valueAt(int position, const QString &name) const;

    // --- editing ---
    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void remove();
    void emptyTable();

    // --- data-aware controls ---
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

signals:
    void dataSetChanged(); // the rows changed: re-read everything
    void recordChanged();  // the current row moved or its values changed
    void stateChanged();

private:
    struct LookupDef {
        QString name;
        QString sourceField;
        QPointer<Table> through;
        QString keyField;
        QString resultField;
        int width = 0;
    };
    class TestingRow;

    void requireOpen() const;
    void requireBrowse();
    void rebuild();
    QVariant masterValue() const;
    void followMaster();
    SortKey keyOf(qint64 rowid) const;
    int positionOfRow(qint64 rowid) const;
    qint64 rowAt(int position) const;
    // Where every change of the position, bof and eof goes through; keeps the two rules above.
    void place(int position, bool bof, bool eof);
    void placeOnFirst();
    void scrolled(); // after a move: notify details and controls, then afterScroll
    void notifyDataSet();
    // The record of a row: whole (the current record, whose fields are all shown) or field by
    // field as they are asked for (a row a grid paints).
    Record *recordFor(qint64 rowid, bool whole = true) const;
    QVariant fieldValue(const Record &record, int field) const;
    QVariant lookupValue(const LookupDef &lookup, const Record &record) const;
    void computeCalc(Record &record) const;
    void writeRecord();
    bool handlePostError(const Error &error);
    bool showsRow(qint64 rowid) const;
    const LookupDef *lookup(const QString &name) const;

    Session &m_session;
    Database *m_db;
    QString m_tableName; // as stored
    QString m_indexName;
    QString m_filterText;
    FilterExpression m_filter;
    bool m_filtered = false;

    QPointer<Table> m_master;
    QString m_masterField;
    QList<QPointer<Table>> m_details;

    QList<LookupDef> m_lookups;
    QStringList m_calcFields;
    QHash<QString, int> m_calcWidths;

    State m_state = State::Inactive;
    RowList m_rows;
    int m_pos = -1; // current position in m_rows
    bool m_eof = true;
    bool m_bof = true;
    quint64 m_generation = 0;

    std::unique_ptr<Record> m_buffer; // the record being edited or inserted
    mutable RecordCache m_records;
    mutable const Record *m_testing = nullptr; // row under test in a callback
    int m_disableCount = 0;
    bool m_pendingDataSet = false;
};

} // namespace store
