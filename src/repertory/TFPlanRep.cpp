#include "TFPlanRep.h"

namespace repertory {

TFPlanRep::TFPlanRep(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FPlanRep"));
    setWindowTitle(QStringLiteral("Herbaxis: Tabla repertorial"));
}

} // namespace repertory
