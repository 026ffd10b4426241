#pragma once

#include "store/Table.h"
#include "widgets/DBGrid.h"

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace relations {

// The table picker: one text field of a table with a `Clave` key in a one-column grid, with a
// search strip, editing and adding in place. Made for one call of SelectTableKey.
class TFSelTab : public QDialog {
    Q_OBJECT
public:
    TFSelTab(store::Table &table, int initialKey, const QString &caption, const QString &fieldName, bool allowEdit,
             bool allowAdd, QWidget *parent = nullptr);

    int ResultKey;
    bool editingCells() const { return m_editing; }

    void ShowStep();
    void EditCommand();
    void AddCommand();
    void AceptarClick();

    QFrame *PanGrid;
    widgets::DBGrid *Grid;
    QFrame *PanEd;
    QLabel *Label1;
    QLineEdit *Ed;
    QFrame *PanBot;
    QPushButton *Modif, *Agregar, *Aceptar, *Cancelar;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void openSearch(const QString &first);
    // Insert adds, F2 edits, from the grid and from the search strip alike.
    bool commandKey(int key);

    store::Table &m_table;
    QString m_field;
    bool m_editing = false;
};

// Lets the user pick a row of `table` by its `fieldName`; returns the row's `Clave`, or
// `initialKey` when the user cancels. The table ends open, ordered by the field's index, on the
// row last highlighted.
int SelectTableKey(store::Table &table, int initialKey, const QString &caption,
                   const QString &fieldName = QStringLiteral("Nom"), bool allowEdit = true, bool allowAdd = true);

} // namespace relations
