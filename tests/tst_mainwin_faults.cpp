// Faults found by driving the main window key by key against the database: each test is named after
// the fault it pins, and reads back exactly which rows changed. The fixture's order numbers differ
// from its keys, so that a key written where an order number belongs (or the reverse) shows.
#include "Driving.h"
#include "Modal.h"
#include "ProgramFixture.h"
#include "Widgets.h"

#include "app/HerbaxisApplication.h"
#include "common/TFMensajes.h"
#include "data/Profile.h"
#include "relations/TFSelClase.h"
#include "relations/TFSelTab.h"
#include "widgets/GridModel.h"

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
#include <QTextBlock>
#include <QtTest>

#include <cmath>
#include <limits>

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

bool bold(const QTextCharFormat &format)
{
    return format.fontWeight() > QFont::Normal || format.fontUnderline();
}

} // namespace

class TestMainWindowFaults : public QObject {
    Q_OBJECT

private slots:
    void notesOfNewPlantWentToPreviousPlant();
    void relationRowWithoutPlant_data();
    void relationRowWithoutPlant();
    void pickerKeptRowAbandonedWithEsc_data();
    void pickerKeptRowAbandonedWithEsc();
    void formulaProfileLostHiddenIngredients();
    void searchMarksWereStoredAndLeaked();
    void plainMemoWithTagsWasTakenForHtml();
    void enterAnsweredYesWhileNoHadFocus_data();
    void enterAnsweredYesWhileNoHadFocus();
    void percentageShownWithGroupSeparator();
    void nonFinitePercentageBrokeTheProfile();
    void classPickerAddedAnIndex();
    void mouseReleaseOnAnyControl();
};

// ---------------------------------------------------------------- data written wrongly or lost

void TestMainWindowFaults::notesOfNewPlantWentToPreviousPlant()
{
    test::ProgramFixture f(QStringLiteral("Gan"));
    test::separateOrderNumbers(f.folder.session());
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    store::Session &s = f.folder.session();
    test::control<QTabBar>(w, "TabMemo")->setCurrentIndex(3);
    test::control<QPushButton>(w, "Modificar")->click();
    test::control<QRadioButton>(w, "SelPlanForm0")->click();
    typeInList(w, {Qt::Key_Insert});
    QCOMPARE(f.dm().TPlan->state(), Table::State::Insert);
    // The new plant has no notes row yet: the memo is empty and takes nothing.
    QVERIFY(test::control<widgets::DBMemo>(w, "Memo")->toPlainText().isEmpty());
    QVERIFY(test::control<widgets::DBMemo>(w, "Memo")->isReadOnly());
    test::control<widgets::DBMemo>(w, "Memo")->setFocus();
    QTest::keyClicks(test::control<widgets::DBMemo>(w, "Memo"), QStringLiteral("perdido"));
    test::control<widgets::DBEdit>(w, "EdPinYin")->setFocus();
    QTest::keyClicks(test::control<widgets::DBEdit>(w, "EdPinYin"), QStringLiteral("Fu Ling"));
    STORE_VERIFY(f.dm().TPlan->post());
    const int key = scalar(s, QStringLiteral("SELECT Clave FROM Plantas WHERE PinYin='Fu Ling'"));
    QVERIFY(key > 0);
    QCOMPARE(scalar(s, QStringLiteral("SELECT count(*) FROM Notas WHERE Memo IS NOT NULL AND Memo<>''")), 0);
    // Posted, it has its row, and what is typed now is its own.
    QCOMPARE(scalar(s, QStringLiteral("SELECT count(*) FROM Notas WHERE KPlanta=%1").arg(key)), 1);
    QVERIFY(!test::control<widgets::DBMemo>(w, "Memo")->isReadOnly());
    test::control<widgets::DBMemo>(w, "Memo")->setFocus();
    QTest::keyClicks(test::control<widgets::DBMemo>(w, "Memo"), QStringLiteral("Diuretico"));
    STORE_VERIFY(f.dm().TNotas->post());
    QCOMPARE(scalarValue(s, QStringLiteral("SELECT Memo FROM Notas WHERE KPlanta=%1").arg(key)).toString(), QStringLiteral("Diuretico"));
    QCOMPARE(scalarValue(s, QStringLiteral("SELECT Memo FROM Notas WHERE KPlanta=%1").arg(f.keys.ganCao)).toString(), QString());
}

void TestMainWindowFaults::relationRowWithoutPlant_data()
{
    QTest::addColumn<bool>("emptyList");
    QTest::newRow("new plant, not posted: posted first") << false;
    QTest::newRow("empty list: nothing to relate") << true;
}

