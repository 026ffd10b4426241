#include "TFCalco.h"

#include <QEvent>
#include <QPainter>

namespace common {

TFCalco::TFCalco(QWidget *host) : QWidget(host)
{
    setObjectName(QStringLiteral("FCalco"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    if (host) {
        setGeometry(host->rect());
        host->installEventFilter(this);
    }
}

void TFCalco::setPaintHandler(std::function<void(TFCalco &)> handler)
{
    m_handler = std::move(handler);
    update();
}

void TFCalco::FramePanel(QWidget *panel, const QColor &color)
{
    if (!m_painter || !panel || !panel->isVisible())
        return;
    const QPoint topLeft = mapFromGlobal(panel->mapToGlobal(QPoint(0, 0)));
    QPen pen(color, 2);
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter->setPen(pen);
    m_painter->setBrush(Qt::NoBrush);
    m_painter->drawRect(QRect(topLeft, panel->size()).adjusted(1, 1, -1, -1));
    m_framed << panel->objectName();
}

void TFCalco::paintEvent(QPaintEvent *)
{
    m_framed.clear();
    if (!m_handler)
        return;
    QPainter painter(this);
    m_painter = &painter;
    m_handler(*this);
    m_painter = nullptr;
}

bool TFCalco::eventFilter(QObject *watched, QEvent *event)
{
    // Follow the window it lies over, and stay on top of its other children.
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize) {
            setGeometry(parentWidget()->rect());
            raise();
        } else if (event->type() == QEvent::ChildAdded && isVisible()) {
            raise();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace common
