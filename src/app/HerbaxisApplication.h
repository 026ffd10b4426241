#pragma once

#include <QApplication>

namespace app {

// The application object: an error that escapes an event handler is shown in the program's message
// box, and the program goes on.
class HerbaxisApplication : public QApplication {
    Q_OBJECT
public:
    HerbaxisApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    static void reportError(const QString &message);
};

} // namespace app
