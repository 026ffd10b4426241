#include "Session.h"

#include <QDir>

namespace store {

Session::Session(const QString &folder, Database::OpenMode mode) : m_folder(folder)
{
    m_databases.insert(QString(), std::make_shared<Database>(folder, mode));
}

Database &Session::database(const QString &subfolder)
{
    const QString key = subfolder.toLower();
    auto it = m_databases.find(key);
    if (it == m_databases.end()) {
        // Sub-folders are matched without regard to case, like table names.
        QString actual = subfolder;
        const QStringList entries = QDir(m_folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString &e : entries)
            if (e.compare(subfolder, Qt::CaseInsensitive) == 0)
                actual = e;
        it = m_databases.insert(key, std::make_shared<Database>(QDir(m_folder).filePath(actual),
                                                                 Database::OpenMode::Existing));
    }
    return **it;
}

std::pair<Database *, QString> Session::resolve(const QString &tableName)
{
    const TableAddress a = TableAddress::parse(tableName);
    return {&database(a.subfolder), a.table};
}

} // namespace store
