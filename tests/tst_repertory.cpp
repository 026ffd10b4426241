// The repertorization window, the progress window and the repertorial chart: counting, searching,
// the lifecycle of the selection, the chart's order, drawing and text.
#include "Modal.h"
#include "ProgramFixture.h"

#include "Generator.h"
#include "app/HerbaxisApplication.h"
#include "common/TFBarra.h"
#include "data/InterfaceTexts.h"
#include "repertory/TFPlanRep.h"
#include "repertory/TFUsos.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QToolButton>
#include <QtTest>

#include <map>

using repertory::TFPlanRep;
using repertory::TFUsos;

namespace {

int scalar(store::Session &s, const QString &sql)
{
    store::Statement q(s.database().handle(), sql);
    return q.step() ? int(q.int64(0)) : -1;
}

// Plant key -> count, as the repertory holds it.
std::map<int, int> counts(store::Session &s)
{
    std::map<int, int> held;
    store::Statement q(s.database().handle(), QStringLiteral("SELECT KPlanta, Cant FROM Repertor"));
    while (q.step())
        held[int(q.int64(0))] = int(q.int64(1));
    return held;
}

// A catalogue item of `table` (Usos or Sintomas) with its relation rows to `plants`.
int addItem(store::Session &s, const QString &table, const QString &name, const QList<int> &plants)
{
    store::Database &db = s.database();
    store::Statement q(db.handle(), QStringLiteral("INSERT INTO %1 (Nom, NomIng) VALUES (?, ?)").arg(table));
    q.bind(1, name);
    q.bind(2, name);
    q.run();
    const int key = int(db.lastInsertRowId());
    db.exec(QStringLiteral("UPDATE %1 SET Orden=Clave WHERE Clave=%2").arg(table).arg(key));
    const bool actions = table == QLatin1String("Usos");
    for (int p : plants)
        db.exec(QStringLiteral("INSERT INTO %1 (KPlanta, %2, OPlanta, %3) VALUES (%4,%5,%4,%5)")
                    .arg(actions ? QStringLiteral("Rel") : QStringLiteral("RelSint"), actions ? QStringLiteral("KUso") : QStringLiteral("KSint"),
                         actions ? QStringLiteral("OUso") : QStringLiteral("OSint"))
                    .arg(p)
                    .arg(key));
    db.tableReset(table);
    db.tableReset(actions ? QStringLiteral("Rel") : QStringLiteral("RelSint"));
    return key;
}

TFUsos *usosOf(test::ProgramFixture &f)
{
    return qobject_cast<TFUsos *>(f.context.FUsos);
}

TFPlanRep *chartOf(test::ProgramFixture &f)
{
    return qobject_cast<TFPlanRep *>(f.context.FPlanRep);
}

bool pick(TFUsos *u, int key)
{
    return u->Tabla->locate(QStringLiteral("Clave"), key);
}

void add(TFUsos *u, int key)
{
    QVERIFY(pick(u, key));
    u->AgregarClick();
}

void removeSelected(TFUsos *u, int key)
{
    QVERIFY(u->TSel->locate(QStringLiteral("Num"), key));
    u->QuitarClick();
}

QStringList shownNames(TFUsos *u)
{
    QStringList names;
    for (int i = 0; i < u->Tabla->recordCount(); ++i)
        names << u->Tabla->valueAt(i, QStringLiteral("Nom")).toString();
    return names;
}

} // namespace

class TestRepertory : public QObject {
    Q_OBJECT

private slots:
    void countsFollowAddsAndRemoves();
    void refusedAddsChangeNothing();
    void removeSkipsPlantsWithoutRecordAndStopsAtZero();
    void randomAddsAndRemovesMatchGroupedRelations();
    void searchModes_data();
    void searchModes();
    void letterInCatalogueGridReplacesSearch();
    void removeKeepsEnglishNameOrder();
    void selectionOutlivesReopenOfSameKind();
    void resetAsksFirst();
    void closeAsksToSaveWhenModified_data();
    void closeAsksToSaveWhenModified();
    void emptySelectionHidesResultButtons();
    void chartOrdersByWeightedScore();
    void chartTiesComeReversed();
    void cancelledBuildShowsNoChart();
    void copiedChartText();
    void gridPaintsOnlyVisibleCells();
    void sortMatchesPlaceFormulaOnRandomCharts();
    void progressTakesZeroTotalAsOne();
    void progressBoundToPixels();
    void progressCancelYesEndsRun();
};

