#pragma once

namespace common {

// What a key does to the text of an incremental search strip (the plant list's, the class
// picker's): Backspace erases the last character, the modifier and lock keys change nothing, the
// blank and the letters A-Z (and the digits, where the strip takes them) are appended as they
// stand, and any other key ends the search.
enum class TypedKey { Erase, Ignore, Append, Other };

TypedKey classifyTypedKey(int key, bool digits);

} // namespace common
