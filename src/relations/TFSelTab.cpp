#include "TFSelTab.h"

#include "common/DbUtil.h"
#include "widgets/Toolkit.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace relations {

TFSelTab::TFSelTab(store::Table &table, int initialKey, const QString &caption, const QString &fieldName, bool allowEdit,
                   bool allowAdd, QWidget *parent)
    : QDialog(parent), ResultKey(initialKey), m_table(table), m_field(fieldName)
{
    setObjectName(QStringLiteral("FSelTab"));
    setWindowTitle(caption.isEmpty() ? QStringLiteral("Tablas") : caption);
    setModal(true);

    using namespace widgets;
    QHBoxLayout *root = hbox(this);
    PanGrid = panel("PanGrid", this);
    QVBoxLayout *gridColumn = vbox(PanGrid, 0, 2);
    Grid = make<DBGrid>("Grid", PanGrid);
    Grid->setTitles(false);
    Grid->verticalHeader()->hide(); // no indicator column
    gridColumn->addWidget(Grid, 1);
    PanEd = panel("PanEd", PanGrid);
    QHBoxLayout *strip = hbox(PanEd, 2, 6);
    Label1 = label("Label1", QStringLiteral("Texto Buscado:"), PanEd);
    Ed = make<QLineEdit>("Ed", PanEd);
    strip->addWidget(Label1);
    strip->addWidget(Ed, 1);
    PanEd->hide();
    gridColumn->addWidget(PanEd);
    root->addWidget(PanGrid, 1);

    PanBot = panel("PanBot", this);
    QVBoxLayout *buttons = vbox(PanBot, 6, 6);
    buttons->addWidget(Modif = button("Modif", QStringLiteral("[F2] Modificar"), PanBot));
    buttons->addWidget(Agregar = button("Agregar", QStringLiteral("[Ins] Agregar"), PanBot));
    buttons->addStretch(1);
    buttons->addWidget(Aceptar = button("Aceptar", QStringLiteral("Aceptar"), PanBot));
    buttons->addWidget(Cancelar = button("Cancelar", QStringLiteral("Cancelar"), PanBot));
    Aceptar->setDefault(true);
    PanBot->setFixedWidth(PanBot->sizeHint().width());
    root->addWidget(PanBot);

    Modif->setEnabled(allowEdit);
    Agregar->setEnabled(allowAdd);
    connect(Modif, &QPushButton::clicked, this, &TFSelTab::EditCommand);
    connect(Agregar, &QPushButton::clicked, this, &TFSelTab::AddCommand);
    connect(Aceptar, &QPushButton::clicked, this, &TFSelTab::AceptarClick);
    connect(Cancelar, &QPushButton::clicked, this, &TFSelTab::reject);
    connect(Grid, &QAbstractItemView::doubleClicked, this, &TFSelTab::AceptarClick);
    connect(Grid, &QAbstractItemView::clicked, this, [this] {
        if (m_editing)
            ShowStep();
    });
    connect(Ed, &QLineEdit::textChanged, this, [this](const QString &text) {
        try {
            m_table.findNearest(text);
        } catch (const store::Error &) {
            QApplication::beep();
        }
    });
    Grid->installEventFilter(this);
    Ed->installEventFilter(this);

    Grid->bind(&m_table, {widgets::GridModel::Column{m_field, QString(), Qt::AlignLeft | Qt::AlignVCenter, QString()}});
    connect(Grid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
                // Esc in the cell editor abandons the entry: a row being added is dropped, a
                // renamed one keeps its name.
                if (hint == QAbstractItemDelegate::RevertModelCache)
                    m_table.cancel();
                if (m_editing)
                    ShowStep(); // Enter or Esc in the cell editor
            });
}

void TFSelTab::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ShowStep();
}

void TFSelTab::ShowStep()
{
    Grid->commitEdit();
    m_editing = false;
    Grid->gridModel()->setEditable(false);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    if (PanEd->isHidden())
        Grid->setFocus();
    PanBot->show();
    // The dialog is as wide as the column, a scroll bar and a small margin, plus the buttons.
    Grid->resizeColumnToContents(0);
    const int columnWidth = std::max(Grid->columnWidth(0), 160);
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    PanGrid->setFixedWidth(columnWidth + scrollBar + 6);
    Grid->setColumnWidth(0, columnWidth);
    setFixedWidth(PanGrid->width() + PanBot->width());
    if (height() < 300)
        resize(width(), 360);
}

void TFSelTab::EditCommand()
{
    m_editing = true;
    Grid->gridModel()->setEditable(true);
    Grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    if (!PanBot->isHidden()) {
        setFixedWidth(width() - PanBot->width());
        PanBot->hide();
    }
    Grid->setFocus();
    const int row = std::max(m_table.recNo(), 0);
    const QModelIndex cell = Grid->model()->index(row, 0);
    if (cell.isValid()) {
        Grid->setCurrentIndex(cell);
        Grid->edit(cell);
    }
}

void TFSelTab::AddCommand()
{
    m_table.append();
    EditCommand();
}

void TFSelTab::AceptarClick()
{
    if (m_editing) {
        ShowStep();
        return;
    }
    // A row that cannot be posted has no key: the result is 0.
    store::ignoreStoreError([&] { m_table.post(); });
    ResultKey = m_table.isEditing() ? 0 : m_table.asInt(QStringLiteral("Clave"));
    accept();
}

void TFSelTab::reject()
{
    // Leaving without choosing leaves the table as it was: an unfinished row is dropped.
    m_table.cancel();
    QDialog::reject();
}

bool TFSelTab::commandKey(int key)
{
    if (key == Qt::Key_Insert)
        AddCommand();
    else if (key == Qt::Key_F2)
        EditCommand();
    else
        return false;
    return true;
}

void TFSelTab::openSearch(const QString &first)
{
    PanEd->show();
    Ed->setFocus();
    Ed->setText(first);
    Ed->setCursorPosition(int(first.size()));
}

bool TFSelTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Grid && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int k = key->key();
        if (m_editing) {
            if (k == Qt::Key_Up || k == Qt::Key_Down) {
                ShowStep();
                return false; // the grid moves as well
            }
            if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape) {
                if (k == Qt::Key_Escape)
                    m_table.cancel();
                ShowStep();
                return true; // the dialog must not take them as Accept or Cancel
            }
            return false;
        }
        if (commandKey(k))
            return true;
        const bool keypad = key->modifiers() & Qt::KeypadModifier;
        if (!keypad && ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z))) {
            openSearch(QString(QChar(char16_t(k))));
            return true;
        }
        return false;
    }
    if (watched == Ed) {
        if (event->type() == QEvent::FocusOut) {
            PanEd->hide();
            return false;
        }
        if (event->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent *>(event)->key();
            if (k == Qt::Key_Up || k == Qt::Key_Down) {
                if (k == Qt::Key_Up)
                    m_table.prior();
                else
                    m_table.next();
                Grid->setFocus();
                return true;
            }
            if (commandKey(k))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int SelectTableKey(store::Table &table, int initialKey, const QString &caption, const QString &fieldName, bool allowEdit,
                   bool allowAdd)
{
    table.setIndexName(QString());
    table.open();
    if (initialKey != 0)
        table.findKey(initialKey);
    common::SetIndexByField(table, fieldName);
    TFSelTab dialog(table, initialKey, caption, fieldName, allowEdit, allowAdd, QApplication::activeWindow());
    dialog.exec();
    return dialog.ResultKey;
}

} // namespace relations
