#pragma once

#include <QColor>

class QWidget;

namespace common {

// The colours of the five colour schemes: the panel colour and its two lighter tints.
enum class Tint { Panel, Middle, Light };

// The colour of `tint` in the program's current scheme (an unknown scheme counts as scheme 1).
QColor SchemeTint(Tint tint);

// Fills `widget`'s background (and its text area's) with `color`.
void PaintBackground(QWidget *widget, const QColor &color);

} // namespace common