void TestMainWindowFaults::relationRowWithoutPlant()
{
    QFETCH(bool, emptyList);
    test::ProgramFixture f(QStringLiteral("Gan"));
    test::separateOrderNumbers(f.folder.session());
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    store::Session &s = f.folder.session();
    test::control<QPushButton>(w, "Modificar")->click();
    test::control<QRadioButton>(w, "SelPlanForm1")->click(); // formulas
    if (emptyList) {
        w.ClassFilter = 5; // no formula has class 5
        w.ApplyListFilter();
        QCOMPARE(f.dm().TPlan->recordCount(), 0);
        const auto seen = test::answerNextModal(QStringLiteral("Cancelar"), 0, 300);
        w.CambiarClick(mainwin::RelationEdit::Add);
        QTest::qWait(400); // the answer would have come by now
        QVERIFY(!seen->answered); // no picker: there is no plant to relate
    } else {
        typeInList(w, {Qt::Key_Insert});
        QTest::keyClicks(test::control<widgets::DBEdit>(w, "EdPinYin"), QStringLiteral("Gui Pi Tang"));
        chooseInPicker(QStringLiteral("Calma"));
        w.CambiarClick(mainwin::RelationEdit::Add);
        const int key = scalar(s, QStringLiteral("SELECT Clave FROM Plantas WHERE PinYin='Gui Pi Tang'"));
        QVERIFY(key > 0);
        const int order = scalar(s, QStringLiteral("SELECT Orden FROM Plantas WHERE Clave=%1").arg(key));
        QCOMPARE(scalar(s, QStringLiteral("SELECT count(*) FROM Rel WHERE KPlanta=%1 AND OPlanta=%2 AND KUso=%3 AND OUso=%4")
                                .arg(key).arg(order).arg(f.keys.calma).arg(f.keys.calma + 50)),
                 1);
    }
    QCOMPARE(scalar(s, QStringLiteral("SELECT count(*) FROM Rel WHERE KPlanta IS NULL OR OPlanta IS NULL")), 0);
}

void TestMainWindowFaults::pickerKeptRowAbandonedWithEsc_data()
{
    QTest::addColumn<QString>("close");
    QTest::newRow("up, then Cancelar") << "Cancelar";
    QTest::newRow("up, then Aceptar") << "Aceptar";
}

void TestMainWindowFaults::pickerKeptRowAbandonedWithEsc()
{
    QFETCH(QString, close);
    test::ProgramFixture f;
    QVERIFY(f.start());
    store::Session &s = f.folder.session();
    bool typedInEditor = false, openAfterEsc = false;
    test::onNextModal([&](QWidget *modal) {
        auto *p = qobject_cast<TFSelTab *>(modal);
        QTest::keyClick(p->Grid, Qt::Key_Insert);
        QWidget *editor = cellEditor(p);
        typedInEditor = editor != nullptr;
        if (!editor)
            return p->Cancelar->click();
        QTest::keyClicks(editor, QStringLiteral("Seca la humedad"));
        QTest::keyClick(editor, Qt::Key_Escape);
        openAfterEsc = p->isVisible();
        QTest::keyClick(p->Grid, Qt::Key_Up);
        p->findChild<QPushButton *>(close)->click();
    });
    const int chosen = relations::SelectTableKey(*f.dm().TUsos, f.keys.calma, QStringLiteral("Seleccione"));
    QVERIFY(typedInEditor);
    QVERIFY(openAfterEsc); // Esc ends the editing, not the picker
    QCOMPARE(scalar(s, QStringLiteral("SELECT count(*) FROM Usos")), 3);
    QVERIFY(chosen == f.keys.calma || chosen == f.keys.tonifica || chosen == f.keys.libera);
}

void TestMainWindowFaults::formulaProfileLostHiddenIngredients()
{
    // Bai Zhu, one of the three ingredients, is outside class 12; the formula is inside it.
    test::ProgramFixture f(QStringLiteral("Si Jun"));
    test::separateOrderNumbers(f.folder.session());
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    store::Session &s = f.folder.session();
    const QString profile = QStringLiteral("69200000000000"); // 40 % Ren Shen, 35 % Bai Zhu, 25 % Gan Cao
    test::control<QPushButton>(w, "Modificar")->click();
    test::control<QPushButton>(w, "Modificar")->click();
    QCOMPARE(scalarValue(s, QStringLiteral("SELECT Meridianos FROM Plantas WHERE Clave=%1").arg(f.keys.siJunZiTang)).toString(), profile);
    w.ClassFilter = 12;
    w.ApplyListFilter();
    f.dm().TPlan->findNearest(QStringLiteral("Si Jun"));
    test::control<QPushButton>(w, "Modificar")->click();
    test::control<QPushButton>(w, "Modificar")->click();
    QCOMPARE(scalarValue(s, QStringLiteral("SELECT Meridianos FROM Plantas WHERE Clave=%1").arg(f.keys.siJunZiTang)).toString(), profile);
}

