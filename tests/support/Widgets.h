#pragma once

#include <QAbstractItemView>
#include <QObject>
#include <QStringList>
#include <QString>
#include <QTest>

namespace test {

// The control of `window` that carries the system name `name`, as the program names it. Fails the
// test (and returns null) when there is none, so that a renamed control shows up as such.
template<typename T = QWidget>
T *control(const QObject &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        QTest::qFail(qPrintable(QStringLiteral("no control %1 in %2").arg(name, window.objectName())), __FILE__, __LINE__);
    return found;
}

template<typename T = QWidget>
T *control(const QObject &window, const char *name)
{
    return control<T>(window, QString::fromLatin1(name));
}

// The texts of one column of a grid, top to bottom.
inline QStringList gridTexts(const QAbstractItemView *grid, int column = 0)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, column).data().toString();
    return out;
}

} // namespace test
