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
    // A list: Home and End go to the first and the last row, and typing does not search the view
    // (the list's owner has its own typed search).
    void setListNavigation(bool on) { m_listNavigation = on; }
    // The first column follows the grid's width (see FitFirstColumn), also when the grid is laid
    // out after it was fitted: a page shown for the first time, a view that changes.
    void setFitFirstColumn(bool on);
    void keyboardSearch(const QString &search) override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void followTable(int row);
    bool m_listNavigation = false;
    bool m_fitFirstColumn = false;

    GridModel *m_model = nullptr;
    bool m_following = false;
};

// Sizes the first column so that the columns fill the grid: its width less 22 pixels (the
// indicator column, the frame and room for the scroll bar) and less the other column.
void FitFirstColumn(QTableView *grid);

} // namespace widgets
