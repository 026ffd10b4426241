// The benchmark on a small generated folder: the generated content holds what the figures rely
// on, the same seed gives the same folder, and every operation runs and comes to the same result
// as its plain SQLite baseline. Nothing here looks at a time.
#include "Fixture.h"
#include "Generator.h"
#include "Suite.h"

#include "store/Database.h"
#include "store/Error.h"

#include <QCryptographicHash>
#include <QtTest>

namespace {

QString generated(const QString &parent, const QString &name, std::uint64_t seed)
{
    const QString folder = QDir(parent).filePath(name);
    bench::generate(bench::genSize(QStringLiteral("S")), folder, seed);
    return folder;
}

// Every value of the tables the benchmark reads, in row order.
QByteArray contentDigest(const QString &folder)
{
    store::Database db(folder, store::Database::OpenMode::Existing);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const char *table : {"Plantas", "Usos", "Sintomas", "Clases", "Rel", "RelSint", "RelForm"}) {
        store::Statement q(db.handle(), QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)));
        while (q.step())
            for (int c = 0; c < q.columnCount(); ++c)
                hash.addData(q.value(c).toString().toUtf8() + '\x1f');
    }
    return hash.result();
}

} // namespace

class TestBench : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void smallFolderHolds_data();
    void smallFolderHolds();
    void sameSeedSameFolder();
    void operationRunsAndAgrees_data();
    void operationRunsAndAgrees();

private:
    QTemporaryDir m_dir;
    QString m_small;
};

void TestBench::initTestCase()
{
    QVERIFY(m_dir.isValid());
    STORE_VERIFY(m_small = generated(m_dir.path(), QStringLiteral("S"), 7));
}

void TestBench::smallFolderHolds_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<qlonglong>("expected");
    QTest::newRow("elements") << "SELECT count(*) FROM Plantas WHERE EsFormula=0" << 530LL;
    QTest::newRow("formulas") << "SELECT count(*) FROM Plantas WHERE EsFormula=1" << 120LL;
    QTest::newRow("actions") << "SELECT count(*) FROM Usos" << 600LL;
    QTest::newRow("indications") << "SELECT count(*) FROM Sintomas" << 900LL;
    // M's 600,000 action and indication rows for 55,200 plants, scaled to S's 650.
    QTest::newRow("action and indication rows") << "SELECT (SELECT count(*) FROM Rel) + (SELECT count(*) FROM RelSint)" << 7065LL;
    QTest::newRow("percentages add up to 100")
        << "SELECT count(*) FROM (SELECT sum(Porcentaje) AS s FROM RelForm GROUP BY KFormula) WHERE abs(s - 100) > 0.1" << 0LL;
    QTest::newRow("4 to 15 ingredients a formula")
        << "SELECT count(*) FROM Plantas p WHERE EsFormula=1 AND "
           "(SELECT count(*) FROM RelForm WHERE KFormula=p.Clave) NOT BETWEEN 4 AND 15" << 0LL;
    QTest::newRow("ingredients are elements")
        << "SELECT count(*) FROM RelForm r JOIN Plantas p ON p.Clave=r.KPlanta WHERE p.EsFormula<>0" << 0LL;
    QTest::newRow("no duplicate action pair")
        << "SELECT count(*) FROM (SELECT 1 FROM Rel GROUP BY KPlanta, KUso HAVING count(*) > 1)" << 0LL;
    QTest::newRow("no duplicate indication pair")
        << "SELECT count(*) FROM (SELECT 1 FROM RelSint GROUP BY KPlanta, KSint HAVING count(*) > 1)" << 0LL;
    QTest::newRow("no duplicate ingredient pair")
        << "SELECT count(*) FROM (SELECT 1 FROM RelForm GROUP BY KFormula, KPlanta HAVING count(*) > 1)" << 0LL;
    QTest::newRow("Orden is Clave") << "SELECT count(*) FROM Plantas WHERE Orden IS NOT Clave" << 0LL;
    QTest::newRow("O fields repeat Orden")
        << "SELECT count(*) FROM RelSint r JOIN Plantas p ON p.Clave=r.KPlanta JOIN Sintomas s ON s.Clave=r.KSint "
           "WHERE r.OPlanta<>p.Orden OR r.OSint<>s.Orden" << 0LL;
    QTest::newRow("subclass of the plant's class")
        << "SELECT count(*) FROM Plantas p LEFT JOIN Clases c ON c.Num=p.KSubClase WHERE c.Padre IS NOT p.KClase" << 0LL;
    QTest::newRow("distinct pin yin names") << "SELECT count(*) - count(DISTINCT PinYin) FROM Plantas" << 0LL;
    QTest::newRow("profiles are digits of their widths")
        << "SELECT count(*) FROM Plantas WHERE length(Meridianos)<>14 OR length(Sabor)<>10 OR length(Energia)<>10 "
           "OR Meridianos || Sabor || Energia GLOB '*[^0-9]*'" << 0LL;
    QTest::newRow("accented Spanish names") << "SELECT count(*) > 0 FROM Plantas WHERE Nom2 GLOB '*[áéíóúñ]*'" << 1LL;
    QTest::newRow("descriptions of about 800 characters")
        << "SELECT avg(length(Descripcion)) BETWEEN 700 AND 900 FROM Plantas" << 1LL;
}

void TestBench::smallFolderHolds()
{
    QFETCH(QString, sql);
    QFETCH(qlonglong, expected);
    store::Database db(m_small, store::Database::OpenMode::Existing);
    qlonglong found = -1;
    STORE_VERIFY({
        store::Statement q(db.handle(), sql);
        if (q.step())
            found = q.int64(0);
    });
    QCOMPARE(found, expected);
}

void TestBench::sameSeedSameFolder()
{
    QString again, other;
    STORE_VERIFY(again = generated(m_dir.path(), QStringLiteral("again"), 7));
    STORE_VERIFY(other = generated(m_dir.path(), QStringLiteral("other"), 8));
    QCOMPARE(contentDigest(again), contentDigest(m_small));
    QVERIFY(contentDigest(other) != contentDigest(m_small));
}

void TestBench::operationRunsAndAgrees_data()
{
    QTest::addColumn<QString>("id");
    for (const QString &id : bench::Suite::operationIds())
        QTest::newRow(qPrintable(id)) << id;
}

void TestBench::operationRunsAndAgrees()
{
    QFETCH(QString, id);
    QList<bench::Measurement> measured;
    try {
        bench::Suite suite(m_small, {true, QStringLiteral(HERBAXIS_BENCH_PROGRAM)});
        measured = suite.run(id);
    } catch (const store::Error &e) {
        QFAIL(qPrintable(e.message()));
    } catch (const std::exception &e) {
        QFAIL(e.what());
    }
    QVERIFY(!measured.isEmpty());
    for (const bench::Measurement &m : std::as_const(measured)) {
        QVERIFY2(!m.samples.empty(), qPrintable(m.id));
        QCOMPARE(m.baseline.size(), m.samples.size());
        QVERIFY2(m.disagreements.isEmpty(), qPrintable(m.id + QLatin1String(": ") + m.disagreements.join(QLatin1String("; "))));
    }
}

QTEST_MAIN(TestBench)
#include "tst_bench.moc"
