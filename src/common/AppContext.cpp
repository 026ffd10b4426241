#include "AppContext.h"

namespace common {

namespace {
AppContext *g_current = nullptr;
} // namespace

QObject *AppContext::keyReceiver = nullptr;

AppContext::AppContext() : m_previous(g_current)
{
    g_current = this;
}

AppContext::AppContext(Unregistered) : m_registered(false) {}

AppContext::~AppContext()
{
    if (m_registered && g_current == this)
        g_current = m_previous;
}

AppContext &AppContext::current()
{
    if (g_current)
        return *g_current;
    // Code that runs without a program around it (a test of one control) still gets the defaults.
    static AppContext defaults{Unregistered{}};
    return defaults;
}

bool AppContext::exists()
{
    return g_current != nullptr;
}

} // namespace common
