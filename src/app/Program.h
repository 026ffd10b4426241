#pragma once

#include <QString>

#include <memory>
#include <vector>

class QWidget;
namespace common { struct AppContext; }
namespace data { class TDM; }
namespace mainwin { class TFPlantas; }

namespace app {

// The windows of one run, created once each in their fixed order: the main window first (the data
// module links to it), then the data module, then the other windows and the overlay.
class Program {
public:
    // The context's session must be open.
    explicit Program(common::AppContext &context);
    ~Program();

    mainwin::TFPlantas &mainWindow() const { return *m_main; }
    data::TDM &dataModule() const { return *m_dm; }

    // Shows the main window. False when it could not start (a table that does not open); the
    // store's message has then been shown.
    bool start();

private:
    common::AppContext &m_context;
    std::unique_ptr<mainwin::TFPlantas> m_main;
    std::unique_ptr<data::TDM> m_dm;
    std::vector<std::unique_ptr<QWidget>> m_windows;
};

} // namespace app
