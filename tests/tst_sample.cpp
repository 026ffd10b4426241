// The bundled materia medica: it builds, and what it holds is consistent.
#include "Fixture.h"

#include "data/Profile.h"
#include "SampleImport.h"
#include "data/Schema.h"
#include "store/Error.h"

#include <QtTest>

namespace {

QString sampleSource()
{
    return qEnvironmentVariable("HERBAXIS_SAMPLE_SOURCE", QStringLiteral(HERBAXIS_SOURCE_DIR "/sample"));
}

// A source folder small enough to read at a glance: two herbs and a formula of both. Line numbers
// of ren-shen.txt matter to the tests: Toxicidad is line 7, Sabores 9, Naturaleza 10, and the
// Spanish description line 16.
QString renShen(const QString &sabores = QStringLiteral("Sweet 9, Bitter 3"),
                const QString &naturaleza = QStringLiteral("Warm 5"),
                const QString &texto = QStringLiteral("Con Bai Zhu en Si Jun Zi Tang (Shen Nong Ben Cao Jing)."),
                const QString &toxicidad = QStringLiteral("0"))
{
    return QStringLiteral("PinYin: Ren Shen\nNom2: Ginseng\nNom3: Ginseng\nEspecie: Planta\nClase: Tonificantes\n"
                          "Fuente: Shen Nong Ben Cao Jing\nToxicidad: %4\nCanales: Sp 9, Lu 9\nSabores: %1\n"
                          "Naturaleza: %2\nAcciones: Tonifica el Qi\nIndicaciones: Fatiga\nSinonimos: Hong Shen\n\n"
                          "== Descripcion\n%3\n== DescripcionIng\nWith Bai Zhu.\n")
        .arg(sabores, naturaleza, texto, toxicidad);
}

QString baiZhu(const QString &toxicidad = QStringLiteral("0"))
{
    return QStringLiteral("PinYin: Bai Zhu\nNom2: Atractylodes\nNom3: Atractylodes\nEspecie: Planta\nClase: Tonificantes\n"
                          "Toxicidad: %1\nCanales: Sp 9, St 9\nSabores: Bitter 9, Sweet 6\nNaturaleza: Warm 9\n"
                          "Acciones: Tonifica el Qi\nIndicaciones: Fatiga\n\n== Descripcion\nRizoma.\n== DescripcionIng\nRhizome.\n")
        .arg(toxicidad);
}

QString siJunZiTang(const QString &extraKey = QString())
{
    return QStringLiteral("PinYin: Si Jun Zi Tang\nNom2: Cuatro caballeros\nNom3: Four Gentlemen\nClase: Tonificantes\n%1"
                          "Ingredientes: Ren Shen 9 | Bai Zhu 9\nAcciones: Tonifica el Qi\nIndicaciones: Fatiga\n\n"
                          "== Descripcion\nCon Ren Shen y Bai Zhu.\n== DescripcionIng\nRen Shen and Bai Zhu.\n")
        .arg(extraKey);
}

// Writes the small source folder, with some files replaced or added.
void writeSmallSource(const QString &folder, const QMap<QString, QString> &replaced)
{
    QMap<QString, QString> files{
        {QStringLiteral("especies.csv"), QStringLiteral("Nom,NomIng\nPlanta,Plant\n")},
        {QStringLiteral("fuentes.csv"), QStringLiteral("Titulo,Chino,Autor,Dinastia\nShen Nong Ben Cao Jing,,Anónimo,Han\n")},
        {QStringLiteral("usos.csv"), QStringLiteral("Nom,NomIng\nTonifica el Qi,Tonifies Qi\n")},
        {QStringLiteral("sintomas.csv"), QStringLiteral("Nom,NomIng\nFatiga,Fatigue\n")},
        {QStringLiteral("componen.csv"), QStringLiteral("Nom,NomIng\n")},
        {QStringLiteral("clases.csv"), QStringLiteral("Num,Padre,NomEsp,NomIng\n1,0,Tonificantes,Tonics\n")},
        {QStringLiteral("glosario.csv"), QStringLiteral("Nom,Memo\nQi,Energía\n")},
        {QStringLiteral("English/glossary.csv"), QStringLiteral("Nom,Memo\nQi,Energy\n")},
        {QStringLiteral("pages/Index.htm"), QStringLiteral("<html></html>\n")},
        {QStringLiteral("elementos/ren-shen.txt"), renShen()},
        {QStringLiteral("elementos/bai-zhu.txt"), baiZhu()},
        {QStringLiteral("formulas/si-jun-zi-tang.txt"), siJunZiTang()},
    };
    for (auto it = replaced.begin(); it != replaced.end(); ++it)
        files.insert(it.key(), it.value());
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = QDir(folder).filePath(it.key());
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(it.value().toUtf8());
    }
}

} // namespace

