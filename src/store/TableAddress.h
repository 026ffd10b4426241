#pragma once

#include <QString>

namespace store {

// A table name as the program spells it ("Usos.db", "USOS.DB", "English\Glossary.DB") split into
// the folder below the working folder and the bare table name.
struct TableAddress {
    QString subfolder; // empty for the working folder
    QString table;
    static TableAddress parse(const QString &name);
};

} // namespace store
