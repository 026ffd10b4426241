// The data module and the main window: start-up, record events, closing, the single-record view,
// the overlay and errors that escape a handler.
#include "Modal.h"
#include "Widgets.h"
#include "ProgramFixture.h"

#include "app/HerbaxisApplication.h"
#include "common/TFCalco.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>

using store::Table;

using test::scalar;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void startsOnNearestToArgument_data();
    void startsOnNearestToArgument();
    void controlsCarryTheirNames();
    void newRecordsGetOrderNumber_data();
    void newRecordsGetOrderNumber();
    void recordWithOrderKeepsIt();
    void newPlantTakesKindOrIsRefused_data();
    void newPlantTakesKindOrIsRefused();
    void sameActionTwiceIsRefusedOnce();
    void notesRowIsMadeOncePerPlant();
    void pageCaptionsCountRelations();
    void editingToggle();
    void escapeAsksBeforeClosing_data();
    void escapeAsksBeforeClosing();
    void closingDuringSingleRecordViewOnlyLeavesIt();
    void overlayFramesRestrictedPanels();
    void errorEscapingHandlerIsShown();
    void tableThatCannotOpenStopsStartUp();
};

void TestMainWindow::startsOnNearestToArgument_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("current");
    QTest::newRow("none: first in pin yin order") << "" << "Bai Zhu";
    QTest::newRow("prefix, other case") << "gui" << "Gui Zhi";
    QTest::newRow("between two names") << "H" << "Ren Shen";
    QTest::newRow("past the last") << "zzz" << "Si Jun Zi Tang";
}

void TestMainWindow::startsOnNearestToArgument()
{
    QFETCH(QString, argument);
    QFETCH(QString, current);
    test::ProgramFixture f(argument);
    QVERIFY(f.start());
    QCOMPARE(f.dm().TPlan->text(QStringLiteral("PinYin")), current);
    QCOMPARE(test::control<widgets::DBEdit>(f.win(), "EdPinYin")->text(), current);
    QCOMPARE(test::control<widgets::DBGrid>(f.win(), "GrNom")->currentIndex().row(), f.dm().TPlan->recNo());
    QCOMPARE(test::control<QLabel>(f.win(), "LabNom")->text(), QStringLiteral("PinYin"));
    QVERIFY(!test::control<QLabel>(f.win(), "LabBus")->isVisible());
}

void TestMainWindow::controlsCarryTheirNames()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    for (const char *name : {"PanIzq", "PanInstrUna", "PanInd", "PanNom", "LabNom", "CBIdioma", "LabCant", "VerTodo",
                             "GrNom", "LabBus", "BotBusSinon", "SelPlanForm", "Panel31", "LabFic", "FiltrarProp",
                             "PanProp", "PanCanales", "PanSabor", "PanEnergia", "FicPropAut", "PagProps", "PagAut",
                             "Panel1", "PanSup", "PanCen", "PanDer", "Panel32", "Label30", "Sinonimos", "PanIdiomas",
                             "EdPinYin", "Ed0", "Ed10", "PanFoto", "Im", "PanBotIm", "PanMort", "ImMort", "PanMemo",
                             "TabMemo", "Panel12", "LabMemo", "Buscar", "Memo", "ListaEsp", "ListaIng", "Panel2",
                             "PanClase", "BotClase", "PanSubClase", "BotSubClase", "PanBot", "Enlaces", "Color",
                             "Ayuda", "Glosario", "Bibliografia", "Mas", "Menos", "Salir", "Image2", "Modificar",
                             "Label24", "PanFic", "Ficha", "PagAcc", "PagSint", "PagFormPl", "PagPlForm", "GrAcc",
                             "GrSint", "GrFormPl", "GrPlForm", "PanBotSint", "Cambiar", "Agregar", "Quitar",
                             "Porcentaje", "Splitter5", "Splitter7", "Splitter2", "FCalco"})
        QVERIFY2(f.win().findChild<QWidget *>(QString::fromLatin1(name)), name);
    QCOMPARE(f.win().windowTitle(), QStringLiteral("Herbaxis"));
    QCOMPARE(f.dm().Texts.size(), 42);
    QCOMPARE(f.dm().Texts.value(25), QStringLiteral("Desea salir de la aplicación Herbaxis ?"));
    QCOMPARE(test::control<QFrame>(f.win(), "PanProp")->height(), 257);
    QCOMPARE(test::control<QFrame>(f.win(), "PanBot")->height(), 86);
    // The channels take three sevenths of the property area, however wide it is.
    for (int width : {1024, 1300}) {
        f.win().resize(width, 700);
        QCoreApplication::processEvents();
        QCOMPARE(test::control<QFrame>(f.win(), "PanCanales")->width(), test::control<QFrame>(f.win(), "PanProp")->width() * 3 / 7);
        QCOMPARE(test::control<QFrame>(f.win(), "PanSabor")->x(), test::control<QFrame>(f.win(), "PanCanales")->width());
    }
}

