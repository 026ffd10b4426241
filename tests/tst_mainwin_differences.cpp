// Where the main window did otherwise than it should, found by driving it key by key: each test is
// named after the difference it pins. The fixture's order numbers differ from its keys.
#include "Driving.h"
#include "Modal.h"
#include "ProgramFixture.h"
#include "Widgets.h"

#include "app/HerbaxisApplication.h"
#include "relations/TFSelClase.h"
#include "relations/TFSelTab.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>


using relations::TFSelTab;
using store::Table;
using test::cellEditor;
using test::chooseInPicker;
using test::typeInList;

namespace {

using test::scalarValue;

int scalar(store::Session &s, const QString &sql)
{
    return scalarValue(s, sql).toInt();
}


} // namespace

class TestMainWindowDifferences : public QObject {
    Q_OBJECT

private slots:
    void missingPinYinIndexStoppedStartUp();
    void classChangeLeftRecordInRestrictedList();
    void refusedAddWentToFirstRow();
    void commandSkippedItsLastStep_data();
    void commandSkippedItsLastStep();
    void ingredientFromPickerHadNoKindNorOrder();
    void refusedInsertMovedTheList();
    void memoTabChangedWithoutTheMemo();
    void synonymButtonWasNotTheDefaultButton();
    void synonymMatchedOnFirstSixtyCharacters();
    void listKeysBesidesTypedSearch_data();
    void listKeysBesidesTypedSearch();
    void ctrlDeleteLeftTheStrip();
    void layoutDifferedFromDesign();
    void dropDownOpenedAtOldPlace();
    void longTypedTextRanUnderButton();
    void volverSatFarBelowArrow();
    void photoNotRescaledOnResize();
};

