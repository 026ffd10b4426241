// The plant list with its typed search, and the record panels: memo, profile, toxicity.
#include "Modal.h"
#include "Widgets.h"
#include "ProgramFixture.h"

#include "app/HerbaxisApplication.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include "widgets/ProfileBar.h"
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

using store::Table;

namespace {

// Keys as the plant list gets them: through the window's key preview, with the list focused.
void typeInList(mainwin::TFPlantas &w, const QList<int> &keys)
{
    w.activateWindow();
    test::control<widgets::DBGrid>(w, "GrNom")->setFocus();
    for (int key : keys)
        QTest::keyClick(test::control<widgets::DBGrid>(w, "GrNom"), Qt::Key(key));
}

} // namespace

class TestPanels : public QObject {
    Q_OBJECT

private slots:
    void typedSearch_data();
    void typedSearch();
    void synonymOffersTheJump();
    void insertOnlyInEditingMode();
    void namingLanguage();
    void formulaProfile_data();
    void formulaProfile();
    void unchangedFormulaProfileIsNotWritten();
    void profileDigitByLabel_data();
    void profileDigitByLabel();
    void toxicityStrip();
    void notesKeepWhatIsTypedOutsideEditing();
    void searchTermsAreMarkedNotStored();
};

void TestPanels::typedSearch_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("strip"); // empty: hidden
    QTest::addColumn<QString>("current");
    QTest::newRow("G") << QList<int>{Qt::Key_G} << "G" << "Gan Cao";
    QTest::newRow("G I") << QList<int>{Qt::Key_G, Qt::Key_I} << "GI" << "Gui Zhi";
    QTest::newRow("G I N") << QList<int>{Qt::Key_G, Qt::Key_I, Qt::Key_N} << "GIN" << "Gui Zhi";
    QTest::newRow("G A N blank C") << QList<int>{Qt::Key_G, Qt::Key_A, Qt::Key_N, Qt::Key_Space, Qt::Key_C} << "GAN C" << "Gan Cao";
    QTest::newRow("G I N Backspace") << QList<int>{Qt::Key_G, Qt::Key_I, Qt::Key_N, Qt::Key_Backspace} << "GI" << "Gui Zhi";
    QTest::newRow("R Backspace: the first record") << QList<int>{Qt::Key_R, Qt::Key_Backspace} << "" << "Bai Zhu";
    QTest::newRow("Backspace on an empty strip") << QList<int>{Qt::Key_Backspace} << "" << "Bai Zhu";
    QTest::newRow("past the last name") << QList<int>{Qt::Key_Z} << "Z" << "Si Jun Zi Tang";
    QTest::newRow("a digit clears") << QList<int>{Qt::Key_G, Qt::Key_5} << "" << "Gan Cao";
    QTest::newRow("an arrow clears and moves") << QList<int>{Qt::Key_G, Qt::Key_Down} << "" << "Gui Zhi";
    QTest::newRow("Shift changes nothing") << QList<int>{Qt::Key_R, Qt::Key_Shift} << "R" << "Ren Shen";
}

void TestPanels::typedSearch()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, strip);
    QFETCH(QString, current);
    test::ProgramFixture f;
    QVERIFY(f.start());
    typeInList(f.win(), keys);
    QCOMPARE(test::control<QLabel>(f.win(), "LabBus")->text(), strip);
    if (strip.isEmpty() && keys.last() != Qt::Key_Backspace)
        QVERIFY(test::control<QLabel>(f.win(), "LabBus")->isHidden());
    QCOMPARE(f.dm().TPlan->text(QStringLiteral("PinYin")), current);
    QCOMPARE(test::control<widgets::DBEdit>(f.win(), "EdPinYin")->text(), current); // the panels follow
}