void TestMainWindow::newRecordsGetOrderNumber_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::newRow("plant") << "TPlan" << "PinYin";
    QTest::newRow("action") << "TUsos" << "Nom";
    QTest::newRow("indication") << "TSint" << "Nom";
    QTest::newRow("component") << "TComp" << "Nom";
}

void TestMainWindow::newRecordsGetOrderNumber()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    test::ProgramFixture f;
    QVERIFY(f.start());
    test::control<QButtonGroup>(f.win(), "SelPlanFormGroup")->button(0)->click(); // elements: a new plant may be added
    Table *t = f.dm().findChild<Table *>(table);
    QVERIFY(t);
    t->open();
    t->append();
    t->setValue(field, QStringLiteral("Nuevo"));
    STORE_VERIFY(t->post());
    QVERIFY(!t->isNull(QStringLiteral("Orden")));
    QCOMPARE(t->asInt(QStringLiteral("Orden")), t->asInt(QStringLiteral("Clave")));
}

void TestMainWindow::recordWithOrderKeepsIt()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    Table *t = f.dm().TUsos;
    t->open();
    t->append();
    t->setValue(QStringLiteral("Nom"), QStringLiteral("Con orden"));
    t->setValue(QStringLiteral("Orden"), 777);
    t->post();
    QCOMPARE(t->asInt(QStringLiteral("Orden")), 777);
}

void TestMainWindow::newPlantTakesKindOrIsRefused_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("added");
    QTest::addColumn<bool>("formula");
    QTest::newRow("Elementos") << 0 << true << false;
    QTest::newRow("Fórmulas") << 1 << true << true;
    QTest::newRow("Todo is refused") << 2 << false << false;
}

void TestMainWindow::newPlantTakesKindOrIsRefused()
{
    QFETCH(int, kind);
    QFETCH(bool, added);
    QFETCH(bool, formula);
    test::ProgramFixture f;
    QVERIFY(f.start());
    test::control<QButtonGroup>(f.win(), "SelPlanFormGroup")->button(kind)->click();
    const int before = scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM Plantas"));
    std::shared_ptr<test::ModalSeen> seen;
    if (!added)
        seen = test::answerNextModal(QStringLiteral("Aceptar"));
    Table *plan = f.dm().TPlan;
    plan->append();
    if (!added) {
        QVERIFY(seen->answered);
        QCOMPARE(seen->text, QStringLiteral("Deberá seleccionar \"Plantas\" o \"Fórmulas\""));
        QCOMPARE(plan->state(), Table::State::Browse);
    } else {
        QCOMPARE(plan->asBool(QStringLiteral("EsFormula")), formula);
        plan->setValue(QStringLiteral("PinYin"), QStringLiteral("Nueva"));
        plan->post();
    }
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM Plantas")), before + (added ? 1 : 0));
}

