#pragma once

#include <QComboBox>

namespace widgets {

// A combo box that tells when its list opens and closes, so its owner can make room for it.
class DropDownCombo : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
    void hidePopup() override;

signals:
    void droppedDown();
    void closedUp();
};

} // namespace widgets
