#include "TFBibliog.h"

namespace reference {

TFBibliog::TFBibliog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FBibliog"));
    setWindowTitle(QStringLiteral("Bibliografía"));
}

} // namespace reference