class TestSample : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void holdsAUsefulReference_data();
    void holdsAUsefulReference();
    void formulasAddUpAndUseElements();
    void storedFormulaProfileIsTheComputedOne();
    void propertyStringsHaveEveryDigit();
    void everyReferenceResolves_data();
    void everyReferenceResolves();
    void catalogueRowsAreBilingual_data();
    void catalogueRowsAreBilingual();
    void glossaryIsBilingual();
    void formulaToxicityIsItsIngredientsHighest();
    void builderRefusesWhatBreaksTheConventions_data();
    void builderRefusesWhatBreaksTheConventions();
    void formulaToxicityDerivation_data();
    void formulaToxicityDerivation();

private:
    qint64 scalar(const QString &sql);
    QTemporaryDir m_dir;
    std::unique_ptr<store::Session> m_session;
};

qint64 TestSample::scalar(const QString &sql)
{
    return test::scalar(*m_session, sql);
}

void TestSample::initTestCase()
{
    const QString target = QDir(m_dir.path()).filePath(QStringLiteral("folder"));
    try {
        data::importSample(sampleSource(), target);
    } catch (const store::Error &e) {
        QFAIL(qPrintable(e.message()));
    }
    m_session = std::make_unique<store::Session>(target);
}

void TestSample::holdsAUsefulReference_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("atLeast");
    QTest::newRow("elements") << "SELECT count(*) FROM Plantas WHERE NOT EsFormula" << 320;
    QTest::newRow("formulas") << "SELECT count(*) FROM Plantas WHERE EsFormula" << 130;
    QTest::newRow("actions") << "SELECT count(*) FROM Usos" << 150;
    QTest::newRow("indications") << "SELECT count(*) FROM Sintomas" << 250;
    QTest::newRow("components in use") << "SELECT count(DISTINCT KComp) FROM RelComp" << 40;
    QTest::newRow("classes") << "SELECT count(*) FROM Clases WHERE Padre=0" << 15;
    QTest::newRow("sources") << "SELECT count(*) FROM Fuentes" << 12;
    QTest::newRow("glossary") << "SELECT count(*) FROM Glosario" << 200;
    QTest::newRow("synonyms") << "SELECT count(*) FROM Sinonimos" << 100;
    QTest::newRow("elements without actions") << "SELECT -count(*) FROM Plantas p WHERE NOT EXISTS (SELECT 1 FROM Rel r WHERE r.KPlanta=p.Clave)" << 0;
    QTest::newRow("elements without indications") << "SELECT -count(*) FROM Plantas p WHERE NOT EXISTS (SELECT 1 FROM RelSint r WHERE r.KPlanta=p.Clave)" << 0;
}

void TestSample::holdsAUsefulReference()
{
    QFETCH(QString, sql);
    QFETCH(int, atLeast);
    const qint64 n = scalar(sql);
    QVERIFY2(n >= atLeast, qPrintable(QStringLiteral("%1 < %2").arg(n).arg(atLeast)));
}

