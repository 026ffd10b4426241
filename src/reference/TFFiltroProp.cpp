#include "TFFiltroProp.h"

namespace reference {

TFFiltroProp::TFFiltroProp(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FFiltroProp"));
    setWindowTitle(QStringLiteral("Filtro de Propiedades"));
}

} // namespace reference
