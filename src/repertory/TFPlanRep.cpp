#include "common/SchemeColors.h"
#include "TFPlanRep.h"

#include "common/AppContext.h"
#include "common/TFMensajes.h"
#include "data/InterfaceTexts.h"
#include "data/TDM.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace repertory {

namespace {

QFont chartFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(11);
    return f;
}

QFont boldArial()
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    return f;
}

QString text(int entry, const char *fallback)
{
    if (common::AppContext::exists() && common::AppContext::current().DM)
        return common::AppContext::current().DM->Texts.value(entry);
    return QString::fromUtf8(fallback);
}

} // namespace

TFPlanRep::TFPlanRep(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FPlanRep"));
    setWindowTitle(QStringLiteral("Herbaxis: Tabla repertorial"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFont(QFont(QStringLiteral("Verdana"), 9));
    resize(1024, 600);
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    root->addWidget(Splitter1);

    Gr = new ChartGrid(Splitter1);
    Gr->setObjectName(QStringLiteral("Gr"));
    Gr->drawCell = [this](QPainter &p, int column, int row, const QRect &rect) { GrDrawCell(p, column, row, rect); };
    Splitter1->addWidget(Gr);

    PanDer = new QFrame(Splitter1);
    PanDer->setObjectName(QStringLiteral("PanDer"));
    auto *right = new QVBoxLayout(PanDer);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    Panel1 = new QFrame(PanDer);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *buttons = new QHBoxLayout(Panel1);
    buttons->setContentsMargins(4, 4, 4, 4);
    Copiar = new QPushButton(QStringLiteral("Copiar"), Panel1);
    Copiar->setObjectName(QStringLiteral("Copiar"));
    Cerrar = new QPushButton(QStringLiteral("Cerrar"), Panel1);
    Cerrar->setObjectName(QStringLiteral("Cerrar"));
    for (QPushButton *b : {Copiar, Cerrar}) {
        b->setFont(boldArial());
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    right->addWidget(Panel1);
    Panel6 = new QFrame(PanDer);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    auto *head = new QHBoxLayout(Panel6);
    head->setContentsMargins(4, 3, 4, 3);
    Lab4 = new QLabel(QStringLiteral("Referencias"), Panel6);
    Lab4->setObjectName(QStringLiteral("Lab4"));
    Lab4->setFont(boldArial());
    head->addWidget(Lab4);
    right->addWidget(Panel6);
    LRef = new QListWidget(PanDer);
    LRef->setObjectName(QStringLiteral("LRef"));
    LRef->setFont(QFont(QStringLiteral("Arial"), 10));
    right->addWidget(LRef, 1);
    Splitter1->addWidget(PanDer);
    Splitter1->setStretchFactor(0, 1);

    connect(Copiar, &QPushButton::clicked, this, &TFPlanRep::CopiarClick);
    connect(Cerrar, &QPushButton::clicked, this, &TFPlanRep::CerrarClick);
    ApplyColorScheme();
}

void TFPlanRep::ApplyEnglish()
{
    setWindowTitle(QStringLiteral("Herbaxis: Repertorial chart"));
    Copiar->setText(QStringLiteral("Copy"));
    Cerrar->setText(QStringLiteral("Close"));
    Lab4->setText(QStringLiteral("References"));
}

void TFPlanRep::setChart(ChartData chart, const QStringList &references)
{
    m_chart = std::move(chart);
    LRef->clear();
    LRef->addItems(references);
    Gr->setChart(&m_chart);
}

void TFPlanRep::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    SortByWeight();
    FitLayout();
    ApplyColorScheme();
    ApplyTextSize();
}

std::vector<int> TFPlanRep::placesByScore(const std::vector<qint64> &scores)
{
    const int m = int(scores.size());
    std::vector<int> byPlace(static_cast<size_t>(m));
    std::iota(byPlace.begin(), byPlace.end(), 0);
    // Place = rows with a higher score + rows at or after this one with the same score: the order
    // of descending score, and among equals the later row first.
    std::sort(byPlace.begin(), byPlace.end(), [&](int a, int b) {
        if (scores[size_t(a)] != scores[size_t(b)])
            return scores[size_t(a)] > scores[size_t(b)];
        return a > b;
    });
    std::vector<int> places(static_cast<size_t>(m));
    for (int p = 0; p < m; ++p)
        places[size_t(byPlace[size_t(p)])] = p + 1;
    return places;
}

void TFPlanRep::SortByWeight()
{
    const int m = m_chart.plants();
    const int n = m_chart.items;
    // An item's weight is the number of charted plants that are not related to it.
    Weights.assign(size_t(n), m);
    for (int r = 0; r < m; ++r)
        for (int c = 0; c < n; ++c)
            if (m_chart.mark(r, c))
                --Weights[size_t(c)];
    Scores.assign(size_t(m), 0);
    for (int r = 0; r < m; ++r)
        for (int c = 0; c < n; ++c)
            if (m_chart.mark(r, c))
                Scores[size_t(r)] += Weights[size_t(c)];

    const std::vector<int> places = placesByScore(Scores);
    ChartData sorted;
    sorted.items = n;
    sorted.names.resize(size_t(m));
    sorted.counts.resize(size_t(m));
    sorted.marks.resize(m_chart.marks.size());
    for (int r = 0; r < m; ++r) {
        const size_t to = size_t(places[size_t(r)] - 1);
        sorted.names[to] = std::move(m_chart.names[size_t(r)]);
        sorted.counts[to] = std::move(m_chart.counts[size_t(r)]);
        std::copy_n(m_chart.marks.begin() + std::ptrdiff_t(size_t(r) * size_t(n)), n,
                    sorted.marks.begin() + std::ptrdiff_t(to * size_t(n)));
    }
    m_chart = std::move(sorted);
    Gr->setChart(&m_chart);
}

void TFPlanRep::FitLayout()
{
    const QFontMetrics metrics(chartFont());
    int widest = 0;
    for (const QString &name : m_chart.names)
        widest = std::max(widest, metrics.horizontalAdvance(name));
    Gr->setColumnWidth(0, widest + 10);
    // The list takes the room the chart does not need, less 30 pixels, and never less than three
    // button widths.
    const int frame = 2 * Gr->frameWidth() + Splitter1->handleWidth();
    const int d = width() - Gr->gridWidth() - frame;
    const int minimum = 3 * Cerrar->sizeHint().width();
    const int right = minimum < d - 30 ? d - 30 : minimum;
    Splitter1->setSizes({std::max(width() - right - Splitter1->handleWidth(), 50), right});
}

void TFPlanRep::GrDrawCell(QPainter &painter, int column, int row, const QRect &rect)
{
    painter.setFont(chartFont());
    const QPalette pal = QApplication::palette();
    painter.setPen(pal.color(QPalette::WindowText));
    const QString cell = m_chart.cell(column, row);
    if (column == 0) {
        painter.fillRect(rect, pal.color(QPalette::Button));
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawText(QRect(rect.left() + 2, rect.top() + 2, rect.width() - 2, rect.height() - 2),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, cell);
        return;
    }
    if (column >= 2 && row >= 1) {
        painter.fillRect(rect, pal.color(QPalette::Base));
        if (cell == QLatin1String("X")) {
            const QColor silver(192, 192, 192);
            painter.setPen(silver);
            painter.setBrush(QColor(128, 128, 128));
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
            painter.setBrush(Qt::red);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.drawEllipse(QRect(QPoint(rect.left() + 5, rect.top() + 3), QPoint(rect.right() - 5, rect.bottom() - 3)));
        }
        return;
    }
    painter.fillRect(rect, pal.color(QPalette::Button));
    const int x = rect.left() + (rect.width() - painter.fontMetrics().horizontalAdvance(cell)) / 2;
    painter.drawText(QPoint(x, rect.top() + 2 + painter.fontMetrics().ascent()), cell);
}

QString TFPlanRep::chartText() const
{
    const QString crlf = QStringLiteral("\r\n");
    const int n = m_chart.items;
    QString out;
    for (int k = 1; k <= n && k <= LRef->count(); ++k) {
        const QString line = LRef->item(k - 1)->text();
        const int colon = int(line.indexOf(QLatin1Char(':')));
        const QString name = colon < 0 ? QString() : line.mid(colon + 2).left(100);
        out += QStringLiteral("| ").repeated(k - 1) + name + crlf;
    }
    out += QStringLiteral("| ").repeated(n) + crlf;
    for (int r = 1; r <= m_chart.plants(); ++r) {
        QString marks;
        for (int c = 2; c < n + 2; ++c)
            marks += m_chart.cell(c, r) == QLatin1String("X") ? QStringLiteral("X ") : QStringLiteral("| ");
        out += QStringLiteral("%1(%2) %3").arg(marks, m_chart.cell(1, r), m_chart.cell(0, r)) + crlf;
    }
    return out;
}

void TFPlanRep::CopiarClick()
{
    QApplication::clipboard()->setText(chartText());
    common::ShowMessageBox(text(data::Txt::ChartCopied, "La planilla fue copiada al portapapeles"));
}

void TFPlanRep::CerrarClick()
{
    close();
}

void TFPlanRep::ApplyColorScheme()
{
    using common::SchemeTint;
    using common::Tint;
    common::PaintBackground(Panel1, SchemeTint(Tint::Panel));
    common::PaintBackground(Panel6, SchemeTint(Tint::Middle));
    for (QWidget *w : {static_cast<QWidget *>(Gr), Gr->viewport(), static_cast<QWidget *>(LRef)})
        common::PaintBackground(w, SchemeTint(Tint::Light));
}

void TFPlanRep::ApplyTextSize()
{
    const int size = common::AppContext::exists() ? std::max(common::AppContext::current().TextSize, 10) : 10;
    QFont f = LRef->font();
    f.setPointSize(size);
    LRef->setFont(f);
}

} // namespace repertory
