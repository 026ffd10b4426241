#pragma once

#include "store/Table.h"

namespace widgets { class DBGrid; }

namespace common {

// Orders `table` by the index "Por" + field (cut to 25 characters), creating it case-insensitive
// when it is missing. The table ends open or closed as it was; false when neither works.
bool SetIndexByField(store::Table &table, const QString &fieldName);

// Edits the grid's current cell in an in-place box. A record that was browsing is edited and
// posted; one already being edited or inserted is left for the caller to post. False when the
// column cannot be edited or the user cancels; errors of the store pass to the caller.
bool EditGridCell(widgets::DBGrid *grid);

} // namespace common