void TestSample::formulasAddUpAndUseElements()
{
    store::Statement q(m_session->database().handle(),
                       QStringLiteral("SELECT f.PinYin, sum(r.Porcentaje), sum(i.EsFormula) FROM RelForm r "
                                      "JOIN Plantas f ON f.Clave=r.KFormula JOIN Plantas i ON i.Clave=r.KPlanta "
                                      "GROUP BY r.KFormula"));
    int formulas = 0;
    while (q.step()) {
        ++formulas;
        QVERIFY2(qAbs(q.value(1).toDouble() - 100) <= 0.1, qPrintable(q.value(0).toString()));
        QVERIFY2(q.int64(2) == 0, qPrintable(q.value(0).toString() + QStringLiteral(" has a formula as ingredient")));
    }
    QCOMPARE(formulas, int(scalar(QStringLiteral("SELECT count(*) FROM Plantas WHERE EsFormula"))));
}

void TestSample::storedFormulaProfileIsTheComputedOne()
{
    store::Statement formulas(m_session->database().handle(),
                              QStringLiteral("SELECT Clave, PinYin, Meridianos, Sabor, Energia FROM Plantas WHERE EsFormula"));
    while (formulas.step()) {
        data::ProfileSlotsArray acc[3] = {};
        store::Statement rows(m_session->database().handle(),
                              QStringLiteral("SELECT r.Porcentaje, i.Meridianos, i.Sabor, i.Energia FROM RelForm r "
                                             "JOIN Plantas i ON i.Clave=r.KPlanta WHERE r.KFormula=?"));
        rows.bind(1, formulas.value(0));
        while (rows.step())
            for (int s = 0; s < 3; ++s)
                data::addWeightedProfile(acc[s], rows.value(0).toDouble(), rows.value(s + 1).toString());
        QCOMPARE(formulas.value(2).toString(), data::profileString(acc[0]).left(data::ChannelsWidth));
        QCOMPARE(formulas.value(3).toString(), data::profileString(acc[1]).left(data::TastesWidth));
        QCOMPARE(formulas.value(4).toString(), data::profileString(acc[2]).left(data::NaturesWidth));
    }
}

void TestSample::propertyStringsHaveEveryDigit()
{
    store::Statement q(m_session->database().handle(), QStringLiteral("SELECT PinYin, Meridianos, Sabor, Energia FROM Plantas"));
    const QRegularExpression channels(QStringLiteral("^[0-9]{12,14}$")), tastes(QStringLiteral("^[0-9]{8,10}$")),
        natures(QStringLiteral("^[0-9]{5,10}$"));
    while (q.step()) {
        const QString name = q.value(0).toString();
        QVERIFY2(channels.match(q.value(1).toString()).hasMatch(), qPrintable(name));
        QVERIFY2(tastes.match(q.value(2).toString()).hasMatch(), qPrintable(name));
        QVERIFY2(natures.match(q.value(3).toString()).hasMatch(), qPrintable(name));
        QVERIFY2(q.value(1).toString() != QString(14, QLatin1Char('0')), qPrintable(name + QStringLiteral(": no channel")));
        QVERIFY2(q.value(3).toString() != QString(10, QLatin1Char('0')), qPrintable(name + QStringLiteral(": no nature")));
    }
}