void TestRepertory::countsFollowAddsAndRemoves()
{
    test::ProgramFixture f;
    const int p = f.keys.baiZhu, q = f.keys.ganCao, r = f.keys.guiZhi;
    const int first = addItem(f.folder.session(), QStringLiteral("Usos"), QStringLiteral("Primero"), {p, q});
    const int second = addItem(f.folder.session(), QStringLiteral("Usos"), QStringLiteral("Segundo"), {q, r});
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Actions, true);
    add(u, first);
    add(u, second);
    QCOMPARE(counts(f.folder.session()), (std::map<int, int>{{p, 1}, {q, 2}, {r, 1}}));
    QVERIFY(u->Modified);
    // The result grid lists the highest count first.
    QCOMPARE(u->TRep->valueAt(0, QStringLiteral("KPlanta")).toInt(), q);
    QCOMPARE(u->Lab4->text(), QStringLiteral("Elementos almacenados: 3"));
    QCOMPARE(u->Lab2->text(), QStringLiteral("Items repertorizados: 2 "));
    // Properties are copied when a plant's record is made.
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM Repertor WHERE KPlanta=%1 AND P1='99000000000000'").arg(q)), 1);

    removeSelected(u, first);
    QCOMPARE(counts(f.folder.session()), (std::map<int, int>{{q, 1}, {r, 1}}));
    QCOMPARE(u->TSel->recordCount(), 1);
    QCOMPARE(u->TRep->recordCount(), 2);
}

void TestRepertory::refusedAddsChangeNothing()
{
    test::ProgramFixture f;
    const int lonely = addItem(f.folder.session(), QStringLiteral("Usos"), QStringLiteral("Sin relaciones"), {});
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Actions, true);

    auto seen = test::answerNextModal(QStringLiteral("Aceptar"));
    add(u, lonely);
    QVERIFY(seen->answered);
    QCOMPARE(seen->text, QStringLiteral("Sin Plantas"));
    QVERIFY(!u->Modified);
    QCOMPARE(u->TSel->recordCount(), 0);

    add(u, f.keys.tonifica);
    const auto before = counts(f.folder.session());
    seen = test::answerNextModal(QStringLiteral("Aceptar"));
    add(u, f.keys.tonifica);
    QCOMPARE(seen->text, QStringLiteral("La acción terapéutica \r\"Tonifica el Qi\"\rya está en la lista."));
    QCOMPARE(counts(f.folder.session()), before);
    QCOMPARE(u->TSel->recordCount(), 1);
}

void TestRepertory::removeSkipsPlantsWithoutRecordAndStopsAtZero()
{
    test::ProgramFixture f;
    const int both = addItem(f.folder.session(), QStringLiteral("Usos"), QStringLiteral("Ambos"), {f.keys.baiZhu, f.keys.ganCao});
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Actions, true);
    add(u, both);
    add(u, f.keys.libera);
    // The repertory lost a plant's record behind the window's back, and another's count is off.
    f.folder.session().database().exec(QStringLiteral("DELETE FROM Repertor WHERE KPlanta=%1").arg(f.keys.baiZhu));
    f.folder.session().database().exec(QStringLiteral("UPDATE Repertor SET Cant=0 WHERE KPlanta=%1").arg(f.keys.ganCao));
    f.folder.session().database().tableReset(QStringLiteral("Repertor"));
    removeSelected(u, both);
    QCOMPARE(counts(f.folder.session()), (std::map<int, int>{{f.keys.guiZhi, 1}}));
}

void TestRepertory::randomAddsAndRemovesMatchGroupedRelations()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("S"));
    bench::generate(bench::genSize(QStringLiteral("S")), folder, 7);
    store::Session session(folder);
    common::AppContext context;
    context.workingFolder = folder;
    context.session = &session;
    app::Program program(context);
    QVERIFY(program.start());
    auto *u = qobject_cast<TFUsos *>(context.FUsos);
    u->OpenCatalogue(repertory::CatalogueKind::Indications, true);
    QVERIFY(u->Tabla->recordCount() > 100);

    QRandomGenerator rng(13);
    QList<int> selected;
    for (int step = 0; step < 60; ++step) {
        if (!selected.isEmpty() && rng.bounded(3) == 0) {
            const int key = selected.takeAt(int(rng.bounded(int(selected.size()))));
            removeSelected(u, key);
        } else {
            u->Tabla->moveTo(int(rng.bounded(u->Tabla->recordCount())));
            const int key = u->Tabla->asInt(QStringLiteral("Clave"));
            if (selected.contains(key) || u->TRel->recordCount() == 0)
                continue;
            u->AgregarClick();
            selected << key;
        }
        if (step % 10 != 9)
            continue;
        std::map<int, int> expected;
        store::Statement q(session.database().handle(),
                           QStringLiteral("SELECT KPlanta, count(*) FROM RelSint WHERE KSint IN (SELECT Num FROM Selecc) GROUP BY KPlanta"));
        while (q.step())
            expected[int(q.int64(0))] = int(q.int64(1));
        QCOMPARE(counts(session), expected);
        QCOMPARE(u->TSel->recordCount(), int(selected.size()));
    }
}

