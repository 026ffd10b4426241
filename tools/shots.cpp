// Renders the main window in a few states to PNG files, for looking at what a person sees:
//   herbaxis-shots WORKING-FOLDER OUTPUT-FOLDER
// Run it under xvfb-run (or with QT_QPA_PLATFORM=offscreen).
#include "app/HerbaxisApplication.h"
#include "app/Program.h"
#include "app/WorkingFolder.h"
#include "common/AppContext.h"
#include "common/TFCalco.h"
#include "data/TDM.h"
#include "mainwin/TFPlantas.h"
#include "relations/TFSelClase.h"
#include "relations/TFSelTab.h"
#include "common/TFBarra.h"
#include "repertory/TFPlanRep.h"
#include "repertory/TFUsos.h"

#include <QButtonGroup>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

void save(mainwin::TFPlantas &w, const QString &folder, const QString &name)
{
    QCoreApplication::processEvents();
    QImage image = w.grab().toImage();
    // The overlay is a child of the window and comes along in the grab.
    image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
    std::printf("%s\n", qPrintable(QDir(folder).filePath(name + QStringLiteral(".png"))));
}

} // namespace

int main(int argc, char *argv[])
{
    app::HerbaxisApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: herbaxis-shots WORKING-FOLDER OUTPUT-FOLDER\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(output);
    common::AppContext context;
    context.workingFolder = QString::fromLocal8Bit(argv[1]);
    auto session = app::openWorkingFolder(context.workingFolder, [](const QString &) { return false; });
    if (!session)
        return 1;
    context.session = session.get();
    app::Program program(context);
    if (!program.start())
        return 1;
    mainwin::TFPlantas &w = program.mainWindow();
    data::TDM &dm = program.dataModule();

    dm.TPlan->findNearest(QStringLiteral("REN SHEN"));
    save(w, output, QStringLiteral("element"));
    w.findChild<QPushButton *>(QStringLiteral("Modificar"))->click();
    save(w, output, QStringLiteral("element-editing"));
    w.findChild<QPushButton *>(QStringLiteral("Modificar"))->click();

    dm.TPlan->findNearest(QStringLiteral("XIAO YAO"));
    w.findChild<QTabWidget *>(QStringLiteral("Ficha"))->setCurrentWidget(w.findChild<QWidget *>(QStringLiteral("PagPlForm")));
    save(w, output, QStringLiteral("formula"));
    w.findChild<QPushButton *>(QStringLiteral("Modificar"))->click();
    save(w, output, QStringLiteral("formula-editing"));
    w.findChild<QPushButton *>(QStringLiteral("Modificar"))->click();

    dm.TPlan->findNearest(QStringLiteral("FU ZI"));
    w.findChild<QTabBar *>(QStringLiteral("TabMemo"))->setCurrentIndex(1);
    w.TabMemoChange();
    save(w, output, QStringLiteral("toxic-element-warnings"));

    w.findChild<QButtonGroup *>(QStringLiteral("SelPlanFormGroup"))->button(1)->click();
    w.ClassFilter = 17;
    w.ApplyListFilter();
    save(w, output, QStringLiteral("restricted-list"));

    // The pickers are modal: they are grabbed from inside their own event loop.
    auto grabNextModal = [&](const QString &name, const char *closeButton) {
        QTimer::singleShot(300, [=] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                modal->grab().save(QDir(output).filePath(name + QStringLiteral(".png")));
                std::printf("%s\n", qPrintable(QDir(output).filePath(name + QStringLiteral(".png"))));
                if (auto *b = modal->findChild<QPushButton *>(QString::fromLatin1(closeButton)))
                    b->click();
            }
        });
    };
    grabNextModal(QStringLiteral("table-picker"), "Cancelar");
    relations::SelectTableKey(*dm.TUsos, 0, QStringLiteral("Seleccione la acción terapéutica"));
    grabNextModal(QStringLiteral("class-picker"), "Cancelar");
    int num = 0;
    relations::SelectClass(0, num, false);

    // The repertorization window with a few items picked, for actions and for indications.
    auto *usos = qobject_cast<repertory::TFUsos *>(context.FUsos);
    auto grabWidget = [&](QWidget *widget, const QString &name) {
        QCoreApplication::processEvents();
        widget->grab().save(QDir(output).filePath(name + QStringLiteral(".png")));
        std::printf("%s\n", qPrintable(QDir(output).filePath(name + QStringLiteral(".png"))));
    };
    auto pickSome = [&](int count) {
        const int step = std::max(usos->Tabla->recordCount() / (count + 1), 1);
        for (int i = 1; i <= count; ++i) {
            usos->Tabla->moveTo(i * step);
            while (usos->TRel->recordCount() == 0 && !usos->Tabla->eof())
                usos->Tabla->next();
            usos->AgregarClick();
        }
    };
    usos->resize(1024, 700);
    // As the main window hands over: its list filter is off while the repertorization window shows.
    dm.TPlan->setFiltered(false);
    usos->OpenCatalogue(repertory::CatalogueKind::Actions, true);
    pickSome(4);
    grabWidget(usos, QStringLiteral("repertory-actions"));
    usos->Modified = false;
    usos->close();
    usos->OpenCatalogue(repertory::CatalogueKind::Indications, true);
    pickSome(5);
    usos->RGBusGroup->button(1)->click();
    usos->Ed->setText(QStringLiteral("DOLOR"));
    grabWidget(usos, QStringLiteral("repertory-indications"));
    usos->Ed->clear();

    // The progress window, grabbed from inside the build, and the chart it makes.
    QTimer::singleShot(0, [&] {
        if (common::TFBarra *bar = common::CurrentProgress())
            grabWidget(bar, QStringLiteral("progress"));
    });
    auto *chart = qobject_cast<repertory::TFPlanRep *>(context.FPlanRep);
    QTimer::singleShot(500, [&] {
        if (QApplication::activeModalWidget() == chart) {
            grabWidget(chart, QStringLiteral("chart"));
            chart->close();
        }
    });
    usos->PlanRepClick();
    usos->Modified = false;
    usos->close();
    return 0;
}
