#include "TFUsos.h"

namespace repertory {

TFUsos::TFUsos(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FUsos"));
    setWindowTitle(QStringLiteral("Herbaxis"));
}

void TFUsos::OpenCatalogue(int kind, bool reload)
{
    if (reload) {
        m_kind = kind;
        ++m_loads;
    }
    show();
    raise();
}

void TFUsos::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    emit hidden();
}

} // namespace repertory
