#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace mainwin::Pictures {

namespace {

QPixmap canvas(int w, int h, const QColor &fill = Qt::transparent)
{
    QPixmap p(w, h);
    p.fill(fill);
    return p;
}

void drawLeaf(QPainter &p, const QRectF &box, const QColor &color)
{
    QPainterPath leaf;
    const QPointF top(box.center().x(), box.top());
    const QPointF bottom(box.center().x(), box.bottom());
    leaf.moveTo(top);
    leaf.cubicTo(QPointF(box.right(), box.top() + box.height() * 0.3), QPointF(box.right(), box.top() + box.height() * 0.8), bottom);
    leaf.cubicTo(QPointF(box.left(), box.top() + box.height() * 0.8), QPointF(box.left(), box.top() + box.height() * 0.3), top);
    p.setPen(QPen(color.darker(140), 2));
    p.setBrush(color);
    p.drawPath(leaf);
    p.drawLine(top + QPointF(0, box.height() * 0.1), bottom + QPointF(0, box.height() * 0.12));
}

QPixmap placeholder(const QString &caption, const QColor &tint, bool bowl)
{
    QPixmap pix = canvas(220, 170, QColor(248, 245, 236));
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(tint, 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 6, 208, 158), 12, 12);
    if (bowl) {
        // A decoction bowl with two leaves.
        p.setPen(QPen(tint.darker(150), 2));
        p.setBrush(tint.lighter(150));
        p.drawChord(QRectF(60, 40, 100, 90), 180 * 16, 180 * 16);
        drawLeaf(p, QRectF(78, 28, 26, 50), QColor(110, 160, 90));
        drawLeaf(p, QRectF(114, 32, 24, 46), QColor(130, 175, 100));
    } else {
        drawLeaf(p, QRectF(85, 25, 50, 95), tint.lighter(130));
    }
    QFont f = p.font();
    f.setPointSize(9);
    p.setFont(f);
    p.setPen(tint.darker(160));
    p.drawText(QRectF(8, 130, 204, 30), Qt::AlignCenter, caption);
    return pix;
}

} // namespace

QPixmap logo()
{
    QPixmap pix = canvas(44, 44);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 110, 70));
    p.drawEllipse(QRectF(2, 2, 40, 40));
    drawLeaf(p, QRectF(14, 8, 16, 28), QColor(200, 225, 160));
    return pix;
}

QPixmap elementPlaceholder()
{
    return placeholder(QStringLiteral("Sin foto: pulse para importar"), QColor(80, 130, 80), false);
}

QPixmap formulaPlaceholder()
{
    return placeholder(QStringLiteral("Fórmula"), QColor(160, 100, 50), true);
}

QPixmap backArrow()
{
    QPixmap pix = canvas(64, 48);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(4, 24);
    arrow.lineTo(28, 4);
    arrow.lineTo(28, 16);
    arrow.lineTo(60, 16);
    arrow.lineTo(60, 32);
    arrow.lineTo(28, 32);
    arrow.lineTo(28, 44);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(40, 80, 50), 2));
    p.setBrush(QColor(90, 150, 100));
    p.drawPath(arrow);
    return pix;
}

} // namespace mainwin::Pictures
