#pragma once
// Where the conformance tests find their server: set by the program's main (in-process under
// Wine, or a Wine-hosted test host for the native build).
namespace kivotest {

struct ConformanceTarget {
    int port = 0;
    int keepaliveSeconds = 2; // the server's shortened keepalive period
    bool fake = false;        // the server runs the fake key agreement
};

ConformanceTarget& target();

} // namespace kivotest
