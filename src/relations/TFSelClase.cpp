#include "TFSelClase.h"

#include "data/InterfaceTexts.h"

#include "common/AppContext.h"
#include "common/DbUtil.h"
#include "widgets/Toolkit.h"
#include "common/TFMensajes.h"
#include "text/TypedSearch.h"
#include "data/TDM.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace relations {

TFSelClase::TFSelClase(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FSelClase"));
    setWindowTitle(QStringLiteral("Seleccione una Clase"));
    setModal(true);
    resize(380, 420);
    using namespace widgets;
    QVBoxLayout *root = vbox(this, 4, 6);
    Gr = make<DBGrid>("Gr", this);
    Gr->setTitles(false);
    Gr->verticalHeader()->hide();
    Gr->horizontalHeader()->setStretchLastSection(true);
    root->addWidget(Gr, 1);

    auto *bottom = new QHBoxLayout();
    LabBus = label("LabBus", QString(), this);
    Modificar = toggleButton("Modificar", QStringLiteral("Modificar"), this);
    bottom->addWidget(LabBus, 1);
    bottom->addWidget(Modificar);
    root->addLayout(bottom);

    PanBot = panel("PanBot", this);
    QHBoxLayout *buttons = hbox(PanBot, 0, 6);
    buttons->addStretch(1);
    buttons->addWidget(Ninguna = button("Ninguna", QStringLiteral("Ninguna"), PanBot));
    buttons->addWidget(Aceptar = button("Aceptar", QStringLiteral("Aceptar"), PanBot));
    buttons->addWidget(Cancelar = button("Cancelar", QStringLiteral("Cancelar"), PanBot));
    Aceptar->setDefault(true);
    Ninguna->hide();
    root->addWidget(PanBot);

    connect(Aceptar, &QPushButton::clicked, this, [this] { done(Ok); });
    connect(Cancelar, &QPushButton::clicked, this, [this] { done(Cancel); });
    connect(Ninguna, &QPushButton::clicked, this, [this] { done(None); });
    connect(Gr, &QAbstractItemView::doubleClicked, this, [this] { done(Ok); });
    connect(Modificar, &QPushButton::toggled, this, [this](bool down) {
        PanBot->setVisible(!down);
        Gr->setFocus();
    });
    Gr->installEventFilter(this);
}

void TFSelClase::ApplyEnglish()
{
    m_nameField = QStringLiteral("NomIng");
    m_index = QStringLiteral("PorNomIng");
    Aceptar->setText(QStringLiteral("Ok"));
    Cancelar->setText(QStringLiteral("Cancel"));
    Ninguna->setText(QStringLiteral("None"));
}

bool TFSelClase::SelectClass(int parent, int &classNum, bool editing)
{
    Parent = parent;
    const data::TDM *dm = common::AppContext::current().DM;
    const QStringList texts = dm ? dm->Texts : QStringList();
    QString kind = texts.value(data::Txt::Class, QStringLiteral("Clase"));
    if (parent > 0)
        kind = QStringLiteral("Sub-") + kind;
    LabBus->clear();
    setWindowTitle(texts.value(data::Txt::SelectOne, QStringLiteral("Seleccione una")).trimmed() + QLatin1Char(' ') + kind);

    m_t = std::make_unique<store::Table>(*common::AppContext::current().session, QStringLiteral("Clases.DB"));
    m_t->setObjectName(QStringLiteral("T"));
    // Ordered by the class table's own name index; the picker never adds one to the user's
    // database. Without that index the classes come in the table's order.
    store::ignoreStoreError([&] { m_t->setIndexName(m_index); });
    m_t->setFiltered(true);
    m_t->setFilter(QStringLiteral("Padre=%1").arg(parent));
    m_t->open();
    if (m_t->recordCount() == 0 && !editing) {
        common::ShowMessageBox(texts.value(data::Txt::NoSubClasses, QStringLiteral("No hay Sub-Clases")));
        Gr->bind(nullptr, {});
        m_t.reset();
        return false;
    }
    Gr->bind(m_t.get(), {widgets::GridModel::Column{m_nameField, QString(), Qt::AlignLeft | Qt::AlignVCenter, QString()}});
    m_t->locate(QStringLiteral("Num"), classNum);
    Modificar->show();
    Ninguna->setVisible(editing);
    PanBot->setVisible(!Modificar->isChecked());
    Gr->setFocus();

    const int result = exec();
    bool chosen = false;
    if (result == Ok && m_t->recordCount() > 0 && !m_t->isEditing()) {
        classNum = m_t->asInt(QStringLiteral("Num"));
        chosen = true;
    } else if (result == None) {
        classNum = 0;
        chosen = true;
    }
    m_t->cancel();
    Gr->bind(nullptr, {});
    m_t.reset();
    return chosen;
}

void TFSelClase::search(const QString &text)
{
    LabBus->setText(text);
    try {
        m_t->findNearest(text);
    } catch (const store::Error &) {
        QApplication::beep();
        LabBus->clear();
    }
}

void TFSelClase::renameCurrent()
{
    if (m_t->recordCount() > 0)
        common::EditGridCell(Gr);
}

void TFSelClase::addAtThisLevel()
{
    m_t->append();
    const QModelIndex cell = Gr->model()->index(m_t->recNo(), 0);
    Gr->setCurrentIndex(cell);
    if (!common::EditGridCell(Gr)) {
        m_t->cancel();
        return;
    }
    m_t->setValue(QStringLiteral("Padre"), Parent);
    m_t->post(); // the table gives the new row its number
}

bool TFSelClase::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Gr || !m_t)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        LabBus->clear();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (Modificar->isChecked()) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            renameCurrent();
            return true;
        }
        if (key == Qt::Key_Insert) {
            addAtThisLevel();
            return true;
        }
        return false;
    }
    const text::TypedKey kind = text::classifyTypedKey(key, true);
    if (kind == text::TypedKey::Ignore)
        return false;
    if (kind != text::TypedKey::Other) {
        search(text::typedText(LabBus->text(), kind, key));
        return true;
    }
    LabBus->clear(); // any other key ends the search and does its usual work
    return false;
}

bool SelectClass(int parent, int &classNum, bool editing)
{
    auto *picker = qobject_cast<TFSelClase *>(common::AppContext::current().FSelClase);
    return picker && picker->SelectClass(parent, classNum, editing);
}

} // namespace relations
