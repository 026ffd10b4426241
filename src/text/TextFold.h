#pragma once

#include <QString>

namespace text {

// Upper case for searching: ASCII letters raised, the Spanish accented vowels and ü folded to their
// plain capitals, ñ to Ñ. Every other character stays as it is, so the result has the length and
// positions of the text (highlighting relies on that).
QString FoldUpper(const QString &text);

} // namespace text
