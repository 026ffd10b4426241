#include "DropDownCombo.h"

namespace widgets {

void DropDownCombo::showPopup()
{
    emit droppedDown();
    QComboBox::showPopup();
}

void DropDownCombo::hidePopup()
{
    QComboBox::hidePopup();
    emit closedUp();
}

} // namespace widgets