void TestSample::everyReferenceResolves_data()
{
    QTest::addColumn<QString>("sql"); // counts rows whose reference points nowhere
    QTest::newRow("Rel") << "SELECT count(*) FROM Rel r WHERE NOT EXISTS (SELECT 1 FROM Plantas p WHERE p.Clave=r.KPlanta AND p.Orden=r.OPlanta) OR NOT EXISTS (SELECT 1 FROM Usos u WHERE u.Clave=r.KUso AND u.Orden=r.OUso)";
    QTest::newRow("RelSint") << "SELECT count(*) FROM RelSint r WHERE NOT EXISTS (SELECT 1 FROM Plantas p WHERE p.Clave=r.KPlanta AND p.Orden=r.OPlanta) OR NOT EXISTS (SELECT 1 FROM Sintomas u WHERE u.Clave=r.KSint AND u.Orden=r.OSint)";
    QTest::newRow("RelComp") << "SELECT count(*) FROM RelComp r WHERE NOT EXISTS (SELECT 1 FROM Plantas p WHERE p.Clave=r.KPlanta AND p.Orden=r.OPlanta) OR NOT EXISTS (SELECT 1 FROM Componen u WHERE u.Clave=r.KComp AND u.Orden=r.OComp)";
    QTest::newRow("RelForm") << "SELECT count(*) FROM RelForm r WHERE NOT EXISTS (SELECT 1 FROM Plantas p WHERE p.Clave=r.KPlanta AND p.Orden=r.OPlanta) OR NOT EXISTS (SELECT 1 FROM Plantas u WHERE u.Clave=r.KFormula AND u.Orden=r.OFormula)";
    QTest::newRow("Sinonimos") << "SELECT count(*) FROM Sinonimos s WHERE NOT EXISTS (SELECT 1 FROM Plantas p WHERE p.Clave=s.KPlanta)";
    QTest::newRow("class") << "SELECT count(*) FROM Plantas p WHERE KClase IS NULL OR NOT EXISTS (SELECT 1 FROM Clases c WHERE c.Num=p.KClase AND c.Padre=0)";
    QTest::newRow("subclass") << "SELECT count(*) FROM Plantas p WHERE KSubClase IS NOT NULL AND NOT EXISTS (SELECT 1 FROM Clases c WHERE c.Num=p.KSubClase AND c.Padre=p.KClase)";
    QTest::newRow("source") << "SELECT count(*) FROM Plantas p WHERE KFuente IS NOT NULL AND NOT EXISTS (SELECT 1 FROM Fuentes f WHERE f.Clave=p.KFuente)";
    QTest::newRow("species") << "SELECT count(*) FROM Plantas p WHERE NOT EsFormula AND (KEspecie IS NULL OR NOT EXISTS (SELECT 1 FROM Especies e WHERE e.Clave=p.KEspecie))";
    QTest::newRow("order numbers") << "SELECT count(*) FROM Plantas WHERE Orden IS NULL OR Orden<>Clave";
}

void TestSample::everyReferenceResolves()
{
    QFETCH(QString, sql);
    QCOMPARE(scalar(sql), qint64(0));
}

void TestSample::catalogueRowsAreBilingual_data()
{
    QTest::addColumn<QString>("sql"); // counts rows missing a name
    QTest::newRow("actions") << "SELECT count(*) FROM Usos WHERE Nom IS NULL OR NomIng IS NULL";
    QTest::newRow("indications") << "SELECT count(*) FROM Sintomas WHERE Nom IS NULL OR NomIng IS NULL";
    QTest::newRow("components") << "SELECT count(*) FROM Componen WHERE Nom IS NULL OR NomIng IS NULL";
    QTest::newRow("classes") << "SELECT count(*) FROM Clases WHERE NomEsp IS NULL OR NomIng IS NULL";
    QTest::newRow("species") << "SELECT count(*) FROM Especies WHERE Nom IS NULL OR NomIng IS NULL";
    QTest::newRow("plants") << "SELECT count(*) FROM Plantas WHERE PinYin IS NULL OR Nom2 IS NULL OR Nom3 IS NULL";
    QTest::newRow("element texts") << "SELECT count(*) FROM Plantas WHERE Descripcion IS NULL OR DescripcionIng IS NULL";
}

void TestSample::catalogueRowsAreBilingual()
{
    QFETCH(QString, sql);
    QCOMPARE(scalar(sql), qint64(0));
}

// Every Spanish glossary term has its English counterpart: the two files are kept row for row.
void TestSample::glossaryIsBilingual()
{
    store::Statement q(m_session->database(QString::fromLatin1(data::EnglishFolderOff)).handle(),
                       QStringLiteral("SELECT count(*) FROM Glossary WHERE Memo IS NOT NULL"));
    QVERIFY(q.step());
    QCOMPARE(q.int64(0), scalar(QStringLiteral("SELECT count(*) FROM Glosario WHERE Memo IS NOT NULL")));
    QVERIFY(q.int64(0) >= 200);
}

