#pragma once

#include <QStringList>

namespace data {

// The 42 interface texts read by index, Spanish and English, line by line.
const QStringList &spanishTexts();
const QStringList &englishTexts();

} // namespace data
