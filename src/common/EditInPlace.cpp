#include "EditInPlace.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace common {

bool EditInPlace(QString &text, QWidget *control, const QRect &rect, bool autoSelect)
{
    QDialog form(control ? control->window() : nullptr, Qt::FramelessWindowHint | Qt::Tool);
    form.setObjectName(QStringLiteral("FEditInPlace"));
    form.setModal(true);
    auto *ok = new QPushButton(&form);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setFocusPolicy(Qt::NoFocus);
    ok->setDefault(true);
    auto *cancel = new QPushButton(&form);
    cancel->setObjectName(QStringLiteral("Cancel"));
    cancel->setFocusPolicy(Qt::NoFocus);
    QObject::connect(ok, &QPushButton::clicked, &form, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &form, &QDialog::reject);

    const QPoint topLeft = control ? control->mapToGlobal(rect.topLeft()) : rect.topLeft();
    form.setGeometry(QRect(topLeft, rect.size()));

    auto *edit = new QLineEdit(text, &form);
    edit->setObjectName(QStringLiteral("Edit"));
    edit->setGeometry(0, 0, rect.width(), rect.height());
    edit->setFrame(true);
    edit->setToolTip(QStringLiteral("Pulse ENTER para Aceptar o ESC para Cancelar"));
    if (control) {
        edit->setFont(control->font());
        QPalette pal = edit->palette();
        pal.setColor(QPalette::Base, control->palette().color(control->backgroundRole()));
        edit->setPalette(pal);
    }
    edit->raise(); // the buttons stay hidden behind the edit
    if (autoSelect)
        edit->selectAll();
    else
        edit->deselect();
    QObject::connect(edit, &QLineEdit::returnPressed, &form, &QDialog::accept);
    edit->setFocus();

    const bool accepted = form.exec() == QDialog::Accepted;
    if (accepted)
        text = edit->text();
    return accepted;
}

} // namespace common
