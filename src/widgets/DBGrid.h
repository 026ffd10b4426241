#pragma once

#include "DataSource.h"
#include "GridModel.h"

#include <QTableView>

namespace widgets {

// A data grid: one row per row of the cursor, the current row following the cursor both ways.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);
    void bind(store::Table *table, const QList<GridModel::Column> &columns);
    void setColumns(const QList<GridModel::Column> &columns);
    void setTitles(bool shown);
    store::Table *table() const { return m_model ? m_model->table() : nullptr; }
    GridModel *gridModel() const { return m_model; }
    // Hands an open cell editor's text to the record now, and closes the editor.
    void commitEdit();
    // The field of the selected column, empty when there is none.
    QString selectedField() const;

private:
    void followTable(int row);

    GridModel *m_model = nullptr;
    bool m_following = false;
};

// Sizes the first column so that the columns fill the grid's visible width.
void FitFirstColumn(QTableView *grid);

} // namespace widgets
