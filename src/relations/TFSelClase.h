#pragma once

#include "store/Table.h"
#include "widgets/DBGrid.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace relations {

// The class picker: one level of the class tree (the classes, or the subclasses of one class),
// with typed search, renaming and adding in place. Made once at start-up and reused.
class TFSelClase : public QDialog {
    Q_OBJECT
public:
    explicit TFSelClase(QWidget *parent = nullptr);

    // Picks a class (parent 0) or a subclass of `parent`; on true `classNum` is the chosen Num, or
    // 0 for "Ninguna" (offered only while the main record is being edited). False when cancelled, or
    // when the level is empty outside editing mode.
    bool SelectClass(int parent, int &classNum, bool editing);
    void ApplyEnglish();

    int Parent = 0;
    widgets::DBGrid *Gr;
    QLabel *LabBus;
    QPushButton *Modificar;
    QFrame *PanBot;
    QPushButton *Aceptar, *Cancelar, *Ninguna;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum Result { Ok = 1, Cancel = 0, None = 2 };
    void search(const QString &text);
    void renameCurrent();
    void addAtThisLevel();

    std::unique_ptr<store::Table> m_t; // its own view of the class table, open only during a call
    QString m_nameField = QStringLiteral("NomEsp");
    QString m_index = QStringLiteral("PorNom");
};

bool SelectClass(int parent, int &classNum, bool editing);

} // namespace relations
