#include "FilterExpression.h"

#include "Error.h"
#include "Sql.h"

namespace store {

namespace {

QVariant convert(const QString &raw, bool wasQuoted, const FieldDef &field, const QString &text)
{
    auto bad = [&](const QString &why) {
        return Error(QStringLiteral("Filtro no válido \"%1\": %2").arg(text, why));
    };
    if (raw.isEmpty() && !wasQuoted)
        return QVariant();
    switch (field.type) {
    case FieldType::Boolean: {
        const QString v = raw.trimmed().toLower();
        if (v == QLatin1String("true") || v == QLatin1String("1"))
            return QVariant(true);
        if (v == QLatin1String("false") || v == QLatin1String("0"))
            return QVariant(false);
        throw bad(QStringLiteral("%1 espera True o False").arg(field.name));
    }
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt: {
        bool ok = false;
        const qlonglong v = raw.trimmed().toLongLong(&ok);
        if (!ok)
            throw bad(QStringLiteral("%1 espera un número entero").arg(field.name));
        return QVariant(v);
    }
    case FieldType::Float: {
        bool ok = false;
        const double v = raw.trimmed().toDouble(&ok);
        if (!ok)
            throw bad(QStringLiteral("%1 espera un número").arg(field.name));
        return QVariant(v);
    }
    case FieldType::Text:
    case FieldType::Memo:
        return raw.isEmpty() ? QVariant() : QVariant(raw);
    case FieldType::Picture:
        break;
    }
    throw bad(QStringLiteral("no se puede filtrar por %1").arg(field.name));
}

} // namespace

FilterExpression FilterExpression::parse(const QString &text, const TableInfo &table)
{
    FilterExpression result;
    const QString s = text;
    auto bad = [&](const QString &why) {
        return Error(QStringLiteral("Filtro no válido \"%1\": %2").arg(text, why));
    };
    int i = 0;
    const int n = int(s.size());
    auto skipBlanks = [&] {
        while (i < n && s[i].isSpace())
            ++i;
    };
    skipBlanks();
    if (i == n)
        return result;
    for (;;) {
        skipBlanks();
        const int eq = int(s.indexOf(QLatin1Char('='), i));
        if (eq < 0)
            throw bad(QStringLiteral("falta \"=\""));
        const QString name = s.mid(i, eq - i).trimmed();
        if (name.isEmpty())
            throw bad(QStringLiteral("falta el nombre del campo"));
        const int fi = table.fieldIndex(name);
        if (fi < 0)
            throw bad(QStringLiteral("la tabla %1 no tiene el campo %2").arg(table.name, name));
        i = eq + 1;
        skipBlanks();
        QString raw;
        bool quotedValue = false;
        if (i < n && (s[i] == QLatin1Char('\'') || s[i] == QLatin1Char('"'))) {
            const QChar quote = s[i++];
            quotedValue = true;
            bool closed = false;
            while (i < n) {
                if (s[i] == quote) {
                    if (i + 1 < n && s[i + 1] == quote) {
                        raw += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                raw += s[i++];
            }
            if (!closed)
                throw bad(QStringLiteral("falta la comilla de cierre"));
            skipBlanks();
            if (i < n && s.mid(i, 4).compare(QLatin1String("and "), Qt::CaseInsensitive) != 0)
                throw bad(QStringLiteral("se esperaba \" and \" tras el valor"));
        } else {
            int end = int(s.indexOf(QLatin1String(" and "), i, Qt::CaseInsensitive));
            if (end < 0)
                end = n;
            raw = s.mid(i, end - i).trimmed();
            i = end;
            skipBlanks();
        }
        if (raw.contains(QLatin1Char('=')) && !quotedValue)
            throw bad(QStringLiteral("falta \" and \" entre dos términos"));
        result.m_terms << Term{table.fields[fi].name, convert(raw, quotedValue, table.fields[fi], text)};
        if (i >= n)
            break;
        // Here s[i..] starts with "and ".
        i += 3;
        skipBlanks();
        if (i >= n)
            throw bad(QStringLiteral("falta un término tras \"and\""));
    }
    return result;
}

QString FilterExpression::sqlCondition() const
{
    if (m_terms.isEmpty())
        return QStringLiteral("1");
    QStringList parts;
    for (const Term &t : m_terms)
        parts << quoted(t.field) + (t.value.isNull() ? QStringLiteral(" IS NULL") : QStringLiteral("=?"));
    return parts.join(QLatin1String(" AND "));
}

void FilterExpression::bindTo(Statement &statement, int firstIndex) const
{
    for (const Term &t : m_terms)
        if (!t.value.isNull())
            statement.bind(firstIndex++, t.value);
}

} // namespace store
