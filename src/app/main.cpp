#include "WorkingFolder.h"
#include "mainwin/TFPlantas.h"
#include "store/Error.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Herbaxis"));

    std::unique_ptr<store::Session> session;
    try {
        session = app::openWorkingFolder(QDir::currentPath(), [](const QString &question) {
            return QMessageBox::question(nullptr, QStringLiteral("Herbaxis"), question) == QMessageBox::Yes;
        });
    } catch (const store::Error &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Herbaxis"), e.message());
        return 1;
    }
    if (!session)
        return 0;

    try {
        mainwin::TFPlantas window(*session);
        window.show();
        return app.exec();
    } catch (const store::Error &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Herbaxis"), e.message());
        return 1;
    }
}
