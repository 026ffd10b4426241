#include "TFBuscar.h"

namespace reference {

TFBuscar::TFBuscar(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FBuscar"));
    setWindowTitle(QStringLiteral("Buscar"));
}

} // namespace reference