void TestMainWindow::sameActionTwiceIsRefusedOnce()
{
    test::ProgramFixture f(QStringLiteral("Gui Zhi"));
    QVERIFY(f.start());
    Table *rel = f.dm().TRel;
    QCOMPARE(rel->recordCount(), 1);
    auto add = [&] {
        rel->setMaster(nullptr, QString()); // the relation commands write detached from the list
        rel->append();
        rel->setValue(QStringLiteral("KPlanta"), f.keys.guiZhi);
        rel->setValue(QStringLiteral("OPlanta"), f.keys.guiZhi);
        rel->setValue(QStringLiteral("KUso"), f.keys.tonifica);
        rel->setValue(QStringLiteral("OUso"), f.keys.tonifica);
        rel->post();
        rel->setMaster(f.dm().TPlan, QStringLiteral("Orden"));
    };
    add();
    const auto seen = test::answerNextModal(QStringLiteral("Aceptar"));
    QVERIFY_THROWS_EXCEPTION(store::Abort, add());
    QVERIFY(seen->answered);
    QCOMPARE(seen->text, QStringLiteral("Registro repetido"));
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM Rel WHERE KPlanta=%1 AND KUso=%2").arg(f.keys.guiZhi).arg(f.keys.tonifica)), 1);
    // The view is back on its master: it shows the plant's two actions.
    QCOMPARE(rel->master(), f.dm().TPlan);
    QCOMPARE(rel->recordCount(), 2);
}

void TestMainWindow::notesRowIsMadeOncePerPlant()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    store::Session &s = f.folder.session();
    QCOMPARE(scalar(s, QStringLiteral("SELECT count(*) FROM Notas")), 1);
    Table *plan = f.dm().TPlan;
    plan->next();
    plan->next();
    plan->first();
    plan->next();
    QCOMPARE(scalar(s, QStringLiteral("SELECT count(*) FROM Notas")), 3);
    QCOMPARE(scalar(s, QStringLiteral("SELECT count(DISTINCT KPlanta) FROM Notas")), 3);
    QCOMPARE(f.dm().TNotas->asInt(QStringLiteral("KPlanta")), plan->asInt(QStringLiteral("Clave")));
    QVERIFY(f.dm().TNotas->isNull(QStringLiteral("Memo")));
}

void TestMainWindow::pageCaptionsCountRelations()
{
    test::ProgramFixture f(QStringLiteral("Ren Shen"));
    QVERIFY(f.start());
    QTabWidget *ficha = test::control<QTabWidget>(f.win(), "Ficha");
    QCOMPARE(ficha->tabText(ficha->indexOf(test::control<QWidget>(f.win(), "PagAcc"))), QStringLiteral("Acciones: 2"));
    QCOMPARE(ficha->tabText(ficha->indexOf(test::control<QWidget>(f.win(), "PagSint"))), QStringLiteral("Indicaciones: 0"));
    QCOMPARE(ficha->tabText(ficha->indexOf(test::control<QWidget>(f.win(), "PagFormPl"))), QStringLiteral("Fórmulas: 1"));
    QVERIFY(ficha->isTabVisible(ficha->indexOf(test::control<QWidget>(f.win(), "PagFormPl"))));
    QVERIFY(!ficha->isTabVisible(ficha->indexOf(test::control<QWidget>(f.win(), "PagPlForm"))));
    ficha->setCurrentWidget(test::control<QWidget>(f.win(), "PagFormPl"));
    f.dm().TPlan->findNearest(QStringLiteral("Si Jun"));
    QCOMPARE(ficha->tabText(ficha->indexOf(test::control<QWidget>(f.win(), "PagPlForm"))), QStringLiteral("Ingredientes: 3"));
    QCOMPARE(ficha->currentWidget(), test::control<QWidget>(f.win(), "PagPlForm")); // the formula shows its ingredients instead
    QVERIFY(!ficha->isTabVisible(ficha->indexOf(test::control<QWidget>(f.win(), "PagFormPl"))));
    QVERIFY(test::control<QFrame>(f.win(), "PanMort")->isVisible());
    QVERIFY(!test::control<QFrame>(f.win(), "PanPlanta")->isVisible());
    QCOMPARE(test::control<QStackedWidget>(f.win(), "FicPropAut")->currentWidget(), test::control<QWidget>(f.win(), "PagAut"));
    QCOMPARE(test::control<widgets::DBGrid>(f.win(), "GrPlForm")->model()->index(0, 0).data().toString(), QStringLiteral("Ren Shen (Radix Ginseng)"));
    QCOMPARE(test::control<widgets::DBGrid>(f.win(), "GrPlForm")->model()->index(0, 1).data().toString(), QLocale().toString(40.0, 'f', 1) + QStringLiteral(" %"));
}