void TestPanels::synonymOffersTheJump()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    const QList<int> raiz{Qt::Key_R, Qt::Key_A, Qt::Key_I, Qt::Key_Z, Qt::Key_Space, Qt::Key_D, Qt::Key_E, Qt::Key_L,
                          Qt::Key_Space, Qt::Key_H, Qt::Key_O, Qt::Key_M, Qt::Key_B, Qt::Key_R};
    typeInList(w, raiz);
    QVERIFY(test::control<QPushButton>(w, "BotBusSinon")->isHidden()); // "RAIZ DEL HOMBR" is not a synonym
    typeInList(w, {Qt::Key_E});
    QVERIFY(!test::control<QPushButton>(w, "BotBusSinon")->isHidden()); // stored as "Raiz Del Hombre"
    typeInList(w, {Qt::Key_S});
    QVERIFY(test::control<QPushButton>(w, "BotBusSinon")->isHidden());
    typeInList(w, {Qt::Key_Backspace});
    QVERIFY(!test::control<QPushButton>(w, "BotBusSinon")->isHidden());
    // Enter presses the hint button instead of clearing the strip.
    const auto seen = test::answerNextModal(QStringLiteral("Aceptar"));
    typeInList(w, {Qt::Key_Return});
    QVERIFY(seen->answered);
    QCOMPARE(seen->text, QStringLiteral("RAIZ DEL HOMBRE = REN SHEN"));
    QVERIFY(test::control<QLabel>(w, "LabBus")->isHidden());
    QVERIFY(test::control<QLabel>(w, "LabBus")->text().isEmpty());
    QCOMPARE(f.dm().TPlan->text(QStringLiteral("PinYin")), QStringLiteral("Ren Shen"));
}

void TestPanels::insertOnlyInEditingMode()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    typeInList(f.win(), {Qt::Key_Insert});
    QCOMPARE(f.dm().TPlan->state(), Table::State::Browse);
    QCOMPARE(f.dm().TPlan->recordCount(), 5);
    test::control<QPushButton>(f.win(), "Modificar")->click();
    test::control<QButtonGroup>(f.win(), "SelPlanFormGroup")->button(0)->click();
    typeInList(f.win(), {Qt::Key_Insert});
    QCOMPARE(f.dm().TPlan->state(), Table::State::Insert);
    QCOMPARE(f.dm().TPlan->asBool(QStringLiteral("EsFormula")), false);
}

void TestPanels::namingLanguage()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<widgets::DropDownCombo>(w, "CBIdioma")->setCurrentIndex(4);
    w.CBIdiomaChange();
    QCOMPARE(test::control<QLabel>(w, "LabNom")->text(), QStringLiteral("Inglés"));
    QCOMPARE(f.dm().TPlan->indexName(), QStringLiteral("PorNom3"));
    QCOMPARE(test::control<widgets::DBGrid>(w, "GrNom")->model()->index(0, 0).data().toString(), QStringLiteral("Cinnamon Twig"));
    typeInList(w, {Qt::Key_L});
    QCOMPARE(f.dm().TPlan->text(QStringLiteral("Nom3")), QStringLiteral("Licorice"));
    // Opening the list makes room for the names and closing it gives the room back.
    const int narrow = test::control<widgets::DropDownCombo>(w, "CBIdioma")->width();
    w.CBIdiomaDropDown();
    QCOMPARE(test::control<widgets::DropDownCombo>(w, "CBIdioma")->maximumWidth(), narrow + 110);
    w.CBIdiomaCloseUp();
    QCOMPARE(test::control<widgets::DropDownCombo>(w, "CBIdioma")->maximumWidth(), narrow);
}

void TestPanels::formulaProfile_data()
{
    QTest::addColumn<QList<double>>("percents");
    QTest::addColumn<QStringList>("channels");
    QTest::addColumn<QString>("expected");
    QTest::newRow("4 and 5 at 50 % give 4") << QList<double>{50, 50} << QStringList{"40000000000000", "50000000000000"} << "40000000000000";
    QTest::newRow("9 at 30 % gives 3") << QList<double>{30} << QStringList{"90000000000000"} << "30000000000000";
}

void TestPanels::formulaProfile()
{
    QFETCH(QList<double>, percents);
    QFETCH(QStringList, channels);
    QFETCH(QString, expected);
    test::ProgramFixture f(QStringLiteral("Si Jun"));
    store::Session &s = f.folder.session();
    s.database().exec(QStringLiteral("DELETE FROM RelForm"));
    const QList<int> ingredients{f.keys.baiZhu, f.keys.ganCao};
    for (int i = 0; i < percents.size(); ++i) {
        s.database().exec(QStringLiteral("UPDATE Plantas SET Meridianos='%1' WHERE Clave=%2").arg(channels[i]).arg(ingredients[i]));
        s.database().exec(QStringLiteral("INSERT INTO RelForm (KFormula, KPlanta, OFormula, OPlanta, Porcentaje) VALUES (%1,%2,%1,%2,%3)")
                              .arg(f.keys.siJunZiTang).arg(ingredients[i]).arg(percents[i]));
    }
    s.database().tableReset(QStringLiteral("Plantas"));
    QVERIFY(f.start());
    QCOMPARE(f.dm().TPlan->text(QStringLiteral("PinYin")), QStringLiteral("Si Jun Zi Tang"));
    test::control<QPushButton>(f.win(), "Modificar")->click(); // editing with the kind selector on "Todo": the profile is computed
    QCOMPARE(test::scalarText(s, QStringLiteral("SELECT Meridianos FROM Plantas WHERE Clave=%1").arg(f.keys.siJunZiTang)), expected);
    QCOMPARE(test::control<widgets::ProfileBar>(f.win(), "BarCanal1")->value(), expected.left(1).toInt());
}

