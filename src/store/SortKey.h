#pragma once

#include <QString>
#include <QVariant>

namespace store {

// The value a row is ordered by in an index. Nulls come first, then numbers, then texts.
// Texts of a case-insensitive index are kept in their collation form (see collationText), so a
// comparison is a plain string comparison.
struct SortKey {
    enum Kind : unsigned char { Null, Number, Text };
    Kind kind = Null;
    double number = 0;
    QString text;

    static SortKey fromValue(const QVariant &value, bool caseInsensitive);
};

int compareKeys(const SortKey &a, const SortKey &b);

// The form in which a case-insensitive index compares texts: upper case, accents dropped, and
// Ñ placed after every other N so that "ÑAME" follows "NUEZ" and comes before "OLIVO".
QString collationText(const QString &text);

} // namespace store