void TestSample::formulaToxicityIsItsIngredientsHighest()
{
    store::Statement q(m_session->database().handle(),
                       QStringLiteral("SELECT f.PinYin, f.Toxicidad, max(i.Toxicidad), sum(i.Toxicidad IS NULL) FROM RelForm r "
                                      "JOIN Plantas f ON f.Clave=r.KFormula JOIN Plantas i ON i.Clave=r.KPlanta GROUP BY r.KFormula"));
    int marked = 0;
    while (q.step()) {
        const QString highest = q.value(2).toString();
        const QString expected = highest > QLatin1String("0") || q.int64(3) == 0 ? highest : QString();
        QCOMPARE(q.value(1).toString(), expected);
        marked += expected > QLatin1String("0");
    }
    QVERIFY2(marked > 0, "some formula holds a toxic ingredient");
}

void TestSample::builderRefusesWhatBreaksTheConventions_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("where"); // empty: the source builds
    QTest::addColumn<QString>("why");

    const QString renShen = QStringLiteral("elementos/ren-shen.txt");
    const QString list = QStringLiteral("sin-ficha.txt");
    QTest::newRow("the small source builds") << renShen << ::renShen() << QString() << QString();
    QTest::newRow("two main tastes") << renShen << ::renShen(QStringLiteral("Sweet 9, Bitter 9"))
                                     << QStringLiteral("ren-shen.txt:9:") << QStringLiteral("2 sabores de grado 9 (Sweet, Bitter)");
    QTest::newRow("no main taste") << renShen << ::renShen(QStringLiteral("Sweet 6")) << QStringLiteral("ren-shen.txt:9:")
                                   << QStringLiteral("ningún sabor de grado 9");
    QTest::newRow("slightly cold written Cool 5") << renShen << ::renShen(QStringLiteral("Sweet 9"), QStringLiteral("Cool 5"))
                                                  << QStringLiteral("ren-shen.txt:10:") << QStringLiteral("Cold 5");
    QTest::newRow("a slightly neutral nature") << renShen << ::renShen(QStringLiteral("Sweet 9"), QStringLiteral("Neutral 5"))
                                               << QStringLiteral("ren-shen.txt:10:") << QStringLiteral("Neutral 5");
    QTest::newRow("a cited herb without a record")
        << renShen << ::renShen(QStringLiteral("Sweet 9"), QStringLiteral("Warm 5"), QStringLiteral("Con Huang Qi y Bai Zhu."))
        << QStringLiteral("ren-shen.txt:16:") << QStringLiteral("\"Huang Qi\" se cita y no tiene ficha");
    QTest::newRow("a formula named after its herbs is a name of its own")
        << renShen << ::renShen(QStringLiteral("Sweet 9"), QStringLiteral("Warm 5"), QStringLiteral("Es Ren Shen Bai Zhu Tang."))
        << QStringLiteral("ren-shen.txt:16:") << QStringLiteral("\"Ren Shen Bai Zhu Tang\"");
    QTest::newRow("capitalised words, sources and synonyms are not missing names")
        << renShen
        << ::renShen(QStringLiteral("Sweet 9"), QStringLiteral("Warm 5"),
                     QStringLiteral("A Ren Shen le sigue Bai Zhu. La Hong Shen. Tonifica el Yin. En Shen Nong Ben Cao Jing. "
                                    "He Said: Se Tan Bien."))
        << QString() << QString();
    QTest::newRow("a listed name resolves") << list << QStringLiteral("# nombres\nHuang Qi: planta de prueba\n") << QString()
                                            << QString();
    QTest::newRow("a pending name resolves") << list << QStringLiteral("== Pendientes\nHuang Qi\n") << QString() << QString();
    QTest::newRow("a listed name nobody cites") << list << QStringLiteral("Huang Qi: planta\n\nSi Jun Zi: grado comercial\n")
                                                << QStringLiteral("sin-ficha.txt:3:") << QStringLiteral("no se cita");
    QTest::newRow("a listed name needs its reason") << list << QStringLiteral("Huang Qi\n") << QStringLiteral("sin-ficha.txt:1:")
                                                    << QStringLiteral("necesita su motivo");
    QTest::newRow("a listed name that has a record") << list << QStringLiteral("Bai Zhu: repetido\n")
                                                     << QStringLiteral("sin-ficha.txt:1:") << QStringLiteral("ya tiene ficha");
    QTest::newRow("a listed name that is a synonym") << list << QStringLiteral("Huang Qi: planta\nHong Shen: forma de Ren Shen\n")
                                                    << QStringLiteral("sin-ficha.txt:2:") << QStringLiteral("ya tiene ficha");
    QTest::newRow("a listed name is pin yin") << list << QStringLiteral("Huang qi: nombre\n") << QStringLiteral("sin-ficha.txt:1:")
                                              << QStringLiteral("no es un nombre en pin yin");
    QTest::newRow("a Spanish term without its English one")
        << QStringLiteral("glosario.csv") << QStringLiteral("Nom,Memo\nQi,Energía\nYin,Lo frío y quieto\n")
        << QStringLiteral("glosario.csv, fila 3") << QStringLiteral("English/glossary.csv");
    QTest::newRow("a formula's toxicity is derived, not written")
        << QStringLiteral("formulas/si-jun-zi-tang.txt") << siJunZiTang(QStringLiteral("Toxicidad: 0\n"))
        << QStringLiteral("si-jun-zi-tang.txt:5:") << QStringLiteral("la más alta de sus ingredientes");
}

