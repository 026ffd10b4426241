#pragma once

#include "TableDef.h"

#include <QString>
#include <QVariant>

namespace store {

// The value a field stores for a value given to it. Texts are cut to the field's width, and an
// empty text, an empty picture and a blank number read as null, so that "nothing typed" is one
// value whatever the control. Numbers given as text are read as numbers; "True"/"False"/"1"/"0"
// as booleans. Throws Error, naming the field and the table, for a value the field cannot hold
// (a text that is no number, a number out of the field's range, a non-integral number for an
// integer field). Pure: reads nothing but its arguments.
QVariant normalised(const FieldDef &field, const QVariant &value, const QString &table);

// A stored value as the field's type reads it: booleans as bool, integers as int, and an empty
// text or picture as null, whatever SQLite handed back.
QVariant readValue(const FieldDef &field, const QVariant &stored);

} // namespace store
