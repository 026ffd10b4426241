#include "TFUsos.h"

namespace repertory {

TFUsos::TFUsos(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FUsos"));
    setWindowTitle(QStringLiteral("Herbaxis"));
}

} // namespace repertory
