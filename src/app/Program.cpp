#include "Program.h"

#include "common/AppContext.h"
#include "common/TFCalco.h"
#include "common/TFMensajes.h"
#include "data/TDM.h"
#include "mainwin/TFPlantas.h"
#include "reference/TFBibliog.h"
#include "reference/TFBuscar.h"
#include "reference/TFFiltroProp.h"
#include "reference/TFFuentes.h"
#include "reference/TFGlo.h"
#include "reference/TFNavegador.h"
#include "relations/TFSelClase.h"
#include "relations/TFSinonimos.h"
#include "repertory/TFPlanRep.h"
#include "repertory/TFSelArch.h"
#include "repertory/TFUsos.h"

namespace app {

Program::Program(common::AppContext &context) : m_context(context)
{
    m_main = std::make_unique<mainwin::TFPlantas>();
    context.FPlantas = m_main.get();
    m_dm = std::make_unique<data::TDM>(*context.session, *m_main, m_main->listaEsp());
    context.DM = m_dm.get();
    m_main->attachDataModule(m_dm.get());

    auto keep = [this](QWidget *w) {
        m_windows.emplace_back(w);
        return w;
    };
    context.FGlo = keep(new reference::TFGlo());
    context.FUsos = keep(new repertory::TFUsos());
    context.FNavegador = keep(new reference::TFNavegador());
    context.FBibliog = keep(new reference::TFBibliog());
    context.FPlanRep = keep(new repertory::TFPlanRep());
    context.FSelArch = keep(new repertory::TFSelArch());
    context.FSelClase = keep(new relations::TFSelClase());
    context.FSinonimos = keep(new relations::TFSinonimos());
    context.FBuscar = keep(new reference::TFBuscar());
    context.FFiltroProp = keep(new reference::TFFiltroProp());
    context.FFuentes = keep(new reference::TFFuentes());
    // The overlay lies over the main window and goes with it.
    context.FCalco = new common::TFCalco(m_main.get());
}

Program::~Program()
{
    m_windows.clear();
    m_context.FCalco = nullptr;
    m_dm.reset();
    m_context.DM = nullptr;
    m_main.reset();
    m_context.FPlantas = nullptr;
}

bool Program::start()
{
    m_main->show();
    if (!m_main->startupError().isEmpty()) {
        m_main->hide();
        common::ShowMessageBox(m_main->startupError());
        return false;
    }
    return true;
}

} // namespace app
