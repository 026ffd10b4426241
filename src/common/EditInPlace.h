#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace common {

// A borderless one-line box laid exactly over `rect` (in `control`'s coordinates), with the
// control's font and background. ENTER accepts and stores the edited text in `text`; ESC or any
// other way of closing cancels and leaves `text` as it was.
bool EditInPlace(QString &text, QWidget *control, const QRect &rect, bool autoSelect);

} // namespace common
