#pragma once

#include "store/Database.h"
#include "store/TableDef.h"

#include <QList>

namespace data {

// Every table of the plant database, declared once: used to create a new working folder and to
// check one that exists.
const QList<store::TableDef> &workingTables();
// The tables of the English folder (the English glossary).
const QList<store::TableDef> &englishTables();

constexpr const char *EnglishFolder = "English";
// Where the bundled sample keeps its English data set; renamed to English, it switches the
// interface to English.
constexpr const char *EnglishFolderOff = "English.off";

// Creates the database of a folder with every table; the folder's database must not exist yet.
void createDatabase(const QString &folder, const QList<store::TableDef> &tables);
// Checks the tables of an open database against their declaration, creating tables that are
// missing (an older or partial folder); throws store::Error listing fields that disagree.
void checkDatabase(store::Database &db, const QList<store::TableDef> &tables);

} // namespace data
