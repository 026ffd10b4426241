#include "ChartGrid.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace repertory {

QString ChartData::cell(int column, int row) const
{
    if (row == 0) {
        if (column == 1)
            return QStringLiteral("C");
        if (column >= 2 && column < items + 2)
            return QString::number(column - 1);
        return QString();
    }
    const int plant = row - 1;
    if (plant < 0 || plant >= plants())
        return QString();
    if (column == 0)
        return names[size_t(plant)];
    if (column == 1)
        return counts[size_t(plant)];
    if (column >= 2 && column < items + 2)
        return mark(plant, column - 2) ? QStringLiteral("X") : QString();
    return QString();
}

ChartGrid::ChartGrid(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(DefaultColumnWidth);
    verticalScrollBar()->setSingleStep(RowHeight);
}

void ChartGrid::setChart(const ChartData *chart)
{
    m_chart = chart;
    m_row = 1;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

int ChartGrid::columnCount() const
{
    return m_chart ? m_chart->items + FixedColumns : FixedColumns;
}

int ChartGrid::rowCount() const
{
    return m_chart ? m_chart->plants() + FixedRows : FixedRows;
}

int ChartGrid::columnWidth(int column) const
{
    return column == 0 ? m_width0 : DefaultColumnWidth;
}

void ChartGrid::setColumnWidth(int column, int width)
{
    if (column != 0)
        return; // the item columns keep their width
    m_width0 = std::max(width, 1);
    updateScrollBars();
    viewport()->update();
}

int ChartGrid::gridWidth() const
{
    return m_width0 + 1 + (columnCount() - 1) * (DefaultColumnWidth + 1);
}

int ChartGrid::columnLeft(int column) const
{
    return column == 0 ? 0 : m_width0 + 1 + (column - 1) * (DefaultColumnWidth + 1);
}

QString ChartGrid::cell(int column, int row) const
{
    return m_chart ? m_chart->cell(column, row) : QString();
}

void ChartGrid::setCurrentRow(int row)
{
    if (rowCount() <= FixedRows)
        return;
    m_row = std::clamp(row, FixedRows, rowCount() - 1);
    // Keep the current row in view below the fixed row.
    const int top = (m_row - FixedRows) * (RowHeight + 1);
    const int visible = viewport()->height() - FixedRows * (RowHeight + 1);
    QScrollBar *v = verticalScrollBar();
    if (top < v->value())
        v->setValue(top);
    else if (top + RowHeight + 1 > v->value() + visible)
        v->setValue(top + RowHeight + 1 - visible);
    viewport()->update();
}

void ChartGrid::updateScrollBars()
{
    const int fixedWidth = columnLeft(FixedColumns);
    const int scrollWidth = gridWidth() - fixedWidth;
    const int scrollHeight = (rowCount() - FixedRows) * (RowHeight + 1);
    const int viewWidth = std::max(viewport()->width() - fixedWidth, 0);
    const int viewHeight = std::max(viewport()->height() - FixedRows * (RowHeight + 1), 0);
    horizontalScrollBar()->setRange(0, std::max(scrollWidth - viewWidth, 0));
    horizontalScrollBar()->setPageStep(std::max(viewWidth, 1));
    verticalScrollBar()->setRange(0, std::max(scrollHeight - viewHeight, 0));
    verticalScrollBar()->setPageStep(std::max(viewHeight, 1));
}

void ChartGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ChartGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}

void ChartGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QRect view = viewport()->rect();
    painter.fillRect(view, palette().color(QPalette::Base));
    m_painted = 0;
    const int fixedWidth = columnLeft(FixedColumns);
    const int fixedHeight = FixedRows * (RowHeight + 1);
    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    const int rows = rowCount();
    const int columns = columnCount();

    // The scrolled rows and columns in view, found by arithmetic: every row and item column has
    // the same size, so nothing outside the view is visited.
    const int firstRow = FixedRows + dy / (RowHeight + 1);
    const int lastRow = std::min(rows - 1, FixedRows + (dy + std::max(view.height() - fixedHeight, 0)) / (RowHeight + 1));
    const int firstColumn = FixedColumns + dx / (DefaultColumnWidth + 1);
    const int lastColumn = std::min(columns - 1, FixedColumns + (dx + std::max(view.width() - fixedWidth, 0)) / (DefaultColumnWidth + 1));

    const QColor line = palette().color(QPalette::Mid);
    auto draw = [&](int column, int row, int x, int y) {
        const QRect cell(x, y, columnWidth(column), RowHeight);
        if (!cell.intersects(view))
            return;
        ++m_painted;
        painter.save();
        if (drawCell)
            drawCell(painter, column, row, cell);
        painter.restore();
        painter.setPen(line);
        painter.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
        painter.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
    };
    auto rowTop = [&](int row) { return row < FixedRows ? row * (RowHeight + 1) : fixedHeight + (row - FixedRows) * (RowHeight + 1) - dy; };
    auto columnX = [&](int column) { return column < FixedColumns ? columnLeft(column) : columnLeft(column) - dx; };

    painter.save();
    painter.setClipRect(QRect(fixedWidth, fixedHeight, view.width(), view.height()));
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstColumn; c <= lastColumn; ++c)
            draw(c, r, columnX(c), rowTop(r));
    painter.restore();
    painter.save();
    painter.setClipRect(QRect(0, fixedHeight, fixedWidth, view.height()));
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = 0; c < FixedColumns; ++c)
            draw(c, r, columnX(c), rowTop(r));
    painter.restore();
    painter.save();
    painter.setClipRect(QRect(fixedWidth, 0, view.width(), fixedHeight));
    for (int r = 0; r < FixedRows; ++r)
        for (int c = firstColumn; c <= lastColumn; ++c)
            draw(c, r, columnX(c), rowTop(r));
    painter.restore();
    for (int r = 0; r < FixedRows; ++r)
        for (int c = 0; c < FixedColumns; ++c)
            draw(c, r, columnX(c), rowTop(r));
}

void ChartGrid::keyPressEvent(QKeyEvent *event)
{
    const int page = std::max(viewport()->height() / (RowHeight + 1) - FixedRows, 1);
    switch (event->key()) {
    case Qt::Key_Up: setCurrentRow(m_row - 1); break;
    case Qt::Key_Down: setCurrentRow(m_row + 1); break;
    case Qt::Key_PageUp: setCurrentRow(m_row - page); break;
    case Qt::Key_PageDown: setCurrentRow(m_row + page); break;
    case Qt::Key_Home: setCurrentRow(FixedRows); break;
    case Qt::Key_End: setCurrentRow(rowCount() - 1); break;
    case Qt::Key_Left: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Right: horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
}

void ChartGrid::mousePressEvent(QMouseEvent *event)
{
    const int y = event->position().toPoint().y();
    const int fixedHeight = FixedRows * (RowHeight + 1);
    if (y >= fixedHeight)
        setCurrentRow(FixedRows + (y - fixedHeight + verticalScrollBar()->value()) / (RowHeight + 1));
    QAbstractScrollArea::mousePressEvent(event);
}

} // namespace repertory
