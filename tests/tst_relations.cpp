// The table and class pickers, the list filter by kind and class, and the relation pages.
#include "Modal.h"
#include "Widgets.h"
#include "ProgramFixture.h"

#include "app/HerbaxisApplication.h"
#include "common/TFCalco.h"
#include "relations/TFSelClase.h"
#include "relations/TFSelTab.h"
#include "repertory/TFUsos.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using relations::TFSelTab;
using store::Table;
using test::gridTexts;
using test::scalar;

namespace {

TFSelTab *picker(QWidget *modal)
{
    return qobject_cast<TFSelTab *>(modal);
}

relations::TFSelClase *classPicker(QWidget *modal)
{
    return qobject_cast<relations::TFSelClase *>(modal);
}

} // namespace

class TestRelations : public QObject {
    Q_OBJECT

private slots:
    void pickerCancelReturnsInitialKey();
    void pickerInEmptyTableReturnsZero();
    void pickerSearchStrip();
    void pickerEditsInPlace();
    void classPickerEmptyLevel_data();
    void classPickerEmptyLevel();
    void classPickerTypedSearch();
    void classPickerNoneAndEnglishNames();
    void filterExpression_data();
    void filterExpression();
    void classButtons();
    void showAllKeepsKind();
    void relationKeysOutsideEditingChangeNothing();
    void addActionAndRefuseDuplicate();
    void removeAsksFirst();
    void ingredientPickerListsElementsOnly();
    void percentage_data();
    void percentage();
    void visitHiddenIngredient();
    void repertorizationWindowReloadsOnlyForAnotherKind();
};

void TestRelations::pickerCancelReturnsInitialKey()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    Table &usos = *f.dm().TUsos;
    test::onNextModal([](QWidget *modal) {
        TFSelTab *p = picker(modal);
        QTest::keyClick(p->Grid, Qt::Key_Down); // move away
        p->AddCommand();                           // and start a new row
        p->Cancelar->click();
    });
    QCOMPARE(relations::SelectTableKey(usos, f.keys.calma, QStringLiteral("Acciones")), f.keys.calma);
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM Usos")), 3);
    QVERIFY(usos.isOpen());
    QCOMPARE(usos.indexName(), QStringLiteral("PorNom"));
}

void TestRelations::pickerInEmptyTableReturnsZero()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    test::onNextModal([](QWidget *modal) { picker(modal)->Aceptar->click(); });
    QCOMPARE(relations::SelectTableKey(*f.dm().TComp, 0, QStringLiteral("Componentes")), 0);
}

void TestRelations::pickerSearchStrip()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    Table &aux = *f.dm().TAuxPlan;
    QString afterA, afterS, strip;
    test::onNextModal([&](QWidget *modal) {
        TFSelTab *p = picker(modal);
        p->Grid->setFocus();
        QTest::keyClick(p->Grid, Qt::Key_S);
        strip = p->Ed->text() + QString::number(p->Ed->cursorPosition());
        afterA = aux.text(QStringLiteral("PinYin"));
        QTest::keyClick(p->Ed, Qt::Key_I);
        afterS = aux.text(QStringLiteral("PinYin"));
        p->Aceptar->click();
    });
    const int chosen = relations::SelectTableKey(aux, 0, QStringLiteral("Plantas"), QStringLiteral("PinYin"));
    QCOMPARE(strip, QStringLiteral("S1"));
    QCOMPARE(afterA, QStringLiteral("Si Jun Zi Tang"));
    QCOMPARE(afterS, QStringLiteral("Si Jun Zi Tang"));
    QCOMPARE(chosen, f.keys.siJunZiTang);
}

