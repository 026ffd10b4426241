#include "SchemeColors.h"

#include "AppContext.h"

#include <QPalette>
#include <QWidget>

namespace common {

namespace {

const QColor PanelColors[5] = {{167, 196, 214}, {191, 191, 191}, {215, 193, 162}, {148, 148, 148}, {169, 199, 187}};
const QColor MiddleTints[5] = {{206, 223, 234}, {209, 209, 209}, {221, 202, 174}, {177, 177, 177}, {193, 210, 201}};
const QColor LightTints[5] = {{225, 235, 242}, {228, 228, 228}, {232, 219, 200}, {200, 200, 200}, {215, 226, 220}};

} // namespace

QColor SchemeTint(Tint tint)
{
    int scheme = AppContext::exists() ? AppContext::current().ColorScheme : 1;
    if (scheme < 1 || scheme > 5)
        scheme = 1;
    switch (tint) {
    case Tint::Panel:
        return PanelColors[scheme - 1];
    case Tint::Middle:
        return MiddleTints[scheme - 1];
    case Tint::Light:
        break;
    }
    return LightTints[scheme - 1];
}

void PaintBackground(QWidget *widget, const QColor &color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, color);
    p.setColor(QPalette::Base, color);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

} // namespace common
