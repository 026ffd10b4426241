#pragma once

#include <QString>

namespace store { class Session; }
namespace data { class TDM; }
namespace mainwin { class TFPlantas; }
namespace common { class TFCalco; }
class QObject;
class QWidget;

namespace common {

// The application-wide values and the long-lived windows. `main` makes one; every test case makes a
// fresh one on its own working folder. The windows read it through AppContext::current().
struct AppContext {
    AppContext();
    ~AppContext();
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    static AppContext &current();
    static bool exists();

    QString applicationTitle = QStringLiteral("HerbaxisFree");
    QString workingFolder;
    QString firstArgument; // the plant name the list starts on
    store::Session *session = nullptr;

    bool EnglishMode = false;
    int ColorScheme = 1; // 1 to 5
    int TextSize = 10;   // at least 10

    mainwin::TFPlantas *FPlantas = nullptr;
    data::TDM *DM = nullptr;
    QWidget *FGlo = nullptr;
    QWidget *FUsos = nullptr;
    QWidget *FNavegador = nullptr;
    QWidget *FBibliog = nullptr;
    QWidget *FPlanRep = nullptr;
    QWidget *FSelArch = nullptr;
    QWidget *FSelClase = nullptr;
    QWidget *FSinonimos = nullptr;
    QWidget *FBuscar = nullptr;
    QWidget *FFiltroProp = nullptr;
    QWidget *FFuentes = nullptr;
    common::TFCalco *FCalco = nullptr;

    // The widget a key press is being delivered to, while the application delivers it: a key that
    // its control leaves unhandled travels on to the parents, and a window that previews keys
    // must see it once, at the start.
    static QObject *keyReceiver;

private:
    struct Unregistered {};
    explicit AppContext(Unregistered);
    AppContext *m_previous = nullptr;
    bool m_registered = true;
};

} // namespace common
