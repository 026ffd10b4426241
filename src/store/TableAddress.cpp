#include "TableAddress.h"

namespace store {

TableAddress TableAddress::parse(const QString &name)
{
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    TableAddress a;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) {
        a.subfolder = path.left(slash);
        path = path.mid(slash + 1);
    }
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    a.table = dot > 0 ? path.left(dot) : path;
    return a;
}

} // namespace store
