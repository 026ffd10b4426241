#pragma once

#include <QPixmap>

namespace mainwin {

// The pictures of the main window's design, drawn by the program itself.
namespace Pictures {
QPixmap logo();
QPixmap elementPlaceholder();
QPixmap formulaPlaceholder();
QPixmap backArrow();
} // namespace Pictures

} // namespace mainwin