void TestRelations::pickerEditsInPlace()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    bool stayedOpen = false, browsingAgain = false;
    test::onNextModal([&](QWidget *modal) {
        TFSelTab *p = picker(modal);
        p->Grid->setFocus();
        QTest::keyClick(p->Grid, Qt::Key_F2);
        QVERIFY(p->editingCells());
        QVERIFY(p->PanBot->isHidden());
        auto *editor = p->Grid->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("Libera el exterior frío"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view hands the text over from its event loop
        browsingAgain = !p->editingCells() && !p->PanBot->isHidden();
        p->EditCommand();
        p->AceptarClick(); // while editing, Accept only returns to browsing
        stayedOpen = p->isVisible() && !p->editingCells();
        p->Aceptar->click();
    });
    f.dm().TUsos->open();
    const int chosen = relations::SelectTableKey(*f.dm().TUsos, f.keys.libera, QStringLiteral("Acciones"));
    QVERIFY(browsingAgain);
    QVERIFY(stayedOpen);
    QCOMPARE(chosen, f.keys.libera);
    QCOMPARE(test::scalarText(f.folder.session(), QStringLiteral("SELECT Nom FROM Usos WHERE Clave=%1").arg(f.keys.libera)),
             QStringLiteral("Libera el exterior frío"));
}

void TestRelations::classPickerEmptyLevel_data()
{
    QTest::addColumn<bool>("editing");
    QTest::newRow("browsing: message, false") << false;
    QTest::newRow("editing: opens empty with Ninguna") << true;
}

void TestRelations::classPickerEmptyLevel()
{
    QFETCH(bool, editing);
    test::ProgramFixture f;
    QVERIFY(f.start());
    if (editing)
        test::control<QPushButton>(f.win(), "Modificar")->click();
    std::shared_ptr<test::ModalSeen> seen;
    bool noneShown = false;
    int rows = -1;
    if (editing)
        test::onNextModal([&](QWidget *modal) {
            auto *p = classPicker(modal);
            noneShown = !p->Ninguna->isHidden();
            rows = p->Gr->model()->rowCount();
            QCOMPARE(p->windowTitle(), QStringLiteral("Seleccione una Sub-Clase"));
            p->Cancelar->click();
        });
    else
        seen = test::answerNextModal(QStringLiteral("Aceptar"));
    int num = 77;
    QVERIFY(!relations::SelectClass(5, num, f.win().editing()));
    QCOMPARE(num, 77);
    if (editing) {
        QVERIFY(noneShown);
        QCOMPARE(rows, 0);
    } else {
        QVERIFY(seen->answered);
        QCOMPARE(seen->text, QStringLiteral("No hay Sub-Clases"));
    }
}

void TestRelations::classPickerTypedSearch()
{
    test::ProgramFixture f;
    store::Session &s = f.folder.session();
    s.database().exec(QStringLiteral("INSERT INTO Clases (Num, Padre, NomEsp) VALUES (40,0,'Hemostáticos'),(41,0,'Hierbas amargas')"));
    QVERIFY(f.start());
    QStringList strip, current;
    test::onNextModal([&](QWidget *modal) {
        auto *p = classPicker(modal);
        p->Gr->setFocus();
        for (int key : {Qt::Key_H, Qt::Key_I, Qt::Key_Backspace, Qt::Key_E}) {
            QTest::keyClick(p->Gr, Qt::Key(key));
            strip << p->LabBus->text();
            current << p->Gr->currentIndex().data().toString();
        }
        QTest::keyClick(p->Gr, Qt::Key_Left);
        strip << p->LabBus->text();
        p->Aceptar->click();
    });
    int num = 0;
    QVERIFY(relations::SelectClass(0, num, f.win().editing()));
    QCOMPARE(strip, (QStringList{"H", "HI", "H", "HE", ""}));
    QCOMPARE(current, (QStringList{"Hemostáticos", "Hierbas amargas", "Hemostáticos", "Hemostáticos"}));
    QCOMPARE(num, 40);
}

