#include "ProfileBar.h"

#include <QPainter>

namespace widgets {

ProfileBar::ProfileBar(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ProfileBar::setValue(int value)
{
    value = std::clamp(value, 0, m_maximum);
    if (value == m_value)
        return;
    m_value = value;
    update();
}

void ProfileBar::setMaximum(int maximum)
{
    m_maximum = std::max(maximum, 1);
    m_value = std::min(m_value, m_maximum);
    update();
}

void ProfileBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect frame = rect().adjusted(0, 1, -1, -2);
    p.setPen(palette().color(QPalette::Mid));
    p.setBrush(palette().color(QPalette::Base));
    p.drawRoundedRect(frame, 2, 2);
    if (m_value <= 0)
        return;
    QRect filled = frame.adjusted(1, 1, 0, 0);
    filled.setWidth((frame.width() - 1) * m_value / m_maximum);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(QPalette::Highlight));
    p.drawRoundedRect(filled, 2, 2);
}

} // namespace widgets
