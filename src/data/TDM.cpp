#include "TDM.h"

namespace data {

using store::Table;

namespace {
const QString Orden = QStringLiteral("Orden");
const QString Clave = QStringLiteral("Clave");
} // namespace

Table *TDM::makeTable(const char *objectName, const char *tableName)
{
    auto *t = new Table(m_session, QString::fromLatin1(tableName), this);
    t->setObjectName(QString::fromLatin1(objectName));
    return t;
}

TDM::TDM(store::Session &session, MainWindowLink &mainWindow, const QStringList &listaEsp, QObject *parent)
    : QObject(parent), Texts(listaEsp), m_session(session), m_main(mainWindow)
{
    setObjectName(QStringLiteral("DM"));

    TPlan = makeTable("TPlan", "Plantas.DB");
    TAuxPlan = makeTable("TAuxPlan", "Plantas.DB");
    TRel = makeTable("TRel", "Rel.db");
    TRelSint = makeTable("TRelSint", "RelSint.db");
    TRelComp = makeTable("TRelComp", "RelComp.db");
    TRelFormPl = makeTable("TRelFormPl", "RelForm.DB");
    TRelPlForm = makeTable("TRelPlForm", "RelForm.DB");
    TUsos = makeTable("TUsos", "Usos.db");
    TSint = makeTable("TSint", "Sintomas.db");
    TComp = makeTable("TComp", "Componen.DB");
    TNotas = makeTable("TNotas", "Notas.DB");
    TFuentes = makeTable("TFuentes", "Fuentes.DB");
    TEsp = makeTable("TEsp", "Especies.db");
    TClases = makeTable("TClases", "Clases.DB");
    TGlo = makeTable("TGlo", "Glosario.db");

    // The plant cursor: the list filter and the record events.
    TPlan->setIndexName(QStringLiteral("PorPinYin"));
    TPlan->filterRecord = [this](const Table &row) { return TPlanFilterRecord(row); };
    TPlan->setFiltered(true);
    TPlan->afterScroll = [this](Table &) { RefreshRecordPanels(); };
    TPlan->afterInsert = [this](Table &t) { TPlanAfterInsert(t); };
    TPlan->addLookupField(QStringLiteral("Especie"), QStringLiteral("KEspecie"), TEsp, Clave, QStringLiteral("Nom"), 10);
    TPlan->addLookupField(QStringLiteral("Clase"), QStringLiteral("KClase"), TClases, QStringLiteral("Num"), QStringLiteral("NomEsp"), 80);
    TPlan->addLookupField(QStringLiteral("SubClase"), QStringLiteral("KSubClase"), TClases, QStringLiteral("Num"), QStringLiteral("NomEsp"), 80);
    TAuxPlan->setFiltered(true);

    for (Table *t : {TPlan, TUsos, TComp, TSint})
        t->afterPost = [this](Table &table) { TPlanAfterPost(table); };

    // Relation views follow the current plant through its order number.
    for (Table *t : {TRel, TRelSint, TRelComp, TRelFormPl})
        t->setIndexName(QStringLiteral("PorOPlanta"));
    TRelPlForm->setIndexName(QStringLiteral("PorOFormula"));
    for (Table *t : relationTables()) {
        t->setMaster(TPlan, Orden);
        t->onPostError = [this](Table &table, const store::Error &e, Table::PostAction &action) { TRelPostError(table, e, action); };
    }
    TRel->addLookupField(QStringLiteral("Planta"), QStringLiteral("KPlanta"), TPlan, Clave, QStringLiteral("Nom0"), 35);
    TRel->addLookupField(QStringLiteral("Uso"), QStringLiteral("KUso"), TUsos, Clave, QStringLiteral("Nom"), 120);
    TRel->addLookupField(QStringLiteral("UsoIng"), QStringLiteral("KUso"), TUsos, Clave, QStringLiteral("NomIng"), 120);
    TRelSint->addLookupField(QStringLiteral("Sint"), QStringLiteral("KSint"), TSint, Clave, QStringLiteral("Nom"), 120);
    TRelSint->addLookupField(QStringLiteral("SintIng"), QStringLiteral("KSint"), TSint, Clave, QStringLiteral("NomIng"), 120);
    TRelComp->addLookupField(QStringLiteral("Comp"), QStringLiteral("KComp"), TComp, Clave, QStringLiteral("Nom"), 40);
    TRelFormPl->addLookupField(QStringLiteral("Formula"), QStringLiteral("KFormula"), TAuxPlan, Clave, QStringLiteral("PinYin"), 50);
    TRelFormPl->addLookupField(QStringLiteral("Planta"), QStringLiteral("KPlanta"), TAuxPlan, Clave, QStringLiteral("PinYin"), 50);
    TRelPlForm->addLookupField(QStringLiteral("Formula"), QStringLiteral("KFormula"), TAuxPlan, Clave, QStringLiteral("PinYin"), 50);
    TRelPlForm->addLookupField(QStringLiteral("PinYin"), QStringLiteral("KPlanta"), TAuxPlan, Clave, QStringLiteral("PinYin"), 50);
    TRelPlForm->addLookupField(QStringLiteral("Nom0"), QStringLiteral("KPlanta"), TAuxPlan, Clave, QStringLiteral("Nom0"), 50);
    TRelPlForm->addLookupField(QStringLiteral("Meridianos"), QStringLiteral("KPlanta"), TPlan, Clave, QStringLiteral("Meridianos"), 14);
    TRelPlForm->addLookupField(QStringLiteral("Sabor"), QStringLiteral("KPlanta"), TPlan, Clave, QStringLiteral("Sabor"), 10);
    TRelPlForm->addLookupField(QStringLiteral("Energia"), QStringLiteral("KPlanta"), TPlan, Clave, QStringLiteral("Energia"), 10);
    TRelPlForm->addCalcField(QStringLiteral("Planta"), 80);
    TRelPlForm->onCalcFields = [this](Table &t) { TRelPlFormCalcFields(t); };

    // The source of the current plant.
    TFuentes->setIndexFieldName(Clave);
    TFuentes->setMaster(TPlan, QStringLiteral("KFuente"));

    TGlo->setIndexName(QStringLiteral("PorNom"));
}

TDM::~TDM()
{
    // Details first: nothing may follow a master that is going away, and a closed view is not
    // read again when it lets go of its master.
    for (Table *t : relationTables() + QList<Table *>{TFuentes}) {
        t->close();
        t->setMaster(nullptr, QString());
    }
    TPlan->afterScroll = nullptr;
}

bool TDM::TPlanFilterRecord(const Table &row) const
{
    bool accept = !m_main.textSearchActive() || Tags.GetTag(int(row.rowId()));
    if (accept && m_main.propFilterActive())
        accept = m_main.matchProps(row.text(QStringLiteral("Meridianos")), row.text(QStringLiteral("Energia")),
                                   row.text(QStringLiteral("Sabor")));
    return accept;
}

void TDM::RefreshRecordPanels()
{
    if (!TPlan->isOpen())
        return;
    const bool formula = TPlan->asBool(QStringLiteral("EsFormula"));

    // 1. Photo or the placeholder of the record's kind.
    m_main.showPhotoOrPlaceholder(!TPlan->isNull(QStringLiteral("Foto1")), formula);

    // 2 and 3. Page captions and the first photo; a failure here skips the rest of them.
    try {
        m_main.setRelationCaption(RelationPage::Actions, QStringLiteral("%1: %2").arg(Texts.value(0)).arg(TRel->recordCount()));
        m_main.setRelationCaption(RelationPage::Indications, QStringLiteral("%1: %2").arg(Texts.value(1)).arg(TRelSint->recordCount()));
        if (formula)
            m_main.setRelationCaption(RelationPage::Ingredients, QStringLiteral("%1: %2").arg(Texts.value(2)).arg(TRelPlForm->recordCount()));
        else
            m_main.setRelationCaption(RelationPage::Formulas, QStringLiteral("%1: %2").arg(Texts.value(3)).arg(TRelFormPl->recordCount()));
        for (int guard = 0; m_main.photoNumber() != 1 && guard < 3; ++guard)
            m_main.advancePhoto();
    } catch (const std::exception &) {
    }

    // 4. Source page for a formula, details for an element.
    m_main.showDetailsPage(formula);

    // 5. Property profile: computed for a formula being edited with both kinds listed.
    if (formula && m_main.editingMode() && m_main.kindSelection() == 2)
        m_main.showFormulaProfile();
    else
        m_main.showProfileStrings(TPlan->text(QStringLiteral("Meridianos")), TPlan->text(QStringLiteral("Sabor")),
                                  TPlan->text(QStringLiteral("Energia")));

    // 6. The formulas page of an element and the ingredients page of a formula.
    const RelationPage active = m_main.activeRelationPage();
    if (active == RelationPage::Formulas && formula)
        m_main.setActiveRelationPage(RelationPage::Ingredients);
    else if (active == RelationPage::Ingredients && !formula)
        m_main.setActiveRelationPage(RelationPage::Formulas);
    m_main.setRelationTabVisible(RelationPage::Ingredients, formula);
    m_main.setRelationTabVisible(RelationPage::Formulas, !formula);

    // 7. The notes row of the plant, made the first time the plant is shown.
    refreshNotes();

    // 8.
    m_main.relationPageChanged();
}

void TDM::refreshNotes()
{
    try {
        TNotas->post();
    } catch (const std::exception &) {
    }
    try {
        if (!TNotas->isOpen())
            return;
        const QVariant key = TPlan->value(Clave);
        if (key.isNull())
            return; // a new plant has no key until it is posted
        if (!TNotas->locate(QStringLiteral("KPlanta"), key)) {
            // An empty notes row is made again whenever it is missing: it need not wait for the disk.
            store::Database::LightCommits light(TNotas->database());
            TNotas->append();
            TNotas->setValue(QStringLiteral("KPlanta"), key);
            TNotas->post();
        }
    } catch (const std::exception &) {
        // the notes tab stays empty for this plant
    }
}

void TDM::TPlanAfterInsert(Table &table)
{
    switch (m_main.kindSelection()) {
    case 0:
        table.setValue(QStringLiteral("EsFormula"), false);
        break;
    case 1:
        table.setValue(QStringLiteral("EsFormula"), true);
        break;
    default:
        m_main.showMessage(QStringLiteral("Deberá seleccionar \"Plantas\" o \"Fórmulas\""));
        table.cancel();
        break;
    }
}

void TDM::TPlanAfterPost(Table &table)
{
    if (!table.isNull(Orden))
        return;
    table.edit();
    table.setValue(Orden, table.value(Clave));
    table.post();
}

void TDM::TRelPostError(Table &table, const store::Error &, Table::PostAction &action)
{
    action = Table::PostAction::Abort;
    Table::Bookmark mark = table.bookmark();
    table.cancel();
    if (mark < 0)
        mark = table.bookmark(); // a refused new row: the row it was added beside
    table.close();
    table.setMaster(TPlan, Orden);
    table.open();
    if (mark >= 0)
        table.gotoBookmark(mark);
    m_main.showMessage(QStringLiteral("Registro repetido"));
}

void TDM::TRelPlFormCalcFields(Table &table)
{
    table.setCalcValue(QStringLiteral("Planta"), QStringLiteral("%1 (%2)").arg(table.text(QStringLiteral("PinYin")),
                                                                              table.text(QStringLiteral("Nom0"))));
}

} // namespace data