void TestMainWindow::editingToggle()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    QCOMPARE(test::control<QPushButton>(w, "Modificar")->text(), QStringLiteral("Modificar"));
    QVERIFY(test::control<widgets::DBEdit>(w, "EdPinYin")->isReadOnly());
    QVERIFY(!test::control<QFrame>(w, "PanBotSint")->isVisible() && !test::control<QFrame>(w, "PanBotIm")->isVisible() && !test::control<QFrame>(w, "PanTox")->isVisible());
    test::control<QPushButton>(w, "Modificar")->click();
    QCOMPARE(test::control<QPushButton>(w, "Modificar")->text(), QStringLiteral("Editando"));
    QVERIFY(!test::control<widgets::DBEdit>(w, "EdPinYin")->isReadOnly());
    QVERIFY(test::control<QFrame>(w, "PanBotSint")->isVisible() && test::control<QFrame>(w, "PanBotIm")->isVisible() && test::control<QFrame>(w, "PanTox")->isVisible());
    QVERIFY(!test::control<QPushButton>(w, "Porcentaje")->isVisible()); // only on the ingredients page
    QTest::keyClicks(test::control<widgets::DBEdit>(w, "Ed2"), QStringLiteral("x"));
    QCOMPARE(f.dm().TPlan->state(), Table::State::Edit);
    test::control<QPushButton>(w, "Modificar")->click(); // leaving editing mode posts the change
    QCOMPARE(f.dm().TPlan->state(), Table::State::Browse);
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM Plantas WHERE Nom2='x'")), 1);
    QTest::keyClicks(test::control<widgets::DBEdit>(w, "Ed2"), QStringLiteral("y")); // outside editing mode typing changes nothing
    QCOMPARE(f.dm().TPlan->state(), Table::State::Browse);
    QCOMPARE(test::control<widgets::DBEdit>(w, "Ed2")->text(), QStringLiteral("x"));
}

void TestMainWindow::escapeAsksBeforeClosing_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("No keeps the window") << "No" << false;
    QTest::newRow("Yes closes") << "si" << true;
}

void TestMainWindow::escapeAsksBeforeClosing()
{
    QFETCH(QString, answer);
    QFETCH(bool, closes);
    test::ProgramFixture f(QStringLiteral("Gan"));
    QVERIFY(f.start());
    QVERIFY(QTest::qWaitForWindowExposed(&f.win()));
    f.win().activateWindow();
    test::control<widgets::DBGrid>(f.win(), "GrNom")->setFocus();
    const auto seen = test::answerNextModal(answer);
    QTest::keyClick(test::control<widgets::DBGrid>(f.win(), "GrNom"), Qt::Key_Escape);
    QVERIFY(seen->answered);
    QCOMPARE(seen->text, QStringLiteral("Desea salir de la aplicación Herbaxis ?"));
    QCOMPARE(seen->buttons, (QStringList{"si", "No"}));
    QCOMPARE(f.win().isVisible(), !closes);
    QCOMPARE(f.dm().TPlan->isOpen(), !closes);
    if (!closes)
        QCOMPARE(f.dm().TPlan->text(QStringLiteral("PinYin")), QStringLiteral("Gan Cao"));
}