void TestRepertory::searchModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    const QStringList all = {QStringLiteral("Acción sedante"), QStringLiteral("Cabeza pesada"), QStringLiteral("Dolor cabeza fuerte"),
                             QStringLiteral("Dolor de cabeza"), QStringLiteral("Dolores"), QStringLiteral("Sed")};
    QTest::newRow("any word") << 1 << "DOLOR CABEZA"
                              << QStringList{QStringLiteral("Cabeza pesada"), QStringLiteral("Dolor cabeza fuerte"),
                                             QStringLiteral("Dolor de cabeza"), QStringLiteral("Dolores")};
    QTest::newRow("every word") << 2 << "DOLOR CABEZA" << QStringList{QStringLiteral("Dolor cabeza fuerte"), QStringLiteral("Dolor de cabeza")};
    QTest::newRow("exact text") << 3 << "DOLOR CABEZA" << QStringList{QStringLiteral("Dolor cabeza fuerte")};
    QTest::newRow("blanks, any word") << 1 << "   " << all;
    QTest::newRow("blanks, every word") << 2 << "   " << all;
    QTest::newRow("blanks, exact text") << 3 << "   " << all;
    QTest::newRow("accent typed, any word") << 1 << "ACCIÓN" << QStringList{QStringLiteral("Acción sedante")};
    QTest::newRow("accent not typed, every word") << 2 << "ACCION" << QStringList{QStringLiteral("Acción sedante")};
    QTest::newRow("accent not typed, exact text") << 3 << "accion sed" << QStringList{QStringLiteral("Acción sedante")};
}

void TestRepertory::searchModes()
{
    QFETCH(int, mode);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    test::ProgramFixture f;
    for (const char *name : {"Dolor de cabeza", "Dolores", "Cabeza pesada", "Dolor cabeza fuerte", "Acción sedante", "Sed"})
        addItem(f.folder.session(), QStringLiteral("Sintomas"), QString::fromUtf8(name), {f.keys.ganCao});
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Indications, true);
    QCOMPARE(u->windowTitle(), QStringLiteral("Herbaxis: Búsqueda por Indicaciones"));
    u->RGBusGroup->button(mode)->click();
    u->Ed->setText(typed);
    QCOMPARE(u->Ed->text(), typed.toUpper());
    QCOMPARE(shownNames(u), expected);
    QCOMPARE(u->VerTodas->isHidden(), false);
    u->VerTodasClick();
    QCOMPARE(u->Tabla->recordCount(), 6);
}

void TestRepertory::letterInCatalogueGridReplacesSearch()
{
    test::ProgramFixture f;
    addItem(f.folder.session(), QStringLiteral("Usos"), QStringLiteral("Mueve la sangre"), {f.keys.ganCao});
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Actions, true);
    u->RGBusGroup->button(1)->click();
    u->Ed->setText(QStringLiteral("QI"));
    QCOMPARE(u->Tabla->recordCount(), 1);
    QTest::keyClick(u->Gr1, Qt::Key_M);
    QCOMPARE(u->Ed->text(), QStringLiteral("M"));
    QCOMPARE(u->Ed->cursorPosition(), 1);
    QCOMPARE(shownNames(u), (QStringList{QStringLiteral("Calma el espíritu"), QStringLiteral("Mueve la sangre")}));
    // A digit of the numeric pad is not taken.
    QTest::keyClick(u->Gr1, Qt::Key_5, Qt::KeypadModifier);
    QCOMPARE(u->Ed->text(), QStringLiteral("M"));
}

