#pragma once

#include "ChartGrid.h"

#include <QDialog>
#include <QStringList>

#include <vector>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;

namespace repertory {

// The repertorial chart window: the plants of the repertory against the selected items, reordered
// by a weighted score that favours plants covering items few other plants cover. Created once at
// start-up; each build of the chart is shown modally.
class TFPlanRep : public QDialog {
    Q_OBJECT
public:
    explicit TFPlanRep(QWidget *parent = nullptr);

    // A new chart and its references ("%d: %s" per item), in the repertory's order.
    void setChart(ChartData chart, const QStringList &references);
    const ChartData &chart() const { return m_chart; }

    void SortByWeight();
    void FitLayout();
    void ApplyColorScheme();
    void ApplyTextSize();
    void ApplyEnglish();
    void GrDrawCell(QPainter &painter, int column, int row, const QRect &rect);
    void CopiarClick();
    void CerrarClick();
    // The text CopiarClick puts on the clipboard.
    QString chartText() const;

    // New place (1-based) of every row for the scores in their current order: descending score,
    // among equal scores the later row first.
    static std::vector<int> placesByScore(const std::vector<qint64> &scores);

    // The sorting's working copy: the weight of every item and the score of every row, in the
    // order the rows had before the sorting.
    std::vector<qint64> Weights;
    std::vector<qint64> Scores;

    ChartGrid *Gr;
    QSplitter *Splitter1;
    QFrame *PanDer, *Panel1, *Panel6;
    QPushButton *Copiar, *Cerrar;
    QLabel *Lab4;
    QListWidget *LRef;

protected:
    void showEvent(QShowEvent *event) override;

private:
    ChartData m_chart;
};

} // namespace repertory
