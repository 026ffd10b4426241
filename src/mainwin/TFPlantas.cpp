#include "TFPlantas.h"

#include <QHeaderView>

namespace mainwin {

TFPlantas::TFPlantas(store::Session &session, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FPlantas"));
    setWindowTitle(QStringLiteral("Herbaxis"));
    resize(1024, 700);

    m_plan = new store::Table(session, QStringLiteral("Plantas.DB"), this);
    m_plan->setObjectName(QStringLiteral("TPlan"));
    m_plan->setIndexName(QStringLiteral("PorPinYin"));

    m_model = new widgets::GridModel(m_plan, this);
    m_model->setColumns({{QStringLiteral("PinYin"), QStringLiteral("Pin Yin"), Qt::AlignLeft | Qt::AlignVCenter, QString()}});

    m_grNom = new QTableView(this);
    m_grNom->setObjectName(QStringLiteral("GrNom"));
    m_grNom->setModel(m_model);
    m_grNom->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grNom->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grNom->horizontalHeader()->setStretchLastSection(true);
    m_grNom->verticalHeader()->setDefaultSectionSize(m_grNom->fontMetrics().height() + 6);
    m_grNom->verticalHeader()->hide();
    setCentralWidget(m_grNom);

    connect(m_grNom->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current, const QModelIndex &) { GrNomCurrentChanged(current); });
    connect(m_model, &widgets::GridModel::currentRowChanged, this, &TFPlantas::followTable);

    m_plan->open();
    followTable(m_plan->recNo());
}

void TFPlantas::GrNomCurrentChanged(const QModelIndex &current)
{
    if (current.isValid() && current.row() != m_plan->recNo())
        m_plan->moveTo(current.row());
}

void TFPlantas::followTable(int row)
{
    if (row < 0)
        return;
    const QModelIndex index = m_model->index(row, 0);
    if (m_grNom->currentIndex().row() != row)
        m_grNom->setCurrentIndex(index);
    m_grNom->scrollTo(index);
}

} // namespace mainwin
