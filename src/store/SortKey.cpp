#include "SortKey.h"

#include <array>

namespace store {

namespace {

// Latin-1 letters with their base letter; zero where the character is kept as it is.
std::array<char16_t, 256> makeLatin1Table()
{
    std::array<char16_t, 256> t{};
    auto set = [&t](const char16_t *chars, char16_t base) {
        for (const char16_t *c = chars; *c; ++c)
            t[*c] = base;
    };
    set(u"ÀÁÂÃÄÅàáâãäåª", u'A');
    set(u"Çç", u'C');
    set(u"ÈÉÊËèéêë", u'E');
    set(u"ÌÍÎÏìíîï", u'I');
    set(u"ÒÓÔÕÖØòóôõöøº", u'O');
    set(u"ÙÚÛÜùúûü", u'U');
    set(u"Ýýÿ", u'Y');
    return t;
}

const std::array<char16_t, 256> &latin1Table()
{
    static const std::array<char16_t, 256> table = makeLatin1Table();
    return table;
}

} // namespace

QString collationText(const QString &text)
{
    constexpr char16_t afterN = 0x7F; // sorts after 'Z' and before any accented letter
    QString out;
    out.reserve(text.size() + 2);
    const auto &table = latin1Table();
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x80) {
            out.append(QChar(c >= u'a' && c <= u'z' ? char16_t(c - 32) : c));
        } else if (c == u'ñ' || c == u'Ñ') {
            out.append(QChar(u'N'));
            out.append(QChar(afterN));
        } else if (c < 0x100 && table[c]) {
            out.append(QChar(table[c]));
        } else if (c < 0x100) {
            out.append(qc.toUpper());
        } else {
            // Outside Latin-1: decompose and keep the base letters.
            const QString decomposed = QString(qc).normalized(QString::NormalizationForm_D);
            for (QChar d : decomposed)
                if (d.category() != QChar::Mark_NonSpacing)
                    out.append(d.toUpper());
        }
    }
    return out;
}

SortKey SortKey::fromValue(const QVariant &value, bool caseInsensitive)
{
    SortKey key;
    if (value.isNull())
        return key;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
        key.kind = Number;
        key.number = value.toDouble();
        return key;
    default:
        break;
    }
    const QString s = value.toString();
    if (s.isEmpty())
        return key;
    key.kind = Text;
    key.text = caseInsensitive ? collationText(s) : s;
    return key;
}

int compareKeys(const SortKey &a, const SortKey &b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    switch (a.kind) {
    case SortKey::Null:
        return 0;
    case SortKey::Number:
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    case SortKey::Text:
        return a.text.compare(b.text);
    }
    return 0;
}

} // namespace store
