#pragma once

#include "store/Table.h"

#include <QAbstractTableModel>
#include <QPointer>

namespace widgets {

// A grid's model over a cursor: one row per row of the cursor's list, one column per field. The
// cursor stays the owner of the current row: the view follows it and moves it.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
        int alignment = Qt::AlignLeft | Qt::AlignVCenter;
        QString format; // "0.0 %" for a percentage with one decimal; empty: as stored
    };

    explicit GridModel(store::Table *table, QObject *parent = nullptr);

    void setColumns(const QList<Column> &columns);
    const QList<Column> &columns() const { return m_columns; }
    store::Table *table() const { return m_table; }

    // Cells of real fields may be edited in place (lookups, calculated columns and keys never).
    void setEditable(bool on) { m_editable = on; }
    bool editable() const { return m_editable; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString formatValue(const QVariant &value, const QString &format);

signals:
    void currentRowChanged(int row);

private:
    void resetFromTable();
    void currentChanged();

    QPointer<store::Table> m_table;
    QList<Column> m_columns;
    int m_rows = 0;
    int m_indicated = -1; // the row the record indicator marks
    bool m_editable = false;
};

} // namespace widgets
