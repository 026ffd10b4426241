#pragma once

#include <QWidget>

#include <functional>

namespace common {

// The overlay: a transparent layer over the main window on which frames are drawn around the
// panels that restrict the plant list. It never takes input: clicks reach the window below.
class TFCalco : public QWidget {
    Q_OBJECT
public:
    explicit TFCalco(QWidget *host);

    // The owner's painter: called on every paint; draws with FramePanel. Empty: nothing drawn.
    void setPaintHandler(std::function<void(TFCalco &)> handler);
    bool hasPaintHandler() const { return bool(m_handler); }
    // Outline of the panel's client area, pen width 2, no fill. Only valid inside the paint handler.
    void FramePanel(QWidget *panel, const QColor &color);
    // The frames drawn by the last paint (panel object names), for tests and screenshots.
    QStringList framedPanels() const { return m_framed; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(TFCalco &)> m_handler;
    class QPainter *m_painter = nullptr;
    QStringList m_framed;
};

} // namespace common
