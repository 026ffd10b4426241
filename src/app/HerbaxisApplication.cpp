#include "HerbaxisApplication.h"

#include "common/AppContext.h"
#include "common/TFMensajes.h"
#include "store/Error.h"

namespace app {

HerbaxisApplication::HerbaxisApplication(int &argc, char **argv) : QApplication(argc, argv) {}

void HerbaxisApplication::reportError(const QString &message)
{
    static bool reporting = false;
    if (reporting) // an error while showing an error: do not stack boxes
        return;
    reporting = true;
    try {
        common::ShowMessageBox(message);
    } catch (...) {
    }
    reporting = false;
}

bool HerbaxisApplication::notify(QObject *receiver, QEvent *event)
{
    QObject *const outerKey = common::AppContext::keyReceiver;
    if (event->type() == QEvent::KeyPress)
        common::AppContext::keyReceiver = receiver;
    struct Restore {
        QObject *value;
        ~Restore() { common::AppContext::keyReceiver = value; }
    } restore{outerKey};
    try {
        return QApplication::notify(receiver, event);
    } catch (const store::Abort &) {
        // already answered by whoever aborted
    } catch (const store::Error &e) {
        reportError(e.message());
    } catch (const std::exception &e) {
        reportError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace app
