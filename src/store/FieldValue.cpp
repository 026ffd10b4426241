#include "FieldValue.h"

#include "Error.h"

#include <QByteArray>

#include <cmath>
#include <limits>

namespace store {

QVariant normalised(const FieldDef &f, const QVariant &value, const QString &table)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    auto notA = [&](const QString &what) {
        return Error(QStringLiteral("\"%1\" no es %2 (campo %3 de %4)").arg(value.toString(), what, f.name, table));
    };
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        QString s = value.toString();
        if (s.isEmpty())
            return QVariant();
        if (f.type == FieldType::Text && f.width > 0 && s.size() > f.width)
            s.truncate(f.width);
        return s;
    }
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt: {
        if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return QVariant();
        const qlonglong lo = f.type == FieldType::SmallInt ? -32768 : std::numeric_limits<int>::min();
        const qlonglong hi = f.type == FieldType::SmallInt ? 32767 : std::numeric_limits<int>::max();
        bool ok = false;
        const qlonglong n = value.typeId() == QMetaType::Bool ? qlonglong(value.toBool()) : value.toLongLong(&ok);
        if (value.typeId() != QMetaType::Bool && !ok) {
            // "12.0" or "1e3" is a whole number written another way; the range is checked on the
            // double, since converting one past the range of int is undefined.
            const double d = value.toDouble(&ok);
            if (!ok || d != std::trunc(d))
                throw notA(QStringLiteral("un número entero"));
            if (d < double(lo) || d > double(hi))
                throw notA(QStringLiteral("un número dentro del rango"));
            return QVariant(int(d));
        }
        if (n < lo || n > hi)
            throw notA(QStringLiteral("un número dentro del rango"));
        return QVariant(int(n));
    }
    case FieldType::Boolean: {
        if (value.typeId() == QMetaType::QString) {
            const QString s = value.toString().trimmed().toLower();
            if (s == QLatin1String("true") || s == QLatin1String("1"))
                return QVariant(true);
            if (s == QLatin1String("false") || s == QLatin1String("0"))
                return QVariant(false);
            if (s.isEmpty())
                return QVariant();
            throw notA(QStringLiteral("True ni False"));
        }
        return QVariant(value.toBool());
    }
    case FieldType::Float: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            throw notA(QStringLiteral("un número"));
        return QVariant(d);
    }
    case FieldType::Picture: {
        const QByteArray bytes = value.toByteArray();
        return bytes.isEmpty() ? QVariant() : QVariant(bytes);
    }
    }
    return value;
}

QVariant readValue(const FieldDef &f, const QVariant &raw)
{
    if (raw.isNull())
        return QVariant();
    switch (f.type) {
    case FieldType::Boolean:
        return QVariant(raw.toLongLong() != 0);
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt:
        return QVariant(raw.toInt());
    case FieldType::Float:
        return QVariant(raw.toDouble());
    case FieldType::Text:
    case FieldType::Memo: {
        const QString s = raw.toString();
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::Picture:
        return raw.toByteArray().isEmpty() ? QVariant() : QVariant(raw.toByteArray());
    }
    return raw;
}

} // namespace store
