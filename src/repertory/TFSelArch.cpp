#include "TFSelArch.h"

namespace repertory {

TFSelArch::TFSelArch(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FSelArch"));
    setWindowTitle(QStringLiteral(""));
}

} // namespace repertory
