#include "HerbaxisApplication.h"
#include "Program.h"
#include "WorkingFolder.h"
#include "common/AppContext.h"
#include "common/TFMensajes.h"
#include "store/Error.h"

#include <QDir>

int main(int argc, char *argv[])
{
    app::HerbaxisApplication application(argc, argv);
    common::AppContext context;
    QApplication::setApplicationName(context.applicationTitle);
    context.workingFolder = QDir::currentPath();
    context.firstArgument = QApplication::arguments().value(1);

    std::unique_ptr<store::Session> session;
    try {
        session = app::openWorkingFolder(context.workingFolder, [](const QString &question) { return common::AskYesNo(question); });
    } catch (const store::Error &e) {
        common::ShowMessageBox(e.message());
        return 1;
    }
    if (!session)
        return 0;
    context.session = session.get();

    std::unique_ptr<app::Program> program;
    try {
        program = std::make_unique<app::Program>(context);
    } catch (const store::Error &e) {
        common::ShowMessageBox(e.message());
        return 1;
    }
    if (!program->start())
        return 1;
    return QApplication::exec();
}