void TestRelations::classPickerNoneAndEnglishNames()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    test::control<QPushButton>(f.win(), "Modificar")->click();
    test::onNextModal([](QWidget *modal) { classPicker(modal)->Ninguna->click(); });
    int num = 12;
    QVERIFY(relations::SelectClass(0, num, f.win().editing()));
    QCOMPARE(num, 0);

    // In English mode a new class gets only its English name typed.
    auto *p = qobject_cast<relations::TFSelClase *>(f.context.FSelClase);
    p->ApplyEnglish();
    test::onNextModal([](QWidget *modal) {
        auto *dialog = classPicker(modal);
        dialog->Modificar->setChecked(true);
        test::typeIntoNextModal(QStringLiteral("Purge"));
        QTest::keyClick(dialog->Gr, Qt::Key_Insert);
        dialog->Modificar->setChecked(false);
        dialog->Cancelar->click();
    });
    QVERIFY(!relations::SelectClass(0, num, f.win().editing()));
    store::Session &s = f.folder.session();
    QCOMPARE(scalar(s, QStringLiteral("SELECT count(*) FROM Clases WHERE NomIng='Purge' AND NomEsp IS NULL AND Padre=0 AND Num>0")), 1);
}

void TestRelations::filterExpression_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("klass");
    QTest::addColumn<int>("subclass");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<bool>("strip");
    QTest::newRow("formulas, class 12") << 1 << 12 << 0 << "EsFormula=True and KClase=12" << true;
    QTest::newRow("formulas, subclass 30") << 1 << 12 << 30 << "EsFormula=True and KSubClase=30" << true;
    QTest::newRow("all, class 12") << 2 << 12 << 0 << "KClase=12" << true;
    QTest::newRow("elements only") << 0 << 0 << 0 << "EsFormula=False" << false;
    QTest::newRow("nothing") << 2 << 0 << 0 << "" << false;
}

void TestRelations::filterExpression()
{
    QFETCH(int, kind);
    QFETCH(int, klass);
    QFETCH(int, subclass);
    QFETCH(QString, expression);
    QFETCH(bool, strip);
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QButtonGroup>(w, "SelPlanFormGroup")->button(kind)->setChecked(true);
    w.ClassFilter = klass;
    w.SubClassFilter = subclass;
    w.ApplyListFilter();
    QCOMPARE(f.dm().TPlan->filter(), expression);
    QCOMPARE(w.AnyFilterActive, strip);
    QCOMPARE(!test::control<QLabel>(w, "LabCant")->isHidden(), strip);
    QCOMPARE(f.context.FCalco->isVisible(), strip);
    if (strip)
        QCOMPARE(test::control<QLabel>(w, "LabCant")->text(), QStringLiteral("Seleccionados: %1").arg(f.dm().TPlan->recordCount()));
}