void TestMainWindowDifferences::missingPinYinIndexStoppedStartUp()
{
    test::WorkingFolder folder;
    test::fillSmallMateriaMedica(folder.session());
    const QString name = scalarValue(folder.session(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND name LIKE '%PorPinYin'")).toString();
    QVERIFY(!name.isEmpty());
    folder.session().database().exec(QStringLiteral("DROP INDEX \"%1\"").arg(name));
    folder.reopen();
    common::AppContext context;
    context.workingFolder = folder.path();
    context.session = &folder.session();
    {
        app::Program program(context);
        QVERIFY(program.start());
        QCOMPARE(program.dataModule().TPlan->indexName(), QStringLiteral("PorPinYin"));
        QCOMPARE(program.dataModule().TPlan->text(QStringLiteral("PinYin")), QStringLiteral("Bai Zhu"));
    }
}

void TestMainWindowDifferences::classChangeLeftRecordInRestrictedList()
{
    test::ProgramFixture f(QStringLiteral("Gan"));
    test::separateOrderNumbers(f.folder.session());
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    w.ClassFilter = 12;
    w.ApplyListFilter();
    f.dm().TPlan->findNearest(QStringLiteral("Gan"));
    QCOMPARE(test::control<QLabel>(w, "LabCant")->text(), QStringLiteral("Seleccionados: 3"));
    test::control<QPushButton>(w, "Modificar")->click();
    test::onNextModal([](QWidget *modal) {
        auto *picker = qobject_cast<relations::TFSelClase *>(modal);
        QTest::keyClick(picker->Gr, Qt::Key_C); // "Calientan el interior", class 5
        picker->Aceptar->click();
    });
    w.BotClaseClick();
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT KClase FROM Plantas WHERE Clave=%1").arg(f.keys.ganCao)), 5);
    QCOMPARE(f.dm().TPlan->recordCount(), 2);
    QCOMPARE(test::control<QLabel>(w, "LabCant")->text(), QStringLiteral("Seleccionados: 2"));
    QVERIFY(f.dm().TPlan->asInt(QStringLiteral("Clave")) != f.keys.ganCao);
    QCOMPARE(test::control<widgets::DBEdit>(w, "EdPinYin")->text(), f.dm().TPlan->text(QStringLiteral("PinYin")));
}

void TestMainWindowDifferences::refusedAddWentToFirstRow()
{
    test::ProgramFixture f(QStringLiteral("Ren"));
    test::separateOrderNumbers(f.folder.session());
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QPushButton>(w, "Modificar")->click();
    Table *rel = f.dm().TRel;
    QCOMPARE(rel->recordCount(), 2);
    rel->last();
    const QString former = rel->text(QStringLiteral("Uso"));
    chooseInPicker(QStringLiteral("Tonifica"));
    const auto seen = test::answerNextModal(QStringLiteral("Aceptar"), 0, 8000);
    QVERIFY_THROWS_EXCEPTION(store::Abort, w.CambiarClick(mainwin::RelationEdit::Add));
    QCOMPARE(seen->text, QStringLiteral("Registro repetido"));
    QCOMPARE(rel->recordCount(), 2);
    QCOMPARE(rel->recNo(), 1);
    QCOMPARE(rel->text(QStringLiteral("Uso")), former);
}

void TestMainWindowDifferences::commandSkippedItsLastStep_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("answer");
    QTest::newRow("change, picker cancelled") << 1 << "Cancelar";
    QTest::newRow("change, same item accepted") << 1 << "Aceptar";
    QTest::newRow("add, picker cancelled") << 2 << "Cancelar";
    QTest::newRow("remove, answered No") << 3 << "No";
}

void TestMainWindowDifferences::commandSkippedItsLastStep()
{
    QFETCH(int, command);
    QFETCH(QString, answer);
    test::ProgramFixture f(QStringLiteral("Ren"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    store::Session &s = f.folder.session();
    test::control<QPushButton>(w, "Modificar")->click();
    const QString rows = QStringLiteral("SELECT group_concat(KUso) FROM (SELECT KUso FROM Rel ORDER BY rowid)");
    const QString before = scalarValue(s, rows).toString();
    // A caption that only the refresh puts right again.
    test::control<QTabWidget>(w, "Ficha")->setTabText(test::control<QTabWidget>(w, "Ficha")->indexOf(test::control<QWidget>(w, "PagAcc")), QStringLiteral("stale"));
    test::control<widgets::DBGrid>(w, "GrNom")->setFocus();
    const auto seen = test::answerNextModal(answer);
    w.CambiarClick(mainwin::RelationEdit(command));
    QVERIFY(seen->answered);
    QCOMPARE(scalarValue(s, rows).toString(), before);
    QCOMPARE(test::control<QTabWidget>(w, "Ficha")->tabText(test::control<QTabWidget>(w, "Ficha")->indexOf(test::control<QWidget>(w, "PagAcc"))), QStringLiteral("Acciones: 2"));
    QCOMPARE(w.focusWidget(), static_cast<QWidget *>(test::control<widgets::DBGrid>(w, "GrAcc")));
}

void TestMainWindowDifferences::ingredientFromPickerHadNoKindNorOrder()
{
    test::ProgramFixture f(QStringLiteral("Si Jun"));
    test::separateOrderNumbers(f.folder.session());
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    store::Session &s = f.folder.session();
    test::control<QPushButton>(w, "Modificar")->click();
    test::control<QTabWidget>(w, "Ficha")->setCurrentWidget(test::control<QWidget>(w, "PagPlForm"));
    test::onNextModal([](QWidget *modal) {
        auto *p = qobject_cast<TFSelTab *>(modal);
        QTest::keyClick(p->Grid, Qt::Key_Insert);
        QWidget *editor = cellEditor(p);
        if (!editor)
            return p->Cancelar->click();
        QTest::keyClicks(editor, QStringLiteral("Fu Ling"));
        QTest::keyClick(editor, Qt::Key_Return);
        p->Aceptar->click();
    });
    w.CambiarClick(mainwin::RelationEdit::Add);
    const int key = scalar(s, QStringLiteral("SELECT Clave FROM Plantas WHERE PinYin='Fu Ling'"));
    QVERIFY(key > 0);
    QCOMPARE(scalarValue(s, QStringLiteral("SELECT EsFormula FROM Plantas WHERE Clave=%1").arg(key)).toInt(), 0);
    QCOMPARE(scalar(s, QStringLiteral("SELECT Orden FROM Plantas WHERE Clave=%1").arg(key)), key);
    QCOMPARE(scalar(s, QStringLiteral("SELECT count(*) FROM RelForm WHERE KFormula=%1 AND OFormula=%2 AND KPlanta=%3 AND OPlanta=%3")
                           .arg(f.keys.siJunZiTang).arg(f.keys.siJunZiTang + 100).arg(key)),
             1);
    // The new element is listed under "Elementos", and its formulas page names the formula.
    test::control<QPushButton>(w, "Modificar")->click();
    test::control<QRadioButton>(w, "SelPlanForm0")->click();
    QVERIFY(f.dm().TPlan->findKey(key));
    QCOMPARE(f.dm().TRelFormPl->recordCount(), 1);
    QCOMPARE(f.dm().TRelFormPl->text(QStringLiteral("Formula")), QStringLiteral("Si Jun Zi Tang"));
}

void TestMainWindowDifferences::refusedInsertMovedTheList()
{
    test::ProgramFixture f(QStringLiteral("Gan"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    store::Session &s = f.folder.session();
    const int notes = scalar(s, QStringLiteral("SELECT count(*) FROM Notas"));
    test::control<QPushButton>(w, "Modificar")->click();
    const auto seen = test::answerNextModal(QStringLiteral("Aceptar"));
    typeInList(w, {Qt::Key_Insert});
    QCOMPARE(seen->text, QStringLiteral("Deberá seleccionar \"Plantas\" o \"Fórmulas\""));
    QCOMPARE(f.dm().TPlan->text(QStringLiteral("PinYin")), QStringLiteral("Gan Cao"));
    QCOMPARE(f.dm().TPlan->recordCount(), 5);
    QCOMPARE(scalar(s, QStringLiteral("SELECT count(*) FROM Notas")), notes);
}

void TestMainWindowDifferences::memoTabChangedWithoutTheMemo()
{
    test::ProgramFixture f(QStringLiteral("Gan"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QTabBar>(w, "TabMemo")->setFocus();
    QTest::keyClick(test::control<QTabBar>(w, "TabMemo"), Qt::Key_Right);
    QCOMPARE(test::control<QTabBar>(w, "TabMemo")->currentIndex(), 1);
    QCOMPARE(test::control<QLabel>(w, "LabMemo")->text(), QStringLiteral("Advertencias"));
    QCOMPARE(test::control<widgets::DBMemo>(w, "Memo")->field(), QStringLiteral("Floracion"));
    QWheelEvent wheel(QPointF(5, 5), test::control<QTabBar>(w, "TabMemo")->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(test::control<QTabBar>(w, "TabMemo"), &wheel);
    QCOMPARE(test::control<QLabel>(w, "LabMemo")->text(), test::control<QTabBar>(w, "TabMemo")->tabText(test::control<QTabBar>(w, "TabMemo")->currentIndex()));
    QCOMPARE(test::control<widgets::DBMemo>(w, "Memo")->field() == QStringLiteral("Memo"), test::control<QTabBar>(w, "TabMemo")->currentIndex() == 3);
}

void TestMainWindowDifferences::synonymButtonWasNotTheDefaultButton()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    const QList<int> raiz{Qt::Key_R, Qt::Key_A, Qt::Key_I, Qt::Key_Z, Qt::Key_Space, Qt::Key_D, Qt::Key_E, Qt::Key_L,
                          Qt::Key_Space, Qt::Key_H, Qt::Key_O, Qt::Key_M, Qt::Key_B, Qt::Key_R, Qt::Key_E};
    typeInList(w, raiz);
    QVERIFY(test::control<QPushButton>(w, "BotBusSinon")->isVisible());
    // The focus is elsewhere; Enter still presses ">>>".
    test::control<QTabWidget>(w, "Ficha")->setCurrentWidget(test::control<QWidget>(w, "PagAcc"));
    test::control<widgets::DBGrid>(w, "GrAcc")->setFocus();
    auto seen = test::answerNextModal(QStringLiteral("Aceptar"));
    QTest::keyClick(test::control<widgets::DBGrid>(w, "GrAcc"), Qt::Key_Return);
    QVERIFY(seen->answered);
    QCOMPARE(seen->text, QStringLiteral("RAIZ DEL HOMBRE = REN SHEN"));
    QCOMPARE(w.focusWidget(), static_cast<QWidget *>(test::control<widgets::DBGrid>(w, "GrNom")));
    // A mouse click on it also gives the focus back to the list.
    typeInList(w, raiz);
    seen = test::answerNextModal(QStringLiteral("Aceptar"));
    QTest::mouseClick(test::control<QPushButton>(w, "BotBusSinon"), Qt::LeftButton);
    QVERIFY(seen->answered);
    QCOMPARE(w.focusWidget(), static_cast<QWidget *>(test::control<widgets::DBGrid>(w, "GrNom")));
    QVERIFY(!test::control<QPushButton>(w, "BotBusSinon")->isVisible());
}

void TestMainWindowDifferences::synonymMatchedOnFirstSixtyCharacters()
{
    test::ProgramFixture f;
    const QString sixty = QString(60, QLatin1Char('A'));
    f.folder.session().database().exec(QStringLiteral("INSERT INTO Sinonimos (KPlanta, Sinon) VALUES (%1, '%2')").arg(f.keys.baiZhu).arg(sixty));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    typeInList(w, QList<int>(60, Qt::Key_A));
    QVERIFY(test::control<QPushButton>(w, "BotBusSinon")->isVisible());
    typeInList(w, {Qt::Key_A});
    QCOMPARE(test::control<QLabel>(w, "LabBus")->text().size(), 61);
    QVERIFY(!test::control<QPushButton>(w, "BotBusSinon")->isVisible());
}

void TestMainWindowDifferences::listKeysBesidesTypedSearch_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<int>("row"); // where the list is afterwards: -1 where it was
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << int(Qt::ControlModifier) << "\x01" << -1;
    QTest::newRow("Alt+S") << int(Qt::Key_S) << int(Qt::AltModifier) << "s" << -1;
    QTest::newRow("ñ: no search of the view") << int(Qt::Key_Ntilde) << 0 << "ñ" << -1;
    QTest::newRow("Home: first row") << int(Qt::Key_Home) << 0 << "" << 0;
    QTest::newRow("End: last row") << int(Qt::Key_End) << 0 << "" << 4;
}

void TestMainWindowDifferences::listKeysBesidesTypedSearch()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, keyText);
    QFETCH(int, row);
    test::ProgramFixture f;
    f.folder.session().database().exec(QStringLiteral("UPDATE Plantas SET PinYin='Ñu Zhen Zi' WHERE Clave=%1").arg(f.keys.siJunZiTang));
    f.folder.session().database().tableReset(QStringLiteral("Plantas"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    typeInList(w, {Qt::Key_G, Qt::Key_A});
    QCOMPARE(f.dm().TPlan->text(QStringLiteral("PinYin")), QStringLiteral("Gan Cao"));
    const int before = f.dm().TPlan->recNo();
    QTest::sendKeyEvent(QTest::Click, test::control<widgets::DBGrid>(w, "GrNom"), Qt::Key(key), keyText, Qt::KeyboardModifiers(modifiers));
    QVERIFY(test::control<QLabel>(w, "LabBus")->isHidden()); // every key but the typed ones ends the search
    QVERIFY(test::control<QLabel>(w, "LabBus")->text().isEmpty());
    QCOMPARE(f.dm().TPlan->recNo(), row < 0 ? before : row);
    QCOMPARE(test::control<widgets::DBGrid>(w, "GrNom")->currentIndex().column(), 0);
}

void TestMainWindowDifferences::ctrlDeleteLeftTheStrip()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QPushButton>(w, "Modificar")->click();
    typeInList(w, {Qt::Key_G, Qt::Key_U});
    QVERIFY(!test::control<QLabel>(w, "LabBus")->isHidden());
    const auto seen = test::answerNextModal(QStringLiteral("si"));
    typeInList(w, {Qt::Key_Delete}, Qt::ControlModifier);
    QVERIFY(seen->answered);
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM Plantas WHERE Clave=%1").arg(f.keys.guiZhi)), 0);
    QVERIFY(test::control<QLabel>(w, "LabBus")->isHidden());
    QVERIFY(test::control<QLabel>(w, "LabBus")->text().isEmpty());
}

void TestMainWindowDifferences::layoutDifferedFromDesign()
{
    test::ProgramFixture f(QStringLiteral("Gan"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    QCoreApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(std::abs(w.geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(std::abs(w.geometry().center().y() - screen.center().y()) <= 1);
    QCOMPARE(test::control<QFrame>(w, "PanIzq")->width(), 257);
    QCOMPARE(test::control<QFrame>(w, "PanCen")->width(), 265);
    QCOMPARE(test::control<QFrame>(w, "PanFic")->height(), 217);
    // An element on its formulas page; the move to a formula switches to the ingredients page,
    // which is laid out for the first time: its columns fill it, the percentage whole.
    test::control<QTabWidget>(w, "Ficha")->setCurrentWidget(test::control<QWidget>(w, "PagFormPl"));
    f.dm().TPlan->findNearest(QStringLiteral("Si Jun"));
    QCoreApplication::processEvents();
    QCOMPARE(test::control<QTabWidget>(w, "Ficha")->currentWidget(), test::control<QWidget>(w, "PagPlForm"));
    QCOMPARE(test::control<widgets::DBGrid>(w, "GrPlForm")->columnWidth(0), test::control<widgets::DBGrid>(w, "GrPlForm")->width() - test::control<widgets::DBGrid>(w, "GrPlForm")->columnWidth(1) - 22);
    QVERIFY(!test::control<widgets::DBGrid>(w, "GrPlForm")->horizontalScrollBar()->isVisible());
    QCOMPARE(test::control<widgets::DBGrid>(w, "GrNom")->columnWidth(0), test::control<widgets::DBGrid>(w, "GrNom")->width() - 22);
}

void TestMainWindowDifferences::dropDownOpenedAtOldPlace()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    QCoreApplication::processEvents();
    const QRect closed = test::control<QComboBox>(w, "CBIdioma")->geometry();
    test::control<QComboBox>(w, "CBIdioma")->showPopup();
    // Wider to the left, at once: its right edge stays at the end of the title strip.
    QCOMPARE(test::control<QComboBox>(w, "CBIdioma")->geometry().right(), closed.right());
    QCOMPARE(test::control<QComboBox>(w, "CBIdioma")->geometry().left(), closed.left() - 110);
    test::control<QComboBox>(w, "CBIdioma")->hidePopup();
    QCOMPARE(test::control<QComboBox>(w, "CBIdioma")->geometry(), closed);
}

void TestMainWindowDifferences::longTypedTextRanUnderButton()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    typeInList(w, QList<int>(40, Qt::Key_W));
    QCOMPARE(test::control<QLabel>(w, "LabBus")->text().size(), 40);
    QVERIFY(test::control<QLabel>(w, "LabBus")->alignment() & Qt::AlignRight); // its end shows
    QCOMPARE(test::control<QFrame>(w, "PanIzq")->width(), 257);                // and it does not widen the column
    typeInList(w, {Qt::Key_Left});
    typeInList(w, {Qt::Key_W});
    QVERIFY(test::control<QLabel>(w, "LabBus")->alignment() & Qt::AlignLeft);
}

void TestMainWindowDifferences::volverSatFarBelowArrow()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QFrame>(w, "PanInd")->hide();
    test::control<QFrame>(w, "PanInstrUna")->show();
    QCoreApplication::processEvents();
    QVERIFY(test::control<QLabel>(w, "ImVolver")->geometry().contains(test::control<QLabel>(w, "LabAtras")->geometry().center()));
    test::control<QFrame>(w, "PanInstrUna")->hide();
    test::control<QFrame>(w, "PanInd")->show();
}

void TestMainWindowDifferences::photoNotRescaledOnResize()
{
    test::ProgramFixture f;
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    store::Statement q(f.folder.session().database().handle(), QStringLiteral("UPDATE Plantas SET Foto1=? WHERE Clave=?"));
    q.bind(1, png);
    q.bind(2, f.keys.baiZhu);
    q.run();
    f.folder.session().database().tableReset(QStringLiteral("Plantas"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    const auto fits = [&] {
        const QSize shown = test::control<QLabel>(w, "Im")->pixmap().size();
        const QSize room = test::control<QLabel>(w, "Im")->size();
        return !shown.isEmpty() && shown.width() <= room.width() && shown.height() <= room.height()
            && (shown.width() == room.width() || shown.height() == room.height());
    };
    QCoreApplication::processEvents();
    QVERIFY(fits());
    w.resize(1300, 900);
    QCoreApplication::processEvents();
    QVERIFY(fits());
}

int main(int argc, char *argv[])
{
    app::HerbaxisApplication application(argc, argv);
    TestMainWindowDifferences tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_mainwin_differences.moc"
