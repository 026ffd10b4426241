#include "TypedSearch.h"

#include <Qt>

#include <algorithm>

namespace text {

TypedKey classifyTypedKey(int key, bool digits)
{
    switch (key) {
    case Qt::Key_Backspace:
        return TypedKey::Erase;
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Pause:
    case Qt::Key_CapsLock:
        return TypedKey::Ignore;
    default:
        break;
    }
    // Key codes of the blank, the digits and the capital letters are those characters themselves.
    if (key == Qt::Key_Space || (key >= Qt::Key_A && key <= Qt::Key_Z) || (digits && key >= Qt::Key_0 && key <= Qt::Key_9))
        return TypedKey::Append;
    return TypedKey::Other;
}

QString typedText(const QString &text, TypedKey kind, int key)
{
    switch (kind) {
    case TypedKey::Erase:
        return text.chopped(std::min<qsizetype>(1, text.size()));
    case TypedKey::Append:
        return text + QChar(char16_t(key));
    case TypedKey::Ignore:
    case TypedKey::Other:
        break;
    }
    return text;
}

} // namespace text