void TestMainWindowFaults::searchMarksWereStoredAndLeaked()
{
    test::ProgramFixture f(QStringLiteral("Ren"));
    store::Session &s = f.folder.session();
    QTextDocument source;
    source.setHtml(QStringLiteral("<p>La raíz es <b>fuerte</b> y dulce.</p>"));
    const QString html = source.toHtml();
    store::Statement q(s.database().handle(), QStringLiteral("UPDATE Plantas SET Descripcion=? WHERE Clave=?"));
    q.bind(1, html);
    q.bind(2, f.keys.renShen);
    q.run();
    s.database().exec(QStringLiteral("UPDATE Plantas SET Descripcion='Cuatro caballeros' WHERE Clave=%1").arg(f.keys.siJunZiTang));
    s.database().tableReset(QStringLiteral("Plantas"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    for (int key : {f.keys.baiZhu, f.keys.ganCao, f.keys.renShen, f.keys.guiZhi, f.keys.siJunZiTang})
        f.dm().Tags.SetTag(key, true); // every plant was found
    w.TextSearchActive = true;
    w.setSearchTerms({QStringLiteral("RAIZ")});
    test::control<QPushButton>(w, "Modificar")->click();
    f.dm().TPlan->findNearest(QStringLiteral("Si Jun"));
    f.dm().TPlan->findNearest(QStringLiteral("Ren"));
    QTextCursor hit(test::control<widgets::DBMemo>(w, "Memo")->document());
    hit.setPosition(int(test::control<widgets::DBMemo>(w, "Memo")->toPlainText().indexOf(QStringLiteral("raíz"))) + 1);
    QVERIFY(bold(hit.charFormat())); // marked on screen
    // An edit of the marked memo stores the text as it was, plus the edit, and no mark.
    QTextCursor end(test::control<widgets::DBMemo>(w, "Memo")->document());
    end.movePosition(QTextCursor::End);
    test::control<widgets::DBMemo>(w, "Memo")->setTextCursor(end);
    test::control<widgets::DBMemo>(w, "Memo")->setFocus();
    QTest::keyClicks(test::control<widgets::DBMemo>(w, "Memo"), QStringLiteral("!"));
    STORE_VERIFY(f.dm().TPlan->post());
    QTextDocument stored;
    stored.setHtml(scalarValue(s, QStringLiteral("SELECT Descripcion FROM Plantas WHERE Clave=%1").arg(f.keys.renShen)).toString());
    QCOMPARE(stored.toPlainText(), QStringLiteral("La raíz es fuerte y dulce.!"));
    for (QTextBlock::iterator it = stored.begin().begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const bool isFuerte = fragment.text() == QStringLiteral("fuerte");
        QCOMPARE(fragment.charFormat().fontWeight() > QFont::Normal, isFuerte);
        QVERIFY(!fragment.charFormat().fontUnderline());
    }
    // Neither the marking nor a bold word under the caret carries over into the next memo.
    QTextCursor inBold(test::control<widgets::DBMemo>(w, "Memo")->document());
    inBold.setPosition(int(test::control<widgets::DBMemo>(w, "Memo")->toPlainText().indexOf(QStringLiteral("fuerte"))) + 2);
    test::control<widgets::DBMemo>(w, "Memo")->setTextCursor(inBold);
    w.TextSearchActive = false;
    f.dm().TPlan->findNearest(QStringLiteral("Si Jun"));
    QCOMPARE(test::control<widgets::DBMemo>(w, "Memo")->toPlainText(), QStringLiteral("Cuatro caballeros"));
    for (int at : {1, 10})
        QVERIFY(!bold([&] { QTextCursor c(test::control<widgets::DBMemo>(w, "Memo")->document()); c.setPosition(at); return c.charFormat(); }()));
    QVERIFY(!bold(test::control<widgets::DBMemo>(w, "Memo")->currentCharFormat()));
}

void TestMainWindowFaults::plainMemoWithTagsWasTakenForHtml()
{
    test::ProgramFixture f(QStringLiteral("Gan"));
    store::Session &s = f.folder.session();
    const QString plain = QStringLiteral("No mezclar con <b> ni pasar de <5 g al día.\nSegunda línea <i>.");
    store::Statement q(s.database().handle(), QStringLiteral("UPDATE Plantas SET Descripcion=? WHERE Clave=?"));
    q.bind(1, plain);
    q.bind(2, f.keys.ganCao);
    q.run();
    s.database().tableReset(QStringLiteral("Plantas"));
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    QCOMPARE(test::control<widgets::DBMemo>(w, "Memo")->toPlainText(), plain);
    test::control<QPushButton>(w, "Modificar")->click();
    QTextCursor end(test::control<widgets::DBMemo>(w, "Memo")->document());
    end.movePosition(QTextCursor::End);
    test::control<widgets::DBMemo>(w, "Memo")->setTextCursor(end);
    test::control<widgets::DBMemo>(w, "Memo")->setFocus();
    QTest::keyClicks(test::control<widgets::DBMemo>(w, "Memo"), QStringLiteral(" Ok"));
    STORE_VERIFY(f.dm().TPlan->post());
    QCOMPARE(scalarValue(s, QStringLiteral("SELECT Descripcion FROM Plantas WHERE Clave=%1").arg(f.keys.ganCao)).toString(),
             plain + QStringLiteral(" Ok"));
}

void TestMainWindowFaults::enterAnsweredYesWhileNoHadFocus_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("result");
    using common::MessageResult;
    QTest::newRow("question, focus on No") << 2 << 1 << int(MessageResult::No);
    QTest::newRow("question, focus back on Si") << 2 << 2 << int(MessageResult::Yes);
    QTest::newRow("question with cancel, focus on Cancelar") << 3 << 2 << int(MessageResult::Cancel);
    QTest::newRow("question, no key moved the focus") << 2 << 0 << int(MessageResult::Yes);
}

void TestMainWindowFaults::enterAnsweredYesWhileNoHadFocus()
{
    QFETCH(int, kind);
    QFETCH(int, tabs);
    QFETCH(int, result);
    test::onNextModal([tabs](QWidget *box) {
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box, Qt::Key_Return);
    });
    QCOMPARE(int(common::RunMessageBox(QStringLiteral("Desea quitar la acción ?"), common::MessageKind(kind))), result);
}

