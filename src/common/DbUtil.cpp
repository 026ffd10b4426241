#include "DbUtil.h"

#include "EditInPlace.h"
#include "Shell.h"
#include "widgets/DBGrid.h"

namespace common {

bool SetIndexByField(store::Table &table, const QString &fieldName)
{
    ShowWaitCursor();
    const QString indexName = (QStringLiteral("Por") + fieldName).left(25);
    const bool wasOpen = table.isOpen();
    table.disableControls();
    bool ok = false;
    try {
        table.setIndexName(indexName);
        table.open();
        ok = true;
    } catch (const store::Error &) {
        try {
            table.close();
            table.addIndex(indexName, fieldName, true);
            table.setIndexName(indexName);
            table.open();
            ok = true;
        } catch (const store::Error &) {
            ok = false;
        }
    }
    try {
        if (wasOpen && !table.isOpen())
            table.open();
        else if (!wasOpen && table.isOpen())
            table.close();
    } catch (const store::Error &) {
        ok = false;
    }
    table.enableControls();
    return ok;
}

bool EditGridCell(widgets::DBGrid *grid)
{
    store::Table *table = grid ? grid->table() : nullptr;
    const QString field = grid ? grid->selectedField() : QString();
    if (!table || field.isEmpty() || !table->isOpen())
        return false;
    const int fi = table->info().fieldIndex(field);
    if (fi < 0 || table->info().fields[fi].type == store::FieldType::AutoInc)
        return false; // lookups, calculated columns and the key are not edited here
    const QModelIndex current = grid->currentIndex().isValid() ? grid->currentIndex() : grid->model()->index(std::max(table->recNo(), 0), 0);
    const QRect cell = grid->visualRect(current);
    QString text = table->text(field);
    if (!EditInPlace(text, grid->viewport(), cell, true))
        return false;
    const bool wasBrowsing = !table->isEditing();
    if (wasBrowsing)
        table->edit();
    table->setValue(field, text);
    if (wasBrowsing)
        table->post();
    grid->viewport()->update();
    return true;
}

} // namespace common