void TestRepertory::removeKeepsEnglishNameOrder()
{
    test::ProgramFixture f;
    f.folder.session().database().exec(QStringLiteral("UPDATE Usos SET NomIng='A first' WHERE Clave=%1").arg(f.keys.libera));
    QVERIFY(f.start());
    f.dm().Texts = data::englishTexts();
    TFUsos *u = usosOf(f);
    u->ApplyEnglish();
    u->OpenCatalogue(repertory::CatalogueKind::Actions, true);
    add(u, f.keys.tonifica);
    removeSelected(u, f.keys.tonifica);
    QCOMPARE(u->Tabla->indexName(), QStringLiteral("PorNomIng"));
    QCOMPARE(u->Tabla->valueAt(0, QStringLiteral("Clave")).toInt(), f.keys.libera);
    QCOMPARE(u->windowTitle(), QStringLiteral("Herbaxis: Search for Actions"));
}

void TestRepertory::selectionOutlivesReopenOfSameKind()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Actions, true);
    add(u, f.keys.tonifica);
    u->Modified = false;
    u->close();
    QVERIFY(!u->isVisible());
    u->OpenCatalogue(repertory::CatalogueKind::Actions, false);
    QCOMPARE(u->TSel->recordCount(), 1);
    QCOMPARE(u->TRep->recordCount(), 2);
    u->close();
    u->OpenCatalogue(repertory::CatalogueKind::Indications, true);
    QCOMPARE(u->TSel->recordCount(), 0);
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM Repertor")), 0);
}

void TestRepertory::resetAsksFirst()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Actions, true);
    add(u, f.keys.tonifica);
    auto seen = test::answerNextModal(QStringLiteral("No"));
    u->IniciarClick();
    QCOMPARE(seen->text, QStringLiteral("Inicia una nueva repertorización ?"));
    QCOMPARE(u->TSel->recordCount(), 1);
    test::answerNextModal(QStringLiteral("si"));
    u->IniciarClick();
    QCOMPARE(u->TSel->recordCount(), 0);
    QCOMPARE(u->TRep->recordCount(), 0);
    QVERIFY(u->Modified); // starting afresh is not a change to save
    QVERIFY(u->PlanRep->isHidden());
}

void TestRepertory::closeAsksToSaveWhenModified_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("yes") << "si" << false;
    QTest::newRow("no") << "No" << false;
    QTest::newRow("cancel") << "Cancelar" << true;
}

void TestRepertory::closeAsksToSaveWhenModified()
{
    QFETCH(QString, answer);
    QFETCH(bool, staysOpen);
    test::ProgramFixture f;
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Actions, true);
    add(u, f.keys.tonifica);
    auto seen = test::answerNextModal(answer);
    u->Cerrar->click();
    QCOMPARE(seen->text, QStringLiteral("Guarda los cambios efectuados ?"));
    QCOMPARE(u->isVisible(), staysOpen);
    if (staysOpen) {
        u->Modified = false;
        u->Cerrar->click(); // unchanged: no question
        QVERIFY(!u->isVisible());
    }
}

void TestRepertory::emptySelectionHidesResultButtons()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Actions, true);
    for (QPushButton *b : {u->PlanRep, u->BotCopiar, u->Iniciar})
        QVERIFY(b->isHidden());
    add(u, f.keys.tonifica);
    for (QPushButton *b : {u->PlanRep, u->BotCopiar, u->Iniciar})
        QVERIFY(!b->isHidden());
}

void TestRepertory::chartOrdersByWeightedScore()
{
    test::ProgramFixture f;
    store::Session &s = f.folder.session();
    const int p = f.keys.baiZhu, q = f.keys.ganCao, r = f.keys.guiZhi, all = f.keys.renShen;
    const int a = addItem(s, QStringLiteral("Sintomas"), QStringLiteral("A"), {p, q, all});
    const int b = addItem(s, QStringLiteral("Sintomas"), QStringLiteral("B"), {p, all});
    const int c = addItem(s, QStringLiteral("Sintomas"), QStringLiteral("C"), {r, all});
    // Related to every charted plant: it must add nothing to any score.
    const int every = addItem(s, QStringLiteral("Sintomas"), QStringLiteral("Todas"), {p, q, r, all});
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Indications, true);
    for (int item : {a, b, c, every})
        add(u, item);
    // Ren Shen covers everything; without it the example reads A 1, B 2, C 2 over P, Q, R.
    f.folder.session().database().exec(QStringLiteral("DELETE FROM Repertor WHERE KPlanta=%1").arg(all));
    f.folder.session().database().tableReset(QStringLiteral("Repertor"));
    u->TRep->refresh();
    QVERIFY(u->BuildChart());
    TFPlanRep *chart = chartOf(f);
    QCOMPARE(chart->LRef->count(), 4);
    QCOMPARE(chart->LRef->item(1)->text(), QStringLiteral("2: B"));
    QCOMPARE(chart->Gr->cell(3, 0), QStringLiteral("2"));
    chart->SortByWeight();
    QCOMPARE(chart->Weights, (std::vector<qint64>{1, 2, 2, 0}));
    QStringList order;
    for (int row = 1; row <= 3; ++row)
        order << chart->Gr->cell(0, row);
    QCOMPARE(order, (QStringList{QStringLiteral("Bai Zhu"), QStringLiteral("Gui Zhi"), QStringLiteral("Gan Cao")}));
    QCOMPARE(chart->Gr->cell(1, 1), QStringLiteral("3")); // Bai Zhu keeps its count, not its score
    QCOMPARE(chart->Gr->cell(2, 1), QStringLiteral("X"));
    QCOMPARE(chart->Gr->cell(4, 1), QString());
}

