#include "TDM.h"

#include "data/InterfaceTexts.h"

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

namespace {

// A lookup field of a shared cursor: the column `name` of `on` shows `result` of the row of
// `through` whose `key` equals this row's `source`.
struct LookupSpec {
    Table *TDM::*on;
    const char *name;
    const char *source;
    Table *TDM::*through;
    const char *key;
    const char *result;
    int width;
};

const LookupSpec Lookups[] = {
    {.on = &TDM::TPlan, .name = "Especie", .source = "KEspecie", .through = &TDM::TEsp, .key = "Clave", .result = "Nom", .width = 10},
    {.on = &TDM::TPlan, .name = "Clase", .source = "KClase", .through = &TDM::TClases, .key = "Num", .result = "NomEsp", .width = 80},
    {.on = &TDM::TPlan, .name = "SubClase", .source = "KSubClase", .through = &TDM::TClases, .key = "Num", .result = "NomEsp", .width = 80},
    {.on = &TDM::TRel, .name = "Planta", .source = "KPlanta", .through = &TDM::TPlan, .key = "Clave", .result = "Nom0", .width = 35},
    {.on = &TDM::TRel, .name = "Uso", .source = "KUso", .through = &TDM::TUsos, .key = "Clave", .result = "Nom", .width = 120},
    {.on = &TDM::TRel, .name = "UsoIng", .source = "KUso", .through = &TDM::TUsos, .key = "Clave", .result = "NomIng", .width = 120},
    {.on = &TDM::TRelSint, .name = "Sint", .source = "KSint", .through = &TDM::TSint, .key = "Clave", .result = "Nom", .width = 120},
    {.on = &TDM::TRelSint, .name = "SintIng", .source = "KSint", .through = &TDM::TSint, .key = "Clave", .result = "NomIng", .width = 120},
    {.on = &TDM::TRelComp, .name = "Comp", .source = "KComp", .through = &TDM::TComp, .key = "Clave", .result = "Nom", .width = 40},
    {.on = &TDM::TRelFormPl, .name = "Formula", .source = "KFormula", .through = &TDM::TAuxPlan, .key = "Clave", .result = "PinYin", .width = 50},
    {.on = &TDM::TRelFormPl, .name = "Planta", .source = "KPlanta", .through = &TDM::TAuxPlan, .key = "Clave", .result = "PinYin", .width = 50},
    {.on = &TDM::TRelPlForm, .name = "Formula", .source = "KFormula", .through = &TDM::TAuxPlan, .key = "Clave", .result = "PinYin", .width = 50},
    {.on = &TDM::TRelPlForm, .name = "PinYin", .source = "KPlanta", .through = &TDM::TAuxPlan, .key = "Clave", .result = "PinYin", .width = 50},
    {.on = &TDM::TRelPlForm, .name = "Nom0", .source = "KPlanta", .through = &TDM::TAuxPlan, .key = "Clave", .result = "Nom0", .width = 50},
    // A formula's profile is computed from every ingredient, also from those the list hides: its
    // property lookups read the second cursor, which the list filter does not restrict.
    {.on = &TDM::TRelPlForm, .name = "Meridianos", .source = "KPlanta", .through = &TDM::TAuxPlan, .key = "Clave", .result = "Meridianos", .width = 14},
    {.on = &TDM::TRelPlForm, .name = "Sabor", .source = "KPlanta", .through = &TDM::TAuxPlan, .key = "Clave", .result = "Sabor", .width = 10},
    {.on = &TDM::TRelPlForm, .name = "Energia", .source = "KPlanta", .through = &TDM::TAuxPlan, .key = "Clave", .result = "Energia", .width = 10},
};

} // namespace

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
    // The list starts in pin yin order; a database without that index gets it when the main
    // window first selects the naming language.
    store::ignoreStoreError([&] { TPlan->setIndexName(QStringLiteral("PorPinYin")); });
    TPlan->filterRecord = [this](const Table &row) { return TPlanFilterRecord(row); };
    TPlan->setFiltered(true);
    TPlan->afterScroll = [this](Table &) { RefreshRecordPanels(); };
    TPlan->afterInsert = [this](Table &t) { TPlanAfterInsert(t); };
    TAuxPlan->setFiltered(true);
    // A plant added through the second cursor (the ingredient picker) is an element, and gets its
    // order number like any other new record.
    TAuxPlan->afterInsert = [](Table &t) { t.setValue(QStringLiteral("EsFormula"), false); };

    for (Table *t : {TPlan, TAuxPlan, TUsos, TComp, TSint})
        t->afterPost = [this](Table &table) { TPlanAfterPost(table); };

    // Relation views follow the current plant through its order number.
    for (Table *t : {TRel, TRelSint, TRelComp, TRelFormPl})
        t->setIndexName(QStringLiteral("PorOPlanta"));
    TRelPlForm->setIndexName(QStringLiteral("PorOFormula"));
    for (Table *t : relationTables()) {
        t->setMaster(TPlan, Orden);
        t->onPostError = [this](Table &table, const store::Error &e, Table::PostAction &action) { TRelPostError(table, e, action); };
    }
    for (const LookupSpec &l : Lookups)
        (this->*l.on)->addLookupField(QString::fromLatin1(l.name), QString::fromLatin1(l.source), this->*l.through,
                                      QString::fromLatin1(l.key), QString::fromLatin1(l.result), l.width);
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
    store::ignoreStoreError([&] {
        m_main.setRelationCaption(RelationPage::Actions, QStringLiteral("%1: %2").arg(Texts.value(Txt::Actions)).arg(TRel->recordCount()));
        m_main.setRelationCaption(RelationPage::Indications, QStringLiteral("%1: %2").arg(Texts.value(Txt::Indications)).arg(TRelSint->recordCount()));
        if (formula)
            m_main.setRelationCaption(RelationPage::Ingredients, QStringLiteral("%1: %2").arg(Texts.value(Txt::Ingredients)).arg(TRelPlForm->recordCount()));
        else
            m_main.setRelationCaption(RelationPage::Formulas, QStringLiteral("%1: %2").arg(Texts.value(Txt::Formulas)).arg(TRelFormPl->recordCount()));
        for (int guard = 0; m_main.photoNumber() != 1 && guard < 3; ++guard)
            m_main.advancePhoto();
    });

    // 4. Source page for a formula, details for an element.
    m_main.showDetailsPage(formula);

    // 5. Property profile: computed for a formula being edited with both kinds listed.
    if (formula && m_main.editingMode() && m_main.kindSelection() == ListKind::All)
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
    store::ignoreStoreError([&] { TNotas->post(); });
    // Without it the notes tab stays empty for this plant.
    store::ignoreStoreError([&] {
        if (!TNotas->isOpen())
            return;
        const QVariant key = TPlan->recordCount() > 0 ? TPlan->value(Clave) : QVariant();
        // A new plant has no key until it is posted, and so no notes row: the memo stays empty
        // rather than writing into the row of the plant shown before.
        m_main.setNotesAvailable(!key.isNull());
        if (key.isNull())
            return;
        if (!TNotas->locate(QStringLiteral("KPlanta"), key)) {
            // An empty notes row is made again whenever it is missing: it need not wait for the disk.
            store::Database::LightCommits light(TNotas->database());
            TNotas->append();
            TNotas->setValue(QStringLiteral("KPlanta"), key);
            TNotas->post();
        }
    });
}

bool TDM::newPlantAllowed()
{
    if (m_main.kindSelection() != ListKind::All)
        return true;
    m_main.showMessage(QStringLiteral("Deberá seleccionar \"Plantas\" o \"Fórmulas\""));
    return false;
}

void TDM::TPlanAfterInsert(Table &table)
{
    if (!newPlantAllowed()) {
        table.cancel();
        return;
    }
    table.setValue(QStringLiteral("EsFormula"), m_main.kindSelection() == ListKind::Formulas);
}

void TDM::TPlanAfterPost(Table &table)
{
    if (table.isNull(Orden)) {
        table.edit();
        table.setValue(Orden, table.value(Clave));
        table.post(); // runs this handler again, which then finds Orden set
        return;
    }
    // A plant that was just added has its key now, and with it its notes row.
    if (&table == TPlan)
        refreshNotes();
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
