// The shared services: folding, the tag set, the message box, the in-place box, index switching.
#include "Fixture.h"
#include "Modal.h"

#include "common/AppContext.h"
#include "common/DbUtil.h"
#include "common/EditInPlace.h"
#include "common/Shell.h"
#include "widgets/DBGrid.h"
#include "common/TFMensajes.h"
#include "text/TTagBits.h"
#include "text/TextFold.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using common::MessageKind;
using common::MessageResult;

class TestCommon : public QObject {
    Q_OBJECT

private slots:
    void foldUpper_data();
    void foldUpper();
    void tagBits();
    void messageBoxLayout_data();
    void messageBoxLayout();
    void messageBoxKeys_data();
    void messageBoxKeys();
    void messageBoxEnglishButtons();
    void longMessageGrowsInHeightOnly();
    void editInPlace_data();
    void editInPlace();
    void setIndexByField();
    void editGridCellRefusesKeysAndLookups();
    void runFileReportsAMissingFile();
};

void TestCommon::foldUpper_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    QTest::newRow("ñ keeps its tilde") << QStringLiteral("Ñandú") << QStringLiteral("ÑANDU");
    QTest::newRow("ü becomes U") << QStringLiteral("pingüino") << QStringLiteral("PINGUINO");
    QTest::newRow("Ä untouched") << QStringLiteral("Ärger") << QStringLiteral("ÄRGER");
    QTest::newRow("ç untouched") << QStringLiteral("ça") << QStringLiteral("çA");
    QTest::newRow("capital accents") << QStringLiteral("ÁÉÍÓÚÜ") << QStringLiteral("AEIOUÜ");
    QTest::newRow("empty") << QString() << QString();
}

void TestCommon::foldUpper()
{
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(text::FoldUpper(text), folded);
    QCOMPARE(text::FoldUpper(text).size(), text.size());
}

void TestCommon::tagBits()
{
    text::TTagBits tags;
    QVERIFY(!tags.GetTag(0));
    QVERIFY(!tags.GetTag(100000));
    QCOMPARE(tags.size(), 0); // reading never grows the set
    tags.SetTag(500, true);
    QCOMPARE(tags.size(), 501);
    QVERIFY(!tags.GetTag(499));
    QVERIFY(tags.GetTag(500));
    QVERIFY(!tags.GetTag(501));
    tags.SetTag(900, false); // growing with a false bit still grows
    QCOMPARE(tags.size(), 901);
    tags.Clear();
    QCOMPARE(tags.size(), 0);
    QVERIFY(!tags.GetTag(500));
}

void TestCommon::messageBoxLayout_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("notice") << 1 << QStringList{"Aceptar"};
    QTest::newRow("question") << 2 << QStringList{"si", "No"};
    QTest::newRow("question with cancel") << 3 << QStringList{"si", "No", "Cancelar"};
}

void TestCommon::messageBoxLayout()
{
    QFETCH(int, kind);
    QFETCH(QStringList, buttons);
    common::AppContext ctx;
    common::TFMensajes box(QStringLiteral("Hola"), MessageKind(kind));
    QCOMPARE(box.windowTitle(), QStringLiteral("HerbaxisFree"));
    QStringList shown;
    for (auto *b : box.findChildren<QPushButton *>())
        if (!b->isHidden())
            shown << b->objectName();
    QCOMPARE(shown, buttons);
    // A one-word message: the 200-pixel window's client width plus 50.
    QCOMPARE(box.width(), common::TFMensajes::OuterWidth - 2 * common::TFMensajes::FrameWidth + 50);
    const int c = box.width() / 2;
    auto *si = box.findChild<QPushButton *>(QStringLiteral("si"));
    auto *no = box.findChild<QPushButton *>(QStringLiteral("No"));
    if (kind == 1)
        QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("Aceptar"))->x(), c - 40);
    if (kind == 2) {
        QCOMPARE(si->x(), c - 68);
        QCOMPARE(no->x(), c + 4);
    }
    if (kind == 3) {
        QCOMPARE(si->x(), c - 111);
        QCOMPARE(no->x(), c - 39);
        QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("Cancelar"))->x(), c + 33);
    }
}

void TestCommon::messageBoxKeys_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected"); // -1: the box stays open
    QTest::newRow("notice, Enter") << 1 << int(Qt::Key_Return) << int(MessageResult::OK);
    QTest::newRow("notice, Esc does nothing") << 1 << int(Qt::Key_Escape) << -1;
    QTest::newRow("question, Enter is Yes") << 2 << int(Qt::Key_Return) << int(MessageResult::Yes);
    QTest::newRow("question, Esc is No") << 2 << int(Qt::Key_Escape) << int(MessageResult::No);
    QTest::newRow("with cancel, Enter is Yes") << 3 << int(Qt::Key_Enter) << int(MessageResult::Yes);
    QTest::newRow("with cancel, Esc is Cancel") << 3 << int(Qt::Key_Escape) << int(MessageResult::Cancel);
}

void TestCommon::messageBoxKeys()
{
    QFETCH(int, kind);
    QFETCH(int, key);
    QFETCH(int, expected);
    common::AppContext ctx;
    common::TFMensajes box(QStringLiteral("¿Seguro?"), MessageKind(kind));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key(key));
    if (expected < 0) {
        QVERIFY(box.isVisible());
        return;
    }
    QVERIFY(!box.isVisible());
    QCOMPARE(int(box.result()), expected);
}

