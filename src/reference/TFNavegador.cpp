#include "TFNavegador.h"

namespace reference {

TFNavegador::TFNavegador(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FNavegador"));
    setWindowTitle(QStringLiteral("Visor de Página Web"));
}

} // namespace reference
