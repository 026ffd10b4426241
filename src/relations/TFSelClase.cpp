#include "TFSelClase.h"

#include "common/AppContext.h"
#include "common/DbUtil.h"
#include "common/TFMensajes.h"
#include "common/TypedSearch.h"
#include "data/TDM.h"
#include "mainwin/TFPlantas.h"

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
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(4, 4, 4, 4);
    Gr = new widgets::DBGrid(this);
    Gr->setObjectName(QStringLiteral("Gr"));
    Gr->setTitles(false);
    Gr->verticalHeader()->hide();
    Gr->horizontalHeader()->setStretchLastSection(true);
    root->addWidget(Gr, 1);

    auto *bottom = new QHBoxLayout();
    LabBus = new QLabel(this);
    LabBus->setObjectName(QStringLiteral("LabBus"));
    Modificar = new QPushButton(QStringLiteral("Modificar"), this);
    Modificar->setObjectName(QStringLiteral("Modificar"));
    Modificar->setCheckable(true);
    Modificar->setAutoDefault(false);
    bottom->addWidget(LabBus, 1);
    bottom->addWidget(Modificar);
    root->addLayout(bottom);

    PanBot = new QFrame(this);
    PanBot->setObjectName(QStringLiteral("PanBot"));
    auto *buttons = new QHBoxLayout(PanBot);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch(1);
    auto makeButton = [&](const char *name, const QString &text) {
        auto *b = new QPushButton(text, PanBot);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    Ninguna = makeButton("Ninguna", QStringLiteral("Ninguna"));
    Aceptar = makeButton("Aceptar", QStringLiteral("Aceptar"));
    Cancelar = makeButton("Cancelar", QStringLiteral("Cancelar"));
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

bool TFSelClase::editingMainRecord() const
{
    const mainwin::TFPlantas *main = common::AppContext::current().FPlantas;
    return main && main->editing();
}

bool TFSelClase::SelectClass(int parent, int &classNum)
{
    Parent = parent;
    const data::TDM *dm = common::AppContext::current().DM;
    const QStringList texts = dm ? dm->Texts : QStringList();
    QString kind = texts.value(5, QStringLiteral("Clase"));
    if (parent > 0)
        kind = QStringLiteral("Sub-") + kind;
    LabBus->clear();
    setWindowTitle(texts.value(6, QStringLiteral("Seleccione una")).trimmed() + QLatin1Char(' ') + kind);

    m_t = std::make_unique<store::Table>(*common::AppContext::current().session, QStringLiteral("Clases.DB"));
    m_t->setObjectName(QStringLiteral("T"));
    common::SetIndexByField(*m_t, m_nameField);
    m_t->setIndexName(m_index);
    m_t->setFiltered(true);
    m_t->setFilter(QStringLiteral("Padre=%1").arg(parent));
    m_t->open();
    const bool editing = editingMainRecord();
    if (m_t->recordCount() == 0 && !editing) {
        common::ShowMessageBox(texts.value(7, QStringLiteral("No hay Sub-Clases")));
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
    const QString text = LabBus->text();
    switch (common::classifyTypedKey(key, true)) {
    case common::TypedKey::Erase:
        search(text.chopped(std::min<qsizetype>(1, text.size())));
        return true;
    case common::TypedKey::Ignore:
        return false;
    case common::TypedKey::Append:
        search(text + QChar(char16_t(key)));
        return true;
    case common::TypedKey::Other:
        break;
    }
    LabBus->clear(); // any other key ends the search and does its usual work
    return false;
}

bool SelectClass(int parent, int &classNum)
{
    auto *picker = qobject_cast<TFSelClase *>(common::AppContext::current().FSelClase);
    return picker && picker->SelectClass(parent, classNum);
}

} // namespace relations
