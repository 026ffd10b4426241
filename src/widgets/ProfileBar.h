#pragma once

#include <QWidget>

namespace widgets {

// One bar of a property profile: a degree from 0 to its maximum, drawn as a filled strip. Setting
// the value schedules a repaint; it never paints on the spot, so moving through records stays fast.
class ProfileBar : public QWidget {
    Q_OBJECT
public:
    explicit ProfileBar(QWidget *parent = nullptr);

    int value() const { return m_value; }
    void setValue(int value);
    int maximum() const { return m_maximum; }
    void setMaximum(int maximum);

    QSize sizeHint() const override { return {60, 12}; }
    QSize minimumSizeHint() const override { return {20, 8}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_value = 0;
    int m_maximum = 9;
};

} // namespace widgets
