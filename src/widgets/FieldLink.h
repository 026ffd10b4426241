#pragma once

#include "DataSource.h"

#include <QObject>
#include <QPointer>
#include <QString>

namespace widgets {

// The binding every data-aware control owns: one field of a data source. It tells the control when
// what it shows may have changed (`changed`) and when input may have become allowed or refused
// (`editableChanged`), and hands the control's input to the record.
class FieldLink : public QObject {
    Q_OBJECT
public:
    explicit FieldLink(QObject *owner);

    void bind(DataSource *source, const QString &field);
    DataSource *source() const { return m_source; }
    QString field() const { return m_field; }
    // The cursor behind the source, or null.
    store::Table *table() const;

    QVariant value() const;
    // Whether the control may take input now: the source allows it and the field is stored (not a
    // lookup or calculated field).
    bool canModify() const;
    // Starts editing when allowed and sets the field; false when input is not allowed now.
    bool write(const QVariant &value);
    // The declared width of the field in characters; 0 when it has none.
    int width() const;

signals:
    void changed();
    void editableChanged();

private:
    QPointer<DataSource> m_source;
    QString m_field;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace widgets