void TestRepertory::chartTiesComeReversed()
{
    repertory::ChartData data;
    data.items = 1;
    data.names = {QStringLiteral("Primera"), QStringLiteral("Segunda"), QStringLiteral("Tercera")};
    data.counts = {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0")};
    data.marks = {1, 1, 0};
    TFPlanRep chart;
    chart.setChart(data, {QStringLiteral("1: A")});
    chart.SortByWeight();
    QCOMPARE(chart.chart().names, (std::vector<QString>{QStringLiteral("Segunda"), QStringLiteral("Primera"), QStringLiteral("Tercera")}));
}

void TestRepertory::cancelledBuildShowsNoChart()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    TFUsos *u = usosOf(f);
    u->OpenCatalogue(repertory::CatalogueKind::Actions, true);
    add(u, f.keys.tonifica);
    add(u, f.keys.libera);
    TFPlanRep *chart = chartOf(f);
    chart->setChart({}, {});
    const int repertoryRow = u->TRep->recNo();
    // The cancel button is down when the first step looks at it; the question is answered Yes.
    QTimer::singleShot(0, [] {
        if (common::TFBarra *bar = common::CurrentProgress())
            bar->Cancelar->setChecked(true);
    });
    auto seen = test::answerNextModal(QStringLiteral("si"));
    bool shown = false;
    QTimer::singleShot(3000, [&] {
        if (QApplication::activeModalWidget() == chart) {
            shown = true;
            chart->close();
        }
    });
    u->PlanRepClick();
    QVERIFY(seen->answered);
    QCOMPARE(seen->text, QStringLiteral("Desea cancelar ?"));
    QVERIFY(!shown);
    QVERIFY(!common::CurrentProgress());
    QCOMPARE(chart->chart().plants(), 0);
    QCOMPARE(u->TRep->recNo(), repertoryRow);
    // The relation grid follows the catalogue again.
    QVERIFY(pick(u, f.keys.libera));
    QCOMPARE(u->TRel->recordCount(), 1);
    QVERIFY(pick(u, f.keys.tonifica));
    QCOMPARE(u->TRel->recordCount(), 2);
}

void TestRepertory::copiedChartText()
{
    repertory::ChartData data;
    data.items = 2;
    data.names = {QStringLiteral("Ren Shen"), QStringLiteral("Gan Cao")};
    data.counts = {QStringLiteral("2"), QStringLiteral("1")};
    data.marks = {1, 1, 1, 0};
    const QString longName = QString(120, QLatin1Char('n'));
    TFPlanRep chart;
    chart.setChart(data, {QStringLiteral("1: Tonifica el Qi"), QStringLiteral("2: ") + longName});
    QCOMPARE(chart.LRef->item(1)->text().size(), 123); // the list shows the name whole
    auto seen = test::answerNextModal(QStringLiteral("Aceptar"));
    chart.CopiarClick();
    const QString expected = QStringLiteral("Tonifica el Qi\r\n| ") + QString(100, QLatin1Char('n')) +
                             QStringLiteral("\r\n| | \r\nX X (2) Ren Shen\r\nX | (1) Gan Cao\r\n");
    QCOMPARE(QApplication::clipboard()->text(), expected);
    QCOMPARE(seen->text, QStringLiteral("La planilla fue copiada al portapapeles"));
}