void TestPanels::unchangedFormulaProfileIsNotWritten()
{
    test::ProgramFixture f(QStringLiteral("Si Jun"));
    QVERIFY(f.start());
    test::control<QPushButton>(f.win(), "Modificar")->click();
    test::control<QPushButton>(f.win(), "Modificar")->click();
    store::Database &db = f.folder.session().database();
    const quint64 before = db.generation(QStringLiteral("Plantas"));
    test::control<QPushButton>(f.win(), "Modificar")->click(); // computes the same profile again
    QCOMPARE(f.dm().TPlan->state(), Table::State::Browse);
    QCOMPARE(db.generation(QStringLiteral("Plantas")), before);
}

void TestPanels::profileDigitByLabel_data()
{
    QTest::addColumn<QString>("plant");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // empty: no change
    QTest::addColumn<bool>("message");
    QTest::newRow("7 on an empty taste string") << "Gui Zhi" << true << "7" << "0007" << false;
    QTest::newRow("10 is refused") << "Gui Zhi" << true << "10" << "" << true;
    QTest::newRow("a letter is refused") << "Gui Zhi" << true << "a" << "" << true;
    QTest::newRow("outside editing mode") << "Gui Zhi" << false << "" << "" << false;
    QTest::newRow("a formula") << "Si Jun Zi Tang" << true << "" << "" << false;
}

void TestPanels::profileDigitByLabel()
{
    QFETCH(QString, plant);
    QFETCH(bool, editing);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(bool, message);
    test::ProgramFixture f(plant);
    store::Session &s = f.folder.session();
    s.database().exec(QStringLiteral("UPDATE Plantas SET Sabor=NULL"));
    QVERIFY(f.start());
    if (editing)
        test::control<QPushButton>(f.win(), "Modificar")->click();
    const QString before = test::scalarText(s, QStringLiteral("SELECT Sabor FROM Plantas WHERE PinYin='%1'").arg(plant));
    auto *dulce = test::control<QFrame>(f.win(), "PanSabor")->findChild<QLabel *>(QStringLiteral("LabSabor4"));
    QVERIFY(dulce);
    QCOMPARE(dulce->text(), QStringLiteral("Dulce"));
    std::shared_ptr<test::ModalSeen> box, notice;
    if (!typed.isEmpty())
        box = test::typeIntoNextModal(typed);
    if (message) // the notice comes right after the box
        QTimer::singleShot(0, [&] { notice = test::answerNextModal(QStringLiteral("Aceptar")); });
    f.win().Label48Click(dulce);
    if (box)
        QVERIFY(box->answered);
    if (message) {
        QTRY_VERIFY(notice && notice->answered);
        QCOMPARE(notice->text, QStringLiteral("Ingrese un numero entre 0 y 9"));
    }
    const QString now = test::scalarText(s, QStringLiteral("SELECT Sabor FROM Plantas WHERE PinYin='%1'").arg(plant));
    QCOMPARE(now, stored.isEmpty() ? before : stored);
    if (!stored.isEmpty())
        QCOMPARE(test::control<widgets::ProfileBar>(f.win(), "BarSabor4")->value(), 7);
}