// Each broken source is refused with the file and line to mend; what keeps the conventions builds.
void TestSample::builderRefusesWhatBreaksTheConventions()
{
    QFETCH(QString, file);
    QFETCH(QString, content);
    QFETCH(QString, where);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString source = QDir(dir.path()).filePath(QStringLiteral("src"));
    QMap<QString, QString> replaced{{file, content}};
    // A cited name that the list of unrecorded names must hold, so that its entries are needed.
    if (file == QLatin1String("sin-ficha.txt"))
        replaced.insert(QStringLiteral("elementos/ren-shen.txt"),
                        renShen(QStringLiteral("Sweet 9"), QStringLiteral("Warm 5"), QStringLiteral("Con Huang Qi.")));
    writeSmallSource(source, replaced);
    QString message;
    try {
        data::importSample(source, QDir(dir.path()).filePath(QStringLiteral("folder")));
    } catch (const store::Error &e) {
        message = e.message();
    }
    if (where.isEmpty()) {
        QVERIFY2(message.isEmpty(), qPrintable(message));
        return;
    }
    QVERIFY2(message.contains(where), qPrintable(message));
    QVERIFY2(message.contains(why), qPrintable(message));
}

void TestSample::formulaToxicityDerivation_data()
{
    QTest::addColumn<QString>("renShen");
    QTest::addColumn<QString>("baiZhu");
    QTest::addColumn<QString>("formula"); // empty: not marked
    QTest::newRow("the highest mark") << "1" << "3" << "3";
    QTest::newRow("all non-toxic") << "0" << "0" << "0";
    QTest::newRow("one unmarked, the other non-toxic") << "0" << "" << "";
    QTest::newRow("one unmarked, the other toxic") << "" << "2" << "2";
}

void TestSample::formulaToxicityDerivation()
{
    QFETCH(QString, renShen);
    QFETCH(QString, baiZhu);
    QFETCH(QString, formula);
    QTemporaryDir dir;
    const QString source = QDir(dir.path()).filePath(QStringLiteral("src"));
    const QString target = QDir(dir.path()).filePath(QStringLiteral("folder"));
    writeSmallSource(source, {{QStringLiteral("elementos/ren-shen.txt"),
                               ::renShen(QStringLiteral("Sweet 9, Bitter 3"), QStringLiteral("Warm 5"),
                                         QStringLiteral("Con Bai Zhu."), renShen)},
                              {QStringLiteral("elementos/bai-zhu.txt"), ::baiZhu(baiZhu)}});
    STORE_VERIFY(data::importSample(source, target));
    store::Session session(target);
    store::Statement q(session.database().handle(), QStringLiteral("SELECT Toxicidad FROM Plantas WHERE EsFormula"));
    QVERIFY(q.step());
    QCOMPARE(q.value(0).toString(), formula);
}

QTEST_GUILESS_MAIN(TestSample)
#include "tst_sample.moc"
