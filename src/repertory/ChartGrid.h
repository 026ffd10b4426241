#pragma once

#include <QAbstractScrollArea>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace repertory {

// The cells of a repertorial chart: one row per plant, one column per selected item. Row 0 and
// columns 0 and 1 are the fixed headings: the plant's name and count, the item's number.
struct ChartData {
    int items = 0;
    std::vector<QString> names;  // per plant
    std::vector<QString> counts; // per plant, as shown
    std::vector<quint8> marks;   // plants x items, row by row: 1 where the plant is related to the item

    int plants() const { return int(names.size()); }
    bool mark(int plant, int item) const { return marks[size_t(plant) * size_t(items) + size_t(item)] != 0; }
    // The text of a cell of the grid: column 0 names, column 1 counts, column i + 1 item i ("X").
    QString cell(int column, int row) const;
};

// A self-drawn string grid over a ChartData: the fixed row and the two fixed columns stay in place
// while the rest scrolls, and only the cells in view are painted, each by `drawCell`.
class ChartGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ChartGrid(QWidget *parent = nullptr);

    static constexpr int DefaultColumnWidth = 24;
    static constexpr int RowHeight = 20;
    static constexpr int FixedColumns = 2;
    static constexpr int FixedRows = 1;

    void setChart(const ChartData *chart);
    int columnCount() const;
    int rowCount() const;
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    // Width of every column with its grid line.
    int gridWidth() const;
    int currentRow() const { return m_row; }
    void setCurrentRow(int row);
    QString cell(int column, int row) const;
    int paintedCells() const { return m_painted; } // cells drawn by the last paint

    std::function<void(QPainter &, int column, int row, const QRect &)> drawCell;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();
    int columnLeft(int column) const; // in content coordinates, without scrolling

    const ChartData *m_chart = nullptr;
    int m_width0 = 64; // column 0, the names
    int m_row = 1;
    int m_painted = 0;
};

} // namespace repertory
