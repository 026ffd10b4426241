#pragma once

#include <QString>

namespace store {

// An identifier (table, field, index) as SQL text: always quoted, inner quotes doubled.
inline QString quoted(const QString &identifier)
{
    QString s = identifier;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

} // namespace store
