#include "WorkingFolder.h"

#include "data/Schema.h"

#include <QDir>

namespace app {

std::unique_ptr<store::Session> openWorkingFolder(const QString &folder, const std::function<bool(const QString &)> &askCreate)
{
    if (!store::Database::existsIn(folder)) {
        const QString question = QStringLiteral("No hay una base de datos de Herbaxis en %1.\n¿Desea crear una base de datos vacía en esta carpeta?")
                                     .arg(QDir::toNativeSeparators(QDir(folder).absolutePath()));
        if (!askCreate(question))
            return nullptr;
        data::createDatabase(folder, data::workingTables());
    }
    auto session = std::make_unique<store::Session>(folder);
    data::checkDatabase(session->database(), data::workingTables());
    const QString english = QDir(folder).filePath(QString::fromLatin1(data::EnglishFolder));
    if (store::Database::existsIn(english))
        data::checkDatabase(session->database(QString::fromLatin1(data::EnglishFolder)), data::englishTables());
    return session;
}

} // namespace app