void TestMainWindow::closingDuringSingleRecordViewOnlyLeavesIt()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    bool inView = false, panelsSwapped = false, classLocked = false;
    QTimer::singleShot(0, [&] {
        inView = w.SingleRecordView;
        panelsSwapped = test::control<QFrame>(w, "PanInstrUna")->isVisible() && !test::control<QFrame>(w, "PanInd")->isVisible() && !test::control<QFrame>(w, "PanBot")->isVisible();
        classLocked = !test::control<QPushButton>(w, "BotClase")->isEnabled();
        w.close(); // no question: only the view ends
    });
    w.ShowSingleRecord();
    QVERIFY(inView);
    QVERIFY(panelsSwapped);
    QVERIFY(classLocked);
    QVERIFY(!w.SingleRecordView);
    QVERIFY(w.isVisible());
    QVERIFY(test::control<QFrame>(w, "PanInd")->isVisible() && test::control<QFrame>(w, "PanBot")->isVisible() && !test::control<QFrame>(w, "PanInstrUna")->isVisible());
    QVERIFY(test::control<QPushButton>(w, "BotClase")->isEnabled());
    // Enter leaves the view too.
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QTimer::singleShot(0, [&] {
        test::control<widgets::DBGrid>(w, "GrNom")->setFocus();
        QTest::keyClick(test::control<widgets::DBGrid>(w, "GrNom"), Qt::Key_Return);
        if (w.SingleRecordView)
            w.LabInstrClick(); // leave anyway, so that a failure does not hang the test
    });
    w.ShowSingleRecord();
    QVERIFY(!w.SingleRecordView);
}

void TestMainWindow::overlayFramesRestrictedPanels()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    common::TFCalco *overlay = f.context.FCalco;
    QVERIFY(!overlay->isVisible());
    w.ClassFilter = 12;
    w.PropFilterActive = true;
    w.ApplyListFilter();
    QVERIFY(overlay->isVisible());
    QVERIFY(test::control<QLabel>(w, "LabCant")->isVisible());
    QCOMPARE(test::control<QLabel>(w, "LabCant")->text(), QStringLiteral("Seleccionados: 3")); // the plants of class 12
    const QImage frames = overlay->grab().toImage(); // paints the frames
    QCOMPARE(overlay->framedPanels(), (QStringList{"PanClase", "PanProp", "PanInd"}));
    QVERIFY(overlay->testAttribute(Qt::WA_TransparentForMouseEvents));
    const QPoint corner = overlay->mapFromGlobal(test::control<QFrame>(w, "PanInd")->mapToGlobal(QPoint(1, 1)));
    QCOMPARE(frames.pixelColor(corner * frames.devicePixelRatio()), QColor(255, 0, 0));
    // Show all lifts the restrictions, keeps the kind, and hides the overlay.
    test::control<QButtonGroup>(w, "SelPlanFormGroup")->button(1)->click();
    test::control<QPushButton>(w, "VerTodo")->click();
    QVERIFY(!overlay->isVisible());
    QVERIFY(!test::control<QLabel>(w, "LabCant")->isVisible());
    QCOMPARE(f.dm().TPlan->filter(), QStringLiteral("EsFormula=True"));
    QCOMPARE(f.dm().TPlan->recordCount(), 1);
}

void TestMainWindow::errorEscapingHandlerIsShown()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    QPushButton probe;
    QObject::connect(&probe, &QPushButton::clicked, [] { throw store::Error(QStringLiteral("La tabla se fue")); });
    const auto seen = test::answerNextModal(QStringLiteral("Aceptar"));
    QTest::mouseClick(&probe, Qt::LeftButton);
    QVERIFY(seen->answered);
    QCOMPARE(seen->text, QStringLiteral("La tabla se fue"));
    QVERIFY(f.win().isVisible()); // the program goes on
}

void TestMainWindow::tableThatCannotOpenStopsStartUp()
{
    test::ProgramFixture f(QString(), false);
    f.folder.session().database().exec(QStringLiteral("DROP TABLE Notas")); // gone after the program was made
    const auto seen = test::answerNextModal(QStringLiteral("Aceptar"));
    QVERIFY(!f.start());
    QVERIFY(seen->answered);
    QVERIFY2(seen->text.contains(QStringLiteral("Notas")), qPrintable(seen->text));
    QVERIFY(!f.win().isVisible());
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM Plantas")), 0);
}

int main(int argc, char *argv[])
{
    app::HerbaxisApplication application(argc, argv);
    TestMainWindow tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_mainwin.moc"