void TestRelations::classButtons()
{
    test::ProgramFixture f(QStringLiteral("Ren"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    auto pick = [](int row) {
        test::onNextModal([row](QWidget *modal) {
            auto *p = classPicker(modal);
            p->Gr->setCurrentIndex(p->Gr->model()->index(row, 0));
            p->Aceptar->click();
        });
    };
    pick(1); // "Tonificantes" (after "Calientan el interior")
    w.BotClaseClick();
    QCOMPARE(w.ClassFilter, 12);
    pick(0); // "Tonifican el Qi"
    w.BotSubClaseClick();
    QCOMPARE(w.SubClassFilter, 30);
    pick(1); // the same class again keeps the subclass
    w.BotClaseClick();
    QCOMPARE(w.SubClassFilter, 30);
    test::onNextModal([](QWidget *modal) { classPicker(modal)->Cancelar->click(); });
    w.BotSubClaseClick(); // cancelling the subclass picker lifts only the subclass
    QCOMPARE(w.ClassFilter, 12);
    QCOMPARE(w.SubClassFilter, 0);
    w.SubClassFilter = 30;
    test::onNextModal([](QWidget *modal) { classPicker(modal)->Cancelar->click(); });
    w.BotClaseClick(); // cancelling the class picker lifts both
    QCOMPARE(w.ClassFilter, 0);
    QCOMPARE(w.SubClassFilter, 0);
    // The subclass button needs a class restriction first.
    const auto seen = test::answerNextModal(QStringLiteral("Aceptar"));
    w.BotSubClaseClick();
    QCOMPARE(seen->text, QStringLiteral("Deberá seleccionar una Clase"));
    // In editing mode the class button sets the record's class and clears its subclass.
    test::control<QPushButton>(w, "Modificar")->click();
    pick(0); // "Calientan el interior"
    w.BotClaseClick();
    QCOMPARE(w.ClassFilter, 0);
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT KClase FROM Plantas WHERE PinYin='Ren Shen'")), 5);
    QCOMPARE(test::scalarText(f.folder.session(), QStringLiteral("SELECT KSubClase FROM Plantas WHERE PinYin='Ren Shen'")), QString());
}

void TestRelations::showAllKeepsKind()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QButtonGroup>(w, "SelPlanFormGroup")->button(1)->click();
    w.ClassFilter = 12;
    w.TextSearchActive = true;
    w.ApplyListFilter();
    QVERIFY(f.context.FCalco->isVisible());
    test::control<QPushButton>(w, "VerTodo")->click();
    QVERIFY(test::control<QLabel>(w, "LabCant")->isHidden());
    QVERIFY(!f.context.FCalco->isVisible());
    QCOMPARE(w.kindSelection(), data::ListKind::Formulas);
    QCOMPARE(f.dm().TPlan->filter(), QStringLiteral("EsFormula=True"));
    QVERIFY(!w.TextSearchActive);
}

void TestRelations::relationKeysOutsideEditingChangeNothing()
{
    test::ProgramFixture f(QStringLiteral("Ren"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    w.activateWindow();
    test::control<widgets::DBGrid>(w, "GrAcc")->setFocus();
    for (int key : {Qt::Key_Return, Qt::Key_Insert, Qt::Key_Delete})
        QTest::keyClick(test::control<widgets::DBGrid>(w, "GrAcc"), Qt::Key(key)); // a picker or question would hang here
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM Rel")), 4);
    // On an element's formulas page the commands do nothing in editing mode either.
    test::control<QPushButton>(w, "Modificar")->click();
    test::control<QTabWidget>(w, "Ficha")->setCurrentWidget(test::control<QWidget>(w, "PagFormPl"));
    QVERIFY(test::control<QFrame>(w, "PanBotSint")->isHidden());
    test::control<widgets::DBGrid>(w, "GrFormPl")->setFocus();
    for (int key : {Qt::Key_Return, Qt::Key_Insert, Qt::Key_Delete})
        QTest::keyClick(test::control<widgets::DBGrid>(w, "GrFormPl"), Qt::Key(key));
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT count(*) FROM RelForm")), 3);
}

void TestRelations::addActionAndRefuseDuplicate()
{
    test::ProgramFixture f(QStringLiteral("Ren"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QPushButton>(w, "Modificar")->click();
    auto choose = [](const QString &name) {
        test::onNextModal([name](QWidget *modal) {
            TFSelTab *p = picker(modal);
            QCOMPARE(p->windowTitle(), QStringLiteral("Seleccione la acción terapéutica"));
            QTest::keyClicks(p->Grid, name.left(1));
            p->Ed->setText(name);
            p->Aceptar->click();
        });
    };
    choose(QStringLiteral("Libera"));
    w.CambiarClick(mainwin::RelationEdit::Add);
    QCOMPARE(test::control<QTabWidget>(w, "Ficha")->tabText(test::control<QTabWidget>(w, "Ficha")->indexOf(test::control<QWidget>(w, "PagAcc"))), QStringLiteral("Acciones: 3"));
    QCOMPARE(f.dm().TRel->text(QStringLiteral("Uso")), QStringLiteral("Libera el exterior"));
    QCOMPARE(scalar(f.folder.session(), QStringLiteral("SELECT OUso FROM Rel WHERE KPlanta=%1 AND KUso=%2").arg(f.keys.renShen).arg(f.keys.libera)),
             f.keys.libera);

    choose(QStringLiteral("Tonifica"));
    const auto seen = test::answerNextModal(QStringLiteral("Aceptar"), 0, 8000);
    QVERIFY_THROWS_EXCEPTION(store::Abort, w.CambiarClick(mainwin::RelationEdit::Add));
    QCOMPARE(seen->text, QStringLiteral("Registro repetido"));
    QCOMPARE(f.dm().TRel->recordCount(), 3);
    QVERIFY(f.dm().TAuxPlan->filter().isEmpty());
    f.dm().TPlan->findNearest(QStringLiteral("GAN"));
    test::control<QTabWidget>(w, "Ficha")->setCurrentWidget(test::control<QWidget>(w, "PagFormPl"));
    QCOMPARE(gridTexts(test::control<widgets::DBGrid>(w, "GrFormPl")), QStringList{"Si Jun Zi Tang"}); // the formulas page still names them
}

void TestRelations::removeAsksFirst()
{
    test::ProgramFixture f(QStringLiteral("Gui"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QPushButton>(w, "Modificar")->click();
    auto seen = test::answerNextModal(QStringLiteral("No"));
    test::control<QPushButton>(w, "Quitar")->click();
    QCOMPARE(seen->text, QStringLiteral("Desea quitar la acción terapéutica \"Libera el exterior\" ?"));
    QCOMPARE(f.dm().TRel->recordCount(), 1);
    seen = test::answerNextModal(QStringLiteral("si"));
    test::control<QPushButton>(w, "Quitar")->click();
    QCOMPARE(f.dm().TRel->recordCount(), 0);
    QCOMPARE(test::control<QTabWidget>(w, "Ficha")->tabText(test::control<QTabWidget>(w, "Ficha")->indexOf(test::control<QWidget>(w, "PagAcc"))), QStringLiteral("Acciones: 0"));
}

void TestRelations::ingredientPickerListsElementsOnly()
{
    test::ProgramFixture f(QStringLiteral("Si Jun"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QPushButton>(w, "Modificar")->click();
    test::control<QTabWidget>(w, "Ficha")->setCurrentWidget(test::control<QWidget>(w, "PagPlForm"));
    QStringList listed;
    test::onNextModal([&](QWidget *modal) {
        listed = gridTexts(picker(modal)->Grid);
        picker(modal)->Cancelar->click();
    });
    test::control<QPushButton>(w, "Agregar")->click();
    QCOMPARE(listed, (QStringList{"Bai Zhu", "Gan Cao", "Gui Zhi", "Ren Shen"}));
    QVERIFY(f.dm().TAuxPlan->filter().isEmpty());
    QCOMPARE(f.dm().TRelPlForm->recordCount(), 3);
}

void TestRelations::percentage_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("stored");
    QTest::addColumn<bool>("refused");
    QTest::newRow("comma decimal separator") << "12,5" << 12.5 << false;
    QTest::newRow("not a number, then cancel") << "abc" << 40.0 << true;
    QTest::newRow("group separator is refused, not read as thousands") << "12.500" << 40.0 << true;
    QTest::newRow("nan is refused") << "nan" << 40.0 << true;
    QTest::newRow("inf is refused") << "inf" << 40.0 << true;
}

void TestRelations::percentage()
{
    QFETCH(QString, typed);
    QFETCH(double, stored);
    QFETCH(bool, refused);
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    test::ProgramFixture f(QStringLiteral("Si Jun"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QPushButton>(w, "Modificar")->click();
    test::control<QTabWidget>(w, "Ficha")->setCurrentWidget(test::control<QWidget>(w, "PagPlForm"));
    QVERIFY(!test::control<QPushButton>(w, "Porcentaje")->isHidden());
    QString reopenedWith;
    auto first = test::typeIntoNextModal(typed);
    if (refused)
        QTimer::singleShot(0, [&] {
            test::answerNextModal(QStringLiteral("Aceptar"));
            QTimer::singleShot(0, [&] {
                test::onNextModal([&](QWidget *box) {
                    reopenedWith = box->findChild<QLineEdit *>()->text();
                    QTest::keyClick(box->findChild<QLineEdit *>(), Qt::Key_Escape);
                });
            });
        });
    test::control<QPushButton>(w, "Porcentaje")->click();
    QVERIFY(first->answered);
    if (refused)
        QCOMPARE(reopenedWith, QStringLiteral("40"));
    QCOMPARE(test::scalarText(f.folder.session(), QStringLiteral("SELECT Porcentaje FROM RelForm WHERE KPlanta=%1").arg(f.keys.renShen)).toDouble(), stored);
    QCOMPARE(test::control<widgets::DBGrid>(w, "GrPlForm")->model()->index(f.dm().TRelPlForm->recNo(), 1).data().toString(), QLocale().toString(stored, 'f', 1) + QStringLiteral(" %"));
    QLocale::setDefault(QLocale::c());
}

void TestRelations::visitHiddenIngredient()
{
    test::ProgramFixture f(QStringLiteral("Si Jun"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    test::control<QButtonGroup>(w, "SelPlanFormGroup")->button(1)->click(); // formulas only: the ingredients are hidden
    test::control<QTabWidget>(w, "Ficha")->setCurrentWidget(test::control<QWidget>(w, "PagPlForm"));
    QString visited;
    bool beeped = false;
    QTimer::singleShot(0, [&] {
        visited = f.dm().TPlan->text(QStringLiteral("PinYin"));
        const int before = f.dm().TPlan->recordCount();
        w.MostrarIngClick(); // a second visit while visiting only beeps
        beeped = w.SingleRecordView && f.dm().TPlan->recordCount() == before;
        w.LabInstrClick();
    });
    w.MostrarIngClick();
    QCOMPARE(visited, QStringLiteral("Ren Shen"));
    QVERIFY(beeped);
    QCOMPARE(f.dm().TPlan->text(QStringLiteral("PinYin")), QStringLiteral("Si Jun Zi Tang"));
    QCOMPARE(f.dm().TPlan->filter(), QStringLiteral("EsFormula=True"));
    QCOMPARE(f.dm().TPlan->recordCount(), 1);
    QCOMPARE(f.dm().TRelPlForm->text(QStringLiteral("PinYin")), QStringLiteral("Ren Shen"));
}

void TestRelations::repertorizationWindowReloadsOnlyForAnotherKind()
{
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    auto *usos = qobject_cast<repertory::TFUsos *>(f.context.FUsos);
    auto open = [&](QPushButton *button, QWidget *page) {
        test::control<QTabWidget>(w, "Ficha")->setCurrentWidget(page);
        QTimer::singleShot(0, [&] {
            QVERIFY(usos->isVisible());
            QVERIFY(!f.dm().TPlan->filtered());
            usos->hide();
        });
        button->click();
    };
    open(test::control<QPushButton>(w, "DiagnosticarAcc"), test::control<QWidget>(w, "PagAcc"));
    QCOMPARE(usos->catalogueLoads(), 1);
    QCOMPARE(usos->catalogueKind(), 0);
    open(test::control<QPushButton>(w, "DiagnosticarAcc"), test::control<QWidget>(w, "PagAcc"));
    QCOMPARE(usos->catalogueLoads(), 1);
    open(test::control<QPushButton>(w, "DiagnosticarInd"), test::control<QWidget>(w, "PagSint"));
    QCOMPARE(usos->catalogueLoads(), 2);
    QCOMPARE(usos->catalogueKind(), 1);
    QCOMPARE(test::control<QTabWidget>(w, "Ficha")->currentWidget(), test::control<QWidget>(w, "PagSint"));
    QVERIFY(f.dm().TPlan->filtered());
}

int main(int argc, char *argv[])
{
    app::HerbaxisApplication application(argc, argv);
    TestRelations tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_relations.moc"