void TestMainWindowFaults::percentageShownWithGroupSeparator()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QCOMPARE(widgets::GridModel::formatValue(1250.0, QStringLiteral("0.0 %")), QStringLiteral("1250,0 %"));
    QLocale::setDefault(QLocale::c());
}

void TestMainWindowFaults::nonFinitePercentageBrokeTheProfile()
{
    data::ProfileSlotsArray acc{};
    data::addWeightedProfile(acc, 50.0, QStringLiteral("4"));
    data::addWeightedProfile(acc, std::numeric_limits<double>::infinity(), QStringLiteral("0900"));
    data::addWeightedProfile(acc, std::numeric_limits<double>::quiet_NaN(), QStringLiteral("9"));
    QCOMPARE(data::profileString(acc), QStringLiteral("20000000000000"));
    acc[3] = std::numeric_limits<double>::quiet_NaN();
    acc[4] = std::numeric_limits<double>::infinity();
    QCOMPARE(data::profileString(acc), QStringLiteral("20000000000000"));
}

void TestMainWindowFaults::classPickerAddedAnIndex()
{
    test::ProgramFixture f(QStringLiteral("Gan"));
    QVERIFY(f.start());
    store::Session &s = f.folder.session();
    const QString indexes = QStringLiteral("SELECT group_concat(name) FROM (SELECT name FROM sqlite_master WHERE type='index' ORDER BY name)");
    const QString before = scalarValue(s, indexes).toString();
    QStringList listed;
    test::onNextModal([&](QWidget *modal) {
        auto *picker = qobject_cast<relations::TFSelClase *>(modal);
        for (int r = 0; r < picker->Gr->model()->rowCount(); ++r)
            listed << picker->Gr->model()->index(r, 0).data().toString();
        picker->Cancelar->click();
    });
    f.win().BotClaseClick();
    QCOMPARE(listed, (QStringList{"Calientan el interior", "Tonificantes"}));
    QCOMPARE(scalarValue(s, indexes).toString(), before);
}

void TestMainWindowFaults::mouseReleaseOnAnyControl()
{
    // The panels' handler looks at every release in the window; most controls are no label.
    test::ProgramFixture f;
    QVERIFY(f.start());
    mainwin::TFPlantas &w = f.win();
    QTest::mouseClick(test::control<QPushButton>(w, "Modificar"), Qt::LeftButton);
    QVERIFY(w.editing());
    QTest::mouseClick(test::control<widgets::DBGrid>(w, "GrNom")->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QTest::mouseClick(test::control<QPushButton>(w, "Modificar"), Qt::LeftButton);
    QVERIFY(!w.editing());
}

int main(int argc, char *argv[])
{
    app::HerbaxisApplication application(argc, argv);
    TestMainWindowFaults tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_mainwin_faults.moc"
