#pragma once
// The module whose resources the library reads (the "EMsg" error texts). A data source sets
// its own module handle on process attach; until then the program's own module is used.

#include <windows.h>

namespace CommonCpp {

void SetResourceModule(HMODULE module);
HMODULE GetResourceModule();

} // namespace CommonCpp
