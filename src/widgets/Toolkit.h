#pragma once

// The small toolkit the windows are built with: every control gets its system name as objectName,
// panels have no frame of their own, buttons never become the default by taking the focus, and
// box layouts start without margins or spacing unless asked.

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace widgets {

template<typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A new control of type W under `parent`, named `name`.
template<typename W, typename... Args>
W *make(const char *name, Args &&...args)
{
    return named(new W(std::forward<Args>(args)...), name);
}

QFrame *panel(const char *name, QWidget *parent = nullptr);
QLabel *label(const char *name, const QString &text, QWidget *parent = nullptr);
QPushButton *button(const char *name, const QString &text, QWidget *parent = nullptr);
QPushButton *toggleButton(const char *name, const QString &text, QWidget *parent = nullptr);
QVBoxLayout *vbox(QWidget *widget, int margin = 0, int spacing = 0);
QHBoxLayout *hbox(QWidget *widget, int margin = 0, int spacing = 0);

} // namespace widgets
