#include "TFGlo.h"

namespace reference {

TFGlo::TFGlo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FGlo"));
    setWindowTitle(QStringLiteral("Glosario"));
}

} // namespace reference
