#include "TFSinonimos.h"

namespace relations {

TFSinonimos::TFSinonimos(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FSinonimos"));
    setWindowTitle(QStringLiteral("Sinónimos"));
}

} // namespace relations
