#pragma once

#include "store/Table.h"

#include <QObject>
#include <QPointer>

namespace widgets {

// What data-aware controls bind to: a cursor, and whether typing into a control starts editing the
// current record (auto-edit). Without auto-edit the controls show the record and refuse input.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(store::Table *table = nullptr, QObject *parent = nullptr);

    store::Table *table() const { return m_table; }
    void setTable(store::Table *table);
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool on);
    // Whether a control may change the record now: the record is being edited, or input may start it.
    bool canModify() const;

    QVariant value(const QString &field) const;
    // Starts editing when allowed and sets the field; false when input is not allowed now.
    bool write(const QString &field, const QVariant &value);

signals:
    void dataChanged(); // anything the controls show may have changed
    void editableChanged();

private:
    QPointer<store::Table> m_table;
    bool m_autoEdit = true;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace widgets
