#pragma once

#include "Fixture.h"

#include "app/Program.h"
#include "common/AppContext.h"
#include "data/TDM.h"
#include "mainwin/TFPlantas.h"

namespace test {

// Keys of the small materia medica that fillSmallMateriaMedica writes.
struct SmallKeys {
    int baiZhu, ganCao, renShen, guiZhi, siJunZiTang;
    int tonifica, calma, libera;
};

// Four elements, one formula of three of them, three actions, a few relations, a synonym of
// Ren Shen ("Raiz Del Hombre"), two classes (12 with subclasses 30 and 31; 5 without any) and two
// species, with Orden equal to Clave throughout, as the program writes them.
SmallKeys fillSmallMateriaMedica(store::Session &session);

// Sets the order numbers of the small materia medica apart from its keys (plants Clave + 100,
// actions Clave + 50, and the relation rows with them), so that a key written where an order
// number belongs, or the reverse, shows.
void separateOrderNumbers(store::Session &session);

// A whole program on a temporary working folder: the context, the windows in their order, the
// main window shown offscreen.
class ProgramFixture {
public:
    explicit ProgramFixture(const QString &firstArgument = QString(), bool fill = true);
    ~ProgramFixture();

    WorkingFolder folder;
    common::AppContext context;
    SmallKeys keys{};
    std::unique_ptr<app::Program> program;

    bool start();
    mainwin::TFPlantas &win() const { return program->mainWindow(); }
    data::TDM &dm() const { return program->dataModule(); }
};

} // namespace test
