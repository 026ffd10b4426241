#pragma once

#include "MainWindowLink.h"
#include "text/TTagBits.h"
#include "store/Table.h"

#include <QObject>
#include <QStringList>

namespace data {

// The data module: the table objects the windows share, the record events of the plant cursor,
// the list filter callback, the duplicate guard of the relation tables, the interface texts and
// the tag set of the full-text search.
class TDM : public QObject {
    Q_OBJECT
public:
    // `listaEsp` is the main window's list of Spanish interface texts; `Texts` starts as its copy.
    TDM(store::Session &session, MainWindowLink &mainWindow, const QStringList &listaEsp, QObject *parent = nullptr);
    ~TDM() override;

    text::TTagBits Tags;
    QStringList Texts;

    store::Table *TPlan;
    store::Table *TAuxPlan;
    store::Table *TRel;
    store::Table *TRelSint;
    store::Table *TRelComp;
    store::Table *TRelFormPl;
    store::Table *TRelPlForm;
    store::Table *TUsos;
    store::Table *TSint;
    store::Table *TComp;
    store::Table *TNotas;
    store::Table *TFuentes;
    store::Table *TEsp;
    store::Table *TClases;
    store::Table *TGlo;

    // The five relation objects, in the order the main window opens them.
    QList<store::Table *> relationTables() const { return {TRel, TRelComp, TRelSint, TRelFormPl, TRelPlForm}; }

    MainWindowLink &mainWindow() const { return m_main; }

    // Runs after every move of TPlan, and whenever a window changed what the panels show.
    void RefreshRecordPanels();

    bool TPlanFilterRecord(const store::Table &row) const;
    void TPlanAfterInsert(store::Table &table);
    // Whether the kind selector lets a new plant be added; shows why not when it does not.
    bool newPlantAllowed();
    void TPlanAfterPost(store::Table &table);
    void TRelPostError(store::Table &table, const store::Error &error, store::Table::PostAction &action);
    void TRelPlFormCalcFields(store::Table &table);

private:
    store::Table *makeTable(const char *objectName, const char *tableName);
    void refreshNotes();

    store::Session &m_session;
    MainWindowLink &m_main;
};

} // namespace data
