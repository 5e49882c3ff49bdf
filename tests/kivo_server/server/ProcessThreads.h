#pragma once
// The threads of this test process: the server's tasks must all have ended once its shutdown
// returns, so that none runs on while the process (or a host unloading the server) goes on.
#include <set>

namespace kivotest {

using ThreadIds = std::set<unsigned long>;

ThreadIds threadsOfThisProcess();

// After kivo_server_shutdown: true when no thread runs that did not run before the server
// started (threads of the system that ended meanwhile do not count); otherwise says so on
// stderr.
bool noServerTaskLeft(const ThreadIds& beforeStart);

} // namespace kivotest
