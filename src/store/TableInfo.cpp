#include "TableInfo.h"

namespace store {

int TableInfo::fieldIndex(const QString &fieldName) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const IndexDef *TableInfo::index(const QString &indexName) const
{
    for (const IndexDef &ix : indexes)
        if (ix.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return &ix;
    return nullptr;
}

} // namespace store
