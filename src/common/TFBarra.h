#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <functional>

class QFrame;
class QLabel;
class QToolButton;

namespace common {

// The progress window of a long loop run on the interface thread: a bar over a percentage scale,
// the estimated time left, and a cancel button whose use is confirmed by a question. Loops drive
// it through ProgressStart, ProgressStep and ProgressEnd; each start makes a fresh window.
class TFBarra : public QDialog {
    Q_OBJECT
public:
    explicit TFBarra(QWidget *parent = nullptr);

    void ApplyEnglish();
    void Start(const QString &title, const QString &cancelQuestion, int total);
    // False when the user confirmed the cancel question.
    bool Step();

    // The time of day in days (0 to 1); tests replace it to cross midnight or stop the clock.
    static std::function<double()> clock;
    static QString formatRemaining(double days);
    // The shortest time between two updates of the bar, in milliseconds: besides moving at most
    // once per pixel, the bar is repainted at most once a frame. Tests set it to 0.
    static int MinFrameMs;

    int Total = 1;
    int Done = 0;
    double PixelsPerStep = 0;
    int LastWidth = -1;
    double StartTime = 0;
    bool CanCancel = false;
    QString CancelQuestion;
    QElapsedTimer SinceUpdate;
    int Repaints = 0; // how many steps moved the bar: at most one per pixel of travel

    QFrame *Panel2, *P0, *P1, *Panel1;
    QLabel *LabTiempo, *Lab, *Scale;
    QToolButton *Cancelar;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

void ProgressStart(const QString &title, const QString &cancelQuestion, int total);
// One step of the loop; false means the user cancelled and the window is already gone.
bool ProgressStep();
void ProgressEnd();
// The window in use, or nullptr when none is shown.
TFBarra *CurrentProgress();

} // namespace common
