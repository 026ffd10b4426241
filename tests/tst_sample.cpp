// The bundled materia medica: it builds, and what it holds is consistent.
#include "Fixture.h"

#include "data/Profile.h"
#include "SampleImport.h"
#include "store/Error.h"

#include <QtTest>

namespace {

QString sampleSource()
{
    return qEnvironmentVariable("HERBAXIS_SAMPLE_SOURCE", QStringLiteral(HERBAXIS_SOURCE_DIR "/sample"));
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
    QTest::newRow("elements") << "SELECT count(*) FROM Plantas WHERE NOT EsFormula" << 150;
    QTest::newRow("formulas") << "SELECT count(*) FROM Plantas WHERE EsFormula" << 40;
    QTest::newRow("actions") << "SELECT count(*) FROM Usos" << 150;
    QTest::newRow("indications") << "SELECT count(*) FROM Sintomas" << 250;
    QTest::newRow("components in use") << "SELECT count(DISTINCT KComp) FROM RelComp" << 40;
    QTest::newRow("classes") << "SELECT count(*) FROM Clases WHERE Padre=0" << 15;
    QTest::newRow("sources") << "SELECT count(*) FROM Fuentes" << 12;
    QTest::newRow("glossary") << "SELECT count(*) FROM Glosario" << 80;
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

QTEST_GUILESS_MAIN(TestSample)
#include "tst_sample.moc"