void TestPanels::toxicityStrip()
{
    test::ProgramFixture f(QStringLiteral("Gui"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QPushButton>(w, "Modificar")->click();
    QVERIFY(test::control<QFrame>(w, "PanTox")->isVisible());
    QCOMPARE(test::control<QFrame>(w, "PanTox")->findChildren<QLabel *>().size(), 5);
    QLabel *severe = test::control<QLabel>(w, "StaticText4");
    QCOMPARE(severe->text(), QStringLiteral("X"));
    w.StaticText3Click(severe);
    QCOMPARE(test::control<QLabel>(w, "ImTox")->text(), QStringLiteral("X"));
    QCOMPARE(test::control<QLabel>(w, "LabTox")->text(), QStringLiteral("Extremadamente tóxica"));
    QCOMPARE(test::control<QLabel>(w, "ImTox")->palette().color(QPalette::Window), QColor(255, 0, 0));
    // The blank square of tag -1 clears the code: no mark, no text.
    w.StaticText3Click(test::control<QLabel>(w, "StaticText5"));
    QVERIFY(f.dm().TPlan->isNull(QStringLiteral("Toxicidad")));
    QVERIFY(test::control<QLabel>(w, "ImTox")->text().isEmpty());
    QVERIFY(test::control<QLabel>(w, "LabTox")->text().isEmpty());
    w.StaticText3Click(test::control<QLabel>(w, "StaticText2"));
    QCOMPARE(test::control<QLabel>(w, "LabTox")->text(), QStringLiteral("No  tóxica"));
    // A code the strip does not know leaves it as it was.
    f.dm().TPlan->setValue(QStringLiteral("Toxicidad"), QStringLiteral("7"));
    QCOMPARE(test::control<QLabel>(w, "LabTox")->text(), QStringLiteral("No  tóxica"));
    test::control<QPushButton>(w, "Modificar")->click();
    QCOMPARE(test::scalarText(f.folder.session(), QStringLiteral("SELECT Toxicidad FROM Plantas WHERE PinYin='Gui Zhi'")), QStringLiteral("7"));
}

void TestPanels::notesKeepWhatIsTypedOutsideEditing()
{
    test::ProgramFixture f(QStringLiteral("Gan"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QTabBar>(w, "TabMemo")->setCurrentIndex(3);
    w.TabMemoChange();
    QCOMPARE(test::control<QLabel>(w, "LabMemo")->text(), QStringLiteral("Notas"));
    QVERIFY(test::control<widgets::DBMemo>(w, "Memo")->toPlainText().isEmpty());
    QVERIFY(!test::control<widgets::DBMemo>(w, "Memo")->isReadOnly());
    QVERIFY(test::control<widgets::DBEdit>(w, "EdPinYin")->isReadOnly()); // the record itself is not being edited
    test::control<widgets::DBMemo>(w, "Memo")->setFocus();
    QTest::keyClicks(test::control<widgets::DBMemo>(w, "Memo"), QStringLiteral("Dulce"));
    f.dm().TPlan->next();
    QVERIFY(test::control<widgets::DBMemo>(w, "Memo")->toPlainText().isEmpty());
    f.dm().TPlan->prior();
    QCOMPARE(test::control<widgets::DBMemo>(w, "Memo")->toPlainText(), QStringLiteral("Dulce"));
    QCOMPARE(test::scalarText(f.folder.session(), QStringLiteral("SELECT Memo FROM Notas WHERE KPlanta=%1").arg(f.keys.ganCao)), QStringLiteral("Dulce"));
    QCOMPARE(f.dm().TPlan->state(), Table::State::Browse);
}

void TestPanels::searchTermsAreMarkedNotStored()
{
    test::ProgramFixture f(QStringLiteral("Ren"));
    store::Session &s = f.folder.session();
    s.database().exec(QStringLiteral("UPDATE Plantas SET Descripcion='La raíz tonifica el Qi; RAIZ y Raíz otra vez, tónico.' WHERE PinYin='Ren Shen'"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    w.TextSearchActive = true;
    w.setSearchTerms({QStringLiteral("RAIZ"), QStringLiteral("TONIC")});
    w.MemoChange();
    const QString plain = test::control<widgets::DBMemo>(w, "Memo")->toPlainText();
    QTextCursor cursor(test::control<widgets::DBMemo>(w, "Memo")->document());
    auto markedAt = [&](int position) {
        cursor.setPosition(position + 1);
        const QTextCharFormat format = cursor.charFormat();
        return format.fontWeight() == QFont::Bold && format.fontUnderline();
    };
    for (const QString &hit : {QStringLiteral("raíz"), QStringLiteral("RAIZ"), QStringLiteral("Raíz"), QStringLiteral("tónic")})
        QVERIFY2(markedAt(int(plain.indexOf(hit))), qPrintable(hit));
    QVERIFY(!markedAt(int(plain.indexOf(QStringLiteral("Qi")))));
    QCOMPARE(f.dm().TPlan->state(), Table::State::Browse);
    QCOMPARE(test::scalarText(s, QStringLiteral("SELECT Descripcion FROM Plantas WHERE PinYin='Ren Shen'")),
             QStringLiteral("La raíz tonifica el Qi; RAIZ y Raíz otra vez, tónico."));
}

int main(int argc, char *argv[])
{
    app::HerbaxisApplication application(argc, argv);
    TestPanels tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_panels.moc"
