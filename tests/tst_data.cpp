// The schema, opening a working folder, the formula profile arithmetic and the sample sources'
// small parsers.
#include "Fixture.h"

#include "app/WorkingFolder.h"
#include "data/Profile.h"
#include "SampleImport.h"
#include "data/Schema.h"
#include "store/Error.h"

#include <QtTest>

class TestData : public QObject {
    Q_OBJECT

private slots:
    void freshDatabaseMatchesSchema();
    void changedFieldIsReported();
    void missingTableIsCreated();
    void openingAskBeforeCreating_data();
    void openingAskBeforeCreating();
    void englishGlossaryLivesInEnglishFolder();
    void formulaProfile_data();
    void formulaProfile();
    void dosesToPercentages_data();
    void dosesToPercentages();
    void csv();
};

void TestData::freshDatabaseMatchesSchema()
{
    test::WorkingFolder wf;
    store::Database &db = wf.session().database();
    for (const store::TableDef &t : data::workingTables())
        QVERIFY2(db.checkTable(t).isEmpty(), qPrintable(db.checkTable(t).join(QLatin1Char('\n'))));
    const store::TableInfo &plantas = db.info(QStringLiteral("plantas.db"));
    QCOMPARE(plantas.fields.size(), 45);
    QCOMPARE(plantas.fields.first().type, store::FieldType::AutoInc);
    QCOMPARE(plantas.fields[plantas.fieldIndex(QStringLiteral("Meridianos"))].width, 14);
    QVERIFY(plantas.index(QStringLiteral("PorPinYin"))->caseInsensitive);
    QVERIFY(db.info(QStringLiteral("Repertor")).index(QStringLiteral("PorCant"))->descending);
    QCOMPARE(db.info(QStringLiteral("Repertor")).primaryField, QStringLiteral("KPlanta"));
}

void TestData::changedFieldIsReported()
{
    test::WorkingFolder wf;
    wf.session().database().exec(QStringLiteral("CREATE TABLE Extra (a INTEGER)"));
    store::TableDef def;
    def.name = QStringLiteral("Extra");
    def.fields = {{QStringLiteral("a"), store::FieldType::Text, 10}, {QStringLiteral("b"), store::FieldType::Integer, 0}};
    const QStringList problems = wf.session().database().checkTable(def);
    QCOMPARE(problems.size(), 2);
    QVERIFY(problems.join(QLatin1Char(' ')).contains(QStringLiteral("VARCHAR(10)")));
}

void TestData::missingTableIsCreated()
{
    test::WorkingFolder wf;
    wf.session().database().exec(QStringLiteral("DROP TABLE Selecc"));
    wf.closeSession();
    std::unique_ptr<store::Session> s;
    s = app::openWorkingFolder(wf.path(), [](const QString &) { return false; });
    QVERIFY(s);
    QVERIFY(s->database().hasTable(QStringLiteral("Selecc.db")));
}

void TestData::openingAskBeforeCreating_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("yes creates") << true;
    QTest::newRow("no leaves the folder empty") << false;
}

void TestData::openingAskBeforeCreating()
{
    QFETCH(bool, answer);
    QTemporaryDir dir;
    QString asked;
    std::unique_ptr<store::Session> s;
    STORE_VERIFY(s = app::openWorkingFolder(dir.path(), [&](const QString &q) {
        asked = q;
        return answer;
    }));
    QVERIFY(asked.contains(QDir::toNativeSeparators(dir.path())));
    QCOMPARE(bool(s), answer);
    QCOMPARE(store::Database::existsIn(dir.path()), answer);
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty(), !answer);
}

void TestData::englishGlossaryLivesInEnglishFolder()
{
    test::WorkingFolder wf;
    data::createDatabase(QDir(wf.path()).filePath(QStringLiteral("English")), data::englishTables());
    store::Table t(wf.session(), QStringLiteral("English\\Glossary.DB"));
    t.setIndexName(QStringLiteral("PorNom"));
    t.open();
    t.append();
    t.setValue(QStringLiteral("Nom"), QStringLiteral("Qi"));
    t.post();
    store::Table spanish(wf.session(), QStringLiteral("Glosario.db"));
    spanish.open();
    QCOMPARE(spanish.recordCount(), 0);
}

void TestData::formulaProfile_data()
{
    QTest::addColumn<QList<double>>("percents");
    QTest::addColumn<QStringList>("strings");
    QTest::addColumn<QString>("expected");
    QTest::newRow("half goes to even: 4.5 -> 4") << QList<double>{50, 50} << QStringList{"4", "5"} << "40000000000000";
    QTest::newRow("half goes to even: 3.5 -> 4") << QList<double>{50, 50} << QStringList{"3", "4"} << "40000000000000";
    QTest::newRow("30 % of 9 -> 3") << QList<double>{30} << QStringList{"9"} << "30000000000000";
    QTest::newRow("null string adds nothing") << QList<double>{50, 50} << QStringList{"", "8"} << "40000000000000";
    QTest::newRow("all fourteen positions") << QList<double>{100} << QStringList{"12345678901234"} << "12345678901234";
    QTest::newRow("beyond fourteen ignored") << QList<double>{100} << QStringList{"123456789012345"} << "12345678901234";
    QTest::newRow("over 100 % stays one digit") << QList<double>{100, 100} << QStringList{"9", "9"} << "90000000000000";
}

void TestData::formulaProfile()
{
    QFETCH(QList<double>, percents);
    QFETCH(QStringList, strings);
    QFETCH(QString, expected);
    data::ProfileSlotsArray acc{};
    for (int i = 0; i < percents.size(); ++i)
        data::addWeightedProfile(acc, percents[i], strings[i]);
    QCOMPARE(data::profileString(acc), expected);
}

void TestData::dosesToPercentages_data()
{
    QTest::addColumn<QList<double>>("doses");
    QTest::addColumn<QList<double>>("expected");
    QTest::newRow("equal thirds") << QList<double>{9, 9, 9} << QList<double>{33.4, 33.3, 33.3};
    QTest::newRow("four gentlemen") << QList<double>{9, 9, 9, 6} << QList<double>{27.3, 27.3, 27.2, 18.2};
    QTest::newRow("single") << QList<double>{12} << QList<double>{100};
}

void TestData::dosesToPercentages()
{
    QFETCH(QList<double>, doses);
    QFETCH(QList<double>, expected);
    const QList<double> got = data::dosesToPercentages(doses);
    QCOMPARE(got, expected);
    double sum = 0;
    for (double p : got)
        sum += p;
    QVERIFY(qAbs(sum - 100) < 1e-9);
}

void TestData::csv()
{
    const QList<QStringList> rows = data::parseCsv(QStringLiteral("Nom,Memo\r\n\"Qi, energía\",\"dice \"\"hola\"\"\nen dos líneas\"\nVacío,\n"));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[1], (QStringList{QStringLiteral("Qi, energía"), QStringLiteral("dice \"hola\"\nen dos líneas")}));
    QCOMPARE(rows[2], (QStringList{QStringLiteral("Vacío"), QString()}));
}

QTEST_GUILESS_MAIN(TestData)
#include "tst_data.moc"
