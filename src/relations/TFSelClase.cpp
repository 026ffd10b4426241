#include "TFSelClase.h"

namespace relations {

TFSelClase::TFSelClase(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FSelClase"));
    setWindowTitle(QStringLiteral("Seleccione una Clase"));
}

} // namespace relations
