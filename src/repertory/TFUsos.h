#pragma once

#include <QDialog>

namespace repertory {

// The repertorization window. Created once at start-up; the main window hands over to it and
// waits until it is hidden again.
class TFUsos : public QDialog {
    Q_OBJECT
public:
    explicit TFUsos(QWidget *parent = nullptr);

    // Shows the window for actions (0) or indications (1); `reload` fills its catalogue anew.
    void OpenCatalogue(int kind, bool reload);
    int catalogueKind() const { return m_kind; }
    int catalogueLoads() const { return m_loads; }

signals:
    void hidden();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    int m_kind = -1;
    int m_loads = 0;
};

} // namespace repertory
