#pragma once

#include "store/Table.h"
#include "widgets/GridModel.h"

#include <QMainWindow>
#include <QTableView>

namespace mainwin {

// The main window: for now the plant list ordered by pin yin.
class TFPlantas : public QMainWindow {
    Q_OBJECT
public:
    explicit TFPlantas(store::Session &session, QWidget *parent = nullptr);

    store::Table *plantTable() const { return m_plan; }
    QTableView *plantList() const { return m_grNom; }

private:
    void GrNomCurrentChanged(const QModelIndex &current);
    void followTable(int row);

    store::Table *m_plan;
    widgets::GridModel *m_model;
    QTableView *m_grNom;
};

} // namespace mainwin
