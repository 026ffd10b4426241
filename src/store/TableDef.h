#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace store {

enum class FieldType { AutoInc, Integer, SmallInt, Boolean, Float, Text, Memo, Picture };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Integer;
    int width = 0; // characters, for Text only

    bool isLarge() const { return type == FieldType::Memo || type == FieldType::Picture; }
};

// A named index: one field, optionally compared without regard to case and accents, optionally
// running from the highest value down.
struct IndexDef {
    QString name;
    QString field;
    bool caseInsensitive = false;
    bool descending = false;
};

// A table as the program declares it. `uniqueKey` lists the fields whose combined value may occur
// only once; `lookupFields` are fields (or comma-separated groups of fields) that get a plain SQL
// index so that equality filters and locates on them stay fast; `triggers` are extra SQL statements run once when the table is made.
struct TableDef {
    QString name;
    QList<FieldDef> fields;
    QList<IndexDef> indexes;
    QString primaryField; // the field the primary index orders by; empty: insertion order
    QStringList uniqueKey;
    QStringList lookupFields;
    QStringList triggers;

    const FieldDef *field(const QString &fieldName) const
    {
        for (const FieldDef &f : fields)
            if (f.name.compare(fieldName, Qt::CaseInsensitive) == 0)
                return &f;
        return nullptr;
    }
};

} // namespace store