void TestRepertory::gridPaintsOnlyVisibleCells()
{
    repertory::ChartData data;
    data.items = 20;
    const int plants = 50000;
    for (int i = 0; i < plants; ++i) {
        data.names.push_back(QStringLiteral("Planta %1").arg(i));
        data.counts.push_back(QStringLiteral("1"));
    }
    data.marks.assign(size_t(plants) * 20, 1);
    TFPlanRep chart;
    chart.resize(1024, 600);
    chart.setChart(std::move(data), {});
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.Gr->viewport()->repaint();
    const int visibleRows = chart.Gr->viewport()->height() / (repertory::ChartGrid::RowHeight + 1) + 2;
    QVERIFY(chart.Gr->paintedCells() > 0);
    QVERIFY(chart.Gr->paintedCells() <= visibleRows * 22);
    // Sorted on showing; the name column fits the widest name.
    QVERIFY(chart.Gr->columnWidth(0) > 40);
}

void TestRepertory::sortMatchesPlaceFormulaOnRandomCharts()
{
    QRandomGenerator rng(5);
    for (int round = 0; round < 200; ++round) {
        const int m = int(rng.bounded(1, 60));
        std::vector<qint64> scores(static_cast<size_t>(m));
        for (qint64 &s : scores)
            s = rng.bounded(6); // few distinct scores: many ties
        const std::vector<int> places = TFPlanRep::placesByScore(scores);
        for (int r = 0; r < m; ++r) {
            int place = 0;
            for (int r2 = 0; r2 < m; ++r2)
                if (scores[size_t(r2)] > scores[size_t(r)] || (scores[size_t(r2)] == scores[size_t(r)] && r2 >= r))
                    ++place;
            QCOMPARE(places[size_t(r)], place);
        }
    }
}

void TestRepertory::progressTakesZeroTotalAsOne()
{
    common::ProgressStart(QStringLiteral("Procesando..."), QString(), 0);
    common::TFBarra *bar = common::CurrentProgress();
    QVERIFY(bar);
    QCOMPARE(bar->Total, 1);
    QVERIFY(!bar->Cancelar->isEnabled());
    QVERIFY(bar->Scale->text().startsWith(QStringLiteral("10%         20%")));
    QVERIFY(bar->Scale->text().endsWith(QStringLiteral("90%")));
    QVERIFY(common::ProgressStep());
    QCOMPARE(bar->P1->width(), 471);
    QCOMPARE(bar->Lab->text(), QStringLiteral("00:00:00"));
    common::ProgressEnd();
    QVERIFY(!common::CurrentProgress());
    common::ProgressEnd(); // a second end does nothing
}

void TestRepertory::progressBoundToPixels()
{
    double now = 0.99;
    common::TFBarra::clock = [&] { return now; };
    common::ProgressStart(QStringLiteral("Procesando..."), QStringLiteral("Desea cancelar ?"), 100000);
    common::TFBarra *bar = common::CurrentProgress();
    for (int i = 0; i < 100000; ++i) {
        if (i == 50000)
            now = 0.001; // past midnight
        QVERIFY(common::ProgressStep());
    }
    QVERIFY(bar->Repaints <= 472); // the widths 0 to 471, each once
    QCOMPARE(bar->P1->width(), 471);
    QVERIFY(bar->StartTime < 0); // moved back a day, so the time left stays positive
    common::ProgressEnd();
    common::TFBarra::clock = [] { return QTime::currentTime().msecsSinceStartOfDay() / 86400000.0; };
}

void TestRepertory::progressCancelYesEndsRun()
{
    const int frame = common::TFBarra::MinFrameMs;
    common::TFBarra::MinFrameMs = 0; // every step that moves the bar looks at the button
    common::ProgressStart(QStringLiteral("Procesando..."), QStringLiteral("Desea cancelar ?"), 10);
    common::TFBarra *bar = common::CurrentProgress();
    bar->Cancelar->setChecked(true);
    test::answerNextModal(QStringLiteral("No"));
    QVERIFY(common::ProgressStep());
    QVERIFY(!bar->Cancelar->isChecked()); // released, and the run goes on
    bar->Cancelar->setChecked(true);
    auto seen = test::answerNextModal(QStringLiteral("si"));
    QVERIFY(!common::ProgressStep());
    QCOMPARE(seen->text, QStringLiteral("Desea cancelar ?"));
    QVERIFY(!common::CurrentProgress());
    common::ProgressEnd();
    common::TFBarra::MinFrameMs = frame;
}

int main(int argc, char *argv[])
{
    app::HerbaxisApplication application(argc, argv);
    TestRepertory tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_repertory.moc"
