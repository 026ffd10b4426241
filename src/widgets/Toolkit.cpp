#include "Toolkit.h"

namespace widgets {

QFrame *panel(const char *name, QWidget *parent)
{
    auto *f = named(new QFrame(parent), name);
    f->setFrameShape(QFrame::NoFrame);
    return f;
}

QLabel *label(const char *name, const QString &text, QWidget *parent)
{
    return named(new QLabel(text, parent), name);
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = named(new QPushButton(text, parent), name);
    b->setAutoDefault(false);
    return b;
}

QPushButton *toggleButton(const char *name, const QString &text, QWidget *parent)
{
    QPushButton *b = button(name, text, parent);
    b->setCheckable(true);
    return b;
}

namespace {

template<typename Box>
Box *box(QWidget *widget, int margin, int spacing)
{
    auto *l = new Box(widget);
    l->setContentsMargins(margin, margin, margin, margin);
    l->setSpacing(spacing);
    return l;
}

} // namespace

QVBoxLayout *vbox(QWidget *widget, int margin, int spacing)
{
    return box<QVBoxLayout>(widget, margin, spacing);
}

QHBoxLayout *hbox(QWidget *widget, int margin, int spacing)
{
    return box<QHBoxLayout>(widget, margin, spacing);
}

} // namespace widgets
