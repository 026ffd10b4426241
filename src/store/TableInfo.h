#pragma once

#include "TableDef.h"

#include <QList>
#include <QString>

namespace store {

// What the store knows of a stored table, read back from the database itself.
struct TableInfo {
    QString name; // as stored
    QList<FieldDef> fields;
    QList<IndexDef> indexes;
    QString primaryField; // empty: the primary order is the insertion order
    QString rowidField;   // the auto-increment field, which is SQLite's rowid

    int fieldIndex(const QString &fieldName) const;
    const IndexDef *index(const QString &indexName) const;
};

} // namespace store
