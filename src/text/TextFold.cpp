#include "TextFold.h"

namespace text {

QString FoldUpper(const QString &text)
{
    static const QString from = QStringLiteral("áéíóúñüÁÉÍÓÚ");
    static const QString to = QStringLiteral("AEIOUÑUAEIOU");
    QString out = text;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') {
            c = QChar(char16_t(u - 32));
        } else if (u >= 0xC1) {
            const qsizetype i = from.indexOf(c);
            if (i >= 0)
                c = to[i];
        }
    }
    return out;
}

} // namespace text
