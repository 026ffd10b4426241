#pragma once

#include "Database.h"

#include <QVariant>

namespace store {

// A filter of Field=Value terms joined with " and ". Field names are checked against the table and
// values are converted to the field's type; the SQL it yields carries only placeholders.
class FilterExpression {
public:
    struct Term {
        QString field;
        QVariant value; // null: the field is null
    };

    FilterExpression() = default;
    // Throws Error naming what is wrong with the text.
    static FilterExpression parse(const QString &text, const TableInfo &table);

    bool isEmpty() const { return m_terms.isEmpty(); }
    const QList<Term> &terms() const { return m_terms; }
    QString sqlCondition() const; // "1" when empty
    void bindTo(Statement &statement, int firstIndex) const;

private:
    QList<Term> m_terms;
};

} // namespace store
