#pragma once
// The threads of this test process: the server's tasks must all have ended once its shutdown
// returns, so that none runs on while the process (or a host unloading the server) goes on.
#include <cstddef>

namespace kivotest {

size_t threadsOfThisProcess();

// After kivo_server_shutdown: true when as many threads run as before the server started;
// otherwise says so on stderr.
bool noServerTaskLeft(size_t threadsBeforeStart);

} // namespace kivotest
