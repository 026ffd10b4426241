#include "Schema.h"

#include "store/Error.h"

namespace data {

using store::FieldDef;
using store::FieldType;
using store::IndexDef;
using store::TableDef;

namespace {

FieldDef autoInc(const char *name) { return {QString::fromLatin1(name), FieldType::AutoInc, 0}; }
FieldDef integer(const char *name) { return {QString::fromLatin1(name), FieldType::Integer, 0}; }
FieldDef smallInt(const char *name) { return {QString::fromLatin1(name), FieldType::SmallInt, 0}; }
FieldDef boolean(const char *name) { return {QString::fromLatin1(name), FieldType::Boolean, 0}; }
FieldDef real(const char *name) { return {QString::fromLatin1(name), FieldType::Float, 0}; }
FieldDef text(const char *name, int width) { return {QString::fromLatin1(name), FieldType::Text, width}; }
FieldDef memo(const char *name) { return {QString::fromLatin1(name), FieldType::Memo, 0}; }
FieldDef picture(const char *name) { return {QString::fromLatin1(name), FieldType::Picture, 0}; }

IndexDef byName(const char *field) // "Por" + field, compared without regard to case and accents
{
    return {QStringLiteral("Por") + QString::fromLatin1(field), QString::fromLatin1(field), true, false};
}
IndexDef byNumber(const char *field)
{
    return {QStringLiteral("Por") + QString::fromLatin1(field), QString::fromLatin1(field), false, false};
}

TableDef plantas()
{
    TableDef t;
    t.name = QStringLiteral("Plantas");
    t.fields = {autoInc("Clave"), integer("Cod"), boolean("EsFormula"),
                text("Nom0", 50), text("Nom1", 50), text("Nom2", 50), text("Nom3", 50),
                text("Nom4", 35), text("Nom5", 35), text("Nom6", 35), text("Nom7", 35), text("Nom8", 35),
                text("Nom9", 35), text("Nom10", 35), text("PinYin", 50), text("Familia", 25), text("Habitat", 50),
                text("Parte", 40), memo("Descripcion"), memo("Floracion"), memo("Aplicacion"), memo("Administracion"),
                text("Fi", 50), text("Fj", 50), text("Fk", 50), smallInt("KEspecie"), memo("MemoZerk"),
                memo("MemoZerk2"), text("Toxicidad", 1), memo("Magistrales"), picture("Foto1"), picture("Foto2"),
                picture("Foto3"), integer("Orden"), text("Meridianos", 14), text("Sabor", 10), text("Energia", 10),
                text("Movimiento", 10), integer("KClase"), integer("KSubClase"), integer("KFuente"),
                text("ParteIng", 40), memo("DescripcionIng"), memo("FloracionIng"), memo("AdministracionIng")};
    t.indexes = {byName("PinYin"), byName("Nom0"), byName("Nom1"), byName("Nom2"), byName("Nom3")};
    t.primaryField = QStringLiteral("Clave");
    // The list filter combines the kind with a class or subclass: those pairs get indexes of their
    // own, so that counting the list never reads the records themselves.
    t.lookupFields = {QStringLiteral("EsFormula"), QStringLiteral("KClase"), QStringLiteral("KSubClase"),
                      QStringLiteral("EsFormula,KClase"), QStringLiteral("EsFormula,KSubClase"), QStringLiteral("Orden")};
    return t;
}

TableDef catalogue(const char *name, QList<FieldDef> fields)
{
    TableDef t;
    t.name = QString::fromLatin1(name);
    t.fields = std::move(fields);
    t.indexes = {byName("Nom"), byName("NomIng")};
    t.primaryField = QStringLiteral("Clave");
    t.lookupFields = {QStringLiteral("Orden")};
    return t;
}

TableDef relation(const char *name, QList<FieldDef> fields, QList<IndexDef> indexes, QStringList pair)
{
    TableDef t;
    t.name = QString::fromLatin1(name);
    t.fields = std::move(fields);
    t.indexes = std::move(indexes);
    t.uniqueKey = std::move(pair);
    return t;
}

TableDef glossary(const char *name)
{
    TableDef t;
    t.name = QString::fromLatin1(name);
    t.fields = {text("Nom", 30), memo("Memo")};
    t.indexes = {byName("Nom")};
    return t;
}

QList<TableDef> makeWorkingTables()
{
    QList<TableDef> all;
    all << plantas();
    all << catalogue("Usos", {autoInc("Clave"), integer("Orden"), text("Nom", 120), text("NomIng", 120)});
    all << catalogue("Sintomas", {autoInc("Clave"), text("Nom", 120), integer("Orden"), text("NomIng", 120)});
    TableDef comp = catalogue("Componen", {autoInc("Clave"), text("Nom", 40), integer("Orden"), text("NomIng", 40)});
    comp.indexes = {byName("Nom")};
    all << comp;

    all << relation("Rel", {integer("KPlanta"), integer("KUso"), integer("OPlanta"), integer("OUso"), memo("MPSim")},
                    {byNumber("OPlanta"), byNumber("OUso")}, {QStringLiteral("KPlanta"), QStringLiteral("KUso")});
    all << relation("RelSint", {integer("KPlanta"), integer("KSint"), integer("OPlanta"), integer("OSint"), memo("Memo")},
                    {byNumber("OPlanta"), byNumber("OSint")}, {QStringLiteral("KPlanta"), QStringLiteral("KSint")});
    all << relation("RelComp", {integer("KPlanta"), integer("KComp"), integer("OPlanta"), integer("OComp")},
                    {byNumber("OPlanta")}, {QStringLiteral("KPlanta"), QStringLiteral("KComp")});
    all << relation("RelForm",
                    {integer("KFormula"), integer("KPlanta"), integer("OFormula"), integer("OPlanta"), real("Porcentaje")},
                    {byNumber("OPlanta"), byNumber("OFormula")}, {QStringLiteral("KFormula"), QStringLiteral("KPlanta")});

    TableDef notas;
    notas.name = QStringLiteral("Notas");
    notas.fields = {integer("KPlanta"), memo("Memo")};
    notas.uniqueKey = {QStringLiteral("KPlanta")};
    all << notas;

    TableDef sinonimos;
    sinonimos.name = QStringLiteral("Sinonimos");
    sinonimos.fields = {integer("KPlanta"), text("Sinon", 60)};
    // The typed search looks a whole synonym up without regard to case on every key.
    sinonimos.indexes = {byNumber("KPlanta"), byName("Sinon")};
    all << sinonimos;

    TableDef clases;
    clases.name = QStringLiteral("Clases");
    clases.fields = {integer("Num"), integer("Padre"), text("NomEsp", 80), text("NomIng", 80)};
    clases.indexes = {{QStringLiteral("PorNom"), QStringLiteral("NomEsp"), true, false}, byName("NomIng")};
    clases.uniqueKey = {QStringLiteral("Num")};
    clases.lookupFields = {QStringLiteral("Padre")};
    // A class appended without a number gets the next free one, so every row keeps a distinct,
    // non-zero Num.
    clases.triggers = {QStringLiteral(
        "CREATE TRIGGER Clases_NewNum AFTER INSERT ON Clases WHEN NEW.Num IS NULL OR NEW.Num = 0 BEGIN "
        "UPDATE Clases SET Num = (SELECT COALESCE(MAX(Num), 0) + 1 FROM Clases) WHERE rowid = NEW.rowid; END")};
    all << clases;

    TableDef especies;
    especies.name = QStringLiteral("Especies");
    especies.fields = {autoInc("Clave"), text("Nom", 10), text("NomIng", 10)};
    especies.indexes = {byName("Nom")};
    especies.primaryField = QStringLiteral("Clave");
    all << especies;

    TableDef fuentes;
    fuentes.name = QStringLiteral("Fuentes");
    fuentes.fields = {autoInc("Clave"), text("Titulo", 100), text("Chino", 100), text("Autor", 80), text("Dinastia", 80)};
    fuentes.indexes = {byName("Titulo")};
    fuentes.primaryField = QStringLiteral("Clave");
    all << fuentes;

    all << glossary("Glosario");

    TableDef selecc;
    selecc.name = QStringLiteral("Selecc");
    selecc.fields = {autoInc("Clave"), integer("Num"), text("Nom", 120)};
    selecc.primaryField = QStringLiteral("Clave");
    all << selecc;

    TableDef repertor;
    repertor.name = QStringLiteral("Repertor");
    repertor.fields = {integer("KPlanta"), integer("Cant"), text("P1", 14), text("P2", 10), text("P3", 10)};
    repertor.indexes = {{QStringLiteral("PorCant"), QStringLiteral("Cant"), false, true}};
    repertor.primaryField = QStringLiteral("KPlanta"); // one row per plant
    all << repertor;
    return all;
}

} // namespace

const QList<TableDef> &workingTables()
{
    static const QList<TableDef> tables = makeWorkingTables();
    return tables;
}

const QList<TableDef> &englishTables()
{
    static const QList<TableDef> tables = {glossary("Glossary")};
    return tables;
}

void createDatabase(const QString &folder, const QList<TableDef> &tables)
{
    store::Database db(folder, store::Database::OpenMode::Create);
    for (const TableDef &t : tables)
        db.createTable(t);
}

void checkDatabase(store::Database &db, const QList<TableDef> &tables)
{
    QStringList problems;
    for (const TableDef &t : tables) {
        if (!db.hasTable(t.name)) {
            db.createTable(t);
            continue;
        }
        problems << db.checkTable(t);
    }
    if (!problems.isEmpty())
        throw store::Error(QStringLiteral("La base de datos %1 no coincide con la que Herbaxis espera:\n%2")
                               .arg(db.filePath(), problems.join(QLatin1Char('\n'))));
}

} // namespace data
