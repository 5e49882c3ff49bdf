#pragma once
// The threads of this test process: what starts threads (the RPC server, the simulated
// server's scans) must have ended them all once it is shut down, so that none runs on in a
// library while the process (or a host unloading the library) goes on.
#include <set>

namespace testsupport {

using ThreadIds = std::set<unsigned long>;

ThreadIds threadsOfThisProcess();

// After a shutdown: true when no thread runs that did not run before the start (threads of
// the system that ended meanwhile do not count); otherwise says so on stderr.
bool noThreadLeftSince(const ThreadIds& beforeStart);

} // namespace testsupport
