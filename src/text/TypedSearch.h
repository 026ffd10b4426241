#pragma once

#include <QString>

namespace text {

// What a key does to the text of an incremental search strip (the plant list's, the class
// picker's): Backspace erases the last character, the modifier and lock keys change nothing, the
// blank and the letters A-Z (and the digits, where the strip takes them) are appended as they
// stand, and any other key ends the search.
enum class TypedKey { Erase, Ignore, Append, Other };

TypedKey classifyTypedKey(int key, bool digits);

// The search text after `key`: one character shorter for Erase, the key's character added for
// Append, unchanged otherwise.
QString typedText(const QString &text, TypedKey kind, int key);

} // namespace text
