#include "TFFuentes.h"

namespace reference {

TFFuentes::TFFuentes(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FFuentes"));
    setWindowTitle(QStringLiteral("Fuentes"));
}

} // namespace reference
