#include "TFBarra.h"

#include "AppContext.h"
#include "TFMensajes.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTime>
#include <QToolButton>

#include <cmath>

namespace common {

namespace {

QPointer<TFBarra> current;

double timeOfDay()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 86400000.0;
}

QFrame *frame(const char *name, QWidget *parent)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    return f;
}

// Where the desktop lacks the label's font, a wider one stands in: the text is made smaller until
// it fits its fixed place.
void fitText(QLabel *label)
{
    QFont f = label->font();
    f.setPixelSize(16);
    while (f.pixelSize() > 9 && QFontMetrics(f).horizontalAdvance(label->text()) > label->width() - 2)
        f.setPixelSize(f.pixelSize() - 1);
    label->setFont(f);
}

} // namespace

std::function<double()> TFBarra::clock = timeOfDay;
int TFBarra::MinFrameMs = 15;

TFBarra::TFBarra(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FBarra"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(510, 109);

    Panel2 = frame("Panel2", this);
    Panel2->setGeometry(0, 0, 510, 53);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    P0 = frame("P0", Panel2);
    P0->setGeometry(16, 15, 475, 20);
    P0->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    P0->setLineWidth(2);
    P0->setAutoFillBackground(true);
    QPalette track = P0->palette();
    track.setColor(QPalette::Window, Qt::black);
    track.setColor(QPalette::WindowText, QColor(192, 192, 192));
    P0->setPalette(track);
    // The scale lies on the track and the bar is painted over it from the left.
    Scale = new QLabel(P0);
    Scale->setObjectName(QStringLiteral("Scale"));
    Scale->setGeometry(2, 2, 471, 16);
    Scale->setAlignment(Qt::AlignCenter);
    Scale->setPalette(track);
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(10);
    Scale->setFont(small);
    P1 = frame("P1", P0);
    P1->setGeometry(2, 2, 0, 16);
    P1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    P1->setLineWidth(2);
    P1->setAutoFillBackground(true);
    P1->setPalette(QApplication::palette());

    Panel1 = frame("Panel1", this);
    Panel1->setGeometry(0, 53, 510, 56);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont bold(QStringLiteral("Arial"));
    bold.setPixelSize(16);
    bold.setBold(true);
    LabTiempo = new QLabel(QStringLiteral("Tiempo restante estimado:"), Panel1);
    LabTiempo->setObjectName(QStringLiteral("LabTiempo"));
    LabTiempo->setGeometry(24, 16, 217, 23);
    LabTiempo->setFont(bold);
    LabTiempo->setAlignment(Qt::AlignCenter);
    fitText(LabTiempo);
    Lab = new QLabel(Panel1);
    Lab->setObjectName(QStringLiteral("Lab"));
    Lab->setGeometry(248, 16, 81, 23);
    Lab->setFont(bold);
    Lab->setAlignment(Qt::AlignCenter);
    Cancelar = new QToolButton(Panel1);
    Cancelar->setObjectName(QStringLiteral("Cancelar"));
    Cancelar->setText(QStringLiteral("Cancelar"));
    Cancelar->setCheckable(true);
    Cancelar->setGeometry(404, 16, 85, 23);
}

void TFBarra::ApplyEnglish()
{
    LabTiempo->setText(QStringLiteral("Estimated time remaining"));
    fitText(LabTiempo);
    Cancelar->setText(QStringLiteral("Cancel"));
}

void TFBarra::keyPressEvent(QKeyEvent *event)
{
    // Esc must not close the window behind the loop's back; the cancel button is the way out.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

QString TFBarra::formatRemaining(double days)
{
    double part = days - std::floor(days);
    const int seconds = int(part * 86400.0);
    return QTime(0, 0).addSecs(seconds).toString(QStringLiteral("hh:mm:ss"));
}

void TFBarra::Start(const QString &title, const QString &cancelQuestion, int total)
{
    Total = total < 1 ? 1 : total;
    QString scale = QStringLiteral("10%");
    for (int i = 2; i <= 9; ++i)
        scale = QStringLiteral("%1%2%3%").arg(scale, QString(9, QLatin1Char(' '))).arg(i * 10);
    Scale->setText(scale);
    LastWidth = -1;
    setWindowTitle(title);
    CancelQuestion = cancelQuestion;
    CanCancel = !cancelQuestion.isEmpty();
    Cancelar->setEnabled(CanCancel);
    Done = 0;
    PixelsPerStep = double(P0->width() - 4) / Total;
    P1->resize(0, P1->height());
    SinceUpdate.invalidate();
    if (const QScreen *screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    StartTime = clock();
}

bool TFBarra::Step()
{
    ++Done;
    const int w = int(Done * PixelsPerStep);
    if (w == LastWidth)
        return true;
    // A bar that moved again within the same frame waits for the next one; the last step always
    // shows the full bar.
    if (SinceUpdate.isValid() && Done < Total && SinceUpdate.elapsed() < MinFrameMs)
        return true;
    SinceUpdate.start();
    // Brought back to the front whenever the bar moves, not at every step: a step that leaves
    // the bar where it was costs nothing but the arithmetic.
    if (isHidden())
        show();
    raise();
    double now = clock();
    if (now < StartTime)
        StartTime -= 1.0; // midnight has passed
    const double remaining = (now - StartTime) * (Total - Done) / Done + 0.00001;
    Lab->setText(formatRemaining(remaining));
    LastWidth = w;
    ++Repaints;
    P1->resize(w, P1->height());
    P1->repaint();
    Lab->repaint();
    QApplication::processEvents();
    if (Cancelar->isChecked()) {
        const double pauseStart = clock();
        if (AskYesNo(CancelQuestion)) {
            ProgressEnd();
            return false;
        }
        Cancelar->setChecked(false);
        StartTime = clock() + StartTime - pauseStart;
    }
    return true;
}

void ProgressStart(const QString &title, const QString &cancelQuestion, int total)
{
    ProgressEnd();
    auto *bar = new TFBarra(QApplication::activeWindow());
    current = bar;
    if (AppContext::exists() && AppContext::current().EnglishMode)
        bar->ApplyEnglish();
    bar->Start(title, cancelQuestion, total);
}

bool ProgressStep()
{
    if (!current)
        return true;
    return current->Step();
}

void ProgressEnd()
{
    if (!current)
        return;
    TFBarra *bar = current.data();
    current = nullptr;
    bar->hide();
    // Freed later: the step that ends the run may still be inside the window's own event handling.
    bar->deleteLater();
}

TFBarra *CurrentProgress()
{
    return current.data();
}

} // namespace common
