#include "DBGrid.h"

#include <QHeaderView>

namespace widgets {

DBGrid::DBGrid(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setFixedWidth(12); // the record indicator column
    horizontalHeader()->setHighlightSections(false);
}

void DBGrid::setFitFirstColumn(bool on)
{
    m_fitFirstColumn = on;
    // The columns fill the grid; a horizontal scroll bar would only hide the last row.
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    if (on)
        FitFirstColumn(this);
}

void DBGrid::keyboardSearch(const QString &search)
{
    if (!m_listNavigation)
        QTableView::keyboardSearch(search);
}

QModelIndex DBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (m_listNavigation && model() && model()->rowCount() > 0 && (action == MoveHome || action == MoveEnd)) {
        const int row = action == MoveHome ? 0 : model()->rowCount() - 1;
        return model()->index(row, std::max(currentIndex().column(), 0));
    }
    return QTableView::moveCursor(action, modifiers);
}

void DBGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (m_fitFirstColumn)
        FitFirstColumn(this);
}

void DBGrid::bind(store::Table *table, const QList<GridModel::Column> &columns)
{
    setModel(nullptr);
    delete m_model;
    m_model = nullptr;
    if (!table)
        return;
    m_model = new GridModel(table, this);
    m_model->setColumns(columns);
    setModel(m_model);
    connect(m_model, &GridModel::currentRowChanged, this, &DBGrid::followTable);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        store::Table *t = this->table();
        if (m_following || !t || !current.isValid() || current.row() == t->recNo())
            return;
        t->moveTo(current.row());
    });
    followTable(table->recNo());
}

void DBGrid::setColumns(const QList<GridModel::Column> &columns)
{
    if (!m_model)
        return;
    m_model->setColumns(columns);
    followTable(table() ? table()->recNo() : -1);
}

void DBGrid::setTitles(bool shown)
{
    horizontalHeader()->setVisible(shown);
}

QString DBGrid::selectedField() const
{
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    if (!m_model || column < 0 || column >= m_model->columns().size())
        return QString();
    return m_model->columns()[column].field;
}

void DBGrid::followTable(int row)
{
    if (!m_model)
        return;
    m_following = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex index = m_model->index(row, std::max(0, currentIndex().column()));
        if (currentIndex().row() != row)
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_following = false;
}

void DBGrid::commitEdit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    // Leaving the cell is what makes the view hand its editor's text to the model.
    const QModelIndex cell = currentIndex();
    m_following = true;
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
    m_following = false;
}

void FitFirstColumn(QTableView *grid)
{
    if (!grid || !grid->model())
        return;
    const int columns = grid->model()->columnCount();
    if (columns <= 0)
        return;
    const int width = columns == 1 ? grid->width() - 22 : grid->width() - grid->columnWidth(1) - 22;
    grid->setColumnWidth(0, std::max(width, 10));
}

} // namespace widgets
