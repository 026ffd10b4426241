#pragma once

// Driving the main window and the table picker as a user does, shared by the window tests.

#include "Modal.h"
#include "Widgets.h"

#include "mainwin/TFPlantas.h"
#include "relations/TFSelTab.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace test {

// Keys as the plant list gets them: through the window's key preview, with the list focused.
inline void typeInList(mainwin::TFPlantas &w, const QList<int> &keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    w.activateWindow();
    control<widgets::DBGrid>(w, "GrNom")->setFocus();
    for (int key : keys)
        QTest::keyClick(control<widgets::DBGrid>(w, "GrNom"), Qt::Key(key), modifiers);
}

// Picks the catalogue row whose field starts with `name` in the next table picker and accepts it.
inline void chooseInPicker(const QString &name)
{
    onNextModal([name](QWidget *modal) {
        auto *p = qobject_cast<relations::TFSelTab *>(modal);
        QTest::keyClicks(p->Grid, name.left(1));
        p->Ed->setText(name);
        p->Aceptar->click();
    });
}

// The open cell editor of the picker's grid, or null.
inline QWidget *cellEditor(relations::TFSelTab *picker)
{
    for (QLineEdit *edit : picker->Grid->viewport()->findChildren<QLineEdit *>())
        if (edit->isVisible())
            return edit;
    return nullptr;
}

} // namespace test