void TestCommon::messageBoxEnglishButtons()
{
    common::AppContext ctx;
    ctx.EnglishMode = true;
    const auto seen = test::answerNextModal(QStringLiteral("Cancelar"));
    QCOMPARE(common::AskYesNoCancel(QStringLiteral("¿Guardar?")), MessageResult::Cancel);
    QVERIFY(seen->answered);
    common::TFMensajes box(QStringLiteral("x"), MessageKind::QuestionWithCancel);
    QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("si"))->text(), QStringLiteral("&Yes"));
    QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("No"))->text(), QStringLiteral("&No"));
    QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("Cancelar"))->text(), QStringLiteral("Cancel"));
    common::TFMensajes notice(QStringLiteral("x"), MessageKind::Notice);
    QCOMPARE(notice.findChild<QPushButton *>(QStringLiteral("Aceptar"))->text(), QStringLiteral("OK"));
}

void TestCommon::longMessageGrowsInHeightOnly()
{
    common::AppContext ctx;
    common::TFMensajes shortBox(QStringLiteral("Hola"), MessageKind::Notice);
    common::TFMensajes longBox(QString(40, QLatin1Char(' ')).replace(QLatin1Char(' '), QStringLiteral("palabra ")), MessageKind::Notice);
    QCOMPARE(longBox.width(), shortBox.width());
    QVERIFY(longBox.height() > shortBox.height() + 40);
    QCOMPARE(longBox.findChild<QLabel *>(QStringLiteral("Lab"))->height(), longBox.height() - 33);
}

void TestCommon::editInPlace_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("result");
    QTest::newRow("Enter accepts") << "7" << int(Qt::Key_Return) << true << "7";
    QTest::newRow("Esc cancels what was typed") << "7" << int(Qt::Key_Escape) << false << "3";
    QTest::newRow("Enter on the unchanged text") << "" << int(Qt::Key_Return) << true << "3";
}

void TestCommon::editInPlace()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(bool, accepted);
    QFETCH(QString, result);
    QWidget host;
    host.resize(200, 100);
    host.show();
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        auto *edit = modal->findChild<QLineEdit *>(QStringLiteral("Edit"));
        QVERIFY(edit);
        QCOMPARE(edit->geometry().size(), QSize(40, 20));
        if (!typed.isEmpty())
            QTest::keyClicks(edit, typed); // replaces the selected text
        QTest::keyClick(edit, Qt::Key(key));
    });
    QString text = QStringLiteral("3");
    QCOMPARE(common::EditInPlace(text, &host, QRect(10, 10, 40, 20), true), accepted);
    QCOMPARE(text, result);
}

void TestCommon::setIndexByField()
{
    test::WorkingFolder wf;
    test::addPlant(wf.session(), QStringLiteral("B"), false, QStringLiteral("zeta"));
    test::addPlant(wf.session(), QStringLiteral("A"), false, QStringLiteral("Alfa"));
    store::Table t(wf.session(), QStringLiteral("Plantas"));
    // A missing index is made case-insensitive; a closed table stays closed.
    QVERIFY(common::SetIndexByField(t, QStringLiteral("Familia")));
    QVERIFY(!t.isOpen());
    QCOMPARE(t.indexName(), QStringLiteral("PorFamilia"));
    QVERIFY(t.info().index(QStringLiteral("PorFamilia"))->caseInsensitive);
    t.open();
    QVERIFY(common::SetIndexByField(t, QStringLiteral("Nom0")));
    QVERIFY(t.isOpen());
    QCOMPARE(t.text(QStringLiteral("Nom0")), QStringLiteral("zeta")); // the record stays current
    t.first();
    QCOMPARE(t.text(QStringLiteral("Nom0")), QStringLiteral("Alfa"));
    // A long field name gives an index name of 25 characters; no such field: false, order kept.
    QVERIFY(!common::SetIndexByField(t, QStringLiteral("UnCampoQueNoExisteEnLaTabla")));
    QCOMPARE(t.indexName(), QStringLiteral("PorNom0"));
}

void TestCommon::editGridCellRefusesKeysAndLookups()
{
    test::WorkingFolder wf;
    test::addPlant(wf.session(), QStringLiteral("Bai Zhu"));
    store::Table plan(wf.session(), QStringLiteral("Plantas"));
    plan.addLookupField(QStringLiteral("Nombre"), QStringLiteral("Clave"), &plan, QStringLiteral("Clave"), QStringLiteral("PinYin"));
    plan.open();
    widgets::DBGrid grid;
    grid.bind(&plan, {{QStringLiteral("Clave"), QString(), Qt::AlignLeft, QString()},
                      {QStringLiteral("Nombre"), QString(), Qt::AlignLeft, QString()}});
    grid.show();
    for (int column : {0, 1}) {
        grid.setCurrentIndex(grid.model()->index(0, column));
        QVERIFY(!common::EditGridCell(&grid)); // no box was shown: the test would wait for it
    }
    QCOMPARE(plan.state(), store::Table::State::Browse);
}

void TestCommon::runFileReportsAMissingFile()
{
    QTemporaryDir dir;
    QVERIFY_THROWS_EXCEPTION(common::ShellError, common::RunFile(QDir(dir.path()).filePath(QStringLiteral("Index.htm"))));
}

QTEST_MAIN(TestCommon)
#include "tst_common.moc"
