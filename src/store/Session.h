#pragma once

#include "Database.h"
#include "TableAddress.h"

#include <QHash>
#include <QString>

#include <memory>
#include <utility>

namespace store {

// The working folder and every database below it that the program has opened.
class Session {
public:
    explicit Session(const QString &folder, Database::OpenMode mode = Database::OpenMode::Existing);
    QString folder() const { return m_folder; }
    Database &database(const QString &subfolder = QString());
    // The database holding a named table and the table's bare name.
    std::pair<Database *, QString> resolve(const QString &tableName);

private:
    QString m_folder;
    QHash<QString, std::shared_ptr<Database>> m_databases; // by lower-case subfolder
};

} // namespace store
