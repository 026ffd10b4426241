#pragma once

#include "store/Database.h"

#include <functional>
#include <memory>

namespace app {

// Opens the plant database of a working folder. When the folder has none, `askCreate` decides
// whether an empty one is made there; a "no" returns nullptr. A file that is not one of ours, or
// that fails SQLite's check, throws store::Error naming it, and nothing is written to it.
std::unique_ptr<store::Session> openWorkingFolder(const QString &folder, const std::function<bool(const QString &)> &askCreate);

} // namespace app
